#include "controllerlink.h"

#include "serialservice.h"

ControllerLink::ControllerLink(SerialService &port, QObject *parent)
    : QObject(parent)
    , m_port(port)
{}

void ControllerLink::send(quint8 command, quint8 value, quint8 flag)
{
    PacketBuffer = Packet::build(command, value, flag);
    const bool wasOpen = m_port.PortOpen();
    if (!m_port.Output(PacketBuffer) && wasOpen)
        emit lineFailed();
}
