#include "backup/memorytable.h"
#include "net/hostport.h"
#include "rig/rigctldclient.h"
#include "sim/rigserver.h"
#include "sim/virtualcontroller.h"
#include "support/consolefixture.h"
#include "support/fakedaemon.h"
#include "support/programs.h"
#include "support/station.h"

#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>
#include <QtEndian>

#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

namespace {

// Resident memory of a process, in megabytes.
double residentMb(qint64 pid)
{
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toDouble() / 1024.0;
    }
    return -1;
}

// Writes to every connection, as fast as it takes them, for as long as it lives.
class Flood
{
public:
    explicit Flood(QByteArray chunk)
        : m_chunk(std::move(chunk))
    {
        m_server.listen(QHostAddress::LocalHost);
        QObject::connect(&m_server, &QTcpServer::newConnection, &m_server, [this] {
            while (QTcpSocket *socket = m_server.nextPendingConnection()) {
                ++connections;
                const auto more = [this, socket] {
                    while (socket->state() == QAbstractSocket::ConnectedState &&
                           socket->bytesToWrite() < 4 * m_chunk.size())
                        written += socket->write(m_chunk);
                };
                QObject::connect(socket, &QTcpSocket::bytesWritten, socket, more);
                QObject::connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
                more();
            }
        });
    }
    quint16 port() const { return m_server.serverPort(); }

    int connections = 0;
    qint64 written = 0;

private:
    QByteArray m_chunk;
    QTcpServer m_server;
};

// Sends the chunk over one connection until the time is up or the far end hangs up, reading
// nothing back; the number of bytes the far end took.
qint64 pour(quint16 port, const QByteArray &chunk, int ms)
{
    QTcpSocket socket;
    socket.connectToHost(QHostAddress::LocalHost, port);
    if (!socket.waitForConnected(2000))
        return -1;
    socket.setReadBufferSize(1); // a client that never reads its replies
    QElapsedTimer clock;
    clock.start();
    qint64 sent = 0;
    while (clock.elapsed() < ms && socket.state() == QAbstractSocket::ConnectedState) {
        if (socket.bytesToWrite() < 4 * chunk.size())
            sent += socket.write(chunk);
        socket.waitForBytesWritten(50);
    }
    return sent;
}

// A real orvane-sim, headless; the first line it prints says where it listens.
struct Sim
{
    QProcess process;
    QString where;
    bool start(const QStringList &arguments)
    {
        return start(builtProgram(QStringLiteral("orvane-sim")),
                     QStringList{QStringLiteral("--headless")} + arguments);
    }
    bool start(const QString &program, const QStringList &arguments)
    {
        where = startAndReadLine(process, program, arguments);
        return !where.isEmpty();
    }
    bool finished()
    {
        return process.state() == QProcess::NotRunning || process.waitForFinished(10000);
    }
    ~Sim()
    {
        process.terminate();
        process.waitForFinished(5000);
    }
};

// A program run to its end: exit status and what it said.
struct Run
{
    int status = -1;
    QString said;
};
Run run(const ProgramFolder &folder, const QStringList &arguments, int timeoutMs = 20000)
{
    QProcess process;
    process.setProcessEnvironment(folder.environment());
    process.start(folder.program(QStringLiteral("orvane")), arguments);
    Run result;
    if (!process.waitForFinished(timeoutMs)) {
        process.kill();
        process.waitForFinished();
        result.said = QStringLiteral("still running after %1 ms").arg(timeoutMs);
        return result;
    }
    result.status = process.exitCode();
    result.said =
        QString::fromLocal8Bit(process.readAllStandardError() + process.readAllStandardOutput());
    return result;
}

bool answers(quint16 port)
{
    QTcpSocket socket;
    socket.connectToHost(QHostAddress::LocalHost, port);
    if (!socket.waitForConnected(2000))
        return false;
    socket.write("f\n");
    return socket.waitForReadyRead(2000) && socket.readLine().trimmed().toLongLong() > 0;
}

