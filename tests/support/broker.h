#pragma once

#include <QJsonObject>
#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>

#include <memory>

// Debian's real mosquitto on loopback with a configuration of its own: anonymous clients, or
// users with a password and an access list; a TLS listener with a CA the test made.
class Broker
{
public:
    struct Options
    {
        bool users = false; // "orvane"/"orvane-secret" may use orvane/# and radio/#, "ha" reads
        bool tls = false;
    };

    ~Broker();
    bool start(const Options &options);
    bool start() { return start(Options{}); }
    // The same configuration and ports again, nothing kept.
    bool restart();
    void stop();

    quint16 port = 0;
    quint16 tlsPort = 0;
    QString caFile() const { return m_dir.filePath(QStringLiteral("ca.pem")); }
    QString url(const QString &prefix, const QString &user = {}) const;

    // mosquitto_pub with MQTT 5; extra: its options (-r, -D …).
    bool publish(const QString &topic, const QByteArray &payload,
                 const QStringList &extra = {}) const;
    // mosquitto_pub -l: each line a message.
    bool publishLines(const QString &topic, const QByteArray &lines) const;
    // mosquitto_sub's messages (as its -F %j shows them) on the topic: count of them, or what
    // came within the wait.
    QList<QJsonObject> read(const QString &topic, int count, int waitMs,
                            const QStringList &extra = {}) const;
    // A subscriber that listens while it lives.
    struct Listener : QProcess
    {
        ~Listener() override;
    };
    std::unique_ptr<Listener> listen(const QString &topic, const QStringList &extra = {}) const;
    static QList<QJsonObject> heard(QProcess &listener);

private:
    bool launch();
    QStringList clientOptions() const;

    Options m_options;
    QTemporaryDir m_dir;
    QProcess m_process;
};
