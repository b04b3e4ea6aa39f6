#include "mqttbridge.h"

#include "model/bandnames.h"
#include "model/slots.h"
#include "station/station.h"

#include <QCoreApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QPointer>
#include <QSet>

namespace {

// The per-field topics and the state's field each carries.
struct Field
{
    const char *leaf;
    const char *key;
};
constexpr Field Fields[] = {
    {"antenna", "antenna"}, {"band", "band"}, {"subband", "subband"}, {"c", "c"},      {"l", "l"},
    {"side", "side"},       {"port", "port"}, {"tx", "transmitting"}, {"held", "held"}};

QByteArray valueText(const QJsonValue &v)
{
    if (v.isBool())
        return v.toBool() ? "1" : "0";
    if (v.isDouble())
        return QByteArray::number(v.toDouble(), 'g', 12);
    return v.toString().toUtf8();
}

} // namespace

MqttBridge::MqttBridge(Station &station, MqttClient &client, const Options &options,
                       QObject *parent)
    : QObject(parent)
    , m_panel(station.panel())
    , m_client(client)
    , m_options(options)
    , m_commands(station, Panel::Cause::Remote)
{
    m_clock.start();
    m_gather.setSingleShot(true);
    m_gather.setInterval(GatherMs);
    connect(&m_gather, &QTimer::timeout, this, &MqttBridge::publishState);
    connect(&m_panel, &Panel::changed, this, [this] {
        if (!m_gather.isActive())
            m_gather.start();
    });
    connect(&m_panel.lineLog(), &LineLog::added, this, [this](const LineLog::Entry &entry) {
        m_client.publish(topic("log"), LineLog::line(entry).toUtf8(), false, 0);
    });
    connect(&client, &MqttClient::connected, this, &MqttBridge::online);
    connect(&client, &MqttClient::disconnected, this, [this](const QString &why) {
        m_stable.stop();
        // Said once for each new reason: a broker down, or one that drops the console at
        // once, is retried quietly.
        if (why == m_lastLoss)
            return;
        m_lastLoss = why;
        m_lossSaid = true;
        say(QCoreApplication::translate("MqttBridge", "MQTT: %1").arg(why), Panel::Tone::Warning);
    });
    // A connection that lasts makes the next loss news again.
    m_stable.setSingleShot(true);
    m_stable.setInterval(MqttClient::StableMs);
    connect(&m_stable, &QTimer::timeout, this, [this] { m_lastLoss.clear(); });
    connect(&client, &MqttClient::received, this, &MqttBridge::take);
    // Commands are never retained ones: the broker is asked to keep them back.
    if (!options.readOnly) {
        client.subscribe(topic("cmd"), true);
        client.subscribe(topic("set/+"), true);
    }
    if (!options.radioTopic.isEmpty())
        client.subscribe(options.radioTopic.toUtf8());
}

void MqttBridge::setRadioTopic(const QString &topic)
{
    if (topic == m_options.radioTopic)
        return;
    m_options.radioTopic = topic;
    if (!topic.isEmpty())
        m_client.subscribe(topic.toUtf8());
}

QByteArray MqttBridge::topic(const char *leaf) const
{
    return m_options.prefix.toUtf8() + '/' + leaf;
}

QJsonObject MqttBridge::stateObject(const Panel::State &state)
{
    // The pushed !state's fields, their names in lower case, numbers as numbers.
    QJsonObject out;
    for (const auto &[key, value] : ControlCommands::stateFields(state)) {
        const QString name = QString::fromLatin1(key).toLower();
        bool number = false;
        const double n = value.toDouble(&number);
        const bool text = name == QLatin1String("band") || name == QLatin1String("device");
        out.insert(name, number && !text ? QJsonValue(n) : QJsonValue(QString::fromUtf8(value)));
    }
    out.insert(QStringLiteral("held"), state.held);
    return out;
}

void MqttBridge::say(const QString &text, Panel::Tone tone)
{
    m_panel.report(text, tone);
}

void MqttBridge::online()
{
    if (m_lossSaid || !m_onlineSaid)
        say(QCoreApplication::translate("MqttBridge", "MQTT: на связи с %1")
                .arg(m_client.address()));
    m_lossSaid = false;
    m_onlineSaid = true;
    m_stable.start();
    m_client.publish(topic("status"), "online", true, 1, MqttClient::Priority::Keep);
    // Everything again: the broker may have lost what it kept, or kept a stale copy.
    m_published = {};
    publishState();
    publishDiscovery();
}

