#pragma once

#include "loadmodel.h"

#include <QObject>
#include <QTcpServer>

class VirtualController;

// The simulated station's radio, answering as rigctld does for one: the frequency (f, F), the
// transmit state (t, T) and the SWR level (l SWR), in the plain protocol and the extended one
// ("+" before the command), short or long command names. The SWR comes from the antenna
// model through the relays as the controller has set them; while receiving it reads 1.0.
class RigServer : public QObject
{
    Q_OBJECT
public:
    RigServer(const VirtualController &controller, const LoadModel &model, double hz,
              QObject *parent = nullptr);

    bool listen(const QString &host, quint16 port, QString *error);
    QString where() const;

    double frequency() const { return m_hz; }
    bool transmitting() const { return m_transmitting; }
    double swr() const;

    // The reply to one command line, as rigctld would write it.
    QByteArray answer(const QByteArray &line);

signals:
    // The frequency or the transmit state changed.
    void changed();

private:
    const VirtualController &m_controller;
    LoadModel m_model;
    double m_hz;
    bool m_transmitting = false;
    QTcpServer m_server;
};