// The addresses on which something listens at a TCP port, as the kernel tells.
QList<QHostAddress> listening(quint16 port)
{
    QList<QHostAddress> out;
    for (const char *table : {"/proc/net/tcp", "/proc/net/tcp6"}) {
        QFile file(QString::fromLatin1(table));
        if (!file.open(QIODevice::ReadOnly))
            continue;
        for (const QByteArray &line : file.readAll().split('\n')) {
            const QList<QByteArray> fields = line.simplified().split(' ');
            const QList<QByteArray> local = fields.value(1).split(':');
            if (fields.value(3) != "0A" || local.size() != 2 ||
                local[1].toUInt(nullptr, 16) != port)
                continue; // not listening, or another port
            QByteArray raw = QByteArray::fromHex(local[0]);
            // Each 32-bit word is in host order.
            for (int i = 0; i + 4 <= raw.size(); i += 4)
                std::reverse(raw.begin() + i, raw.begin() + i + 4);
            out << (raw.size() == 4
                        ? QHostAddress(qFromBigEndian<quint32>(raw.constData()))
                        : QHostAddress(reinterpret_cast<const quint8 *>(raw.constData())));
        }
    }
    return out;
}

mode_t typeOf(const QString &path)
{
    struct stat st
    {};
    return ::lstat(QFile::encodeName(path).constData(), &st) == 0 ? st.st_mode & S_IFMT : 0;
}

const QByteArray SlotTable = "antenna,band,sub-band,C code,L code,side\r\n1,40 м,2,37,12,Tx\r\n";

} // namespace

// What a fault-injection run found on the additions: each case ends with a clear error or a
// bounded, working program, and nothing lost.
class TestHostile : public QObject
{
    Q_OBJECT

private slots:
    void simulatorListensOnlyWhereItsNameLeads()
    {
        // Names of the test's own, in a hosts file the simulator alone sees.
        QTemporaryDir temp;
        const QString hosts = temp.filePath(QStringLiteral("hosts"));
        QFile file(hosts);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("127.0.0.1 localhost\n::1 orvane-v6\n127.0.0.1 orvane-v4\n");
        file.close();
        const auto start = [&](Sim &sim, const QString &option, const QString &where) {
            return sim.start(
                QStringLiteral("unshare"),
                {"-m", "sh", "-c",
                 QStringLiteral("mount --bind %1 /etc/hosts && exec %2 --headless %3 %4")
                     .arg(hosts, builtProgram(QStringLiteral("orvane-sim")), option, where)});
        };
        for (const char *option : {"--listen", "--rigctld"}) {
            const quint16 port = freeLocalPort();
            Sim sim;
            QVERIFY(
                start(sim, QString::fromLatin1(option), QStringLiteral("orvane-v6:%1").arg(port)));
            QCOMPARE(listening(port), QList<QHostAddress>{QHostAddress::LocalHostIPv6});
            QTcpSocket v4;
            v4.connectToHost(QHostAddress::LocalHost, port);
            QVERIFY(!v4.waitForConnected(1000)); // not every interface
        }
        Sim v4;
        const quint16 port = freeLocalPort();
        QVERIFY(start(v4, QStringLiteral("--listen"), QStringLiteral("orvane-v4:%1").arg(port)));
        QCOMPARE(v4.where, QStringLiteral("127.0.0.1:%1").arg(port));
        QCOMPARE(listening(port), QList<QHostAddress>{QHostAddress::LocalHost});
        // A name with no address is a usage error.
        Sim nowhere;
        start(nowhere, QStringLiteral("--listen"), QStringLiteral("no-such-host.invalid:4001"));
        QVERIFY(nowhere.finished());
        QCOMPARE(nowhere.process.exitCode(), 2);
    }

