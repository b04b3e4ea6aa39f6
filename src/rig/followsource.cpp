#include "followsource.h"

#include <QHostAddress>

namespace {

struct Prefix
{
    const char *text;
    FollowSource::Kind kind;
    quint16 port;
};

constexpr Prefix Prefixes[] = {
    {"udp-radioinfo", FollowSource::Kind::RadioInfo, FollowSource::RadioInfoPort},
    {"wsjtx", FollowSource::Kind::Wsjtx, FollowSource::WsjtxPort},
    {"hamlib-multicast", FollowSource::Kind::HamlibMulticast, FollowSource::HamlibPort},
};

// "", "PORT", "GROUP", "GROUP:PORT" of an IPv4 group or loopback address. Announcements
// carry no password, so no other address of this computer is listened on.
std::optional<HostPort> listenedOn(const QString &rest, quint16 port)
{
    if (rest.isEmpty())
        return HostPort{{}, port};
    const QStringList parts = rest.split(QLatin1Char(':'));
    bool number = false;
    const uint given = parts.last().toUInt(&number);
    if (parts.size() > 2 || (number && (given == 0 || given > 65535)))
        return std::nullopt;
    HostPort where{{}, number ? quint16(given) : port};
    if (parts.size() == 2 || !number) {
        const QHostAddress address(parts.first());
        if (address.protocol() != QAbstractSocket::IPv4Protocol || (parts.size() == 2 && !number) ||
            !(address.isLoopback() || address.isMulticast()))
            return std::nullopt;
        where.host = address.toString();
    }
    return where;
}

} // namespace

std::optional<FollowSource> FollowSource::parse(const QString &text)
{
    const QString trimmed = text.trimmed();
    for (const Prefix &prefix : Prefixes) {
        const QString name = QLatin1String(prefix.text);
        if (trimmed != name && !trimmed.startsWith(name + QLatin1Char(':')))
            continue;
        const std::optional<HostPort> where = listenedOn(trimmed.mid(name.size() + 1), prefix.port);
        if (!where)
            return std::nullopt;
        FollowSource source{prefix.kind, *where, {}};
        if (source.kind == Kind::HamlibMulticast && source.where.host.isEmpty())
            source.where.host = QLatin1String(HamlibGroup);
        return source;
    }
    if (trimmed.startsWith(QLatin1String("mqtt:"))) {
        // One radio's topic: a wildcard would follow several radios at once.
        const QString topic = trimmed.mid(5);
        if (topic.isEmpty() || topic.contains(QLatin1Char('+')) ||
            topic.contains(QLatin1Char('#')) || topic.size() > 200)
            return std::nullopt;
        FollowSource source{Kind::Mqtt, {}, {}};
        source.topic = topic;
        return source;
    }
    const QString rigctld = QStringLiteral("rigctld:");
    const std::optional<HostPort> where = HostPort::parse(
        trimmed.startsWith(rigctld) ? trimmed.mid(rigctld.size()) : trimmed, HamlibPort);
    if (!where)
        return std::nullopt;
    return FollowSource{Kind::Rigctld, *where, {}};
}

QString FollowSource::text() const
{
    if (kind == Kind::Rigctld)
        return where.text();
    if (kind == Kind::Mqtt)
        return QStringLiteral("mqtt:") + topic;
    for (const Prefix &prefix : Prefixes) {
        if (prefix.kind != kind)
            continue;
        QString out = QLatin1String(prefix.text) + QLatin1Char(':');
        if (!where.host.isEmpty())
            out += where.host + QLatin1Char(':');
        return out + QString::number(where.port);
    }
    return {};
}

QString FollowSource::name() const
{
    switch (kind) {
    case Kind::Rigctld:
        break;
    case Kind::RadioInfo:
        return QStringLiteral("RadioInfo");
    case Kind::Wsjtx:
        return QStringLiteral("WSJT-X");
    case Kind::HamlibMulticast:
        return QStringLiteral("Hamlib");
    case Kind::Mqtt:
        return QStringLiteral("MQTT");
    }
    return QStringLiteral("rigctld");
}
