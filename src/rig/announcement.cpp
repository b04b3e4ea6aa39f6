#include "announcement.h"

#include "bandplan.h"

#include <QDataStream>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QXmlStreamReader>

#include <limits>

Announcement Announcement::radioInfo(const QByteArray &datagram, int radio)
{
    QXmlStreamReader xml(datagram);
    if (!xml.readNextStartElement() || xml.name() != QLatin1String("RadioInfo"))
        return {};
    QHash<QString, QString> fields;
    while (xml.readNextStartElement()) {
        const QString name = xml.name().toString();
        // Nested elements are no field of ours; their text is read and let go.
        const QString text = xml.readElementText(QXmlStreamReader::IncludeChildElements);
        if (fields.size() < 64)
            fields.insert(name, text.trimmed());
    }
    if (xml.hasError())
        return {};
    const auto number = [&](const char *name) -> std::optional<qint64> {
        bool ok = false;
        const qint64 value = fields.value(QLatin1String(name)).toLongLong(&ok);
        return ok ? std::optional<qint64>(value) : std::nullopt;
    };
    const int radioNr = int(number("RadioNr").value_or(1));
    Announcement out;
    out.who = QString::number(radioNr);
    // The active radio is the one the operator works with; a radio number picks one.
    const std::optional<qint64> active = number("ActiveRadioNr");
    if (radio == 0 ? (active && *active != radioNr) : radioNr != radio) {
        out.kind = Kind::Ignored;
        return out;
    }
    // The transmit frequency decides the antenna's band, the receive one without it.
    std::optional<qint64> tens = number("TXFreq");
    if (!tens || *tens <= 0)
        tens = number("Freq");
    // In double, where ten times a huge number cannot wrap round into a plausible one.
    out.hz = tens ? BandPlan::hertzOf(double(*tens) * 10) : std::nullopt;
    if (!out.hz)
        return {};
    if (fields.contains(QStringLiteral("IsTransmitting"))) {
        const QString value = fields.value(QStringLiteral("IsTransmitting")).toLower();
        out.ptt = value == QLatin1String("true") || value == QLatin1String("1")
                      ? RigControl::Ptt::Transmitting
                      : RigControl::Ptt::Receiving;
    }
    out.kind = Kind::Reading;
    return out;
}

Announcement Announcement::wsjtx(const QByteArray &datagram, const QString &program)
{
    constexpr quint32 Magic = 0xadbccbda;
    enum Type : quint32 { Heartbeat = 0, Status = 1, Close = 6 };
    QDataStream in(datagram);
    in.setByteOrder(QDataStream::BigEndian);
    quint32 magic = 0;
    quint32 schema = 0;
    in >> magic >> schema;
    // Schemas 1 to 3 are the ones published; a later one may lay its fields out otherwise.
    if (in.status() != QDataStream::Ok || magic != Magic || schema < 1 || schema > 3)
        return {};
    in.setVersion(schema == 1   ? QDataStream::Qt_5_0
                  : schema == 2 ? QDataStream::Qt_5_2
                                : QDataStream::Qt_5_4);
    quint32 type = 0;
    QByteArray id;
    in >> type >> id;
    if (in.status() != QDataStream::Ok)
        return {};
    Announcement out;
    out.who = QString::fromUtf8(id);
    if (!program.isEmpty() && out.who != program) {
        out.kind = Kind::Ignored;
        return out;
    }
    switch (type) {
    case Heartbeat: {
        quint32 maxSchema = 0;
        QByteArray version;
        QByteArray revision;
        in >> maxSchema >> version >> revision;
        out.kind = in.status() == QDataStream::Ok ? Kind::Alive : Kind::Malformed;
        return out;
    }
    case Status: {
        quint64 dial = 0;
        QByteArray mode, dxCall, report, txMode;
        bool txEnabled = false;
        bool transmitting = false;
        in >> dial >> mode >> dxCall >> report >> txMode >> txEnabled >> transmitting;
        if (in.status() != QDataStream::Ok)
            return {};
        // Before the radio answers WSJT-X says 0: there, but no frequency yet.
        out.hz = BandPlan::hertzOf(double(dial));
        if (dial != 0 && !out.hz)
            return {};
        if (!out.hz) {
            out.kind = Kind::Alive;
            return out;
        }
        out.ptt = transmitting ? RigControl::Ptt::Transmitting : RigControl::Ptt::Receiving;
        out.kind = Kind::Reading;
        return out;
    }
    case Close:
        out.kind = Kind::Gone;
        return out;
    default:
        out.kind = Kind::Ignored;
        return out;
    }
}

Announcement Announcement::hamlib(const QByteArray &datagram)
{
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(datagram, &error);
    const QJsonObject root = document.object();
    const QJsonArray vfos = root.value(QLatin1String("vfos")).toArray();
    if (error.error != QJsonParseError::NoError || vfos.isEmpty())
        return {};
    Announcement out;
    out.who = root.value(QLatin1String("rig")).toObject().value(QLatin1String("name")).toString();
    // The VFO the radio listens on is the current one; with split the other transmits.
    QJsonObject current = vfos.first().toObject();
    bool transmitting = false;
    for (const QJsonValue &vfo : vfos) {
        const QJsonObject object = vfo.toObject();
        if (object.value(QLatin1String("rx")).toBool() &&
            !current.value(QLatin1String("rx")).toBool())
            current = object;
        transmitting = transmitting || object.value(QLatin1String("ptt")).toBool();
    }
    const double freq = current.value(QLatin1String("freq")).toDouble(-1);
    out.hz = BandPlan::hertzOf(freq);
    if (!out.hz)
        return {};
    out.ptt = transmitting ? RigControl::Ptt::Transmitting : RigControl::Ptt::Receiving;
    out.kind = Kind::Reading;
    return out;
}

Announcement Announcement::published(const QByteArray &json)
{
    QJsonParseError error;
    const QJsonObject root = QJsonDocument::fromJson(json, &error).object();
    if (error.error != QJsonParseError::NoError)
        return {};
    // Numbers as numbers or as text (text that is no number is none, not 0); a state as
    // true/false, 1/0, ON/OFF.
    const auto number = [](const QJsonValue &v) {
        bool ok = v.isDouble();
        const double n = v.isString() ? v.toString().toDouble(&ok) : v.toDouble();
        return ok ? n : std::numeric_limits<double>::quiet_NaN();
    };
    const auto truth = [](const QJsonValue &v) -> std::optional<bool> {
        if (v.isBool())
            return v.toBool();
        if (v.isDouble())
            return v.toDouble() != 0;
        const QString text = v.toString().toLower();
        if (text == QLatin1String("on") || text == QLatin1String("true") ||
            text == QLatin1String("1"))
            return true;
        if (text == QLatin1String("off") || text == QLatin1String("false") ||
            text == QLatin1String("0"))
            return false;
        return std::nullopt;
    };
    Announcement out;
    const QJsonValue freq = root.contains(QLatin1String("freq"))
                                ? root.value(QLatin1String("freq"))
                                : root.value(QLatin1String("frequency"));
    out.hz = BandPlan::hertzOf(number(freq));
    if (!out.hz)
        return {};
    for (const char *key : {"tx", "ptt", "transmitting"}) {
        if (const auto on = truth(root.value(QLatin1String(key)))) {
            out.ptt = *on ? RigControl::Ptt::Transmitting : RigControl::Ptt::Receiving;
            break;
        }
    }
    out.who = root.value(QLatin1String("name")).toString();
    out.kind = Kind::Reading;
    return out;
}