    void aRigctldThatNeverEndsARelyHoldsNoMemory_data()
    {
        QTest::addColumn<QByteArray>("chunk");
        QTest::newRow("lines without RPRT") << QByteArray(64 * 1024, 'x').replace(1000, 1, "\n");
        QTest::newRow("one line without end") << QByteArray(64 * 1024, 'x');
    }
    void aRigctldThatNeverEndsARelyHoldsNoMemory()
    {
        QFETCH(QByteArray, chunk);
        Flood daemon(chunk);
        ProgramFolder folder;
        QProcess console;
        console.setProcessEnvironment(folder.environment());
        console.start(folder.program("orvane"),
                      {"--rig", QStringLiteral("127.0.0.1:%1").arg(daemon.port())});
        QTRY_VERIFY(daemon.connections >= 1);
        const double before = residentMb(console.processId());
        QTest::qWait(3000);
        const double after = residentMb(console.processId());
        QVERIFY2(after - before < 100, qPrintable(QStringLiteral("%1 → %2 MB, %3 MB sent")
                                                      .arg(before)
                                                      .arg(after)
                                                      .arg(daemon.written >> 20)));
        // Dropped and tried again, with the usual backoff.
        QVERIFY(daemon.connections >= 2);
        QCOMPARE(console.state(), QProcess::Running);
        console.kill();
        console.waitForFinished();
    }

    void theSimulatedRadioDropsAClientItCannotServe_data()
    {
        QTest::addColumn<QByteArray>("chunk");
        QTest::newRow("f without a newline") << QByteArray(64 * 1024, 'f');
        QTest::newRow("replies never read") << QByteArray("+\\get_level SWR\n").repeated(4096);
    }
    void theSimulatedRadioDropsAClientItCannotServe()
    {
        QFETCH(QByteArray, chunk);
        const quint16 port = freeLocalPort();
        Sim sim;
        QVERIFY(sim.start({"--rigctld", QStringLiteral("127.0.0.1:%1").arg(port)}));
        const double before = residentMb(sim.process.processId());
        pour(port, chunk, 3000);
        const double after = residentMb(sim.process.processId());
        QVERIFY2(after - before < 100,
                 qPrintable(QStringLiteral("%1 → %2 MB").arg(before).arg(after)));
        QVERIFY(answers(port));
    }

    void aLongRunOfNoPacketsIsLoggedShortAndCounted()
    {
        QTemporaryDir temp;
        const QString log = temp.filePath(QStringLiteral("log.jsonl"));
        const quint16 port = freeLocalPort();
        Sim sim;
        QVERIFY(sim.start({"--listen", QStringLiteral("127.0.0.1:%1").arg(port), "--log", log}));
        const double before = residentMb(sim.process.processId());
        QTcpSocket line;
        line.connectToHost(QHostAddress::LocalHost, port);
        QVERIFY(line.waitForConnected(2000));
        const QByteArray chunk(1 << 20, '\x11');
        for (int n = 0; n < 100; ++n) {
            line.write(chunk);
            while (line.bytesToWrite() > 0)
                line.waitForBytesWritten(1000);
        }
        QTRY_VERIFY_WITH_TIMEOUT(QFileInfo(log).size() > 0, 20000);
        const double after = residentMb(sim.process.processId());
        QVERIFY2(after - before < 100,
                 qPrintable(QStringLiteral("%1 → %2 MB").arg(before).arg(after)));
        QFile file(log);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QList<QByteArray> lines = file.readAll().trimmed().split('\n');
        QCOMPARE(lines.size(), 1);
        QVERIFY(lines[0].size() < 10000);
        const QJsonObject entry = QJsonDocument::fromJson(lines[0]).object();
        QCOMPARE(entry.value("hex").toString().size(), 2 * 4096);
        QCOMPARE(qint64(entry.value("dropped").toDouble()), 100 * (1 << 20) - 4096);
    }

