#include "station.h"

#include "programs.h"

#include <QFile>
#include <QJsonDocument>
#include <QTcpServer>
#include <QTcpSocket>
#include <QThread>

#include <csignal>
#include <sys/prctl.h>

SimProcess::~SimProcess()
{
    process.terminate();
    process.waitForFinished(5000);
}

bool SimProcess::start(const QStringList &arguments)
{
    const QString device =
        startAndReadLine(process, builtProgram(QStringLiteral("orvane-sim")),
                         QStringList{QStringLiteral("--headless"), QStringLiteral("--link"), link(),
                                     QStringLiteral("--log"), logPath()} +
                             arguments);
    return device.startsWith(QStringLiteral("/dev/"));
}

QList<QJsonObject> SimProcess::log() const
{
    QFile file(logPath());
    QList<QJsonObject> lines;
    if (file.open(QIODevice::ReadOnly)) {
        for (const QByteArray &line : file.readAll().split('\n')) {
            const QJsonObject entry = QJsonDocument::fromJson(line).object();
            if (!line.isEmpty() && !entry.contains(QLatin1String("radio")))
                lines << entry;
        }
    }
    return lines;
}

QJsonObject SimProcess::relays() const
{
    const QList<QJsonObject> lines = log();
    return lines.isEmpty() ? QJsonObject() : lines.last().value("relays").toObject();
}

quint16 freeLocalPort()
{
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost);
    return probe.serverPort();
}

bool tellRig(quint16 port, const QByteArray &command)
{
    // A loaded machine can make rigctld's dummy miss one; a station program would send again.
    QByteArray answer;
    for (int attempt = 0; attempt < 3; ++attempt) {
        QTcpSocket socket;
        socket.connectToHost(QHostAddress::LocalHost, port);
        if (!socket.waitForConnected(2000))
            continue;
        socket.write(command + '\n');
        while (!socket.canReadLine() && socket.waitForReadyRead(3000)) {
        }
        answer = socket.readLine().trimmed();
        if (answer == "RPRT 0")
            return true;
    }
    qWarning("rigctld answered %s to %s", answer.constData(), command.constData());
    return false;
}

bool RadioStation::start(const QString &antenna, const QStringList &extra)
{
    radioPort = freeLocalPort();
    return SimProcess::start(QStringList{"--steps", "10,500", "--antenna", antenna, "--rigctld",
                                         QStringLiteral("127.0.0.1:%1").arg(radioPort)} +
                             extra);
}

bool RadioStation::tell(const QByteArray &command) const
{
    return tellRig(radioPort, command);
}

QByteArray RadioStation::ask(const QByteArray &command) const
{
    QTcpSocket socket;
    socket.connectToHost(QHostAddress::LocalHost, radioPort);
    if (!socket.waitForConnected(2000))
        return {};
    socket.write(command + '\n');
    while (!socket.canReadLine() && socket.waitForReadyRead(2000)) {
    }
    return socket.readLine().trimmed();
}

QStringList RadioStation::commands() const
{
    QFile file(logPath());
    QStringList out;
    if (file.open(QIODevice::ReadOnly)) {
        for (const QByteArray &line : file.readAll().split('\n')) {
            const QJsonObject entry = QJsonDocument::fromJson(line).object();
            if (entry.contains(QLatin1String("radio")))
                out << entry.value("radio").toString();
        }
    }
    return out;
}

bool Rigctld::start(bool reportsPtt)
{
    if (port == 0)
        port = freeLocalPort();
    // Ends with the test even when the test is killed (a timeout).
    process.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGKILL); });
    QStringList arguments{"-m", "1", "-T", "127.0.0.1", "-t", QString::number(port)};
    if (reportsPtt)
        arguments << "-P"
                  << "RIG";
    process.start(QStringLiteral("rigctld"), arguments);
    for (int i = 0; i < 100; ++i) {
        QTcpSocket probe;
        probe.connectToHost(QHostAddress::LocalHost, port);
        if (probe.waitForConnected(100))
            return true;
        QThread::msleep(50);
    }
    return false;
}

void Rigctld::stop()
{
    process.kill();
    process.waitForFinished();
}
