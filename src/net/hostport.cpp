#include "hostport.h"

#include <QHostInfo>
#include <QRegularExpression>

std::optional<HostPort> HostPort::parse(const QString &text, quint16 defaultPort)
{
    // A name (letters, digits, dots, dashes), an IPv4 address, or an IPv6 address in
    // brackets, then an optional ":port".
    static const QRegularExpression form(QStringLiteral(
        R"(^(?:\[([0-9A-Fa-f:.]+)\]|([A-Za-z0-9][A-Za-z0-9.\-]*))(?::(\d{1,5}))?$)"));
    const QString trimmed = text.trimmed();
    HostPort address;
    const QRegularExpressionMatch match = form.match(trimmed);
    if (match.hasMatch()) {
        address.host = match.captured(1).isEmpty() ? match.captured(2) : match.captured(1);
        if (!match.captured(1).isEmpty() &&
            QHostAddress(address.host).protocol() != QAbstractSocket::IPv6Protocol)
            return std::nullopt;
        const uint port = match.captured(3).isEmpty() ? defaultPort : match.captured(3).toUInt();
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
