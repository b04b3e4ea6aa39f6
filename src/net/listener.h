#pragma once

#include "hostport.h"

#include <QObject>
#include <QSslConfiguration>

#include <optional>

class QTcpServer;
class QTcpSocket;

// A TCP listener on exactly the addresses a host names: "localhost" is 127.0.0.1 and ::1,
// a name on the local network is its own address, never every interface. Every connection is
// counted from the moment it is accepted: a TLS handshake gets a few seconds, connections at
// once are capped per address and in all, and when they are full a newcomer takes the place of
// the oldest connection that has had nothing done for it yet (still in its handshake, silent
// since it came, or holding a request it never finishes), so abandoned, idle and dribbling
// connections cannot keep anyone out.
class Listener : public QObject
{
    Q_OBJECT
public:
    // A client that has not finished the TLS handshake by then is dropped.
    static constexpr int HandshakeMs = 5000;
    // Connections still in their handshake, in all and from one address.
    static constexpr int MaxHandshakes = 32;
    static constexpr int MaxHandshakesPerAddress = 8;

    struct Limits
    {
        int maxPeers = 0;      // connections at once (0: no cap)
        int maxPerAddress = 0; // of those, from one address
        // One that sends more than this without being written to in between is cut off.
        qint64 maxUnanswered = 0;
        // Nothing either way for so long, and it is cut off.
        int idleMs = 0;
        // From the first byte of a request to its answer: a request dribbled in a byte at a
        // time does not hold a connection for longer.
        int requestMs = 0;
    };

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
    void limitPeers(const Limits &limits);
    bool usesTls() const { return m_tls.has_value(); }
    void close();
    bool isListening() const { return !m_servers.isEmpty(); }
    // The first address and its port, as a client would reach it.
    HostPort address() const;
    QList<QHostAddress> addresses() const;
    // True when every address is a loopback address.
    bool loopbackOnly() const;
    // The connection from that peer has become another protocol's (a WebSocket): no request
    // deadline or idle time of ours applies to it any more, and it makes room for nobody.
    void settle(const QHostAddress &peer, quint16 port);

signals:
    // A connection arrived; the socket is the receiver's to keep or delete.
    void connected(QTcpSocket *socket);

private:
    QTcpServer *makeServer();

    QList<QTcpServer *> m_servers;
    std::optional<QSslConfiguration> m_tls;
    Limits m_limits;
};
