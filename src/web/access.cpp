#include "access.h"

#include "net/credentials.h"

#include <QHostAddress>
#include <QHostInfo>
#include <QRandomGenerator>
#include <QUrl>

#include <algorithm>

WebAccess::WebAccess(QString operatorRecord, QString viewerRecord, QStringList hosts)
    : m_operator(std::move(operatorRecord))
    , m_viewer(std::move(viewerRecord))
    , m_hosts(std::move(hosts))
{
    const QString name = QHostInfo::localHostName();
    m_hosts << QStringLiteral("localhost") << name;
    if (!QHostInfo::localDomainName().isEmpty())
        m_hosts << name + QLatin1Char('.') + QHostInfo::localDomainName();
    m_hosts << name + QStringLiteral(".local");
}

std::optional<QByteArray> WebAccess::login(const QString &password, const QString &from)
{
    if (lockedOut(from))
        return std::nullopt;
    std::optional<Role> role;
    if (Credentials::matches(password, m_operator))
        role = Role::Operator;
    else if (!m_viewer.isEmpty() && Credentials::matches(password, m_viewer))
        role = Role::Viewer;
    if (!role) {
        m_lockout.failed(from);
        return std::nullopt;
    }
    m_lockout.passed(from);
    if (m_sessions.size() >= MaxSessions) {
        const auto idlest = std::max_element(
            m_sessions.begin(), m_sessions.end(),
            [](const Session &a, const Session &b) { return a.seen.elapsed() < b.seen.elapsed(); });
        m_sessions.erase(idlest);
    }
    // 128 random bits from the system's source.
    QByteArray token(16, '\0');
    QRandomGenerator::system()->fillRange(reinterpret_cast<quint32 *>(token.data()), 4);
    token = token.toHex();
    Session &session = m_sessions[token];
    session.role = *role;
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
    if (!QHostAddress(host).isNull())
        return true;
    return m_hosts.contains(host, Qt::CaseInsensitive);
}

bool WebAccess::originMatches(const QByteArray &origin, const QByteArray &host, bool secure)
{
    return origin == (secure ? "https://" : "http://") + host;
}
