// orvane-mqtt: the console's one connection to the station's broker, in a process of its own.
// Mosquitto's client library lives here and nowhere in the console, so that whatever a broker
// sends can at worst end this process, which the console starts again. One process serves one
// connection: it reads what to connect to from its standard input, connects, says how it went
// on its standard output, carries publications and subscriptions both ways, and ends when the
// connection does (or the console's end of the pipe closes).

#include "net/mqttwire.h"
#include "version.h"

#include <QCoreApplication>
#include <QFile>
#include <QHash>
#include <QSocketNotifier>
#include <QTimer>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <thread>

#include <mosquitto.h>
#include <mqtt_protocol.h>

#ifdef Q_OS_WIN
#include <fcntl.h>
#include <io.h>
#else
#include <csignal>
#include <sys/resource.h>
#include <unistd.h>
#endif

namespace {

using namespace MqttWire;

// What this process may take for its data: a broker that announces a packet bigger than this
// is refused as its length arrives, before anything of it is read in (the library asks for
// the whole packet's memory first).
constexpr long long DataLimit = 96 * 1024 * 1024;

#if defined(__SANITIZE_ADDRESS__)
// The sanitizer's shadow memory counts as data, so under it the cap is its allocator's own.
extern "C" const char *__asan_default_options()
{
    return "allocator_may_return_null=1:max_allocation_size_mb=96";
}
#endif

void send(const Frame &frame)
{
    const QByteArray bytes = encode(frame);
    // The console is gone: so is the reason to be here.
    if (std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout) != size_t(bytes.size()) ||
        std::fflush(stdout) != 0)
        std::_Exit(0);
}

// Says why the connection ended and ends the process: the console decides what comes next.
[[noreturn]] void end(Reason reason, const QString &detail)
{
    Frame f;
    f.kind = Kind::Lost;
    f.lost = {reason, detail};
    send(f);
    std::_Exit(0);
}

QString reasonOf(int rc)
{
    if (rc == MOSQ_ERR_ERRNO)
        return QString::fromLocal8Bit(std::strerror(errno));
    return QString::fromUtf8(mosquitto_strerror(rc));
}

class Link : public QObject
{
public:
    explicit Link(const Connect &c)
        : m_mosq(mosquitto_new(c.clientId.left(200).constData(), true, this))
    {
        if (!m_mosq)
            end(Reason::Error, QStringLiteral("mosquitto_new"));
        mosquitto_int_option(m_mosq, MOSQ_OPT_PROTOCOL_VERSION, MQTT_PROTOCOL_V5);
        mosquitto_connect_v5_callback_set(m_mosq, &Link::onConnect);
        mosquitto_disconnect_v5_callback_set(m_mosq, &Link::onDisconnect);
        mosquitto_publish_v5_callback_set(m_mosq, &Link::onPublish);
        mosquitto_message_v5_callback_set(m_mosq, &Link::onMessage);
        if (!c.user.isEmpty()) {
            const QByteArray user = c.user.toUtf8();
            const QByteArray password = c.password.toUtf8();
            mosquitto_username_pw_set(m_mosq, user.constData(),
                                      c.password.isEmpty() ? nullptr : password.constData());
        }
        if (!c.willTopic.isEmpty())
            mosquitto_will_set_v5(m_mosq, c.willTopic.constData(), int(c.willPayload.size()),
                                  c.willPayload.constData(), 1, true, nullptr);
        if (c.tls) {
            const QByteArray ca = QFile::encodeName(c.caFile);
            const int rc = c.caFile.isEmpty() ? mosquitto_tls_set(m_mosq, nullptr, "/etc/ssl/certs",
                                                                  nullptr, nullptr, nullptr)
                                              : mosquitto_tls_set(m_mosq, ca.constData(), nullptr,
                                                                  nullptr, nullptr, nullptr);
            if (rc != MOSQ_ERR_SUCCESS)
                end(Reason::Error, reasonOf(rc));
        }
        // The broker is told the largest packet this client takes: a compliant one sends
        // nothing bigger (it drops such a message for this client instead).
        mosquitto_property *properties = nullptr;
        mosquitto_property_add_int32(&properties, MQTT_PROP_MAXIMUM_PACKET_SIZE, c.maxPacket);
        const QByteArray host = c.host.toUtf8();
        // Waiting here waits for nothing else: the console times the attempt.
        const int rc =
            mosquitto_connect_bind_v5(m_mosq, host.constData(), c.port, 30, nullptr, properties);
        mosquitto_property_free_all(&properties);
        if (rc != MOSQ_ERR_SUCCESS)
            end(Reason::Error, reasonOf(rc));
        const int fd = mosquitto_socket(m_mosq);
        m_read = std::make_unique<QSocketNotifier>(qintptr(fd), QSocketNotifier::Read);
        connect(m_read.get(), &QSocketNotifier::activated, this, &Link::readable);
        m_write = std::make_unique<QSocketNotifier>(qintptr(fd), QSocketNotifier::Write);
        connect(m_write.get(), &QSocketNotifier::activated, this, &Link::writable);
        m_misc.setInterval(1000);
        connect(&m_misc, &QTimer::timeout, this, [this] {
            if (mosquitto_loop_misc(m_mosq) != MOSQ_ERR_SUCCESS)
                end(Reason::Silent, {});
            updateWriting();
        });
        m_misc.start();
        updateWriting();
    }

