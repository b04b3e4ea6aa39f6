#pragma once

#include "access.h"
#include "control/commands.h"
#include "net/listener.h"
#include "webserver.h"

#include <QHttpServer>
#include <QObject>
#include <QTimer>

#include <memory>

class QHttpServerRequest;
class QWebSocket;

// What stands behind WebServer where the build has the page: the only class that knows Qt
// HttpServer, whose API is still moving.
class WebService : public QObject
{
    Q_OBJECT
public:
    using Security = WebServer::Security;

    WebService(Panel &panel, Tuning *tuning, QObject *parent = nullptr);
    ~WebService() override;

    bool start(const HostPort &where, const Security &security, QString *error);
    HostPort address() const { return m_listener.address(); }
    bool secure() const { return m_secure; }

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
