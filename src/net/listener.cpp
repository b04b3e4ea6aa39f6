#include "listener.h"

#include <QSslServer>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>

#include <limits>
#include <memory>

namespace {

// Counts what a connection sends between two answers to it, and how long it is quiet.
void capReads(QTcpSocket *socket, qint64 maxUnanswered, int idleMs)
{
    auto unanswered = std::make_shared<qint64>(0);
    auto *idle = new QTimer(socket);
    idle->setSingleShot(true);
    idle->setInterval(idleMs > 0 ? idleMs : std::numeric_limits<int>::max());
    QObject::connect(idle, &QTimer::timeout, socket, &QAbstractSocket::abort);
    idle->start();
    // Connected before the taker's own handler, so what is available is what just came.
    QObject::connect(
        socket, &QIODevice::readyRead, socket, [socket, unanswered, maxUnanswered, idle] {
            idle->start();
            *unanswered += socket->bytesAvailable();
            if (maxUnanswered > 0 && *unanswered > maxUnanswered)
                QMetaObject::invokeMethod(socket, &QAbstractSocket::abort, Qt::QueuedConnection);
        });
    QObject::connect(socket, &QIODevice::bytesWritten, socket, [unanswered, idle] {
        *unanswered = 0;
        idle->start();
    });
}

// A server whose connections are counted and capped as they are taken.
template<class Server> class CappedServer : public Server
{
public:
    CappedServer(int maxPeers, qint64 maxUnanswered, int idleMs, QObject *parent)
        : Server(parent)
        , m_maxPeers(maxPeers)
        , m_maxUnanswered(maxUnanswered)
        , m_idleMs(idleMs)
    {}

    QTcpSocket *nextPendingConnection() override
    {
        while (QTcpSocket *socket = Server::nextPendingConnection()) {
            if (m_maxPeers > 0 && m_peers >= m_maxPeers) {
                socket->abort();
                socket->deleteLater();
                continue;
            }
            ++m_peers;
            QObject::connect(socket, &QObject::destroyed, this, [this] { --m_peers; });
            if (m_maxUnanswered > 0 || m_idleMs > 0)
                capReads(socket, m_maxUnanswered, m_idleMs);
            return socket;
        }
        return nullptr;
    }

private:
    int m_maxPeers;
    qint64 m_maxUnanswered;
    int m_idleMs;
    int m_peers = 0;
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

void Listener::limitPeers(int maxPeers, qint64 maxUnanswered, int idleMs)
{
    m_maxPeers = maxPeers;
    m_maxUnanswered = maxUnanswered;
    m_idleMs = idleMs;
}

QTcpServer *Listener::makeServer()
{
    if (!m_tls)
        return new CappedServer<QTcpServer>(m_maxPeers, m_maxUnanswered, m_idleMs, this);
    auto *server = new CappedServer<QSslServer>(m_maxPeers, m_maxUnanswered, m_idleMs, this);
    server->setSslConfiguration(*m_tls);
    server->setHandshakeTimeout(HandshakeMs);
    return server;
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

bool Listener::loopbackOnly() const
{
    for (const QTcpServer *server : m_servers) {
        if (!server->serverAddress().isLoopback())
            return false;
    }
    return !m_servers.isEmpty();
}
