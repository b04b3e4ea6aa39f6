#include "mqttclient.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QProcess>

using namespace MqttWire;

MqttClient::MqttClient(QObject *parent)
    : QObject(parent)
{
    m_retry.setSingleShot(true);
    connect(&m_retry, &QTimer::timeout, this, &MqttClient::retry);
    m_connectTimeout.setSingleShot(true);
    connect(&m_connectTimeout, &QTimer::timeout, this,
            [this] { lost(tr("сервер не ответил за %1 с").arg(ConnectTimeoutMs / 1000)); });
    // Only a connection that lasts starts the waits anew: a broker that takes a client and
    // drops it at once is tried ever less often.
    m_stable.setSingleShot(true);
    m_stable.setInterval(StableMs);
    connect(&m_stable, &QTimer::timeout, this, [this] { m_retryMs = FirstRetryMs; });
}

MqttClient::~MqttClient()
{
    stop();
}

qint64 MqttClient::helperPid() const
{
    return m_helper ? m_helper->processId() : 0;
}

bool MqttClient::start(const Options &options, QString *error)
{
    m_options = options;
    if (options.helper.isEmpty() || !QFileInfo(options.helper).isExecutable()) {
        *error = tr("эта сборка консоли без MQTT");
        return false;
    }
#ifndef ORVANE_MQTT_TLS
    if (options.url.tls) {
        *error = tr("TLS для MQTT недоступен: в этой сборке его нет");
        return false;
    }
#endif
    if (options.url.tls && !options.caFile.isEmpty() && !QFileInfo(options.caFile).isReadable()) {
        *error = tr("файл сертификатов %1 не читается").arg(options.caFile);
        return false;
    }
    m_retryMs = FirstRetryMs;
    launch();
    return true;
}

void MqttClient::launch()
{
    m_state = State::Connecting;
    m_incoming.clear();
    m_pending.clear();
    m_unflushed = 0;
    auto *helper = new QProcess(this);
    m_helper = helper;
    helper->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    connect(helper, &QProcess::readyReadStandardOutput, this, &MqttClient::readFrames);
    connect(helper, &QProcess::finished, this, &MqttClient::helperEnded);
    connect(helper, &QProcess::errorOccurred, this, [this](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart)
            helperEnded();
    });
    helper->start(m_options.helper, {});
    Frame f;
    f.kind = Kind::Connect;
    Connect &c = f.connect;
    c.host = m_options.url.host;
    c.port = m_options.url.port;
    c.tls = m_options.url.tls;
    c.user = m_options.url.user;
    c.password = m_options.password;
    c.caFile = m_options.caFile;
    c.clientId =
        (m_options.clientId.isEmpty() ? m_options.url.prefix : m_options.clientId).toUtf8();
    c.willTopic = m_options.willTopic;
    c.willPayload = m_options.willPayload;
    c.maxPacket = MaxPacket;
    send(f);
    m_connectTimeout.start(ConnectTimeoutMs);
}

void MqttClient::send(const Frame &frame)
{
    // Written while it starts, it is taken once it runs.
    if (m_helper)
        m_helper->write(encode(frame));
}

void MqttClient::stop()
{
    m_retry.stop();
    m_connectTimeout.stop();
    m_stable.stop();
    if (m_helper) {
        QProcess *helper = m_helper;
        helper->disconnect(this);
        m_helper = nullptr;
        if (m_state == State::Connected) {
            // Said goodbye "with will", so the broker says offline for a console that ends.
            Frame f;
            f.kind = Kind::Stop;
            helper->write(encode(f));
            helper->closeWriteChannel();
            helper->waitForFinished(1000);
        }
        helper->kill();
        helper->waitForFinished(1000);
        delete helper;
    }
    m_state = State::Off;
}

void MqttClient::sendPublication(Publish publication)
{
    publication.id = ++m_nextId;
    if (publication.qos > 0)
        m_pending.insert(publication.id);
    else
        ++m_unflushed;
    Frame f;
    f.kind = Kind::Publish;
    f.publish = std::move(publication);
    send(f);
}

