#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

// What the console and its MQTT helper (orvane-mqtt, the process that holds Mosquitto's client
// library) say to each other over the helper's standard input and output: frames of a 4-byte
// length and a body, the body a kind and its fields. Neither side takes a frame longer than
// MaxFrame: what a broker sends can make the helper die, never the console.
namespace MqttWire {

// A message forwarded whole: the longest payload a followed radio's topic may carry (16 KiB)
// with its topic and properties, and room to spare.
constexpr quint32 MaxFrame = 64 * 1024;
// What the helper forwards of a received message; a longer payload is dropped and counted.
constexpr qsizetype MaxPayload = 16 * 1024;
constexpr qsizetype MaxTopic = 1024;

enum class Kind : quint8 {
    // To the helper.
    Connect = 1,
    Publish,
    Subscribe,
    Stop,
    // From the helper.
    Connected = 20,
    Lost,
    Acked,
    Message,
    Flushed,
    Dropped,
};

// Why a connection ended, for the console to say in its own words.
enum class Reason : quint8 { Refused, Lost, Silent, Error, TooLarge, Stopped };

struct Connect
{
    QString host;
    quint16 port = 1883;
    bool tls = false;
    QString user;
    QString password; // through the pipe, never on a command line
    QString caFile;
    QByteArray clientId;
    QByteArray willTopic;
    QByteArray willPayload;
    // The largest packet the broker may send (MQTT 5's maximum packet size).
    quint32 maxPacket = MaxFrame;
};

struct Publish
{
    quint32 id = 0;
    QByteArray topic;
    QByteArray payload;
    bool retain = false;
    quint8 qos = 0;
    QByteArray correlation;
};

struct Subscribe
{
    QByteArray topic;
    // The broker keeps retained messages from this subscription (MQTT 5's retain handling),
    // and those published retained meanwhile arrive with their flag.
    bool noRetained = false;
};

struct Lost
{
    Reason reason = Reason::Lost;
    QString detail; // the library's or the system's words, or the broker's reason
};

struct Message
{
    QByteArray topic;
    QByteArray payload;
    QByteArray responseTopic;
    QByteArray correlation;
    bool retained = false;
};

struct Frame
{
    Kind kind = Kind::Stop;
    Connect connect;
    Publish publish;
    Subscribe subscribe;
    Lost lost;
    Message message;
    quint32 number = 0; // Acked: the publication's id; Dropped: how many
};

QByteArray encode(const Frame &frame);

// Takes whole frames off the front of buffer. None while a frame is incomplete; a frame too
// long or not understood sets broken.
std::optional<Frame> take(QByteArray &buffer, bool *broken);

} // namespace MqttWire
