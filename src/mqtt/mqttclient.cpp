#include "mqttclient.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QSocketNotifier>

#include <cerrno>
#include <cstring>

#include <mosquitto.h>
#include <mqtt_protocol.h>

namespace {

QString reasonOf(int rc)
{
    if (rc == MOSQ_ERR_ERRNO)
        return QString::fromLocal8Bit(std::strerror(errno));
    return QString::fromUtf8(mosquitto_strerror(rc));
}

// The library once for the whole program, before the first client and after the last.
struct Library
{
    Library() { mosquitto_lib_init(); }
    ~Library() { mosquitto_lib_cleanup(); }
};

} // namespace

MqttClient::MqttClient(QObject *parent)
    : QObject(parent)
{
    static Library library;
    m_misc.setInterval(1000);
    connect(&m_misc, &QTimer::timeout, this, &MqttClient::housekeeping);
    m_retry.setSingleShot(true);
    connect(&m_retry, &QTimer::timeout, this, &MqttClient::retry);
    m_connectTimeout.setSingleShot(true);
    connect(&m_connectTimeout, &QTimer::timeout, this,
            [this] { lost(tr("сервер не ответил за %1 с").arg(ConnectTimeoutMs / 1000)); });
}

MqttClient::~MqttClient()
{
    unwatchSocket();
    if (m_mosq)
        mosquitto_destroy(m_mosq);
}

bool MqttClient::start(const Options &options, QString *error)
{
    m_options = options;
    const QByteArray id =
        (options.clientId.isEmpty() ? options.url.prefix : options.clientId).toUtf8().left(200);
    m_mosq = mosquitto_new(id.constData(), true, this);
    if (!m_mosq) {
        *error = tr("клиент MQTT не создан");
        return false;
    }
    mosquitto_int_option(m_mosq, MOSQ_OPT_PROTOCOL_VERSION, MQTT_PROTOCOL_V5);
    mosquitto_connect_v5_callback_set(m_mosq, &MqttClient::onConnect);
    mosquitto_disconnect_v5_callback_set(m_mosq, &MqttClient::onDisconnect);
    mosquitto_publish_v5_callback_set(m_mosq, &MqttClient::onPublish);
    mosquitto_message_v5_callback_set(m_mosq, &MqttClient::onMessage);
    if (!options.url.user.isEmpty()) {
        const QByteArray user = options.url.user.toUtf8();
        const QByteArray password = options.password.toUtf8();
        mosquitto_username_pw_set(m_mosq, user.constData(),
                                  options.password.isEmpty() ? nullptr : password.constData());
    }
    if (!options.willTopic.isEmpty())
        mosquitto_will_set_v5(m_mosq, options.willTopic.constData(),
                              int(options.willPayload.size()), options.willPayload.constData(), 1,
                              true, nullptr);
    if (options.url.tls) {
        const QByteArray ca = options.caFile.toLocal8Bit();
        if (!options.caFile.isEmpty() && !QFileInfo(options.caFile).isReadable()) {
            *error = tr("файл сертификатов %1 не читается").arg(options.caFile);
            return false;
        }
        const int rc =
            options.caFile.isEmpty()
                ? mosquitto_tls_set(m_mosq, nullptr, "/etc/ssl/certs", nullptr, nullptr, nullptr)
                : mosquitto_tls_set(m_mosq, ca.constData(), nullptr, nullptr, nullptr, nullptr);
        if (rc != MOSQ_ERR_SUCCESS) {
            *error = tr("TLS для MQTT недоступен: %1").arg(reasonOf(rc));
            return false;
        }
    }
    m_state = State::Connecting;
    const QByteArray host = options.url.host.toUtf8();
    const int rc = mosquitto_connect_async(m_mosq, host.constData(), options.url.port, 30);
    m_misc.start();
    if (rc != MOSQ_ERR_SUCCESS) {
        lost(reasonOf(rc));
        return true;
    }
    watchSocket();
    m_connectTimeout.start(ConnectTimeoutMs);
    return true;
}

void MqttClient::stop()
{
    m_retry.stop();
    m_misc.stop();
    m_connectTimeout.stop();
    if (m_mosq && m_state == State::Connected) {
        // A console that ends is offline as much as one that died: the broker says so.
        mosquitto_disconnect_v5(m_mosq, MQTT_RC_DISCONNECT_WITH_WILL_MSG, nullptr);
        mosquitto_loop_write(m_mosq, 1);
    }
    unwatchSocket();
    m_state = State::Off;
}

bool MqttClient::publish(const QByteArray &topic, const QByteArray &payload, bool retain, int qos,
                         Priority priority, const QByteArray &correlation)
{
    if (m_state != State::Connected)
        return false;
    if (qos > 0 && priority == Priority::Droppable && m_pending.size() >= MaxPending)
        return false;
    mosquitto_property *properties = nullptr;
    if (!correlation.isEmpty())
        mosquitto_property_add_binary(&properties, MQTT_PROP_CORRELATION_DATA,
                                      correlation.constData(), uint16_t(correlation.size()));
    int mid = 0;
    const int rc = mosquitto_publish_v5(m_mosq, &mid, topic.constData(), int(payload.size()),
                                        payload.constData(), qos, retain, properties);
    mosquitto_property_free_all(&properties);
    if (rc != MOSQ_ERR_SUCCESS)
        return false;
    if (qos > 0)
        m_pending.insert(mid);
    updateWriting();
    return true;
}

