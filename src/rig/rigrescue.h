#pragma once

#include "net/hostport.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QObject>
#include <QPointer>
#include <QTimer>

#include <optional>

class QTcpSocket;

// What a job that keys the radio puts back when it ends: the frequency, mode and power it
// found.
struct RadioSnapshot
{
    qint64 hz = 0;
    QByteArray mode;
    QByteArray passband;
    QByteArray power; // RFPOWER, 0–1

    // rigctld's commands that put it back, in order.
    QList<QByteArray> commands() const;
    // "7074000 USB 2400 0.500000", and back; none for anything else.
    QByteArray text() const;
    static std::optional<RadioSnapshot> parse(const QByteArray &text);
    friend bool operator==(const RadioSnapshot &, const RadioSnapshot &) = default;
};

// Unkeys a radio that may have stopped answering, and puts it back: each attempt opens a
// connection of its own to rigctld, sends T 0 and waits a while for RPRT 0; then the
// frequency, mode and power go back, and the transmit state is read to be sure. An attempt
// that goes unanswered is dropped and the next one starts at a steady pace, until the radio
// answers. Nothing here shares a connection with anything else, so a stuck one cannot hold it.
class RigRescue : public QObject
{
    Q_OBJECT
public:
    // What one command may take on one connection before the attempt is given up.
    static constexpr int AttemptMs = 1500;
    // Between one failed attempt and the next.
    static constexpr int PaceMs = 500;

    // unkey: false for a radio the caller knows it did not key (the operator may): only
    // what goes back is sent.
    RigRescue(const HostPort &rig, std::optional<RadioSnapshot> putBack, bool unkey = true,
              QObject *parent = nullptr);
    ~RigRescue() override;

    void start();
    bool running() const { return m_running; }
    // T 0 was acknowledged at least once.
    bool unkeyed() const { return m_unkeyed; }
    int attempts() const { return m_attempts; }
    const HostPort &rig() const { return m_rig; }

    // For a program about to end: runs the rescue in an event loop of its own until it has
    // finished or the time is up; whether it finished.
    bool runFor(int ms);

signals:
    void unkeyedNow();
    // An attempt went unanswered, or the radio refused; why, in the operator's words.
    void attemptFailed(int attempt, const QString &why);
    // The radio is unkeyed, put back and reads as not transmitting.
    void finished();

private:
    void attempt();
    void sendNext();
    void readReplies();
    void done();
    void failed(const QString &why);

    HostPort m_rig;
    bool m_unkey = true;
    // T 0 first, then what goes back, then the transmit state read.
    QList<QByteArray> m_commands;
    // What this connection sends now, and the first after T 0 not yet answered.
    int m_cursor = 0;
    int m_next = 1;
    QPointer<QTcpSocket> m_socket;
    QList<QByteArray> m_lines;
    QTimer m_deadline;
    QTimer m_pace;
    int m_attempts = 0;
    bool m_running = false;
    bool m_unkeyed = false;
};