void MqttBridge::publishState()
{
    const QJsonObject state = stateObject(m_panel.state());
    if (state == m_published || m_client.state() != MqttClient::State::Connected)
        return;
    if (!m_client.publish(topic("state"), QJsonDocument(state).toJson(QJsonDocument::Compact), true,
                          1)) {
        // The queue is full: the next change, or the reconnection, brings it.
        ++m_counts.statesSkipped;
        return;
    }
    for (const Field &field : Fields) {
        const QJsonValue value = state.value(QLatin1String(field.key));
        if (value != m_published.value(QLatin1String(field.key)))
            m_client.publish(topic(field.leaf), valueText(value), true, 1);
    }
    m_published = state;
}

bool MqttBridge::answerable(const QByteArray &where) const
{
    const QByteArray own = m_options.prefix.toUtf8();
    return !where.isEmpty() && !where.contains('+') && !where.contains('#') &&
           !where.contains('\0') && !where.startsWith('$') && where != own &&
           !where.startsWith(own + '/') && QString::fromUtf8(where).toUtf8() == where;
}

void MqttBridge::take(const MqttClient::Message &message)
{
    if (!m_options.radioTopic.isEmpty() && message.topic == m_options.radioTopic.toUtf8()) {
        emit radioHeard(message.payload);
        return;
    }
    const QByteArray setPrefix = topic("set/");
    const bool set = message.topic.startsWith(setPrefix);
    if (m_options.readOnly || (!set && message.topic != topic("cmd")))
        return;
    // A retained message is something left on the broker: run, it would run again at every
    // reconnect and undo what the operator did since.
    if (message.retained) {
        ++m_counts.retained;
        if (!m_retainedSaid) {
            m_retainedSaid = true;
            say(QCoreApplication::translate("MqttBridge",
                                            "MQTT: команда с флагом retain не выполняется (%1)")
                    .arg(QString::fromUtf8(message.topic)),
                Panel::Tone::Warning);
        }
        return;
    }
    if (message.payload.size() > MaxPayload) {
        ++m_counts.dropped;
        return;
    }
    // An answer never goes where this console takes commands, nor to a pattern.
    if (!message.responseTopic.isEmpty() && !answerable(message.responseTopic)) {
        ++m_counts.answerRefused;
        return;
    }
    // At most CommandsPerSecond in any second; the rest are refused, and said to be.
    const qint64 now = m_clock.elapsed();
    while (!m_recent.empty() && now - m_recent.front() >= 1000)
        m_recent.pop_front();
    if (m_recent.size() >= size_t(CommandsPerSecond)) {
        ++m_counts.refused;
        const QByteArray why = "RPRT " + QByteArray::number(ControlCommands::Refused) +
                               " more than " + QByteArray::number(CommandsPerSecond) +
                               " commands a second\n";
        m_client.publish(message.responseTopic.isEmpty() ? topic("reply") : message.responseTopic,
                         why, false, 1, MqttClient::Priority::Droppable, message.correlation);
        return;
    }
    m_recent.push_back(now);
    ++m_counts.commands;
    QByteArray why;
    const QByteArray line =
        set ? commandFor(message.topic.mid(setPrefix.size()), message.payload.trimmed(), &why)
            : message.payload.trimmed();
    if (line.isEmpty() || line.contains('\n'))
        return answer(message, "RPRT " + QByteArray::number(ControlCommands::Invalid) +
                                   (why.isEmpty() ? QByteArray() : ' ' + why) + '\n');
    m_commands.run(
        line, [self = QPointer<MqttBridge>(this), message](const ControlCommands::Reply &reply) {
            if (self)
                self->answer(message, reply.text);
        });
}

void MqttBridge::answer(const MqttClient::Message &to, const QByteArray &text)
{
    m_client.publish(to.responseTopic.isEmpty() ? topic("reply") : to.responseTopic, text, false, 1,
                     MqttClient::Priority::Keep, to.correlation);
}

namespace {

// A whole number as the control port takes it, or as Home Assistant writes one ("12.0").
QByteArray wholeNumber(const QByteArray &value)
{
    const qsizetype point = value.indexOf('.');
    if (point > 0 && value.mid(point + 1).count('0') == value.size() - point - 1)
        return value.left(point);
    return value;
}

std::optional<int> numberIn(const QByteArray &value, int low, int high)
{
    bool ok = false;
    const int n = wholeNumber(value).toInt(&ok);
    return ok && n >= low && n <= high ? std::optional<int>(n) : std::nullopt;
}

} // namespace

