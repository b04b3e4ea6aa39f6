#include "broker.h"

#include "station.h"

#include <QElapsedTimer>
#include <QFile>
#include <QJsonDocument>
#include <QTcpSocket>
#include <QTest>
#include <QThread>

#include <sys/prctl.h>
#include <unistd.h>

#include <csignal>

namespace {

// Waits for a client with the event loop running, as the console in this process must go on
// talking to the broker meanwhile.
bool finish(QProcess &p, int ms)
{
    QElapsedTimer clock;
    clock.start();
    while (p.state() != QProcess::NotRunning && clock.elapsed() < ms)
        QTest::qWait(5);
    return p.state() == QProcess::NotRunning;
}

bool run(const QString &program, const QStringList &arguments, const QByteArray &input = {})
{
    QProcess p;
    p.start(program, arguments);
    if (!input.isEmpty()) {
        p.write(input);
        p.closeWriteChannel();
    }
    return finish(p, 30000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
}

bool write(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

QList<QJsonObject> linesOf(const QByteArray &out)
{
    QList<QJsonObject> messages;
    for (const QByteArray &line : out.split('\n'))
        if (!line.trimmed().isEmpty())
            messages << QJsonDocument::fromJson(line).object();
    return messages;
}

} // namespace

Broker::~Broker()
{
    stop();
}

bool Broker::start(const Options &options)
{
    m_options = options;
    port = freeLocalPort();
    QByteArray conf = "per_listener_settings false\npersistence false\nlog_dest none\n"
                      "listener " +
                      QByteArray::number(port) + " 127.0.0.1\n";
    // As root mosquitto would become its own user, who may not read the test's folder.
    if (::geteuid() == 0)
        conf += "user root\n";
    if (options.users) {
        const QString passwords = m_dir.filePath(QStringLiteral("passwords"));
        if (!run(QStringLiteral("mosquitto_passwd"),
                 {"-c", "-b", passwords, "orvane", "orvane-secret"}) ||
            !run(QStringLiteral("mosquitto_passwd"), {"-b", passwords, "ha", "ha-secret"}))
            return false;
        const QString acl = m_dir.filePath(QStringLiteral("acl"));
        if (!write(acl, "user orvane\ntopic readwrite orvane/#\ntopic read radio/#\n"
                        "topic readwrite homeassistant/#\n\nuser ha\ntopic readwrite #\n"))
            return false;
        conf += "allow_anonymous false\npassword_file " + passwords.toUtf8() + "\nacl_file " +
                acl.toUtf8() + '\n';
    } else {
        conf += "allow_anonymous true\n";
    }
    if (options.tls) {
        // A CA of the test's own, and the broker's certificate for 127.0.0.1 from it.
        const QString key = m_dir.filePath(QStringLiteral("ca.key"));
        const QString serverKey = m_dir.filePath(QStringLiteral("server.key"));
        const QString csr = m_dir.filePath(QStringLiteral("server.csr"));
        const QString cert = m_dir.filePath(QStringLiteral("server.pem"));
        const QString ext = m_dir.filePath(QStringLiteral("san.ext"));
        if (!write(ext, "subjectAltName=IP:127.0.0.1\n") ||
            !run(QStringLiteral("openssl"),
                 {"req", "-x509", "-newkey", "rsa:2048", "-nodes", "-days", "2", "-subj",
                  "/CN=Orvane test CA", "-keyout", key, "-out", caFile()}) ||
            !run(QStringLiteral("openssl"), {"req", "-newkey", "rsa:2048", "-nodes", "-subj",
                                             "/CN=127.0.0.1", "-keyout", serverKey, "-out", csr}) ||
            !run(QStringLiteral("openssl"),
                 {"x509", "-req", "-in", csr, "-CA", caFile(), "-CAkey", key, "-CAcreateserial",
                  "-days", "2", "-extfile", ext, "-out", cert}))
            return false;
        tlsPort = freeLocalPort();
        conf += "listener " + QByteArray::number(tlsPort) + " 127.0.0.1\ncafile " +
                caFile().toUtf8() + "\ncertfile " + cert.toUtf8() + "\nkeyfile " +
                serverKey.toUtf8() + '\n';
    }
    if (!write(m_dir.filePath(QStringLiteral("mosquitto.conf")), conf))
        return false;
    return launch();
}

bool Broker::launch()
{
    m_process.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGKILL); });
    m_process.setProcessChannelMode(QProcess::MergedChannels);
    m_process.start(QStringLiteral("mosquitto"),
                    {"-c", m_dir.filePath(QStringLiteral("mosquitto.conf"))});
    for (int i = 0; i < 100; ++i) {
        QTcpSocket probe;
        probe.connectToHost(QHostAddress::LocalHost, port);
        if (probe.waitForConnected(100))
            return true;
        QThread::msleep(50);
    }
    qWarning("mosquitto did not start: %s", m_process.readAll().constData());
    return false;
}

bool Broker::restart()
{
    stop();
    return launch();
}

void Broker::stop()
{
    if (m_process.state() == QProcess::NotRunning)
        return;
    m_process.terminate();
    if (!m_process.waitForFinished(5000)) {
        m_process.kill();
        m_process.waitForFinished();
    }
}

QString Broker::url(const QString &prefix, const QString &user) const
{
    return QStringLiteral("mqtt://") + (user.isEmpty() ? QString() : user + QLatin1Char('@')) +
           QStringLiteral("127.0.0.1:%1/").arg(port) + prefix;
}

QStringList Broker::clientOptions() const
{
    QStringList out{"-h", "127.0.0.1", "-p", QString::number(port), "-V", "5"};
    if (m_options.users)
        out << "-u"
            << "ha"
            << "-P"
            << "ha-secret";
    return out;
}

bool Broker::publish(const QString &topic, const QByteArray &payload,
                     const QStringList &extra) const
{
    return run(QStringLiteral("mosquitto_pub"),
               clientOptions() + extra +
                   QStringList{"-q", "1", "-t", topic, "-m", QString::fromUtf8(payload)});
}

bool Broker::publishLines(const QString &topic, const QByteArray &lines) const
{
    return run(QStringLiteral("mosquitto_pub"),
               clientOptions() + QStringList{"-q", "0", "-t", topic, "-l"}, lines);
}

QList<QJsonObject> Broker::read(const QString &topic, int count, int waitMs,
                                const QStringList &extra) const
{
    QProcess sub;
    sub.start(QStringLiteral("mosquitto_sub"),
              clientOptions() + extra +
                  QStringList{"-t", topic, "-F", "%j", "-C", QString::number(count), "-W",
                              QString::number(std::max(1, (waitMs + 999) / 1000))});
    finish(sub, waitMs + 5000);
    return linesOf(sub.readAllStandardOutput());
}

Broker::Listener::~Listener()
{
    kill();
    waitForFinished();
}

std::unique_ptr<Broker::Listener> Broker::listen(const QString &topic,
                                                 const QStringList &extra) const
{
    auto sub = std::make_unique<Listener>();
    sub->start(QStringLiteral("mosquitto_sub"),
               clientOptions() + extra + QStringList{"-t", topic, "-F", "%j"});
    sub->waitForStarted();
    QTest::qWait(300); // subscribed
    return sub;
}

QList<QJsonObject> Broker::heard(QProcess &listener)
{
    return linesOf(listener.readAllStandardOutput());
}
