#include "webservice.h"

#include "model/bandnames.h"
#include "model/valuetext.h"
#include "tune/tuning.h"

#include <QFile>
#include <QHttpServerRequest>
#include <QHttpServerResponder>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLocale>
#include <QNetworkRequest>
#include <QUrlQuery>
#include <QWebSocket>

namespace {

QByteArray resource(const QString &name)
{
    QFile file(QStringLiteral(":/web/") + name);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QByteArray header(const QHttpServerRequest &request, const QByteArray &name)
{
    for (const auto &[key, value] : request.headers()) {
        if (key.compare(name, Qt::CaseInsensitive) == 0)
            return value;
    }
    return {};
}

// What every answer carries: nothing from elsewhere, nothing to guess, nothing to keep.
QHttpServerResponse guarded(QHttpServerResponse response)
{
    response.setHeader("Content-Security-Policy",
                       "default-src 'self'; img-src 'self' data:; style-src 'self'; "
                       "script-src 'self'; connect-src 'self'; frame-ancestors 'none'; "
                       "form-action 'self'");
    response.setHeader("X-Content-Type-Options", "nosniff");
    response.setHeader("Referrer-Policy", "no-referrer");
    response.setHeader("Cache-Control", "no-store");
    return response;
}

QHttpServerResponse file(const char *mime, const QString &name)
{
    return guarded(QHttpServerResponse(QByteArray(mime), resource(name)));
}

QHttpServerResponse redirect(const QByteArray &to, const QByteArray &cookie = {})
{
    QHttpServerResponse response(QHttpServerResponse::StatusCode::SeeOther);
    response.setHeader("Location", to);
    if (!cookie.isEmpty())
        response.setHeader("Set-Cookie", cookie);
    return guarded(std::move(response));
}

} // namespace

struct WebService::Client
{
    QWebSocket *socket = nullptr;
    WebAccess::Role role = WebAccess::Role::Operator;
};

WebService::WebService(Panel &panel, Tuning *tuning, QObject *parent)
    : QObject(parent)
    , m_panel(panel)
    , m_tuning(tuning)
    , m_commands(panel, tuning)
{
    connect(&m_panel, &Panel::changed, this, [this] { broadcast(stateMessage()); });
    // Pages take long silence for a lost link.
    m_beat.setInterval(WebServer::BeatMs);
    connect(&m_beat, &QTimer::timeout, this, [this] { broadcast({{"type", "beat"}}); });
    connect(&m_panel.lineLog(), &LineLog::added, this, [this](const LineLog::Entry &entry) {
        broadcast({{"type", "log"}, {"line", LineLog::line(entry)}});
    });
    if (m_tuning) {
        connect(m_tuning, &Tuning::begun, this, [this](TuneSession *session) {
            connect(session, &TuneSession::changed, this, [this, session] {
                broadcast(
                    {{"type", "tune"},
                     {"line", QString::fromUtf8(ControlCommands::tuneLine(*session).trimmed())},
                     {"result", session->state() == TuneSession::State::Found
                                    ? Tuning::resultText(*session)
                                    : QString()}});
            });
        });
    }
}

WebService::~WebService()
{
    while (!m_clients.isEmpty())
        drop(m_clients.first());
}

bool WebService::start(const HostPort &where, const Security &security, QString *error)
{
    const std::optional<bool> beyond = ServiceGate::reach(where, !security.operatorRecord.isEmpty(),
                                                          security.tls.has_value(), error);
    if (!beyond)
        return false;
    m_secure = *beyond;
    QStringList hosts = security.hosts;
    hosts << where.host;
    m_access = std::make_unique<WebAccess>(security.operatorRecord, security.viewerRecord, hosts);
    if (m_secure)
        m_listener.useTls(*security.tls);
    m_listener.limitPeers(WebServer::MaxPeers, WebServer::MaxRequest, WebServer::IdleMs);

    m_http.route("/", [this](const QHttpServerRequest &request) {
        if (auto refused = refusal(request))
            return std::move(*refused);
        if (!roleOf(request))
            return redirect("/login");
        return file("text/html; charset=utf-8", QStringLiteral("index.html"));
    });
    m_http.route("/app.js",
                 [] { return file("text/javascript; charset=utf-8", QStringLiteral("app.js")); });
    m_http.route("/style.css",
                 [] { return file("text/css; charset=utf-8", QStringLiteral("style.css")); });
    m_http.route("/login", [this](const QHttpServerRequest &request) {
        if (auto refused = refusal(request))
            return std::move(*refused);
        if (request.method() != QHttpServerRequest::Method::Post)
            return file("text/html; charset=utf-8", QStringLiteral("login.html"));
        const QString from = request.remoteAddress().toString();
        const QString password =
            QUrlQuery(QString::fromUtf8(request.body()).replace(QLatin1Char('+'), QLatin1Char(' ')))
                .queryItemValue(QStringLiteral("password"), QUrl::FullyDecoded);
        const auto again = [](const char *said, QHttpServerResponse::StatusCode status) {
            return guarded(QHttpServerResponse(
                "text/html; charset=utf-8",
                resource(QStringLiteral("login.html")).replace("<!--said-->", said), status));
        };
        if (m_access->lockedOut(from))
            return again("Слишком много неверных паролей: подождите минуту. "
                         "Too many wrong passwords: wait a minute.",
                         QHttpServerResponse::StatusCode::TooManyRequests);
        const std::optional<QByteArray> token = m_access->login(password, from);
        if (!token)
            return again("Неверный пароль. Wrong password.",
                         QHttpServerResponse::StatusCode::Unauthorized);
        return redirect("/", WebAccess::cookieFor(*token));
    });
    m_http.route("/logout", [this](const QHttpServerRequest &request) {
        if (request.method() != QHttpServerRequest::Method::Post)
            return guarded(QHttpServerResponse(QHttpServerResponse::StatusCode::MethodNotAllowed));
        m_access->logout(header(request, "Cookie"));
        return redirect("/login", QByteArray(WebAccess::Cookie) +
                                      "=; Path=/; Max-Age=0; "
                                      "HttpOnly; Secure; SameSite=Strict");
    });
    m_http.route("/api/state", [this](const QHttpServerRequest &request) {
        if (auto refused = refusal(request))
            return std::move(*refused);
        if (!roleOf(request))
            return guarded(QHttpServerResponse(QHttpServerResponse::StatusCode::Unauthorized));
        return guarded(QHttpServerResponse(stateMessage()));
    });
    // Qt HttpServer 6.4 upgrades a request only when a route takes it; this one answers
    // nothing, so the WebSocket handshake is what the client gets. The socket is checked
    // when it arrives.
    m_http.route("/ws", [](const QHttpServerRequest &request, QHttpServerResponder &&responder) {
        if (header(request, "Upgrade").compare("websocket", Qt::CaseInsensitive) != 0)
            responder.write(QHttpServerResponder::StatusCode::BadRequest);
    });
    connect(&m_http, &QAbstractHttpServer::newWebSocketConnection, this,
            &WebService::acceptSockets);

    if (!m_listener.listen(where, error, false))
        return false;
    for (QTcpServer *server : m_listener.servers())
        m_http.bind(server);
    return true;
}

std::optional<QHttpServerResponse> WebService::refusal(const QHttpServerRequest &request)
{
    // A page that reached us through a name we do not answer to is another site's.
    if (m_secure && !m_access->hostAllowed(header(request, "Host")))
        return guarded(QHttpServerResponse(QHttpServerResponse::StatusCode::Forbidden));
    return std::nullopt;
}

std::optional<WebAccess::Role> WebService::roleOf(const QHttpServerRequest &request)
{
    if (!m_secure)
        return WebAccess::Role::Operator;
    return m_access->session(header(request, "Cookie"));
}

void WebService::acceptSockets()
{
    while (m_http.hasPendingWebSocketConnections()) {
        QWebSocket *socket = m_http.nextPendingWebSocketConnection().release();
        socket->setParent(this);
        const QNetworkRequest request = socket->request();
        const QByteArray host = request.rawHeader("Host");
        std::optional<WebAccess::Role> role = WebAccess::Role::Operator;
        if (m_secure)
            role = m_access->hostAllowed(host) ? m_access->session(request.rawHeader("Cookie"))
                                               : std::nullopt;
        // Only the page itself may open it: a foreign page's script carries its own Origin.
        const bool ours = WebAccess::originMatches(socket->origin().toUtf8(), host, m_secure);
        if (!role || !ours || m_clients.size() >= WebServer::MaxClients) {
            socket->close(QWebSocketProtocol::CloseCodePolicyViolated);
            socket->deleteLater();
            continue;
        }
        auto *client = new Client{socket, *role};
        m_clients << client;
        socket->setMaxAllowedIncomingMessageSize(WebServer::MaxMessage);
        socket->setMaxAllowedIncomingFrameSize(WebServer::MaxMessage);
        connect(socket, &QWebSocket::textMessageReceived, this,
                [this, client](const QString &message) { received(client, message); });
        connect(socket, &QWebSocket::disconnected, this, [this, client] { drop(client); });
        send(client, stateMessage());
        m_beat.start();
    }
}

void WebService::received(Client *client, const QString &message)
{
    const QByteArray line = message.toUtf8();
    QByteArray reply;
    if (client->role == WebAccess::Role::Viewer && !ControlCommands::readsOnly(line))
        reply = "RPRT " + QByteArray::number(ControlCommands::Security);
    else
        reply = m_commands.run(line).text.trimmed();
    send(client, {{"type", "reply"}, {"command", message}, {"text", QString::fromUtf8(reply)}});
}

void WebService::send(Client *client, const QJsonObject &message)
{
    QJsonObject out = message;
    if (out.value("type") == QLatin1String("state")) {
        out.insert("role", client->role == WebAccess::Role::Operator ? "operator" : "viewer");
        out.insert("secure", m_secure);
    }
    // A page that does not read is dropped before it holds the console's memory.
    if (client->socket->bytesToWrite() > WebServer::MaxBacklog)
        return drop(client);
    client->socket->sendTextMessage(
        QString::fromUtf8(QJsonDocument(out).toJson(QJsonDocument::Compact)));
}

void WebService::broadcast(const QJsonObject &message)
{
    const QList<Client *> clients = m_clients;
    for (Client *client : clients)
        send(client, message);
}

void WebService::drop(Client *client)
{
    if (!m_clients.removeOne(client))
        return;
    client->socket->disconnect(this);
    client->socket->abort();
    client->socket->deleteLater();
    delete client;
    if (m_clients.isEmpty())
        m_beat.stop();
}

QJsonObject WebService::stateMessage() const
{
    const Panel::State s = m_panel.state();
    QJsonObject radio{{"following", s.radio.following}, {"connected", s.radio.connected}};
    radio.insert("hz", s.radio.hz ? QJsonValue(double(*s.radio.hz)) : QJsonValue());
    radio.insert("transmitting",
                 s.radio.transmitting ? QJsonValue(*s.radio.transmitting) : QJsonValue());
    return {{"type", "state"},
            {"antenna", s.selection.antenna + 1},
            {"band", s.selection.band + 1},
            {"bandKey", BandNames::key(s.selection.band)},
            {"subBand", s.selection.subBand + 1},
            {"c", s.relays.codeC},
            {"l", s.relays.codeL},
            {"side", s.relays.side == 1 ? "Tx" : "Ant"},
            {"cPf", s.stepC * s.relays.codeC},
            {"lUh", generalNumberText(s.stepL / 1000.0 * s.relays.codeL, QLocale::c())},
            {"stepC", s.stepC},
            {"stepL", s.stepL},
            {"saved", s.saved},
            {"held", s.held},
            {"port", QJsonObject{{"number", s.port.number},
                                 {"device", s.port.device},
                                 {"state", QString::fromLatin1(ControlCommands::portState(s.port))},
                                 {"problem", s.port.problem}}},
            {"radio", radio}};
}
