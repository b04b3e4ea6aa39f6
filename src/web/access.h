#pragma once

#include "net/gate.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QHash>
#include <QHostAddress>
#include <QString>
#include <QStringList>

#include <optional>

// Who may use the web page: sessions made by a login beyond this computer, each an
// unguessable token that lapses after a long idle time, capped per role; guesses that come
// too often lock their address out for a while; and requests that come through a name the
// console does not answer to (a DNS rebinding page), or ask for a change from another site's
// page, are turned away, on loopback too.
class WebAccess
{
public:
    enum class Role { Operator, Viewer };

    static constexpr qint64 IdleMs = 12LL * 3600 * 1000;
    // Sessions per role: past this many, a login ends the session of its role idle longest.
    static constexpr int MaxSessionsPerRole = 16;
    static constexpr const char *Cookie = "orvane_session";

    // operatorRecord, viewerRecord: password hashes (Credentials); the viewer's may be empty.
    // hosts: the names the page is reached by beyond this computer, besides its own name;
    // bound: the addresses listened on; beyond: whether they reach beyond this computer.
    WebAccess(QString operatorRecord, QString viewerRecord, QStringList hosts,
              QList<QHostAddress> bound, bool beyond);

    // Counts a guess from the address before it is checked; false when it is locked out.
    bool admit(const QString &from) { return m_lockout.admit(from); }
    // The records a password is checked against, the operator's first.
    QStringList records() const { return {m_operator, m_viewer}; }
    // A new session for the record the password matched (-1: none), or none.
    std::optional<QByteArray> open(int matched, const QString &from);
    // The role of a session named in a Cookie header, touching it; none for no or a lapsed one.
    std::optional<Role> session(const QByteArray &cookieHeader);
    void logout(const QByteArray &cookieHeader);
    // The Set-Cookie value for a session.
    static QByteArray cookieFor(const QByteArray &token);

    // Whether a Host header names this console: a loopback address, localhost, an address
    // it listens on (any of this computer's when it listens on all), and beyond this
    // computer its own name and the given names; with or without the port.
    bool hostAllowed(const QByteArray &host) const;
    // Whether a WebSocket's Origin is the page itself: https://HOST (http:// on loopback).
    static bool originMatches(const QByteArray &origin, const QByteArray &host, bool secure);
    // Whether a request that changes something comes from the page itself, as far as the
    // browser says: an Origin that is ours, or none from a program that is no browser.
    static bool sameSite(const QByteArray &origin, const QByteArray &fetchSite,
                         const QByteArray &host, bool secure);

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
    QList<QHostAddress> m_bound;
    bool m_anyAddress = false;
    QHash<QByteArray, Session> m_sessions;
    Lockout m_lockout;
};