    void anExportNeverReplacesWhatIsNoFile()
    {
        ProgramFolder folder;
        QVERIFY(folder.isValid());
        QFile conf(folder.settingsPath());
        QVERIFY(conf.open(QIODevice::WriteOnly) && conf.write(SettingsImage().bytes()));
        conf.close();
        QTemporaryDir temp;
        const QString fifo = temp.filePath(QStringLiteral("fifo"));
        const QString link = temp.filePath(QStringLiteral("link"));
        const QString full = temp.filePath(QStringLiteral("full"));
        QVERIFY(::mkfifo(QFile::encodeName(fifo).constData(), 0600) == 0);
        QVERIFY(QFile::link(fifo, link));
        QVERIFY(::mknod(QFile::encodeName(full).constData(), S_IFCHR | 0600, makedev(1, 7)) == 0);

        // Nobody reads the pipe: said at once, and the pipe stays a pipe.
        for (const QString &target : {fifo, link}) {
            const Run result = run(folder, {"--export", target});
            QCOMPARE(result.status, 1);
            QVERIFY2(result.said.contains(target), qPrintable(result.said));
        }
        QCOMPARE(typeOf(fifo), mode_t(S_IFIFO));
        QCOMPARE(typeOf(link), mode_t(S_IFLNK));
        // A device that takes nothing says so and stays a device.
        const Run onFull = run(folder, {"--export", full});
        QCOMPARE(onFull.status, 1);
        QCOMPARE(typeOf(full), mode_t(S_IFCHR));
        // Somebody reads the pipe: the table goes through it.
        QProcess reader;
        reader.start(QStringLiteral("cat"), {fifo});
        QVERIFY(reader.waitForStarted());
        QTest::qWait(200);
        QCOMPARE(run(folder, {"--export", fifo}).status, 0);
        QVERIFY(reader.waitForFinished(5000));
        QVERIFY(reader.readAllStandardOutput().contains("antenna,band,sub-band"));
        QCOMPARE(typeOf(fifo), mode_t(S_IFIFO));
    }

    void anImportReadsOnlyAFileAndOnlySoMuch()
    {
        ProgramFolder folder;
        QTemporaryDir temp;
        const QString zero = temp.filePath(QStringLiteral("zero"));
        const QString fifo = temp.filePath(QStringLiteral("fifo"));
        const QString big = temp.filePath(QStringLiteral("big.csv"));
        QVERIFY(::mknod(QFile::encodeName(zero).constData(), S_IFCHR | 0600, makedev(1, 5)) == 0);
        QVERIFY(::mkfifo(QFile::encodeName(fifo).constData(), 0600) == 0);
        QFile file(big);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(SlotTable + QByteArray(2 << 20, '\n'));
        file.close();
        for (const QString &source : {zero, fifo}) {
            QElapsedTimer clock;
            clock.start();
            const Run result = run(folder, {"--import", source}, 10000);
            QCOMPARE(result.status, 1);
            QVERIFY2(result.said.contains(source), qPrintable(result.said));
            QVERIFY(clock.elapsed() < 5000);
        }
        const Run tooBig = run(folder, {"--import", big});
        QCOMPARE(tooBig.status, 1);
        QVERIFY2(tooBig.said.contains(QStringLiteral("1024")), qPrintable(tooBig.said));
        // The lock went with them: a good table imports now.
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(SlotTable);
        file.close();
        QCOMPARE(run(folder, {"--import", big}).status, 0);
        // The window's import reads through the same door.
        QString error;
        QVERIFY(!MemoryFiles::importFrom(zero, folder.settingsPath(), &error));
    }