bool MqttClient::publish(const QByteArray &topic, const QByteArray &payload, bool retain, int qos,
                         Priority priority, const QByteArray &correlation)
{
    if (m_state != State::Connected)
        return false;
    Publish p{0, topic, payload, retain, quint8(qos > 0 ? 1 : 0), correlation};
    if (qos == 0) {
        // Nothing acknowledges these: what the broker does not take stays unwritten.
        if (m_unflushed >= MaxUnflushed) {
            ++m_counts.unsentDropped;
            return false;
        }
        sendPublication(std::move(p));
        return true;
    }
    if (m_pending.size() < MaxPending) {
        sendPublication(std::move(p));
        return true;
    }
    if (priority == Priority::Droppable)
        return false;
    // An answer waits its turn; a broker that never acknowledges costs the oldest of them.
    m_held.push_back(std::move(p));
    if (m_held.size() > size_t(MaxHeld)) {
        m_held.pop_front();
        ++m_counts.answersDropped;
    }
    return true;
}

void MqttClient::subscribe(const QByteArray &topic, bool noRetained)
{
    const std::pair<QByteArray, bool> subscription{topic, noRetained};
    if (!m_subscriptions.contains(subscription))
        m_subscriptions << subscription;
    if (m_state == State::Connected) {
        Frame f;
        f.kind = Kind::Subscribe;
        f.subscribe = {topic, noRetained};
        send(f);
    }
}

void MqttClient::readFrames()
{
    if (!m_helper)
        return;
    m_incoming += m_helper->readAllStandardOutput();
    bool broken = false;
    while (const std::optional<Frame> frame = MqttWire::take(m_incoming, &broken)) {
        take(*frame);
        if (!m_helper)
            return;
    }
    if (broken) {
        ++m_counts.helperEnded;
        lost(tr("клиент MQTT ответил непонятно"));
    }
}

void MqttClient::take(const Frame &frame)
{
    switch (frame.kind) {
    case Kind::Connected:
        m_connectTimeout.stop();
        m_state = State::Connected;
        m_problem.clear();
        m_stable.start();
        for (const auto &[topic, noRetained] : std::as_const(m_subscriptions)) {
            Frame f;
            f.kind = Kind::Subscribe;
            f.subscribe = {topic, noRetained};
            send(f);
        }
        emit connected();
        break;
    case Kind::Lost: {
        const QString detail = frame.lost.detail;
        switch (frame.lost.reason) {
        case Reason::Refused:
            lost(tr("сервер отказал: %1").arg(detail));
            break;
        case Reason::Silent:
            lost(tr("сервер молчит"));
            break;
        case Reason::TooLarge:
            lost(tr("сервер прислал пакет больше %1 КиБ").arg(MaxPacket / 1024));
            break;
        case Reason::Error:
            lost(detail);
            break;
        case Reason::Lost:
        case Reason::Stopped:
            lost(tr("связь с сервером потеряна"));
            break;
        }
        break;
    }
    case Kind::Acked:
        m_pending.remove(frame.number);
        while (!m_held.empty() && m_pending.size() < MaxPending) {
            sendPublication(std::move(m_held.front()));
            m_held.pop_front();
        }
        break;
    case Kind::Flushed:
        m_unflushed = 0;
        break;
    case Kind::Dropped:
        m_counts.receivedDropped += frame.number;
        break;
    case Kind::Message: {
        Message m;
        m.topic = frame.message.topic;
        m.payload = frame.message.payload;
        m.responseTopic = frame.message.responseTopic;
        m.correlation = frame.message.correlation;
        m.retained = frame.message.retained;
        emit received(m);
        break;
    }
    default:
        break;
    }
}

void MqttClient::helperEnded()
{
    if (!m_helper)
        return;
    // Whatever it said last was read; an end without a word is a crash.
    readFrames();
    if (!m_helper)
        return;
    ++m_counts.helperEnded;
    lost(tr("клиент MQTT завершился без ответа"));
}

void MqttClient::lost(const QString &why)
{
    if (m_state == State::Off || m_state == State::Waiting)
        return;
    const bool was = m_state == State::Connected;
    m_connectTimeout.stop();
    m_stable.stop();
    if (m_helper) {
        QProcess *helper = m_helper;
        m_helper = nullptr;
        helper->disconnect(this);
        helper->kill();
        // Reaped without waiting: its end arrives as an event.
        connect(helper, &QProcess::finished, helper, &QObject::deleteLater);
        if (helper->state() == QProcess::NotRunning)
            helper->deleteLater();
    }
    m_state = State::Waiting;
    m_problem = why;
    m_pending.clear();
    m_held.clear();
    m_unflushed = 0;
    m_retry.start(m_retryMs);
    m_retryMs = std::min(m_retryMs * 2, LastRetryMs);
    if (was || !why.isEmpty())
        emit disconnected(why);
}

void MqttClient::retry()
{
    launch();
}