    void take(const Frame &f)
    {
        switch (f.kind) {
        case Kind::Publish: {
            const Publish &p = f.publish;
            mosquitto_property *properties = nullptr;
            if (!p.correlation.isEmpty())
                mosquitto_property_add_binary(
                    &properties, MQTT_PROP_CORRELATION_DATA, p.correlation.constData(),
                    uint16_t(std::min<qsizetype>(p.correlation.size(), 65535)));
            int mid = 0;
            const int rc = mosquitto_publish_v5(m_mosq, &mid, p.topic.constData(),
                                                int(p.payload.size()), p.payload.constData(),
                                                std::min<int>(p.qos, 1), p.retain, properties);
            mosquitto_property_free_all(&properties);
            if (rc == MOSQ_ERR_SUCCESS && p.qos > 0)
                m_ids.insert(mid, p.id);
            else if (rc != MOSQ_ERR_SUCCESS && p.qos > 0)
                acked(p.id); // refused here: nothing will come for it
            m_unflushed = m_unflushed || p.qos == 0;
            updateWriting();
            break;
        }
        case Kind::Subscribe:
            mosquitto_subscribe_v5(m_mosq, nullptr, f.subscribe.topic.constData(), 1,
                                   f.subscribe.noRetained ? MQTT_SUB_OPT_SEND_RETAIN_NEVER |
                                                                MQTT_SUB_OPT_RETAIN_AS_PUBLISHED
                                                          : 0,
                                   nullptr);
            updateWriting();
            break;
        case Kind::Stop:
            // A console that ends is offline as much as one that died: the broker says so.
            mosquitto_disconnect_v5(m_mosq, MQTT_RC_DISCONNECT_WITH_WILL_MSG, nullptr);
            mosquitto_loop_write(m_mosq, 1);
            end(Reason::Stopped, {});
        default:
            break;
        }
    }

private:
    static void onConnect(mosquitto *, void *self, int rc, int, const mosquitto_property *)
    {
        if (rc != 0)
            end(Reason::Refused, QString::fromUtf8(mosquitto_reason_string(rc)));
        Frame f;
        f.kind = Kind::Connected;
        send(f);
        static_cast<Link *>(self)->updateWriting();
    }
    static void onDisconnect(mosquitto *, void *, int rc, const mosquitto_property *)
    {
        // The library ends a connection here for its own reasons too: a packet whose length
        // asks for more memory than this process may take is one.
        if (rc == MOSQ_ERR_NOMEM)
            end(Reason::TooLarge, {});
        if (rc == MOSQ_ERR_PROTOCOL || rc == MOSQ_ERR_MALFORMED_PACKET)
            end(Reason::Error, reasonOf(rc));
        end(rc == 0 ? Reason::Stopped : Reason::Lost, {});
    }
    static void onPublish(mosquitto *, void *self, int mid, int, const mosquitto_property *)
    {
        auto *link = static_cast<Link *>(self);
        if (const auto id = link->m_ids.find(mid); id != link->m_ids.end()) {
            link->acked(*id);
            link->m_ids.erase(id);
        }
    }
    static void onMessage(mosquitto *, void *self, const mosquitto_message *message,
                          const mosquitto_property *properties)
    {
        // What the console would drop anyway goes no further than here.
        if (message->payloadlen > MaxPayload || std::strlen(message->topic) > size_t(MaxTopic)) {
            ++static_cast<Link *>(self)->m_dropped;
            return;
        }
        Frame f;
        f.kind = Kind::Message;
        Message &m = f.message;
        m.topic = QByteArray(message->topic);
        m.payload = QByteArray(static_cast<const char *>(message->payload), message->payloadlen);
        m.retained = message->retain;
        char *response = nullptr;
        if (mosquitto_property_read_string(properties, MQTT_PROP_RESPONSE_TOPIC, &response,
                                           false)) {
            m.responseTopic = QByteArray(response).left(MaxTopic);
            free(response);
        }
        void *correlation = nullptr;
        uint16_t length = 0;
        if (mosquitto_property_read_binary(properties, MQTT_PROP_CORRELATION_DATA, &correlation,
                                           &length, false)) {
            m.correlation = QByteArray(static_cast<const char *>(correlation), length).left(1024);
            free(correlation);
        }
        send(f);
    }

