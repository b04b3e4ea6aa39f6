#pragma once

#include "access.h"
#include "control/commands.h"
#include "net/listener.h"

#include <QHttpServer>
#include <QObject>
#include <QSslConfiguration>
#include <QTimer>

#include <memory>
#include <optional>

class QHttpServerRequest;
class QWebSocket;

// The tuner from a browser: one page, served from the program, that shows and works what the
// window does, live over a WebSocket. The page is one more client of the console's control
// language: what it asks runs through the panel as the control port's commands do. Beyond
// loopback it asks for the password, speaks HTTPS only and checks who is asking. The only
// class that knows Qt HttpServer, whose API is still moving.
class WebServer : public QObject
{
    Q_OBJECT
public:
    static constexpr quint16 DefaultPort = 8434;
    static constexpr int MaxClients = 16;
    // Connections of any kind at once, what one may send before it is answered, and how
    // long one may say nothing (a page's WebSocket hears a beat more often).
    static constexpr int MaxPeers = 64;
    static constexpr qint64 MaxRequest = 64 * 1024;
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
    };

    WebServer(Panel &panel, Tuning *tuning, QObject *parent = nullptr);
    ~WebServer() override;

    // As the control port's: a port alone on 127.0.0.1, a host alone on 8434.
    static std::optional<HostPort> parseAddress(const QString &text);

    // False with the reason when it cannot listen there, or may not: beyond loopback without
    // the password or TLS.
    bool start(const HostPort &where, const Security &security, QString *error);
    HostPort address() const { return m_listener.address(); }
    bool secure() const { return m_secure; }
    // Where a browser on this computer finds the page.
    QString url() const;

private:
    struct Client;
    std::optional<QHttpServerResponse> refusal(const QHttpServerRequest &request);
    std::optional<WebAccess::Role> roleOf(const QHttpServerRequest &request);
    void acceptSockets();
    void received(Client *client, const QString &message);
    void send(Client *client, const QJsonObject &message);
    void broadcast(const QJsonObject &message);
    void drop(Client *client);
    QJsonObject stateMessage() const;

    Panel &m_panel;
    Tuning *m_tuning;
    ControlCommands m_commands;
    QHttpServer m_http;
    Listener m_listener;
    std::unique_ptr<WebAccess> m_access;
    bool m_secure = false;
    QList<Client *> m_clients;
    QTimer m_beat;
};
