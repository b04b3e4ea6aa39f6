#pragma once

#include "hostport.h"

#include <QElapsedTimer>
#include <QHash>
#include <QString>

#include <optional>

// What every service others reach keeps to: an address as the operator writes it, and
// beyond loopback a password and TLS.
namespace ServiceGate {

// "[HOST:]PORT": a port alone is on 127.0.0.1, a host alone takes the default port.
std::optional<HostPort> parseAddress(const QString &text, quint16 defaultPort);

// Whether the address reaches beyond this computer (0.0.0.0 does); none with the reason when
// it names nothing, or reaches beyond without the password or the TLS it then needs.
std::optional<bool> reach(const HostPort &where, bool hasPassword, bool hasTls, QString *error);

} // namespace ServiceGate

// Password guesses per peer address, across all its connections: so many, and that address
// waits a while. A guess counts when it is made, before it is checked, so that guesses sent
// side by side on several connections count as well.
class Lockout
{
public:
    static constexpr int MaxFailures = 5;
    static constexpr int LockoutMs = 60000;
    static constexpr int MaxAddresses = 4096;

    bool locked(const QString &from) const;
    // Counts a guess from the address; false, counting nothing, when it is locked out.
    bool admit(const QString &from);
    // The guess was right: the address starts afresh.
    void passed(const QString &from) { m_failures.remove(from); }

private:
    struct Failures
    {
        int count = 0;
        QElapsedTimer since;
    };
    QHash<QString, Failures> m_failures;
};
