#include "webserver.h"

#include "net/gate.h"

#include <QHostAddress>

std::optional<HostPort> WebServer::parseAddress(const QString &text)
{
    return ServiceGate::parseAddress(text, DefaultPort);
}

QString WebServer::url() const
{
    HostPort where = address();
    const QHostAddress bound(where.host);
    if (bound == QHostAddress::AnyIPv4)
        where.host = QStringLiteral("127.0.0.1");
    else if (bound == QHostAddress::AnyIPv6 || bound == QHostAddress::Any)
        where.host = QStringLiteral("::1");
    return (secure() ? QStringLiteral("https://") : QStringLiteral("http://")) + where.text() +
           QLatin1Char('/');
}
