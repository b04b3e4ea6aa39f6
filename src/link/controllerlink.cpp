#include "controllerlink.h"

#include "serialservice.h"

namespace Packet {

QByteArray build(quint8 command, quint8 value, quint8 flag)
{
    QByteArray packet(Size, '\0');
    packet[0] = static_cast<char>(0xAA);
    packet[1] = static_cast<char>(0x55);
    packet[2] = static_cast<char>(0x01);
    packet[3] = static_cast<char>(command);
    packet[4] = static_cast<char>(value);
    packet[5] = static_cast<char>(flag);
    packet[6] = static_cast<char>(0x0D);
    packet[7] = static_cast<char>(0x0A);
    return packet;
}

} // namespace Packet

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
