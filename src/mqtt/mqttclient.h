#pragma once

#include "net/mqttwire.h"

#include <QByteArray>
#include <QObject>
#include <QPointer>
#include <QSet>
#include <QString>
#include <QTimer>

#include <algorithm>
#include <deque>
#include <optional>

class QProcess;

// Where the station's broker is: mqtt://[USER@]HOST[:PORT]/PREFIX, or mqtts:// for TLS.
struct MqttUrl
{
    bool tls = false;
    QString user;
    QString host;
    quint16 port = 1883;
    // Every topic of this console begins with it; orvane/<hostname> unless given.
    QString prefix;

    static std::optional<MqttUrl> parse(const QString &text, QString *error = nullptr);
    // Without the password, which is never part of it.
    QString text() const;
    static QString defaultPrefix();
};

// One connection to an MQTT broker through Mosquitto's own client library, which runs in a
// process of its own (orvane-mqtt): whatever a broker sends can end that process, never the
// console, which starts it again. Nothing here waits on the broker or on the helper. It keeps
// trying, from 1 s to 60 s apart (a connection that does not last counts as no connection),
// until stopped; subscriptions come back with it.
class MqttClient : public QObject
{
    Q_OBJECT
public:
    static constexpr int FirstRetryMs = 1000;
    static constexpr int LastRetryMs = 60000;
    static constexpr int ConnectTimeoutMs = 10000;
    // A connection that lasts this long starts the waits between attempts anew.
    static constexpr int StableMs = 10000;
    // Publications the broker has not yet acknowledged; past it only what must go goes.
    static constexpr int MaxPending = 200;
    // Answers that wait for room meanwhile; past it the oldest is dropped, and counted.
    static constexpr int MaxHeld = 50;
    // Publications without acknowledgement (QoS 0) not yet written out.
    static constexpr int MaxUnflushed = 200;
    // What the broker is told is the largest packet this client takes.
    static constexpr quint32 MaxPacket = MqttWire::MaxFrame;

    enum class State { Off, Connecting, Connected, Waiting };
    enum class Priority {
        // Superseded by the next of its kind (a state): dropped when the queue is full.
        Droppable,
        // An answer to a command: never dropped for a full queue.
        Keep
    };

    struct Counts
    {
        quint64 answersDropped = 0;  // the oldest of too many waiting answers
        quint64 unsentDropped = 0;   // QoS 0 publications past the unwritten cap
        quint64 receivedDropped = 0; // messages too large to forward
        quint64 helperEnded = 0;     // the helper ended without a word (it crashed)
    };

    struct Options
    {
        MqttUrl url;
        QString password;
        // A file of CA certificates for mqtts://; the system's when empty.
        QString caFile;
        // The helper program that holds the connection.
        QString helper;
        QString clientId;
        // Published by the broker when this client goes without a word (retained).
        QByteArray willTopic;
        QByteArray willPayload;
    };

    struct Message
    {
        QByteArray topic;
        QByteArray payload;
        // MQTT 5: where the sender wants the answer, and what to tag it with.
        QByteArray responseTopic;
        QByteArray correlation;
        bool retained = false;
    };

    explicit MqttClient(QObject *parent = nullptr);
    ~MqttClient() override;

    // Starts connecting; false with the reason when the options cannot work at all.
    bool start(const Options &options, QString *error);
    // Says goodbye (no will) and closes.
    void stop();

    // QoS 0 or 1. False when not connected, or when a droppable one finds the queue full.
    bool publish(const QByteArray &topic, const QByteArray &payload, bool retain, int qos,
                 Priority priority = Priority::Droppable, const QByteArray &correlation = {});
    // noRetained: the broker sends no retained message for it (MQTT 5's retain handling), and
    // one published retained meanwhile keeps its flag, so that it can be told apart.
    void subscribe(const QByteArray &topic, bool noRetained = false);

    State state() const { return m_state; }
    // The broker as the operator named it, without the password.
    QString address() const { return m_options.url.text(); }
    // Why the last connection ended or was refused, for the operator.
    QString problem() const { return m_problem; }
    int pending() const { return int(m_pending.size()); }
    int held() const { return int(m_held.size()); }
    const Counts &counts() const { return m_counts; }
    // The helper's process, while it runs (0 otherwise).
    qint64 helperPid() const;
    // How soon the next attempt goes, while waiting.
    int retryInMs() const { return std::max(0, m_retry.remainingTime()); }

signals:
    void connected();
    void disconnected(const QString &why);
    void received(const MqttClient::Message &message);

private:
    void launch();
    void readFrames();
    void take(const MqttWire::Frame &frame);
    void helperEnded();
    void send(const MqttWire::Frame &frame);
    void sendPublication(MqttWire::Publish publication);
    void lost(const QString &why);
    void retry();

    Options m_options;
    State m_state = State::Off;
    QString m_problem;
    QPointer<QProcess> m_helper;
    QByteArray m_incoming;
    QTimer m_retry;
    QTimer m_connectTimeout;
    QTimer m_stable;
    int m_retryMs = FirstRetryMs;
    quint32 m_nextId = 0;
    QSet<quint32> m_pending;
    std::deque<MqttWire::Publish> m_held;
    int m_unflushed = 0;
    QList<std::pair<QByteArray, bool>> m_subscriptions;
    Counts m_counts;
};