    void aLockThatNamesNoProcessIsTakenOver_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::newRow("empty") << "empty";
        QTest::newRow("garbage") << "garbage";
        QTest::newRow("a folder") << "folder";
        QTest::newRow("a dangling link") << "link";
    }
    void aLockThatNamesNoProcessIsTakenOver()
    {
        QFETCH(QString, kind);
        ProgramFolder folder;
        QTemporaryDir temp;
        const QString table = temp.filePath(QStringLiteral("t.csv"));
        QFile file(table);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(SlotTable));
        file.close();
        const QString lock = folder.settingsPath() + QStringLiteral(".lock");
        if (kind == QLatin1String("folder")) {
            QVERIFY(QDir().mkdir(lock));
        } else if (kind == QLatin1String("link")) {
            QVERIFY(QFile::link(temp.filePath(QStringLiteral("gone")), lock));
        } else {
            QFile left(lock);
            QVERIFY(left.open(QIODevice::WriteOnly));
            if (kind == QLatin1String("garbage"))
                left.write("\x01\x02 not a lock\n");
        }
        const Run result = run(folder, {"--import", table});
        QVERIFY2(result.status == 0, qPrintable(result.said));
        QFile conf(folder.settingsPath());
        QVERIFY(conf.open(QIODevice::ReadOnly));
        QCOMPARE(SettingsImage(conf.readAll()).slot(at(1, "40 м", 2)), (RelaySetting{37, 12, 1}));
        QVERIFY(!QFileInfo::exists(lock) && !QFileInfo(lock).isSymLink());
    }

    void twoConsolesStartedTogetherNeverBothRun()
    {
        ProgramFolder folder;
        for (int pair = 0; pair < 10; ++pair) {
            if (pair % 2) {
                QFile left(folder.settingsPath() + QStringLiteral(".lock"));
                QVERIFY(left.open(QIODevice::WriteOnly)); // what a power cut leaves
            }
            QProcess first;
            QProcess second;
            for (QProcess *p : {&first, &second})
                p->setProcessEnvironment(folder.environment());
            first.start(folder.program("orvane"));
            second.start(folder.program("orvane"));
            QVERIFY(first.waitForStarted() && second.waitForStarted());
            // One gives up at once; the other keeps the file.
            QTRY_VERIFY_WITH_TIMEOUT(first.state() == QProcess::NotRunning ||
                                         second.state() == QProcess::NotRunning,
                                     10000);
            QTest::qWait(500);
            const int running =
                int(first.state() == QProcess::Running) + int(second.state() == QProcess::Running);
            QCOMPARE(running, 1);
            for (QProcess *p : {&first, &second}) {
                p->terminate();
                p->waitForFinished();
            }
        }
    }

    void anEmptyFileNameIsAUsageError()
    {
        ProgramFolder folder;
        for (const char *option : {"--export", "--import"})
            QCOMPARE(run(folder, {QString::fromLatin1(option), QString()}).status, 2);
    }

    void nonsenseFrequenciesAreNoReading_data()
    {
        QTest::addColumn<QByteArray>("frequency");
        QTest::newRow("1e20") << QByteArray("1e20");
        QTest::newRow("inf") << QByteArray("inf");
        QTest::newRow("nan") << QByteArray("nan");
        QTest::newRow("below zero") << QByteArray("-7074000");
        QTest::newRow("below 100 kHz") << QByteArray("99999");
        QTest::newRow("past 3 GHz") << QByteArray("3000000001");
    }
    void nonsenseFrequenciesAreNoReading()
    {
        QFETCH(QByteArray, frequency);
        FakeDaemon daemon;
        bool asked = false;
        daemon.answer = [&](const QByteArray &line) -> QByteArray {
            if (line == "+\\get_freq") {
                asked = true;
                return "get_freq:\nFrequency: " + frequency + "\nRPRT 0\n";
            }
            if (line == "+\\get_ptt")
                return "get_ptt:\nPTT: 0\nRPRT 0\n";
            return "RPRT -11\n";
        };
        RigctldClient rig;
        rig.setAddress({QStringLiteral("127.0.0.1"), daemon.port()});
        rig.setPollInterval(100);
        rig.start();
        QTRY_VERIFY(asked);
        QTest::qWait(300);
        QVERIFY(!rig.frequency());

        // The simulated radio takes none of them either.
        VirtualController controller;
        RigServer radio(controller, LoadModel(), 7.1e6);
        for (const QByteArray &bad : {QByteArray("inf"), QByteArray("1e300"), frequency})
            QCOMPARE(radio.answer("F " + bad), QByteArray("RPRT -1\n"));
        QCOMPARE(radio.frequency(), 7.1e6);
        for (const char *load : {"inf:50,0", "1e308:50,0", "7.1:inf,0"}) {
            Sim sim;
            sim.start({"--load", QString::fromLatin1(load)});
            QVERIFY(sim.finished());
            QCOMPARE(sim.process.exitCode(), 2);
        }
    }

    void hamlibsOwnClientOpensTheSimulatedRadio()
    {
        QTemporaryDir temp;
        const QString log = temp.filePath(QStringLiteral("log.jsonl"));
        const quint16 port = freeLocalPort();
        Sim sim;
        QVERIFY(sim.start({"--rigctld", QStringLiteral("127.0.0.1:%1").arg(port), "--log", log}));
        const auto rigctl = [&](const QStringList &command) {
            QProcess client;
            client.start(QStringLiteral("rigctl"),
                         QStringList{"-m", "2", "-r", QStringLiteral("127.0.0.1:%1").arg(port)} +
                             command);
            client.waitForFinished(10000);
            return std::pair(client.exitCode(), client.readAllStandardOutput().trimmed());
        };
        QCOMPARE(rigctl({"f"}), std::pair(0, QByteArray("7100000")));
        QCOMPARE(rigctl({"F", "7074000"}).first, 0);
        QCOMPARE(rigctl({"f"}), std::pair(0, QByteArray("7074000")));
        QCOMPARE(rigctl({"T", "1"}).first, 0);
        QCOMPARE(rigctl({"t"}), std::pair(0, QByteArray("1")));
        QCOMPARE(rigctl({"T", "0"}).first, 0);
        QFile file(log);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QStringList commands;
        for (const QByteArray &line : file.readAll().trimmed().split('\n'))
            commands << QJsonDocument::fromJson(line).object().value("radio").toString();
        QCOMPARE(commands, (QStringList{"F 7074000", "T 1", "T 0"}));
    }

    void aTableFromASpreadsheetIsReadAndEveryFaultNamed()
    {
        // Semicolons, English captions, the Latin "m": all read.
        const QByteArray good = "C step pF;12\r\nantenna;band;sub-band;C code;L code;side\r\n"
                                "1;80 m;2;5;6;Tx\r\n2;Ext;5;7;8;Ant\r\n3;40 м;1;9;10;Tx\r\n";
        QString error;
        const std::optional<MemoryTable::Table> table = MemoryTable::read(good, &error);
        QVERIFY2(table, qPrintable(error));
        QCOMPARE(table->entries.size(), 3);
        QCOMPARE(table->entries[0].band, 1);
        QCOMPARE(table->entries[1].band, 9);
        // Five faults on four lines, every one named with its line and field.
        const QByteArray bad = "antenna;band;sub-band;C code;L code;side\r\n"
                               "4;80 m;2;5;6;Tx\r\n"
                               "1;6 m;2;5;6;Tx\r\n"
                               "1;80 m;9;300;6;Tx\r\n"
                               "1;40 m;2;5;6;maybe\r\n";
        QVERIFY(!MemoryTable::read(bad, &error));
        const QStringList lines = error.split(QLatin1Char('\n'));
        QCOMPARE(lines.size(), 5);
        QVERIFY(lines[0].startsWith(QStringLiteral("строка 2: поле «antenna»")));
        QVERIFY(lines[1].startsWith(QStringLiteral("строка 3: поле «band»")));
        QVERIFY(lines[2].startsWith(QStringLiteral("строка 4: поле «sub-band»")));
        QVERIFY(lines[3].startsWith(QStringLiteral("строка 4: поле «C code»")));
        QVERIFY(lines[4].startsWith(QStringLiteral("строка 5: поле «side»")));
        // A column named twice, and a header that matches nothing says what it saw.
        QVERIFY(!MemoryTable::read("antenna,band,band,sub-band,C code,L code,side\r\n", &error));
        QVERIFY2(error.contains(QStringLiteral("«band» назван дважды")), qPrintable(error));
        QVERIFY(!MemoryTable::read("antenna\tband\tsub-band\r\n", &error));
        QVERIFY2(error.contains(QStringLiteral("«,»")), qPrintable(error));
    }

    void helpNeedsNoDisplay()
    {
        for (const char *option : {"--help", "--version"}) {
            QProcess sim;
            QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
            env.remove(QStringLiteral("DISPLAY"));
            env.remove(QStringLiteral("WAYLAND_DISPLAY"));
            env.remove(QStringLiteral("QT_QPA_PLATFORM"));
            sim.setProcessEnvironment(env);
            sim.start(builtProgram(QStringLiteral("orvane-sim")), {QString::fromLatin1(option)});
            QVERIFY(sim.waitForFinished(10000));
            QCOMPARE(sim.exitCode(), 0);
            QVERIFY(sim.readAllStandardOutput().contains("orvane-sim"));
        }
    }
};

QTEST_MAIN(TestHostile)
#include "tst_hostile.moc"
