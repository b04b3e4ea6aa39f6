#include "stationbus.h"

#include "net/credentials.h"
#include "rig/announcedradio.h"
#include "rig/following.h"
#include "station/station.h"

#include <QSettings>

StationBus::StationBus(Station &station, const QString &helper, QObject *parent)
    : QObject(parent)
    , m_panel(station.panel())
    , m_station(station)
    , m_following(station.following())
    , m_helper(helper)
{
    // Following may turn to a topic on the broker, or away from it, while connected.
    connect(&m_following, &Following::statusChanged, this, [this] {
        if (!m_bridge)
            return;
        const FollowSource &source = m_following.source();
        m_bridge->setRadioTopic(source.kind == FollowSource::Kind::Mqtt && m_following.isOn()
                                    ? source.topic
                                    : QString());
    });
}

StationBus::~StationBus()
{
    stop();
}

StationBus::Choice StationBus::chosen(const Choice &commandLine, QSettings *settings)
{
    Choice out = commandLine;
    if (!settings)
        return out;
    if (out.url.isEmpty())
        out.url = settings->value(QStringLiteral("mqtt/url")).toString();
    if (out.caFile.isEmpty())
        out.caFile = settings->value(QStringLiteral("mqtt/ca")).toString();
    out.readOnly = out.readOnly || settings->value(QStringLiteral("mqtt/read_only")).toBool();
    out.discovery = out.discovery || settings->value(QStringLiteral("mqtt/discovery")).toBool();
    return out;
}

void StationBus::keep(const Choice &choice, QSettings &settings)
{
    settings.setValue(QStringLiteral("mqtt/url"), choice.url);
    settings.setValue(QStringLiteral("mqtt/ca"), choice.caFile);
    settings.setValue(QStringLiteral("mqtt/read_only"), choice.readOnly);
    settings.setValue(QStringLiteral("mqtt/discovery"), choice.discovery);
    settings.sync();
}

bool StationBus::start(const Choice &choice, const QString &passwordFile, QString *error)
{
    stop();
    const bool wasDiscovered = m_choice.discovery;
    m_choice = choice;
    if (choice.url.isEmpty() || choice.url == QLatin1String("off"))
        return true;
    const std::optional<MqttUrl> url = MqttUrl::parse(choice.url, error);
    if (!url)
        return false;
    MqttClient::Options options;
    options.url = *url;
    options.caFile = choice.caFile;
    options.helper = m_helper;
    options.password = Credentials::secretIn(passwordFile);
    options.willTopic = url->prefix.toUtf8() + "/status";
    options.willPayload = "offline";
    auto client = std::make_unique<MqttClient>();
    MqttBridge::Options bridged;
    bridged.prefix = url->prefix;
    bridged.readOnly = choice.readOnly;
    bridged.discovery = choice.discovery;
    bridged.forgetDiscovery = wasDiscovered && !choice.discovery;
    const FollowSource &source = m_following.source();
    if (source.kind == FollowSource::Kind::Mqtt)
        bridged.radioTopic = source.topic;
    auto bridge = std::make_unique<MqttBridge>(m_station, *client, bridged);
    connect(bridge.get(), &MqttBridge::radioHeard, this, [this](const QByteArray &payload) {
        if (AnnouncedRadio *radio = m_following.announced())
            radio->hear(payload);
    });
    if (!client->start(options, error))
        return false;
    m_client = std::move(client);
    m_bridge = std::move(bridge);
    return true;
}

void StationBus::stop()
{
    if (m_client)
        m_client->stop();
    m_bridge.reset();
    m_client.reset();
}
