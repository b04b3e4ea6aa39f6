#include "hostport.h"

#include <QHostInfo>

#include <algorithm>

namespace {

// A name: letters, digits, dots and dashes, beginning with a letter or a digit.
bool isName(QStringView text)
{
    if (text.isEmpty() || !(text[0].isLetterOrNumber() && text[0].unicode() < 128))
        return false;
    return std::all_of(text.begin(), text.end(), [](QChar c) {
        return c.unicode() < 128 && (c.isLetterOrNumber() || c == u'.' || c == u'-');
    });
}

// Up to five digits; none when there are none or other characters.
std::optional<uint> portOf(QStringView text)
{
    if (text.isEmpty() || text.size() > 5 ||
        !std::all_of(text.begin(), text.end(), [](QChar c) { return c >= u'0' && c <= u'9'; }))
        return std::nullopt;
    return text.toUInt();
}

} // namespace

std::optional<HostPort> HostPort::parse(const QString &text, quint16 defaultPort)
{
    // A name (letters, digits, dots, dashes), an IPv4 address, or an IPv6 address in
    // brackets, then an optional ":port". Read by hand: this runs at every port's open, and a
    // regular expression engine is memory the console would otherwise not need.
    const QString trimmed = text.trimmed();
    const QStringView whole(trimmed);
    HostPort address;
    QStringView host;
    QStringView rest;
    bool bracketed = false;
    if (whole.startsWith(u'[')) {
        const qsizetype close = whole.indexOf(u']');
        if (close < 0)
            return std::nullopt;
        host = whole.mid(1, close - 1);
        rest = whole.mid(close + 1);
        bracketed = true;
    } else {
        const qsizetype colon = whole.indexOf(u':');
        host = colon < 0 ? whole : whole.left(colon);
        rest = colon < 0 ? QStringView() : whole.mid(colon);
    }
    // In brackets only an IPv6 address, checked below.
    const bool named = bracketed ? !host.isEmpty() : isName(host);
    const std::optional<uint> given = rest.startsWith(u':') ? portOf(rest.mid(1)) : std::nullopt;
    if (named && (rest.isEmpty() || given)) {
        address.host = host.toString();
        if (bracketed && QHostAddress(address.host).protocol() != QAbstractSocket::IPv6Protocol)
            return std::nullopt;
        const uint port = given ? *given : defaultPort;
        if (port == 0 || port > 65535)
            return std::nullopt;
        address.port = static_cast<quint16>(port);
        return address;
    }
    // A bare IPv6 address, which cannot carry a port without its brackets.
    if (defaultPort != 0 && trimmed.contains(QLatin1Char(':')) &&
        QHostAddress(trimmed).protocol() == QAbstractSocket::IPv6Protocol) {
        address.host = trimmed;
        address.port = defaultPort;
        return address;
    }
    return std::nullopt;
}

QString HostPort::text() const
{
    const bool v6 = host.contains(QLatin1Char(':'));
    return (v6 ? QLatin1Char('[') + host + QLatin1Char(']') : host) + QLatin1Char(':') +
           QString::number(port);
}

QList<QHostAddress> HostPort::resolve(QString *error) const
{
    const QHostAddress literal(host);
    if (!literal.isNull())
        return {literal};
    const QHostInfo info = QHostInfo::fromName(host);
    QList<QHostAddress> addresses;
    for (const QHostAddress &address : info.addresses()) {
        if (!addresses.contains(address))
            addresses << address;
    }
    if (addresses.isEmpty() && error) {
        *error = info.error() == QHostInfo::NoError
                     ? QStringLiteral("%1: the name has no address").arg(host)
                     : QStringLiteral("%1: %2").arg(host, info.errorString());
    }
    return addresses;
}