void MqttClient::subscribe(const QByteArray &topic)
{
    if (!m_subscriptions.contains(topic))
        m_subscriptions << topic;
    if (m_state == State::Connected) {
        mosquitto_subscribe_v5(m_mosq, nullptr, topic.constData(), 1, 0, nullptr);
        updateWriting();
    }
}

void MqttClient::onConnect(mosquitto *, void *self, int rc, int, const mosquitto_property *)
{
    auto *client = static_cast<MqttClient *>(self);
    if (rc != 0) {
        client->lost(tr("сервер отказал: %1").arg(QString::fromUtf8(mosquitto_reason_string(rc))));
        return;
    }
    client->m_connectTimeout.stop();
    client->m_state = State::Connected;
    client->m_retryMs = FirstRetryMs;
    client->m_problem.clear();
    client->m_pending.clear();
    for (const QByteArray &topic : std::as_const(client->m_subscriptions))
        mosquitto_subscribe_v5(client->m_mosq, nullptr, topic.constData(), 1, 0, nullptr);
    emit client->connected();
    client->updateWriting();
}

void MqttClient::onDisconnect(mosquitto *, void *self, int rc, const mosquitto_property *)
{
    auto *client = static_cast<MqttClient *>(self);
    if (client->m_state != State::Off && rc != 0)
        client->lost(tr("связь с сервером потеряна"));
}

void MqttClient::onPublish(mosquitto *, void *self, int mid, int, const mosquitto_property *)
{
    static_cast<MqttClient *>(self)->m_pending.remove(mid);
}

void MqttClient::onMessage(mosquitto *, void *self, const mosquitto_message *message,
                           const mosquitto_property *properties)
{
    auto *client = static_cast<MqttClient *>(self);
    Message m;
    m.topic = QByteArray(message->topic);
    m.payload = QByteArray(static_cast<const char *>(message->payload), message->payloadlen);
    m.retained = message->retain;
    char *response = nullptr;
    if (mosquitto_property_read_string(properties, MQTT_PROP_RESPONSE_TOPIC, &response, false)) {
        m.responseTopic = QByteArray(response);
        free(response);
    }
    void *correlation = nullptr;
    uint16_t length = 0;
    if (mosquitto_property_read_binary(properties, MQTT_PROP_CORRELATION_DATA, &correlation,
                                       &length, false)) {
        m.correlation = QByteArray(static_cast<const char *>(correlation), length);
        free(correlation);
    }
    emit client->received(m);
}

void MqttClient::watchSocket()
{
    unwatchSocket();
    const int fd = mosquitto_socket(m_mosq);
    if (fd < 0)
        return;
    m_read = std::make_unique<QSocketNotifier>(qintptr(fd), QSocketNotifier::Read);
    connect(m_read.get(), &QSocketNotifier::activated, this, &MqttClient::readable);
    m_write = std::make_unique<QSocketNotifier>(qintptr(fd), QSocketNotifier::Write);
    connect(m_write.get(), &QSocketNotifier::activated, this, &MqttClient::writable);
    updateWriting();
}

void MqttClient::unwatchSocket()
{
    m_read.reset();
    m_write.reset();
}

void MqttClient::readable()
{
    const int rc = mosquitto_loop_read(m_mosq, 1);
    if (rc != MOSQ_ERR_SUCCESS)
        return lost(rc == MOSQ_ERR_CONN_LOST ? tr("связь с сервером потеряна") : reasonOf(rc));
    updateWriting();
}

void MqttClient::writable()
{
    const int rc = mosquitto_loop_write(m_mosq, 1);
    if (rc != MOSQ_ERR_SUCCESS)
        return lost(rc == MOSQ_ERR_CONN_LOST ? tr("связь с сервером потеряна") : reasonOf(rc));
    updateWriting();
}

void MqttClient::housekeeping()
{
    if (m_state != State::Connecting && m_state != State::Connected)
        return;
    if (const int rc = mosquitto_loop_misc(m_mosq); rc != MOSQ_ERR_SUCCESS)
        return lost(tr("сервер молчит"));
    updateWriting();
}

void MqttClient::updateWriting()
{
    if (m_write)
        m_write->setEnabled(m_mosq && mosquitto_want_write(m_mosq));
}

void MqttClient::lost(const QString &why)
{
    if (m_state == State::Off || m_state == State::Waiting)
        return;
    const bool was = m_state == State::Connected;
    unwatchSocket();
    m_connectTimeout.stop();
    m_state = State::Waiting;
    m_problem = why;
    m_pending.clear();
    m_retry.start(m_retryMs);
    m_retryMs = std::min(m_retryMs * 2, LastRetryMs);
    if (was || !why.isEmpty())
        emit disconnected(why);
}

void MqttClient::retry()
{
    m_state = State::Connecting;
    const int rc = mosquitto_reconnect_async(m_mosq);
    if (rc != MOSQ_ERR_SUCCESS)
        return lost(reasonOf(rc));
    watchSocket();
    m_connectTimeout.start(ConnectTimeoutMs);
}
