#pragma once

#include <QByteArray>
#include <QObject>

class SerialService;

// The controller's command packets: AA 55 01 command value flag 0D 0A, followed by one 00
// on the line.
namespace Packet {
enum Command : quint8 { Capacitance = 1, Inductance = 2, NetworkSide = 3 };
constexpr int Size = 9;
QByteArray build(quint8 command, quint8 value, quint8 flag);
} // namespace Packet

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

signals:
    // A write failed on a port that was open: the line has gone away.
    void lineFailed();

private:
    void send(quint8 command, quint8 value, quint8 flag);

    SerialService &m_port;
};
