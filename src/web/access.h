#pragma once

#include "net/gate.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QHash>
#include <QString>
#include <QStringList>

#include <optional>

// Who may use the web page, beyond this computer: sessions made by a login, each an unguessable
// token that lapses after a long idle time; logins that fail too often lock their address out
// for a while; and requests that come through a name the console does not answer to (a DNS
// rebinding page) or a WebSocket from a foreign page are turned away.
class WebAccess
{
public:
    enum class Role { Operator, Viewer };

    static constexpr qint64 IdleMs = 12LL * 3600 * 1000;
    // Past this many, a login ends the session idle the longest.
    static constexpr int MaxSessions = 64;
    static constexpr const char *Cookie = "orvane_session";

    // operatorRecord, viewerRecord: password hashes (Credentials); the viewer's may be empty.
    // hosts: the names the page is reached by, besides addresses and this computer's name.
    WebAccess(QString operatorRecord, QString viewerRecord, QStringList hosts);

    // A new session for the password, or none (wrong, or the address is locked out).
    std::optional<QByteArray> login(const QString &password, const QString &from);
    bool lockedOut(const QString &from) const { return m_lockout.locked(from); }
    // The role of a session named in a Cookie header, touching it; none for no or a lapsed one.
    std::optional<Role> session(const QByteArray &cookieHeader);
    void logout(const QByteArray &cookieHeader);
    // The Set-Cookie value for a session.
    static QByteArray cookieFor(const QByteArray &token);

    // Whether a Host header names this console: an address, localhost, this computer's name,
    // or one of the given names, with or without the port.
    bool hostAllowed(const QByteArray &host) const;
    // Whether a WebSocket's Origin is the page itself: https://HOST (http:// on loopback).
    static bool originMatches(const QByteArray &origin, const QByteArray &host, bool secure);

private:
    struct Session
    {
        Role role = Role::Viewer;
        QElapsedTimer seen;
    };
    static std::optional<QByteArray> tokenIn(const QByteArray &cookieHeader);

    QString m_operator;
    QString m_viewer;
    QStringList m_hosts;
    QHash<QByteArray, Session> m_sessions;
    Lockout m_lockout;
};
