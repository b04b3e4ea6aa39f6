#include "listener.h"

#include <QElapsedTimer>
#include <QPointer>
#include <QSslSocket>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>

#include <algorithm>
#include <limits>
#include <memory>

#ifdef Q_OS_WIN
#include <winsock2.h>
#else
#include <unistd.h>
#endif

namespace {

// Every connection a server has accepted and not yet seen end.
struct Peer
{
    QPointer<QTcpSocket> socket;
    QHostAddress from;
    QElapsedTimer since;
    bool handshaking = false;
    // Bytes came that have had no answer yet.
    bool waiting = false;
    // It has been answered at least once.
    bool answered = false;
    // Put out to make room; it counts no more.
    bool ending = false;
    // Taken over by another protocol: watched no more.
    bool settled = false;
};
using PeerPtr = std::shared_ptr<Peer>;

class GuardedServer : public QTcpServer
{
public:
    GuardedServer(const Listener::Limits &limits, std::optional<QSslConfiguration> tls,
                  QObject *parent)
        : QTcpServer(parent)
        , m_limits(limits)
        , m_tls(std::move(tls))
    {
        // Only finished connections wait here, and they are taken at once.
        setMaxPendingConnections(std::numeric_limits<int>::max());
    }

    // Ends the watch over the connection from that peer, if it came here.
    bool settle(const QHostAddress &address, quint16 port)
    {
        for (const PeerPtr &peer : std::as_const(m_peers)) {
            if (!peer->socket || peer->socket->peerPort() != port ||
                peer->socket->peerAddress() != address)
                continue;
            for (QTimer *timer : peer->socket->findChildren<QTimer *>(QStringLiteral("guard"),
                                                                      Qt::FindDirectChildrenOnly))
                timer->stop();
            peer->settled = true;
            peer->waiting = false;
            peer->answered = true;
            return true;
        }
        return false;
    }

    ~GuardedServer() override
    {
        for (const PeerPtr &peer : std::as_const(m_peers)) {
            if (peer->socket)
                peer->socket->disconnect(this);
        }
    }

protected:
    void incomingConnection(qintptr descriptor) override
    {
        QTcpSocket *socket = m_tls ? new QSslSocket(this) : new QTcpSocket(this);
        if (!socket->setSocketDescriptor(descriptor)) {
            delete socket;
#ifdef Q_OS_WIN
            ::closesocket(SOCKET(descriptor));
#else
            ::close(int(descriptor));
#endif
            return;
        }
        const QHostAddress from = socket->peerAddress();
        if (!makeRoom(from)) {
            end(socket);
            return;
        }
        auto peer = std::make_shared<Peer>();
        peer->socket = socket;
        peer->from = from;
        peer->since.start();
        peer->handshaking = m_tls.has_value();
        m_peers << peer;
        connect(socket, &QObject::destroyed, this, [this, peer] { m_peers.removeOne(peer); });
        if (!m_tls)
            return handOver(peer);

        auto *tls = static_cast<QSslSocket *>(socket);
        tls->setSslConfiguration(*m_tls);
        auto *deadline = new QTimer(socket);
        deadline->setSingleShot(true);
        connect(deadline, &QTimer::timeout, socket, [socket] { end(socket); });
        deadline->start(Listener::HandshakeMs);
        // A client that goes, or speaks no TLS, before the handshake ends is gone at once.
        auto gone = std::make_shared<QList<QMetaObject::Connection>>();
        *gone << connect(socket, &QAbstractSocket::disconnected, socket, [socket] {
            end(socket);
        }) << connect(socket, &QAbstractSocket::errorOccurred, socket, [socket] { end(socket); });
        connect(tls, &QSslSocket::encrypted, this, [this, peer, gone, deadline] {
            delete deadline;
            for (const QMetaObject::Connection &c : std::as_const(*gone))
                disconnect(c);
            peer->handshaking = false;
            handOver(peer);
        });
        tls->startServerEncryption();
    }

private:
    static void end(QTcpSocket *socket)
    {
        socket->abort();
        socket->deleteLater();
    }

    int count(const QHostAddress &from, bool handshakes) const
    {
        return int(std::count_if(m_peers.cbegin(), m_peers.cend(), [&](const PeerPtr &peer) {
            return !peer->ending && (from.isNull() || peer->from == from) &&
                   (!handshakes || peer->handshaking);
        }));
    }

    // Ends the oldest connection from the address (any, when it is null) that has given
    // nothing yet; false when there is none.
    bool evictIdlest(const QHostAddress &from, bool handshakesOnly)
    {
        PeerPtr oldest;
        for (const PeerPtr &peer : std::as_const(m_peers)) {
            const bool unproductive =
                peer->handshaking || (!handshakesOnly && (peer->waiting || !peer->answered));
            if (peer->ending || !peer->socket || !unproductive ||
                (!from.isNull() && peer->from != from))
                continue;
            if (!oldest || peer->since.elapsed() > oldest->since.elapsed())
                oldest = peer;
        }
        if (!oldest)
            return false;
        oldest->ending = true;
        end(oldest->socket);
        return true;
    }

