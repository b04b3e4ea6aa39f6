#pragma once

#include <QByteArray>
#include <QObject>
#include <QSet>
#include <QString>
#include <QTimer>

#include <algorithm>
#include <memory>
#include <optional>

class QSocketNotifier;
struct mosquitto;
struct mosquitto_message;
typedef struct mqtt5__property mosquitto_property;

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

// One connection to an MQTT broker through Mosquitto's own client library, driven by Qt's
// event loop through its socket: nothing here blocks the window but a name's lookup. It keeps
// trying, from 1 s to 60 s apart, until stopped; subscriptions come back with it.
class MqttClient : public QObject
{
    Q_OBJECT
public:
    static constexpr int FirstRetryMs = 1000;
    static constexpr int LastRetryMs = 60000;
    static constexpr int ConnectTimeoutMs = 10000;
    // Publications the broker has not yet acknowledged; past it only what must go goes.
    static constexpr int MaxPending = 200;

    enum class State { Off, Connecting, Connected, Waiting };
    enum class Priority {
        // Superseded by the next of its kind (a state): dropped when the queue is full.
        Droppable,
        // An answer to a command: never dropped for a full queue.
        Keep
    };

    struct Options
    {
        MqttUrl url;
        QString password;
        // A file of CA certificates for mqtts://; the system's when empty.
        QString caFile;
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
    void subscribe(const QByteArray &topic);

    State state() const { return m_state; }
    // The broker as the operator named it, without the password.
    QString address() const { return m_options.url.text(); }
    // Why the last connection ended or was refused, for the operator.
    QString problem() const { return m_problem; }
    int pending() const { return int(m_pending.size()); }
    // How soon the next attempt goes, while waiting.
    int retryInMs() const { return std::max(0, m_retry.remainingTime()); }

signals:
    void connected();
    void disconnected(const QString &why);
    void received(const MqttClient::Message &message);

private:
    static void onConnect(mosquitto *, void *self, int rc, int flags, const mosquitto_property *);
    static void onDisconnect(mosquitto *, void *self, int rc, const mosquitto_property *);
    static void onPublish(mosquitto *, void *self, int mid, int rc, const mosquitto_property *);
    static void onMessage(mosquitto *, void *self, const mosquitto_message *message,
                          const mosquitto_property *properties);

    void watchSocket();
    void unwatchSocket();
    void readable();
    void writable();
    void housekeeping();
    void updateWriting();
    void lost(const QString &why);
    void retry();

    mosquitto *m_mosq = nullptr;
    Options m_options;
    State m_state = State::Off;
    QString m_problem;
    std::unique_ptr<QSocketNotifier> m_read;
    std::unique_ptr<QSocketNotifier> m_write;
    QTimer m_misc;
    QTimer m_retry;
    QTimer m_connectTimeout;
    int m_retryMs = FirstRetryMs;
    QSet<int> m_pending;
    QList<QByteArray> m_subscriptions;
};
