#pragma once

#include "net/hostport.h"

#include <QObject>
#include <QSslConfiguration>
#include <QStringList>

#include <memory>
#include <optional>

class Panel;
class PasswordCheck;
class WebBackend;
class Station;

// The tuner from a browser: one page, served from the program, that shows and works what the
// window does, live over a WebSocket. The page is one more client of the console's control
// language: what it asks runs through the panel as the control port's commands do. Beyond
// loopback it asks for the password, speaks HTTPS only and checks who is asking. A build
// without Qt HttpServer (ORVANE_WEB off) has this class too; it only says so.
class WebServer : public QObject
{
    Q_OBJECT
public:
    static constexpr quint16 DefaultPort = 8434;
    // Live pages at once, for the operator and for viewers each.
    static constexpr int MaxClientsPerRole = 8;
    // Connections of any kind at once, and from one address; what one may send before it is
    // answered, how long a request may take to arrive whole, and how long one may say
    // nothing (a page's WebSocket hears a beat more often).
    static constexpr int MaxPeers = 64;
    static constexpr int MaxPeersPerAddress = 32;
    static constexpr qint64 MaxRequest = 64 * 1024;
    static constexpr int RequestMs = 10000;
    static constexpr int IdleMs = 30000;
    static constexpr qint64 MaxMessage = 1024;
    static constexpr qint64 MaxBacklog = 256 * 1024;
    static constexpr int BeatMs = 5000;

    struct Security
    {
        QString operatorRecord;
        QString viewerRecord;
        std::optional<QSslConfiguration> tls;
        // Names the page is reached by, besides addresses and this computer's name.
        QStringList hosts;
        // Where passwords are checked (one of its own when none is given).
        PasswordCheck *passwords = nullptr;
    };

    explicit WebServer(Station &station, QObject *parent = nullptr);
    ~WebServer() override;

    // Whether this build serves the page at all.
    static bool available();
    // As the control port's: a port alone on 127.0.0.1, a host alone on 8434.
    static std::optional<HostPort> parseAddress(const QString &text);

    // False with the reason when it cannot listen there, or may not: beyond loopback without
    // the password or TLS.
    bool start(const HostPort &where, const Security &security, QString *error);
    HostPort address() const;
    bool secure() const;
    // Where a browser on this computer finds the page.
    QString url() const;

private:
    Station &m_station;
    std::unique_ptr<WebBackend> m_service;
};
