#include "linetarget.h"

#include <QRegularExpression>

LineTarget LineTarget::parse(const QString &text)
{
    static const QRegularExpression network(
        QStringLiteral(R"(^(?:\[([0-9A-Fa-f:.]+)\]|([A-Za-z0-9][A-Za-z0-9.\-]*)):(\d{1,5})$)"));
    LineTarget target;
    const QRegularExpressionMatch match = network.match(text.trimmed());
    const uint port = match.hasMatch() ? match.captured(3).toUInt() : 0;
    if (port == 0 || port > 65535) {
        target.device = text;
        return target;
    }
    target.host = match.captured(1).isEmpty() ? match.captured(2) : match.captured(1);
    target.port = static_cast<quint16>(port);
    return target;
}

QString LineTarget::text() const
{
    if (!isNetwork())
        return device;
    const QString host = this->host.contains(QLatin1Char(':'))
                             ? QLatin1Char('[') + this->host + QLatin1Char(']')
                             : this->host;
    return host + QLatin1Char(':') + QString::number(port);
}
