#pragma once

#include "hostport.h"

#include <QObject>
#include <QSslConfiguration>

#include <optional>

class QTcpServer;
class QTcpSocket;

// A TCP listener on exactly the addresses a host names: "localhost" is 127.0.0.1 and ::1,
// a name on the local network is its own address, never every interface.
class Listener : public QObject
{
    Q_OBJECT
public:
    // A client that has not finished the TLS handshake by then is dropped.
    static constexpr int HandshakeMs = 5000;

    using QObject::QObject;
    ~Listener() override;

    // All of the host's addresses on one port (with port 0, the one the first address got).
    // False with the reason when the name resolves to nothing or an address cannot be bound.
    // With deliver false the servers only listen, for another to take their connections
    // (servers()).
    bool listen(const HostPort &where, QString *error, bool deliver = true);
    const QList<QTcpServer *> &servers() const { return m_servers; }
    // From the next listen on, connections are TLS: handed over once the handshake is done,
    // never to a client that does not speak it.
    void useTls(const QSslConfiguration &configuration);
    // From the next listen on, for servers another takes the connections of: at most
    // maxPeers connections at once; one that sends more than maxUnanswered bytes without
    // being written to in between, or nothing either way for idleMs, is cut off.
    void limitPeers(int maxPeers, qint64 maxUnanswered, int idleMs);
    bool usesTls() const { return m_tls.has_value(); }
    void close();
    bool isListening() const { return !m_servers.isEmpty(); }
    // The first address and its port, as a client would reach it.
    HostPort address() const;
    QList<QHostAddress> addresses() const;
    // True when every address is a loopback address.
    bool loopbackOnly() const;

signals:
    // A connection arrived; the socket is the receiver's to keep or delete.
    void connected(QTcpSocket *socket);

private:
    QTcpServer *makeServer();

    QList<QTcpServer *> m_servers;
    std::optional<QSslConfiguration> m_tls;
    int m_maxPeers = 0;
    qint64 m_maxUnanswered = 0;
    int m_idleMs = 0;
};
