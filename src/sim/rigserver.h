#pragma once

#include "loadmodel.h"
#include "net/listener.h"

#include <QObject>

class QTcpSocket;
class VirtualController;

// The simulated station's radio, answering as rigctld does for one, in the plain protocol and
// the extended one ("+" before the command), short or long command names: everything Hamlib's
// network rig asks while it opens and polls (so rigctl -m 2, WSJT-X and fldigi can use it),
// the frequency (f, F), the mode (m, M), the transmit state (t, T), the power (l/L RFPOWER,
// power2mW, mW2power, a 100 W radio) and the SWR level (l SWR). The SWR comes from the
// antenna model through the relays as the controller has set them; while receiving it reads
// 1.0.
class RigServer : public QObject
{
    Q_OBJECT
public:
    // What one client may leave unread before it is dropped; a line may be no longer.
    static constexpr qint64 MaxBacklog = 64 * 1024;

    RigServer(const VirtualController &controller, const LoadModel &model, double hz,
              QObject *parent = nullptr);

    bool listen(const HostPort &where, QString *error);
    QString where() const { return m_listener.address().text(); }

    static constexpr double MaxWatts = 100;

    double frequency() const { return m_hz; }
    bool transmitting() const { return m_transmitting; }
    QByteArray mode() const { return m_mode; }
    // RFPOWER, 0–1 of MaxWatts.
    double power() const { return m_power; }
    // A radio whose power goes no lower: a lower setting is taken, and this kept.
    void setMinimumPower(double power) { m_minimumPower = power; }
    double swr() const;

    // The reply to one command line, as rigctld would write it.
    QByteArray answer(const QByteArray &line);

signals:
    // The frequency or the transmit state changed.
    void changed();
    // A command that changed something arrived, as the log shows it: "F 7074000", "T 1".
    void commanded(const QString &command);

private:
    void serve(QTcpSocket *socket);

    const VirtualController &m_controller;
    LoadModel m_model;
    double m_hz;
    bool m_transmitting = false;
    QByteArray m_mode = "USB";
    int m_passband = 2400;
    double m_power = 0.5;
    double m_minimumPower = 0;
    Listener m_listener;
};
