#include "mqttclient.h"

#include <QCoreApplication>
#include <QSysInfo>
#include <QUrl>

namespace {

QString tr(const char *text)
{
    return QCoreApplication::translate("MqttUrl", text);
}

} // namespace

std::optional<MqttUrl> MqttUrl::parse(const QString &text, QString *error)
{
    const auto fail = [&](const QString &why) -> std::optional<MqttUrl> {
        if (error)
            *error = why;
        return std::nullopt;
    };
    const QUrl url(text, QUrl::StrictMode);
    MqttUrl out;
    if (!url.isValid() ||
        (url.scheme() != QLatin1String("mqtt") && url.scheme() != QLatin1String("mqtts")))
        return fail(tr("ожидается mqtt://[USER@]HOST[:PORT]/PREFIX или mqtts://…"));
    if (!url.password().isEmpty())
        return fail(tr("пароль не пишется в адресе: задайте его --set-mqtt-password"));
    out.tls = url.scheme() == QLatin1String("mqtts");
    out.user = url.userName();
    out.host = url.host();
    if (out.host.isEmpty())
        return fail(tr("в адресе нет сервера"));
    out.port = quint16(url.port(out.tls ? 8883 : 1883));
    out.prefix = url.path();
    while (out.prefix.startsWith(QLatin1Char('/')))
        out.prefix.remove(0, 1);
    while (out.prefix.endsWith(QLatin1Char('/')))
        out.prefix.chop(1);
    if (out.prefix.isEmpty())
        out.prefix = defaultPrefix();
    if (out.prefix.contains(QLatin1Char('+')) || out.prefix.contains(QLatin1Char('#')) ||
        out.prefix.contains(QLatin1String("//")) || out.prefix.size() > 200)
        return fail(tr("«%1» не годится началом темы").arg(out.prefix));
    return out;
}

QString MqttUrl::text() const
{
    return QStringLiteral("%1://%2%3:%4/%5")
        .arg(tls ? QStringLiteral("mqtts") : QStringLiteral("mqtt"),
             user.isEmpty() ? QString() : user + QLatin1Char('@'), host)
        .arg(port)
        .arg(prefix);
}

QString MqttUrl::defaultPrefix()
{
    QString host = QSysInfo::machineHostName();
    host.remove(QLatin1Char('+'));
    host.remove(QLatin1Char('#'));
    host.remove(QLatin1Char('/'));
    return QStringLiteral("orvane/") + (host.isEmpty() ? QStringLiteral("console") : host);
}
