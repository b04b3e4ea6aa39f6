#include "access.h"

#include <QHostInfo>
#include <QNetworkInterface>
#include <QRandomGenerator>
#include <QUrl>

#include <algorithm>

WebAccess::WebAccess(QString operatorRecord, QString viewerRecord, QStringList hosts,
                     QList<QHostAddress> bound, bool beyond)
    : m_operator(std::move(operatorRecord))
    , m_viewer(std::move(viewerRecord))
    , m_hosts(std::move(hosts))
    , m_bound(std::move(bound))
{
    m_hosts << QStringLiteral("localhost");
    for (const QHostAddress &address : std::as_const(m_bound)) {
        if (address == QHostAddress::AnyIPv4 || address == QHostAddress::AnyIPv6 ||
            address == QHostAddress::Any)
            m_anyAddress = true;
    }
    if (m_anyAddress)
        m_bound << QNetworkInterface::allAddresses();
    if (!beyond)
        return;
    const QString name = QHostInfo::localHostName();
    m_hosts << name;
    if (!QHostInfo::localDomainName().isEmpty())
        m_hosts << name + QLatin1Char('.') + QHostInfo::localDomainName();
    m_hosts << name + QStringLiteral(".local");
}

std::optional<QByteArray> WebAccess::open(int matched, const QString &from)
{
    if (matched < 0 || (matched == 1 && m_viewer.isEmpty()))
        return std::nullopt;
    const Role role = matched == 0 ? Role::Operator : Role::Viewer;
    m_lockout.passed(from);
    // Each role has its own sessions: a crowd of viewers never ends the operator's.
    const auto ofRole = [role](const Session &s) {
        return s.role == role;
    };
    if (std::count_if(m_sessions.cbegin(), m_sessions.cend(), ofRole) >= MaxSessionsPerRole) {
        auto idlest = m_sessions.end();
        for (auto it = m_sessions.begin(); it != m_sessions.end(); ++it) {
            if (it->role == role &&
                (idlest == m_sessions.end() || it->seen.elapsed() > idlest->seen.elapsed()))
                idlest = it;
        }
        m_sessions.erase(idlest);
    }
    // 128 random bits from the system's source.
    QByteArray token(16, '\0');
    QRandomGenerator::system()->fillRange(reinterpret_cast<quint32 *>(token.data()), 4);
    token = token.toHex();
    Session &session = m_sessions[token];
    session.role = role;
    session.seen.start();
    return token;
}

std::optional<QByteArray> WebAccess::tokenIn(const QByteArray &cookieHeader)
{
    for (const QByteArray &part : cookieHeader.split(';')) {
        const QByteArray pair = part.trimmed();
        const QByteArray prefix = QByteArray(Cookie) + '=';
        if (pair.startsWith(prefix))
            return pair.mid(prefix.size());
    }
    return std::nullopt;
}

std::optional<WebAccess::Role> WebAccess::session(const QByteArray &cookieHeader)
{
    const std::optional<QByteArray> token = tokenIn(cookieHeader);
    if (!token)
        return std::nullopt;
    auto it = m_sessions.find(*token);
    if (it == m_sessions.end())
        return std::nullopt;
    if (it->seen.elapsed() > IdleMs) {
        m_sessions.erase(it);
        return std::nullopt;
    }
    it->seen.start();
    return it->role;
}

void WebAccess::logout(const QByteArray &cookieHeader)
{
    if (const std::optional<QByteArray> token = tokenIn(cookieHeader))
        m_sessions.remove(*token);
}

QByteArray WebAccess::cookieFor(const QByteArray &token)
{
    return QByteArray(Cookie) + '=' + token + "; Path=/; HttpOnly; Secure; SameSite=Strict";
}

bool WebAccess::hostAllowed(const QByteArray &hostHeader) const
{
    // "name", "name:port", "1.2.3.4:port", "[::1]:port".
    const QUrl url(QStringLiteral("//") + QString::fromLatin1(hostHeader));
    const QString host = url.host();
    if (host.isEmpty() || !url.isValid())
        return false;
    const QHostAddress address(host);
    if (!address.isNull())
        return address.isLoopback() || m_bound.contains(address);
    return m_hosts.contains(host, Qt::CaseInsensitive);
}

bool WebAccess::originMatches(const QByteArray &origin, const QByteArray &host, bool secure)
{
    return origin == (secure ? "https://" : "http://") + host;
}

bool WebAccess::sameSite(const QByteArray &origin, const QByteArray &fetchSite,
                         const QByteArray &host, bool secure)
{
    // A named origin must be ours. A browser that keeps the origin to itself ("null", under a
    // strict referrer policy) still says where the request comes from; one that says neither
    // is no browser.
    if (!origin.isEmpty() && origin != "null" && !originMatches(origin, host, secure))
        return false;
    if (!fetchSite.isEmpty())
        return fetchSite == "same-origin" || fetchSite == "none";
    return origin != "null";
}