    bool makeRoom(const QHostAddress &from)
    {
        const auto full = [&](const QHostAddress &who, bool handshakes, int cap) {
            return cap > 0 && count(who, handshakes) >= cap;
        };
        if (m_tls) {
            if (full(from, true, Listener::MaxHandshakesPerAddress) && !evictIdlest(from, true))
                return false;
            if (full({}, true, Listener::MaxHandshakes) && !evictIdlest({}, true))
                return false;
        }
        if (full(from, false, m_limits.maxPerAddress) && !evictIdlest(from, false))
            return false;
        if (full({}, false, m_limits.maxPeers) && !evictIdlest({}, false))
            return false;
        return true;
    }

    // Watches what the connection sends from now on, and gives it to whoever takes it.
    void handOver(const PeerPtr &peer)
    {
        QTcpSocket *socket = peer->socket;
        const Listener::Limits limits = m_limits;
        auto *idle = new QTimer(socket);
        idle->setObjectName(QStringLiteral("guard"));
        idle->setSingleShot(true);
        idle->setInterval(limits.idleMs > 0 ? limits.idleMs : std::numeric_limits<int>::max());
        connect(idle, &QTimer::timeout, socket, &QAbstractSocket::abort);
        idle->start();
        auto *request = new QTimer(socket);
        request->setObjectName(QStringLiteral("guard"));
        request->setSingleShot(true);
        connect(request, &QTimer::timeout, socket, &QAbstractSocket::abort);
        auto unanswered = std::make_shared<qint64>(0);
        // Connected before the taker's own handler, so what is available is what just came.
        connect(socket, &QIODevice::readyRead, socket, [=] {
            if (peer->settled)
                return;
            idle->start();
            *unanswered += socket->bytesAvailable();
            if (limits.maxUnanswered > 0 && *unanswered > limits.maxUnanswered)
                QMetaObject::invokeMethod(socket, &QAbstractSocket::abort, Qt::QueuedConnection);
            if (limits.requestMs > 0 && !request->isActive()) {
                peer->waiting = true;
                request->start(limits.requestMs);
            }
        });
        connect(socket, &QIODevice::bytesWritten, socket, [=] {
            if (peer->settled)
                return;
            *unanswered = 0;
            idle->start();
            request->stop();
            peer->waiting = false;
            peer->answered = true;
        });
        addPendingConnection(socket);
    }

    Listener::Limits m_limits;
    std::optional<QSslConfiguration> m_tls;
    QList<PeerPtr> m_peers;
};

} // namespace

Listener::~Listener()
{
    close();
}

void Listener::useTls(const QSslConfiguration &configuration)
{
    m_tls = configuration;
}

void Listener::limitPeers(const Limits &limits)
{
    m_limits = limits;
}

QTcpServer *Listener::makeServer()
{
    return new GuardedServer(m_limits, m_tls, this);
}

bool Listener::listen(const HostPort &where, QString *error, bool deliver)
{
    close();
    const QList<QHostAddress> addresses = where.resolve(error);
    if (addresses.isEmpty())
        return false;
    quint16 port = where.port;
    for (const QHostAddress &address : addresses) {
        QTcpServer *server = makeServer();
        if (!server->listen(address, port)) {
            if (error) {
                HostPort shown{address.toString(), port};
                *error = shown.text() + QStringLiteral(": ") + server->errorString();
            }
            delete server;
            close();
            return false;
        }
        port = server->serverPort();
        if (deliver) {
            connect(server, &QTcpServer::pendingConnectionAvailable, this, [this, server] {
                while (QTcpSocket *socket = server->nextPendingConnection())
                    emit connected(socket);
            });
        }
        m_servers << server;
    }
    return true;
}

void Listener::close()
{
    qDeleteAll(m_servers);
    m_servers.clear();
}

HostPort Listener::address() const
{
    if (m_servers.isEmpty())
        return {};
    const QTcpServer *first = m_servers.first();
    return {first->serverAddress().toString(), first->serverPort()};
}

QList<QHostAddress> Listener::addresses() const
{
    QList<QHostAddress> out;
    for (const QTcpServer *server : m_servers)
        out << server->serverAddress();
    return out;
}

void Listener::settle(const QHostAddress &peer, quint16 port)
{
    for (QTcpServer *server : std::as_const(m_servers)) {
        if (static_cast<GuardedServer *>(server)->settle(peer, port))
            return;
    }
}

bool Listener::loopbackOnly() const
{
    for (const QTcpServer *server : m_servers) {
        if (!server->serverAddress().isLoopback())
            return false;
    }
    return !m_servers.isEmpty();
}
