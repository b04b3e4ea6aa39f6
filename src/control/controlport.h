#pragma once

#include "commands.h"
#include "net/gate.h"
#include "net/listener.h"

#include <QObject>
#include <QSslConfiguration>

#include <optional>

class QTcpSocket;

// The tuner as a station service: a TCP port in rigctld's manner that the station's other
// programs use to read the console, act on it and hear what changes. Several clients at
// once, each bounded; beyond loopback only with a password and TLS.
class ControlPort : public QObject
{
    Q_OBJECT
public:
    static constexpr quint16 DefaultPort = 4534;
    static constexpr int MaxClients = 8;
    // A longer line closes its connection.
    static constexpr qsizetype MaxLine = 1024;
    // What one client may leave unread before it is dropped.
    static constexpr qint64 MaxBacklog = 64 * 1024;
    // Off loopback: the password within this, and so many wrong ones before its address
    // waits this long.
    static constexpr int AuthMs = 5000;
    static constexpr int MaxFailures = Lockout::MaxFailures;
    static constexpr int LockoutMs = Lockout::LockoutMs;

    // What a port beyond loopback needs: the password's record (Credentials) and TLS.
    struct Security
    {
        QString passwordRecord;
        std::optional<QSslConfiguration> tls;
    };

    ControlPort(Panel &panel, Tuning *tuning, QObject *parent = nullptr);
    ~ControlPort() override;

    // "[HOST:]PORT": the port alone is on 127.0.0.1; a host alone takes the default port.
    static std::optional<HostPort> parseAddress(const QString &text);

    // False with the reason when it cannot listen there, or may not: an address beyond
    // loopback (0.0.0.0 among them) without a password and TLS.
    bool start(const HostPort &where, const Security &security, QString *error);
    HostPort address() const { return m_listener.address(); }
    bool secure() const { return m_secure; }
    int clientCount() const { return int(m_clients.size()); }

private:
    struct Client;
    void accept(QTcpSocket *socket);
    void read(Client *client);
    void send(Client *client, const QByteArray &bytes);
    void drop(Client *client);
    // Says what is pending, then closes.
    void close(Client *client);
    void push(const QByteArray &line);
    bool authenticate(Client *client, const QByteArray &line);

    Panel &m_panel;
    Tuning *m_tuning;
    ControlCommands m_commands;
    Listener m_listener;
    bool m_secure = false;
    QString m_passwordRecord;
    QList<Client *> m_clients;
    Lockout m_lockout;
};
