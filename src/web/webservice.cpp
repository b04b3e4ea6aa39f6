#include "webservice.h"

#include "station/station.h"

#include "model/bandnames.h"
#include "model/valuetext.h"
#include "net/passwordcheck.h"
#include "tune/tuning.h"
#include "tunes/frequencymemory.h"

#include <QFile>
#include <QHttpServerRequest>
#include <QHttpServerResponder>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLocale>
#include <QNetworkRequest>
#include <QTcpSocket>
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
    response.setHeader("Referrer-Policy", "same-origin");
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

QHttpServerResponse status(QHttpServerResponse::StatusCode code)
{
    return guarded(QHttpServerResponse(code));
}

// The login page again, saying why.
QByteArray loginPage(const char *said)
{
    return resource(QStringLiteral("login.html")).replace("<!--said-->", said);
}

// An answer written once its work is done, after the request itself has gone: the login's
// password check ends on another turn of the event loop.
QByteArray laterAnswer(int status, const char *reason, const QByteArray &body,
                       const QList<std::pair<QByteArray, QByteArray>> &headers)
{
    QByteArray out = "HTTP/1.1 " + QByteArray::number(status) + ' ' + reason + "\r\n";
    const QList<std::pair<QByteArray, QByteArray>> always{
        {"Content-Security-Policy", "default-src 'self'; img-src 'self' data:; style-src 'self'; "
                                    "script-src 'self'; connect-src 'self'; frame-ancestors "
                                    "'none'; form-action 'self'"},
        {"X-Content-Type-Options", "nosniff"},
        {"Referrer-Policy", "same-origin"},
        {"Cache-Control", "no-store"}};
    for (const auto &[name, value] : always + headers)
        out += name + ": " + value + "\r\n";
    out += "Content-Type: text/html; charset=utf-8\r\nContent-Length: " +
           QByteArray::number(body.size()) + "\r\n\r\n" + body;
    return out;
}

} // namespace

struct WebService::Client
{
    QWebSocket *socket = nullptr;
    WebAccess::Role role = WebAccess::Role::Operator;
};

// Qt HttpServer's parser with the page's own dispatch in front: a QHttpServer's router runs
// a route before anything could check who asks.
class WebService::Server : public QAbstractHttpServer
{
public:
    using Route = std::function<bool(const QHttpServerRequest &, QTcpSocket *)>;
    explicit Server(Route route)
        : m_route(std::move(route))
    {}

    static void respond(const QHttpServerResponse &response, const QHttpServerRequest &request,
                        QTcpSocket *socket)
    {
        response.write(makeResponder(request, socket));
    }

protected:
    bool handleRequest(const QHttpServerRequest &request, QTcpSocket *socket) override
    {
        return m_route(request, socket);
    }
    void missingHandler(const QHttpServerRequest &request, QTcpSocket *socket) override
    {
        respond(status(QHttpServerResponse::StatusCode::NotFound), request, socket);
    }

private:
    Route m_route;
};

WebService::WebService(Station &station, QObject *parent)
    : WebBackend(parent)
    , m_panel(station.panel())
    , m_station(station)
    , m_commands(station)
    , m_news(station)
    , m_http(
          std::make_unique<Server>([this](const QHttpServerRequest &request, QTcpSocket *socket) {
              return route(request, socket);
          }))
{
    // Pages take long silence for a lost link.
    m_beat.setInterval(WebServer::BeatMs);
    connect(&m_beat, &QTimer::timeout, this, [this] { broadcast({{"type", "beat"}}); });
    connect(&m_news, &StationNews::told, this,
            [this](StationNews::Kind kind, const QByteArray &line) {
                const QString text = QString::fromUtf8(line.trimmed());
                switch (kind) {
                case StationNews::Kind::State:
                    return broadcast(stateMessage());
                case StationNews::Kind::Log:
                    // What the log's own window shows: the words after "!log ".
                    return broadcast({{"type", "log"}, {"line", text.mid(5)}});
                case StationNews::Kind::Tune: {
                    const TuneSession *session = m_station.tuning().session();
                    return broadcast(
                        {{"type", "tune"},
                         {"line", text},
                         {"result", session && session->state() == TuneSession::State::Found
                                        ? Tuning::resultText(*session)
                                        : QString()}});
                }
                case StationNews::Kind::Train:
                    return broadcast({{"type", "train"}, {"line", text}});
                case StationNews::Kind::Sweep:
                    return broadcast({{"type", "sweep"}, {"line", text}});
                }
            });
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
    m_passwords = security.passwords ? security.passwords : new PasswordCheck(this);
    if (m_secure)
        m_listener.useTls(*security.tls);
    Listener::Limits limits;
    limits.maxPeers = WebServer::MaxPeers;
    limits.maxPerAddress = WebServer::MaxPeersPerAddress;
    limits.maxUnanswered = WebServer::MaxRequest;
    limits.idleMs = WebServer::IdleMs;
    limits.requestMs = WebServer::RequestMs;
    m_listener.limitPeers(limits);
    connect(m_http.get(), &QAbstractHttpServer::newWebSocketConnection, this,
            &WebService::acceptSockets);
    if (!m_listener.listen(where, error, false))
        return false;
    // The names the page answers to: beyond this computer the ones the operator gave and the
    // computer's own; everywhere loopback, localhost and the addresses listened on.
    m_access = std::make_unique<WebAccess>(security.operatorRecord, security.viewerRecord,
                                           m_secure ? security.hosts : QStringList(),
                                           m_listener.addresses(), m_secure);
    for (QTcpServer *server : m_listener.servers())
        m_http->bind(server);
    return true;
}