    void acked(quint32 id)
    {
        Frame f;
        f.kind = Kind::Acked;
        f.number = id;
        send(f);
    }

    void readable()
    {
        const int rc = mosquitto_loop_read(m_mosq, 1);
        if (rc == MOSQ_ERR_NOMEM)
            end(Reason::TooLarge, {});
        if (rc != MOSQ_ERR_SUCCESS)
            end(rc == MOSQ_ERR_CONN_LOST ? Reason::Lost : Reason::Error, reasonOf(rc));
        reportDropped();
        updateWriting();
    }
    void writable()
    {
        const int rc = mosquitto_loop_write(m_mosq, 1);
        if (rc != MOSQ_ERR_SUCCESS)
            end(rc == MOSQ_ERR_CONN_LOST ? Reason::Lost : Reason::Error, reasonOf(rc));
        updateWriting();
    }
    void updateWriting()
    {
        const bool want = mosquitto_want_write(m_mosq);
        m_write->setEnabled(want);
        // Everything handed over is on its way: the console may hand over more.
        if (!want && m_unflushed) {
            m_unflushed = false;
            Frame f;
            f.kind = Kind::Flushed;
            send(f);
        }
    }
    void reportDropped()
    {
        if (m_dropped == 0)
            return;
        Frame f;
        f.kind = Kind::Dropped;
        f.number = m_dropped;
        m_dropped = 0;
        send(f);
    }

    mosquitto *m_mosq;
    std::unique_ptr<QSocketNotifier> m_read;
    std::unique_ptr<QSocketNotifier> m_write;
    QTimer m_misc;
    QHash<int, quint32> m_ids; // the library's message id, the console's
    quint32 m_dropped = 0;
    bool m_unflushed = false;
};

} // namespace

int main(int argc, char *argv[])
{
#ifdef Q_OS_WIN
    _setmode(_fileno(stdin), _O_BINARY);
    _setmode(_fileno(stdout), _O_BINARY);
#else
    ::signal(SIGPIPE, SIG_IGN);
#if !defined(__SANITIZE_ADDRESS__)
    const rlimit data{rlim_t(DataLimit), rlim_t(DataLimit)};
    ::setrlimit(RLIMIT_DATA, &data);
#endif
#endif
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("orvane-mqtt"));
    QCoreApplication::setApplicationVersion(QStringLiteral(ORVANE_VERSION_STRING));
    if (app.arguments().contains(QStringLiteral("--version"))) {
        std::printf("orvane-mqtt %s\n", ORVANE_VERSION_STRING);
        return 0;
    }
    mosquitto_lib_init();

    // The console's frames are read on a thread of their own: a blocking read works with a
    // pipe on every platform, and the connection's own waiting never holds them up.
    QObject inbox;
    std::thread reader([&inbox] {
        char chunk[4096];
        for (;;) {
#ifdef Q_OS_WIN
            const int n = ::_read(0, chunk, sizeof chunk);
#else
            const ssize_t n = ::read(0, chunk, sizeof chunk);
            if (n < 0 && errno == EINTR)
                continue;
#endif
            if (n <= 0) {
                // The console is gone: the broker says so with the will.
                std::_Exit(0);
            }
            const QByteArray bytes(chunk, qsizetype(n));
            QMetaObject::invokeMethod(&inbox, [bytes] {
                static QByteArray buffer;
                static std::unique_ptr<Link> link;
                buffer += bytes;
                bool broken = false;
                while (const std::optional<Frame> frame = take(buffer, &broken)) {
                    if (frame->kind == Kind::Connect && !link)
                        link = std::make_unique<Link>(frame->connect);
                    else if (link)
                        link->take(*frame);
                }
                if (broken)
                    std::_Exit(2);
            });
        }
    });
    reader.detach();
    return app.exec();
}