QByteArray MqttBridge::commandFor(const QByteArray &leaf, const QByteArray &value,
                                  QByteArray *why) const
{
    const Panel::State s = m_panel.state();
    const auto recall = [](int antenna, const QByteArray &band, int subBand) {
        return "\\recall " + QByteArray::number(antenna) + ' ' + band + ' ' +
               QByteArray::number(subBand);
    };
    const auto refused = [why, &value](const char *what) {
        *why = what + QByteArray(": ") + value.left(64).toPercentEncoding(" .-_+");
        return QByteArray();
    };
    const QByteArray band = BandNames::key(s.selection.band).toLatin1();
    if (leaf == "antenna") {
        const std::optional<int> antenna = numberIn(value, 1, Slots::Antennas);
        if (!antenna)
            return refused("not an antenna 1-3");
        return recall(*antenna, band, s.selection.subBand + 1);
    }
    if (leaf == "band") {
        if (!BandNames::find(QString::fromUtf8(value), true))
            return refused("not a band");
        return recall(s.selection.antenna + 1, value, s.selection.subBand + 1);
    }
    if (leaf == "subband") {
        const std::optional<int> subBand = numberIn(value, 1, Slots::SubBands);
        if (!subBand)
            return refused("not a sub-band 1-5");
        return recall(s.selection.antenna + 1, band, *subBand);
    }
    if (leaf == "refresh")
        return recall(s.selection.antenna + 1, band, s.selection.subBand + 1);
    if (leaf == "c" || leaf == "l") {
        // Exactly what \set_c and \set_l take.
        const std::optional<quint8> code = ControlCommands::codeOf(wholeNumber(value));
        if (!code)
            return refused("not a relay code 0-255");
        return (leaf == "c" ? "\\set_c " : "\\set_l ") + QByteArray::number(*code);
    }
    if (leaf == "side") {
        const QByteArray side = value.toLower();
        if (side != "tx" && side != "ant")
            return refused("not a side, Tx or Ant");
        return "\\set_side " + value;
    }
    *why = "no such setting: " + leaf.left(64).toPercentEncoding();
    return {};
}

QString MqttBridge::nodeId(const QString &prefix)
{
    // One prefix, one id, and no two the same: letters and digits stay, "/" becomes "_", and
    // every other byte is written "-" and two hex digits. Home Assistant takes [a-zA-Z0-9_-].
    QString out;
    for (const char byte : prefix.toUtf8()) {
        const auto c = static_cast<unsigned char>(byte);
        if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'))
            out += QLatin1Char(char(c));
        else if (c == '/')
            out += QLatin1Char('_');
        else
            out += QStringLiteral("-%1").arg(c, 2, 16, QLatin1Char('0'));
    }
    return out;
}