bool WebService::route(const QHttpServerRequest &request, QTcpSocket *socket)
{
    const QString path = request.url().path();
    // Qt upgrades a request to a WebSocket once a route takes it without a word; one that is
    // not taken is answered 404 and closed. The socket is checked again when it arrives.
    if (header(request, "Upgrade").compare("websocket", Qt::CaseInsensitive) == 0) {
        const QByteArray host = header(request, "Host");
        return path == QLatin1String("/ws") && m_access->hostAllowed(host) &&
               WebAccess::originMatches(header(request, "Origin"), host, m_secure);
    }
    if (auto refused = refusal(request)) {
        Server::respond(*refused, request, socket);
        return true;
    }
    const auto reply = [&](QHttpServerResponse response) {
        Server::respond(response, request, socket);
        return true;
    };
    const bool post = request.method() == QHttpServerRequest::Method::Post;
    if (path == QLatin1String("/"))
        return reply(roleOf(request)
                         ? file("text/html; charset=utf-8", QStringLiteral("index.html"))
                         : redirect("/login"));
    if (path == QLatin1String("/app.js") || path == QLatin1String("/sweep.js"))
        return reply(file("text/javascript; charset=utf-8", path.mid(1)));
    if (path == QLatin1String("/style.css"))
        return reply(file("text/css; charset=utf-8", QStringLiteral("style.css")));
    if (path == QLatin1String("/login")) {
        if (!post)
            return reply(file("text/html; charset=utf-8", QStringLiteral("login.html")));
        login(request, socket);
        return true;
    }
    if (path == QLatin1String("/logout")) {
        if (!post)
            return reply(status(QHttpServerResponse::StatusCode::MethodNotAllowed));
        m_access->logout(header(request, "Cookie"));
        return reply(redirect("/login", QByteArray(WebAccess::Cookie) +
                                            "=; Path=/; Max-Age=0; HttpOnly; Secure; "
                                            "SameSite=Strict"));
    }
    if (path == QLatin1String("/api/state"))
        return reply(roleOf(request) ? guarded(QHttpServerResponse(stateMessage()))
                                     : status(QHttpServerResponse::StatusCode::Unauthorized));
    // The WebSocket arrives through Qt's upgrade; a plain request for it is no request.
    if (path == QLatin1String("/ws"))
        return reply(status(QHttpServerResponse::StatusCode::BadRequest));
    return false;
}

void WebService::login(const QHttpServerRequest &request, QTcpSocket *socket)
{
    const QString from = request.remoteAddress().toString();
    const QString password =
        QUrlQuery(QString::fromUtf8(request.body()).replace(QLatin1Char('+'), QLatin1Char(' ')))
            .queryItemValue(QStringLiteral("password"), QUrl::FullyDecoded);
    const auto again = [&](const char *said, QHttpServerResponse::StatusCode code) {
        Server::respond(
            guarded(QHttpServerResponse("text/html; charset=utf-8", loginPage(said), code)),
            request, socket);
    };
    if (!m_passwords->hasRoom(from))
        return again("Занято, попробуйте ещё раз. Busy: try again.",
                     QHttpServerResponse::StatusCode::ServiceUnavailable);
    if (!m_access->admit(from))
        return again("Слишком много неверных паролей: подождите минуту. "
                     "Too many wrong passwords: wait a minute.",
                     QHttpServerResponse::StatusCode::TooManyRequests);
    // The check takes a while on its own thread; the answer goes out when it is done, to a
    // connection that may have gone meanwhile.
    QPointer<QTcpSocket> asked(socket);
    m_passwords->submit(
        password, m_access->records(), from, this, [this, asked, from](int matched) {
            if (!asked)
                return;
            const std::optional<QByteArray> token = m_access->open(matched, from);
            asked->write(token ? laterAnswer(303, "See Other", {},
                                             {{"Location", "/"},
                                              {"Set-Cookie", WebAccess::cookieFor(*token)}})
                               : laterAnswer(401, "Unauthorized",
                                             loginPage("Неверный пароль. Wrong password."), {}));
        });
}

