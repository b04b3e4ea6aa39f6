#pragma once

#include <QHostAddress>
#include <QList>
#include <QString>

#include <optional>

// A network address as the operator writes it: "tuner.lan:4001", "192.168.1.50:4001",
// "[::1]:4532", or a host alone where a usual port is known. A name stays a name until
// resolve() asks the system for its addresses.
struct HostPort
{
    QString host; // a name or an address, IPv6 without brackets
    quint16 port = 0;

    // With a default port a host alone is an address too; without one the port is needed.
    static std::optional<HostPort> parse(const QString &text, quint16 defaultPort = 0);
    // "[::1]:4532" for IPv6, "host:port" otherwise.
    QString text() const;

    // The addresses the host names, in the system's order: an address stands for itself, a
    // name is looked up (this waits for the resolver). Empty with the reason when there is
    // none.
    QList<QHostAddress> resolve(QString *error) const;

    friend bool operator==(const HostPort &, const HostPort &) = default;
};
