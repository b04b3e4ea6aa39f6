#include "controllerlink.h"

#include "serialservice.h"

ControllerLink::ControllerLink(SerialService &port, QObject *parent)
    : QObject(parent)
    , m_port(port)
{
    m_port.setLog(&m_log);
    m_port.onAccepting = [this] {
        emit accepting();
    };
    // A port opened, closed or lost leads to a controller that has had nothing yet.
    connect(&m_log, &LineLog::added, this, [this](const LineLog::Entry &entry) {
        if (entry.kind == LineLog::Entry::Opened || entry.kind == LineLog::Entry::Closed ||
            entry.kind == LineLog::Entry::Failed)
            m_delivered = 0;
    });
}

void ControllerLink::send(quint8 command, quint8 value, quint8 flag)
{
    PacketBuffer = Packet::build(command, value, flag);
    const bool wasOpen = m_port.PortOpen();
    const bool accepted = m_port.Output(PacketBuffer);
    LineLog::Entry entry;
    entry.kind = accepted ? LineLog::Entry::Sent : LineLog::Entry::Dropped;
    entry.port = m_port.CommPort();
    entry.bytes = PacketBuffer;
    if (!accepted)
        entry.text = wasOpen ? m_port.problem().text() : tr("порт закрыт");
    const quint8 bit = quint8(1u << (command - Packet::Capacitance));
    if (accepted) {
        m_delivered |= bit;
    } else {
        m_delivered &= quint8(~bit);
        m_droppedCause = m_cause;
    }
    m_log.add(std::move(entry));
    if (!accepted && wasOpen)
        emit lineFailed();
    emit sent();
}

void ControllerLink::noteRecall(const QString &slot)
{
    LineLog::Entry entry;
    entry.kind = LineLog::Entry::Recall;
    entry.port = m_port.CommPort();
    entry.text = slot;
    entry.cause = m_cause;
    m_log.add(std::move(entry));
}
