#include "listener.h"

#include <QSslServer>
#include <QTcpServer>
#include <QTcpSocket>

Listener::~Listener()
{
    close();
}

void Listener::useTls(const QSslConfiguration &configuration)
{
    m_tls = configuration;
}

QTcpServer *Listener::makeServer()
{
    if (!m_tls)
        return new QTcpServer(this);
    auto *server = new QSslServer(this);
    server->setSslConfiguration(*m_tls);
    server->setHandshakeTimeout(HandshakeMs);
    return server;
}

bool Listener::listen(const HostPort &where, QString *error)
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
        connect(server, &QTcpServer::pendingConnectionAvailable, this, [this, server] {
            while (QTcpSocket *socket = server->nextPendingConnection())
                emit connected(socket);
        });
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
