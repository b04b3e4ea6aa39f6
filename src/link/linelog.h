#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>

#include <deque>

// What went on the line and why: every packet sent or dropped, every open, close and failure
// of the port, and every recall with its cause. It keeps the newest Capacity entries and
// keeps them raw, so that a packet costs one small record; the words come when read.
class LineLog : public QObject
{
    Q_OBJECT
public:
    static constexpr int Capacity = 10000;

    // Who set a recall going.
    enum class Cause { Operator, Start, Refresh, Radio, Remote, Search, Import };

    struct Entry
    {
        enum Kind { Sent, Dropped, Opened, Closed, Failed, Recall, Note };
        qint64 msecs = 0; // UTC, since the epoch
        Kind kind = Sent;
        int port = 0;
        QByteArray bytes; // the packet
        QString text;     // the device, the reason, the recalled slot, or a note
        Cause cause = Cause::Operator;
        quint64 number = 0; // counts every entry ever added, from 1
    };

    using QObject::QObject;

    void add(Entry entry);
    void clear();
    const std::deque<Entry> &entries() const { return m_entries; }

    // "12:04:31.207  port 3  AA 55 01 01 25 00 0D 0A 00  C = 37", one line.
    static QString line(const Entry &entry);
    // "C = 37", "side = Ant", "port open: /dev/ttyUSB0", "recall: antenna 1, 40 м, 2 (radio)".
    static QString meaning(const Entry &entry);
    static QString causeName(Cause cause);

signals:
    void added(const LineLog::Entry &entry);
    void cleared();

private:
    std::deque<Entry> m_entries;
    quint64 m_count = 0;
};
