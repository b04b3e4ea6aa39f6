#pragma once

#include "linelog.h"
#include "packet.h"

#include <QByteArray>
#include <QObject>

class SerialService;

class ControllerLink : public QObject
{
    Q_OBJECT
public:
    explicit ControllerLink(SerialService &port, QObject *parent = nullptr);

    // A packet that cannot be written is dropped without a word; the operator restores
    // agreement with Refresh.
    void SendC(quint8 value, quint8 flag) { send(Packet::Capacitance, value, flag); }
    void SendL(quint8 value, quint8 flag) { send(Packet::Inductance, value, flag); }
    void SendNetworkSide(quint8 value, quint8 flag) { send(Packet::NetworkSide, value, flag); }

    QByteArray PacketBuffer;

    LineLog &log() { return m_log; }
    // Whether the controller has had the last C, L and side packet: none was dropped since,
    // and the port has not changed since they went.
    bool delivered() const { return m_delivered == AllDelivered; }
    // Who made the last packet that was dropped.
    LineLog::Cause droppedCause() const { return m_droppedCause; }
    // Notes a recall of the slot described, with the cause in force.
    void noteRecall(const QString &slot);
    LineLog::Cause cause() const { return m_cause; }

    // While one lives, recalls are put down to its cause; the operator's otherwise.
    class CauseScope
    {
    public:
        CauseScope(ControllerLink &link, LineLog::Cause cause)
            : m_link(link)
            , m_before(std::exchange(link.m_cause, cause))
        {}
        ~CauseScope() { m_link.m_cause = m_before; }
        CauseScope(const CauseScope &) = delete;
        CauseScope &operator=(const CauseScope &) = delete;

    private:
        ControllerLink &m_link;
        LineLog::Cause m_before;
    };

signals:
    // A write failed on a port that was open: the line has gone away.
    void lineFailed();
    // A packet was handed to the line, or dropped.
    void sent();
    // The line takes bytes again after it refused some for being full.
    void accepting();

private:
    void send(quint8 command, quint8 value, quint8 flag);

    static constexpr quint8 AllDelivered = 0b111;

    SerialService &m_port;
    LineLog m_log;
    LineLog::Cause m_cause = LineLog::Cause::Operator;
    // One bit for each of the C, L and side packets the controller has had.
    quint8 m_delivered = 0;
    LineLog::Cause m_droppedCause = LineLog::Cause::Operator;
};
