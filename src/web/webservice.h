#pragma once

#include "access.h"
#include "control/commands.h"
#include "net/listener.h"
#include "webbackend.h"

#include <QAbstractHttpServer>
#include <QHttpServerResponse>
#include <QObject>
#include <QPointer>
#include <QTimer>

#include <functional>
#include <memory>

class PasswordCheck;
class QHttpServerRequest;
class QWebSocket;

// What stands behind WebServer where the build has the page: the only class that knows Qt
// HttpServer, whose API is still moving. Qt parses the requests; every one of them meets the
// checks of who is asking before any of the page's few routes runs.
class WebService : public WebBackend
{
    Q_OBJECT
public:
    using Security = WebServer::Security;

    explicit WebService(Station &station, QObject *parent = nullptr);
    ~WebService() override;

    bool start(const HostPort &where, const Security &security, QString *error) override;
    HostPort address() const override { return m_listener.address(); }
    bool secure() const override { return m_secure; }

private:
    struct Client;
    class Server;
    // Answers the request: false when no route takes it.
    bool route(const QHttpServerRequest &request, QTcpSocket *socket);
    // Why a request may not be served at all: a name the console does not answer to, or a
    // change asked for by another site's page.
    std::optional<QHttpServerResponse> refusal(const QHttpServerRequest &request) const;
    std::optional<WebAccess::Role> roleOf(const QHttpServerRequest &request);
    void login(const QHttpServerRequest &request, QTcpSocket *socket);
    void acceptSockets();
    void received(Client *client, const QString &message);
    void send(Client *client, const QJsonObject &message);
    void broadcast(const QJsonObject &message);
    void drop(Client *client);
    QJsonObject stateMessage() const;

    Panel &m_panel;
    Station &m_station;
    ControlCommands m_commands;
    StationNews m_news;
    std::unique_ptr<Server> m_http;
    Listener m_listener;
    std::unique_ptr<WebAccess> m_access;
    PasswordCheck *m_passwords = nullptr;
    bool m_secure = false;
    QList<Client *> m_clients;
    QTimer m_beat;
};