std::optional<QHttpServerResponse> WebService::refusal(const QHttpServerRequest &request) const
{
    // A page that reached us through a name we do not answer to is another site's (DNS
    // rebinding), on loopback as much as beyond.
    const QByteArray host = header(request, "Host");
    if (!m_access->hostAllowed(host))
        return status(QHttpServerResponse::StatusCode::Forbidden);
    // A change asked for by another site's page: its browser names that site.
    if (request.method() != QHttpServerRequest::Method::Get &&
        request.method() != QHttpServerRequest::Method::Head &&
        !WebAccess::sameSite(header(request, "Origin"), header(request, "Sec-Fetch-Site"), host,
                             m_secure))
        return status(QHttpServerResponse::StatusCode::Forbidden);
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
    while (m_http->hasPendingWebSocketConnections()) {
        QWebSocket *socket = m_http->nextPendingWebSocketConnection().release();
        socket->setParent(this);
        const QNetworkRequest request = socket->request();
        const QByteArray host = request.rawHeader("Host");
        std::optional<WebAccess::Role> role;
        // Only the page itself may open it, reached by a name of ours: a foreign page's script
        // carries its own Origin.
        if (m_access->hostAllowed(host) &&
            WebAccess::originMatches(socket->origin().toUtf8(), host, m_secure))
            role = m_secure ? m_access->session(request.rawHeader("Cookie"))
                            : std::optional<WebAccess::Role>(WebAccess::Role::Operator);
        if (!role) {
            socket->close(QWebSocketProtocol::CloseCodePolicyViolated);
            socket->deleteLater();
            continue;
        }
        // Each role has its own places: a page of the same role opened last takes the place
        // of the one opened first, and a viewer never takes the operator's.
        QList<Client *> same;
        for (Client *client : std::as_const(m_clients)) {
            if (client->role == *role)
                same << client;
        }
        if (same.size() >= WebServer::MaxClientsPerRole)
            drop(same.first());
        // A live page: long-lived by design, its silence and beats are its own affair.
        m_listener.settle(socket->peerAddress(), socket->peerPort());
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
    // The answer may come after the relays' turn, to a page that may have gone meanwhile.
    const auto reply = [this, socket = QPointer<QWebSocket>(client->socket),
                        message](const QByteArray &text) {
        for (Client *client : std::as_const(m_clients)) {
            if (socket && client->socket == socket)
                return send(client, {{"type", "reply"},
                                     {"command", message},
                                     {"text", QString::fromUtf8(text.trimmed())}});
        }
    };
    if (client->role == WebAccess::Role::Viewer && !ControlCommands::readsOnly(line))
        return reply("RPRT " + QByteArray::number(ControlCommands::Security));
    m_commands.run(line, [reply](const ControlCommands::Reply &answer) { reply(answer.text); });
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
    // The band's edges and its sub-bands', for the page's picture of a sweep.
    QJsonArray edges;
    for (const qint64 hz : m_station.memory().plan().band(s.selection.band).edges())
        edges.append(double(hz));
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
            {"delivered", s.delivered},
            {"memory", s.memory
                           ? QJsonValue(QJsonArray{double(s.memory->low), double(s.memory->high)})
                           : QJsonValue()},
            {"interlock", QString::fromLatin1(ControlCommands::interlock(s.radio))},
            {"held", s.held},
            {"port", QJsonObject{{"number", s.port.number},
                                 {"device", s.port.device},
                                 {"state", QString::fromLatin1(ControlCommands::portState(s.port))},
                                 {"problem", s.port.problem}}},
            {"radio", radio},
            {"edges", edges}};
}
