#pragma once

#include "mqtt/stationbus.h"

#include <QObject>
#include <QSslConfiguration>
#include <QStringList>

#include <memory>
#include <optional>

class ControlPort;
class PasswordCheck;
class QSettings;
class Station;
class WebServer;
struct HostPort;

// The station's doors: the control port, the web page and the bus. Each opens where the
// command line says, else the settings, else (without a screen) where a service is usually
// found; beyond loopback only with its password and the TLS identity, whose fingerprint is
// said. A door asked for that does not open is said and remembered, so that a console without
// a screen that serves nothing it was asked to can end.
class Doors : public QObject
{
    Q_OBJECT
public:
    // What was asked for, from the command line and the environment.
    struct Asked
    {
        QString control; // [HOST:]PORT, off, or empty: the settings' control/address
        QString web;     // the same for web/address
        StationBus::Choice bus;
        bool headless = false;
        // Holds the TLS identity and the broker's password.
        QString dataDir;
        // The user's settings: the addresses, the password hashes, web/hosts.
        QSettings *settings = nullptr;
        QString mqttProgram;
    };

    Doors(Station &station, const Asked &asked, QObject *parent = nullptr);
    ~Doors() override;

    // Opens every door asked for.
    void open();
    // Serves the web page at the address; false, said, when it cannot.
    bool openWeb(const QString &address);
    // (Re)joins the broker as chosen.
    void openBus(const StationBus::Choice &choice);

    ControlPort *controlPort() const { return m_control.get(); }
    WebServer *webServer() const { return m_web.get(); }
    StationBus &bus() const { return *m_bus; }
    const QStringList &closed() const { return m_closed; }

private:
    void openControlPort();
    // The address a door is to open at: the command line's, else the settings' key, else
    // without a screen headlessPort (0: none); empty when off.
    QString addressOf(const QString &given, const QString &key, quint16 headlessPort) const;
    QString passwordRecord(const QString &key) const;
    std::optional<QSslConfiguration> tlsFor(const HostPort &where, const QString &passwordRecord,
                                            QString *fingerprint) const;
    // A door asked for did not open: said, and remembered.
    void closedDoor(const QString &what);
    static void sayServing(const char *what, const QString &address, bool secure,
                           const QString &fingerprint);

    Station &m_station;
    Asked m_asked;
    // Passwords of every door are checked here, one at a time, off the window's thread.
    PasswordCheck *m_passwords;
    std::unique_ptr<ControlPort> m_control;
    std::unique_ptr<WebServer> m_web;
    std::unique_ptr<StationBus> m_bus;
    QStringList m_closed;
};
