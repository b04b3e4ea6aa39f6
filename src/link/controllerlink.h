#pragma once

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

signals:
    // A write failed on a port that was open: the line has gone away.
    void lineFailed();

private:
    void send(quint8 command, quint8 value, quint8 flag);

    SerialService &m_port;
};
