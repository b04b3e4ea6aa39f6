#include "mqttwire.h"

#include <QDataStream>
#include <QIODevice>

namespace MqttWire {

namespace {

constexpr QDataStream::Version StreamVersion = QDataStream::Qt_6_0;

} // namespace

QByteArray encode(const Frame &f)
{
    QByteArray body;
    QDataStream out(&body, QIODevice::WriteOnly);
    out.setVersion(StreamVersion);
    out << quint8(f.kind);
    switch (f.kind) {
    case Kind::Connect: {
        const Connect &c = f.connect;
        out << c.host << c.port << c.tls << c.user << c.password << c.caFile << c.clientId
            << c.willTopic << c.willPayload << c.maxPacket;
        break;
    }
    case Kind::Publish: {
        const Publish &p = f.publish;
        out << p.id << p.topic << p.payload << p.retain << p.qos << p.correlation;
        break;
    }
    case Kind::Subscribe:
        out << f.subscribe.topic << f.subscribe.noRetained;
        break;
    case Kind::Lost:
        out << quint8(f.lost.reason) << f.lost.detail;
        break;
    case Kind::Message: {
        const Message &m = f.message;
        out << m.topic << m.payload << m.responseTopic << m.correlation << m.retained;
        break;
    }
    case Kind::Acked:
    case Kind::Dropped:
        out << f.number;
        break;
    case Kind::Stop:
    case Kind::Connected:
    case Kind::Flushed:
        break;
    }
    QByteArray frame;
    QDataStream head(&frame, QIODevice::WriteOnly);
    head << quint32(body.size());
    return frame + body;
}

std::optional<Frame> take(QByteArray &buffer, bool *broken)
{
    if (buffer.size() < 4)
        return std::nullopt;
    quint32 length = 0;
    {
        QDataStream head(buffer.left(4));
        head >> length;
    }
    // Refused before it is read in: the length says it all.
    if (length == 0 || length > MaxFrame) {
        *broken = true;
        return std::nullopt;
    }
    if (buffer.size() < qsizetype(4 + length))
        return std::nullopt;
    const QByteArray body = buffer.mid(4, length);
    buffer.remove(0, 4 + length);
    QDataStream in(body);
    in.setVersion(StreamVersion);
    Frame f;
    quint8 kind = 0;
    in >> kind;
    f.kind = Kind(kind);
    switch (f.kind) {
    case Kind::Connect: {
        Connect &c = f.connect;
        in >> c.host >> c.port >> c.tls >> c.user >> c.password >> c.caFile >> c.clientId >>
            c.willTopic >> c.willPayload >> c.maxPacket;
        break;
    }
    case Kind::Publish: {
        Publish &p = f.publish;
        in >> p.id >> p.topic >> p.payload >> p.retain >> p.qos >> p.correlation;
        break;
    }
    case Kind::Subscribe:
        in >> f.subscribe.topic >> f.subscribe.noRetained;
        break;
    case Kind::Lost: {
        quint8 reason = 0;
        in >> reason >> f.lost.detail;
        f.lost.reason = Reason(std::min<quint8>(reason, quint8(Reason::Stopped)));
        break;
    }
    case Kind::Message: {
        Message &m = f.message;
        in >> m.topic >> m.payload >> m.responseTopic >> m.correlation >> m.retained;
        break;
    }
    case Kind::Acked:
    case Kind::Dropped:
        in >> f.number;
        break;
    case Kind::Stop:
    case Kind::Connected:
    case Kind::Flushed:
        break;
    default:
        *broken = true;
        return std::nullopt;
    }
    if (in.status() != QDataStream::Ok) {
        *broken = true;
        return std::nullopt;
    }
    return f;
}

} // namespace MqttWire
