#pragma once

#include "link/packet.h"
#include "relaystate.h"
#include "simlog.h"

#include <QDateTime>
#include <QFileSystemWatcher>
#include <QObject>
#include <QTimer>

// The controller's side of the line: bytes in, relay states out, every packet and every
// rejected run of bytes logged.
class VirtualController : public QObject
{
    Q_OBJECT
public:
    // A partial packet left this long is reported as cut off.
    static constexpr int QuietMs = 250;

    explicit VirtualController(QObject *parent = nullptr);

    const RelayState &state() const { return m_state; }
    const RelaySteps &steps() const { return m_steps; }
    void setSteps(const RelaySteps &steps);
    // Takes the steps from a console's settings file, again whenever it changes.
    bool followConf(const QString &path, QString *error);
    bool openLog(const QString &path, QString *error) { return m_log.open(path, error); }

    void receive(const QByteArray &bytes);
    // The simulated radio took a command; the log shows it among the packets.
    void noteRadio(const QString &command)
    {
        m_log.writeRadio(QDateTime::currentDateTimeUtc(), command);
    }
    // The line went away: what is left of a packet will never be completed.
    void endOfStream();

signals:
    void decoded(const QDateTime &time, const Packet::Decoded &decoded);
    void stepsChanged();

private:
    void take(const QList<Packet::Decoded> &found);
    void rereadConf();

    Packet::Decoder m_decoder;
    RelayState m_state;
    RelaySteps m_steps;
    SimLog m_log;
    QTimer m_quiet;
    QFileSystemWatcher m_watcher;
    QString m_conf;
};