void MqttBridge::publishDiscovery()
{
    // Home Assistant: one device, its entities on this console's topics. A console that takes
    // no command announces what it shows, as sensors, and nothing to press or choose.
    const QString node = nodeId(m_options.prefix);
    const QString base = QStringLiteral("homeassistant/%1/") + node + QStringLiteral("/%2/config");
    const QString prefix = m_options.prefix;
    const bool readOnly = m_options.readOnly;
    const QJsonObject device{{"identifiers", QJsonArray{node}},
                             {"name", QStringLiteral("Orvane ") + prefix},
                             {"manufacturer", "Orvane"},
                             {"model", "Antenna tuner relay block"}};
    const auto entity = [&](const char *component, const char *id, const QString &name) {
        // The entity id Home Assistant proposes: its domain and a slug (2025.10 and later;
        // object_id, which it replaces, is gone since 2026.4).
        QString slug = (node + QLatin1Char('_') + QLatin1String(id)).toLower();
        for (QChar &c : slug)
            if (!(c.isDigit() || (c >= QLatin1Char('a') && c <= QLatin1Char('z'))))
                c = QLatin1Char('_');
        return QJsonObject{
            {"name", name},
            {"unique_id", node + QLatin1Char('_') + QLatin1String(id)},
            {"default_entity_id", QLatin1String(component) + QLatin1Char('.') + slug},
            {"device", device},
            {"availability_topic", prefix + QStringLiteral("/status")},
            {"payload_available", "online"},
            {"payload_not_available", "offline"}};
    };
    QJsonArray bands;
    for (int b = 0; b < Slots::Bands; ++b)
        bands.append(BandNames::key(b));
    struct Document
    {
        const char *component;
        const char *id;
        QJsonObject body;
    };
    QList<Document> documents;
    const auto shown = [&](const char *id, const QString &name) {
        QJsonObject o = entity("sensor", id, name);
        o.insert("state_topic", prefix + QLatin1Char('/') + QLatin1String(id));
        documents.append({"sensor", id, o});
    };
    const auto select = [&](const char *id, const QString &name, const QJsonArray &options) {
        if (readOnly)
            return shown(id, name);
        QJsonObject o = entity("select", id, name);
        o.insert("state_topic", prefix + QLatin1Char('/') + QLatin1String(id));
        o.insert("command_topic", prefix + QStringLiteral("/set/") + QLatin1String(id));
        o.insert("options", options);
        documents.append({"select", id, o});
    };
    select("antenna", QStringLiteral("Antenna"), {"1", "2", "3"});
    select("band", QStringLiteral("Band"), bands);
    select("subband", QStringLiteral("Sub-band"), {"1", "2", "3", "4", "5"});
    select("side", QStringLiteral("Capacitor side"), {"Tx", "Ant"});
    for (const char *id : {"c", "l"}) {
        const QString name = QStringLiteral("%1 code").arg(QString::fromLatin1(id).toUpper());
        if (readOnly) {
            shown(id, name);
            continue;
        }
        QJsonObject o = entity("number", id, name);
        o.insert("state_topic", prefix + QLatin1Char('/') + QLatin1String(id));
        o.insert("command_topic", prefix + QStringLiteral("/set/") + QLatin1String(id));
        o.insert("min", 0);
        o.insert("max", 255);
        o.insert("step", 1);
        o.insert("mode", "box");
        documents.append({"number", id, o});
    }
    shown("port", QStringLiteral("Port"));
    QJsonObject held = entity("binary_sensor", "held", QStringLiteral("Relays held"));
    held.insert("state_topic", prefix + QStringLiteral("/held"));
    held.insert("payload_on", "1");
    held.insert("payload_off", "0");
    documents.append({"binary_sensor", "held", held});
    if (!readOnly) {
        QJsonObject store = entity("button", "store", QStringLiteral("Store"));
        store.insert("command_topic", prefix + QStringLiteral("/cmd"));
        store.insert("payload_press", "\\store");
        documents.append({"button", "store", store});
        QJsonObject refresh = entity("button", "refresh", QStringLiteral("Refresh"));
        refresh.insert("command_topic", prefix + QStringLiteral("/set/refresh"));
        refresh.insert("payload_press", "1");
        documents.append({"button", "refresh", refresh});
    }

    // What the other way of announcing (read-only or not) put there goes, so that no entity
    // is left that the console no longer serves.
    QSet<QString> announced;
    for (const Document &d : std::as_const(documents))
        announced << QLatin1String(d.component) + QLatin1Char('/') + QLatin1String(d.id);
    const char *const every[][2] = {
        {"select", "antenna"}, {"select", "band"},        {"select", "subband"},
        {"select", "side"},    {"number", "c"},           {"number", "l"},
        {"sensor", "antenna"}, {"sensor", "band"},        {"sensor", "subband"},
        {"sensor", "side"},    {"sensor", "c"},           {"sensor", "l"},
        {"sensor", "port"},    {"binary_sensor", "held"}, {"button", "store"},
        {"button", "refresh"}};
    for (const auto &[component, id] : every) {
        const QString which = QLatin1String(component) + QLatin1Char('/') + QLatin1String(id);
        const QByteArray where = base.arg(QLatin1String(component), QLatin1String(id)).toUtf8();
        const auto kept =
            std::find_if(documents.cbegin(), documents.cend(), [&](const Document &d) {
                return QLatin1String(d.component) + QLatin1Char('/') + QLatin1String(d.id) == which;
            });
        // Switched off, or not this console's way: an empty retained message removes it.
        if (m_options.discovery && kept != documents.cend())
            m_client.publish(where, QJsonDocument(kept->body).toJson(QJsonDocument::Compact), true,
                             1, MqttClient::Priority::Keep);
        else if (m_options.discovery || m_options.forgetDiscovery)
            m_client.publish(where, QByteArray(), true, 1, MqttClient::Priority::Keep);
    }
}
