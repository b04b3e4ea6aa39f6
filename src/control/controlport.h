#pragma once

#include "commands.h"
#include "net/gate.h"
#include "net/listener.h"

#include <QObject>
#include <QSslConfiguration>

#include <optional>

class PasswordCheck;
class QTcpSocket;

// The tuner as a station service: a TCP port in rigctld's manner that the station's other
// programs use to read the console, act on it and hear what changes. Several clients at
// once, each bounded; beyond loopback only with a password and TLS.
//
// A connection holds one of the MaxClients places only once it has given the password
// (beyond loopback) or its first command (on loopback), within FirstWordMs; until then it
// waits among a few others, the oldest of which makes room for a newcomer. With every place
// taken, the client silent longest (over SilentMs, and not subscribed) gives its place to a
// newcomer. Idle or abandoned connections thus keep nobody out for long.
class ControlPort : public QObject
{
    Q_OBJECT
public:
    static constexpr quint16 DefaultPort = 4534;
    static constexpr int MaxClients = 8;
    // Connections that have not yet earned a place.
    static constexpr int MaxWaiting = 16;
    static constexpr int FirstWordMs = 5000;
    static constexpr int SilentMs = 10000;
    // A longer line closes its connection.
    static constexpr qsizetype MaxLine = 1024;
    // What one client may leave unread before it is dropped. A longer answer goes out as
    // the client reads it, up to MaxAnswer.
    static constexpr qint64 MaxBacklog = 64 * 1024;
    static constexpr qint64 MaxAnswer = 16 * 1024 * 1024;
    static constexpr int MaxFailures = Lockout::MaxFailures;
    static constexpr int LockoutMs = Lockout::LockoutMs;

    // What a port beyond loopback needs: the password's record (Credentials) and TLS, and
    // where passwords are checked (one of its own when none is given).
    struct Security
    {
        QString passwordRecord;
        std::optional<QSslConfiguration> tls;
        PasswordCheck *passwords = nullptr;
    };

    explicit ControlPort(Station &station, QObject *parent = nullptr);
    ~ControlPort() override;

    // "[HOST:]PORT": the port alone is on 127.0.0.1; a host alone takes the default port.
    static std::optional<HostPort> parseAddress(const QString &text);

    // False with the reason when it cannot listen there, or may not: an address beyond
    // loopback (0.0.0.0 among them) without a password and TLS.
    bool start(const HostPort &where, const Security &security, QString *error);
    HostPort address() const { return m_listener.address(); }
    bool secure() const { return m_secure; }
    // Clients holding a place.
    int clientCount() const;

private:
    struct Client;
    void accept(QTcpSocket *socket);
    void read(Client *client);
    void handle(Client *client, const QByteArray &line, qsizetype size);
    void authenticate(Client *client, const QByteArray &command, qsizetype size);
    void checked(quint64 id, qsizetype size, bool matched);
    void answered(quint64 id, qsizetype size, const ControlCommands::Reply &reply);
    // Gives the client a place, making one where a client has been silent long enough.
    bool seat(Client *client);
    // Keeps what the client sent unread while its answer is worked out: a client that has
    // said all it will and half-closed its end still hears every answer.
    void hold(Client *client, bool held);
    Client *find(quint64 id) const;
    void send(Client *client, const QByteArray &bytes);
    void sendAnswer(Client *client, const QByteArray &text);
    // Writes more of a long answer as the client reads it.
    void feed(Client *client);
    void drop(Client *client);
    // Says what is pending, then closes.
    void close(Client *client);
    void push(StationNews::Kind kind, const QByteArray &line);

    Panel &m_panel;
    ControlCommands m_commands;
    StationNews m_news;
    Listener m_listener;
    bool m_secure = false;
    QString m_passwordRecord;
    PasswordCheck *m_passwords = nullptr;
    QList<Client *> m_clients;
    quint64 m_lastId = 0;
    Lockout m_lockout;
};
