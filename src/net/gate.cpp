#include "gate.h"

#include <QCoreApplication>

#include <algorithm>

std::optional<HostPort> ServiceGate::parseAddress(const QString &text, quint16 defaultPort)
{
    bool number = false;
    const uint port = text.trimmed().toUInt(&number);
    if (number)
        return port > 0 && port <= 65535
                   ? std::optional<HostPort>(HostPort{QStringLiteral("127.0.0.1"), quint16(port)})
                   : std::nullopt;
    return HostPort::parse(text, defaultPort);
}

std::optional<bool> ServiceGate::reach(const HostPort &where, bool hasPassword, bool hasTls,
                                       QString *error)
{
    const QList<QHostAddress> addresses = where.resolve(error);
    if (addresses.isEmpty())
        return std::nullopt;
    const bool beyond = std::any_of(addresses.begin(), addresses.end(),
                                    [](const QHostAddress &a) { return !a.isLoopback(); });
    if (beyond && !hasPassword) {
        *error = QCoreApplication::translate("ServiceGate",
                                             "%1 — за пределами этого компьютера: сначала задайте "
                                             "пароль (orvane --set-control-password)")
                     .arg(where.text());
        return std::nullopt;
    }
    if (beyond && !hasTls) {
        *error =
            QCoreApplication::translate(
                "ServiceGate", "%1 — за пределами этого компьютера, а сертификат TLS не создан")
                .arg(where.text());
        return std::nullopt;
    }
    return beyond;
}

bool Lockout::locked(const QString &from) const
{
    const auto it = m_failures.constFind(from);
    return it != m_failures.cend() && it->count >= MaxFailures && it->since.elapsed() < LockoutMs;
}

bool Lockout::admit(const QString &from)
{
    if (locked(from))
        return false;
    // Addresses that guessed long ago are forgotten once there are many.
    if (m_failures.size() > MaxAddresses) {
        m_failures.removeIf(
            [](const auto &entry) { return entry.value().since.elapsed() >= LockoutMs; });
    }
    Failures &failures = m_failures[from];
    if (failures.since.isValid() && failures.since.elapsed() >= LockoutMs)
        failures.count = 0;
    ++failures.count;
    failures.since.start();
    return true;
}
