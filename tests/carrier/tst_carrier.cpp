#include "console/form1.h"
#include "panel/panel.h"
#include "rig/carrierjournal.h"
#include "support/consolefixture.h"
#include "support/programs.h"
#include "support/station.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTcpSocket>
#include <QTest>

#include <csignal>

namespace {

// A console without a screen, as a station runs it, following the simulated radio, with its
// control port open to the test.
struct Headless
{
    RadioStation station;
    ProgramFolder folder;
    QProcess console;
    QTcpSocket client;
    QByteArray heard;
    quint16 control = 0;

    bool start(const QStringList &stationArguments = {})
    {
        if (!station.start(QStringLiteral("7.1,50,10"), stationArguments))
            return false;
        QFile conf(folder.settingsPath());
        conf.open(QIODevice::WriteOnly);
        conf.write(SettingsImage().port(1).steps(10, 500).bytes());
        conf.close();
        // The radio polled briskly, as the tests of following do.
        const QString config =
            folder.environment().value(QStringLiteral("HOME")) + QStringLiteral("/.config/Orvane");
        QDir().mkpath(config);
        QFile user(config + QStringLiteral("/Orvane.conf"));
        user.open(QIODevice::WriteOnly);
        user.write("[rig]\npoll_ms=100\n");
        user.close();
        control = freeLocalPort();
        console.setProcessEnvironment(folder.environment());
        // The guard writes where the console does: what it did shows here.
        console.setProcessChannelMode(QProcess::MergedChannels);
        console.start(folder.program("orvane"),
                      {"--headless", "--control", QString::number(control), "--port",
                       QStringLiteral("1=%1").arg(station.link()), "--rig",
                       QStringLiteral("127.0.0.1:%1").arg(station.radioPort)});
        return connectClient();
    }
    bool connectClient()
    {
        client.abort();
        heard.clear();
        QElapsedTimer clock;
        clock.start();
        while (clock.elapsed() < 10000) {
            client.connectToHost(QHostAddress::LocalHost, control);
            if (client.waitForConnected(200))
                break;
            QTest::qWait(100);
        }
        if (client.state() != QAbstractSocket::ConnectedState)
            return false;
        client.write("\\subscribe\n");
        // The radio answers, and says whether it transmits, before a job may start.
        return waitFor("Interlock=on", 10000);
    }
    bool waitFor(const QByteArray &text, int ms)
    {
        QElapsedTimer clock;
        clock.start();
        while (!heard.contains(text) && clock.elapsed() < ms) {
            client.waitForReadyRead(50);
            heard += client.readAll();
        }
        return heard.contains(text);
    }
    QByteArray ask(const QByteArray &line)
    {
        heard.clear();
        client.write(line + '\n');
        waitFor("RPRT", 5000);
        return heard;
    }
    // The radio as another program reads it: frequency, mode, power.
    QList<QByteArray> radio() const
    {
        return {station.ask("f"), station.ask("m"), station.ask("l RFPOWER")};
    }
    bool keyed() const { return station.ask("t") == "1"; }
    void signal(int number) { ::kill(pid_t(console.processId()), number); }
    // The guard the console started, found by the journal folder it was given.
    qint64 guard() const
    {
        for (const QString &entry : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs)) {
            QFile cmdline(QStringLiteral("/proc/%1/cmdline").arg(entry));
            if (!cmdline.open(QIODevice::ReadOnly))
                continue;
            const QByteArray words = cmdline.readAll();
            if (words.contains("orvane-guard") && words.contains(folder.path().toLocal8Bit()))
                return entry.toLongLong();
        }
        return 0;
    }
};

// Waits until the radio is unkeyed and put back, at most ms; how long it took, or -1.
qint64 putBackWithin(const Headless &h, const QList<QByteArray> &before, int ms)
{
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < ms) {
        if (!h.keyed() && h.radio() == before)
            return clock.elapsed();
        QTest::qWait(50);
    }
    return -1;
}

} // namespace

// The carrier the console keys itself is never left on: not by a stop, a death, a stalled
// radio; and it never keys over the operator.
class TestCarrier : public QObject
{
    Q_OBJECT

private slots:
    void anOrderlyEndUnkeysAndPutsTheRadioBack_data()
    {
        QTest::addColumn<QByteArray>("job");
        QTest::addColumn<int>("signal");
        const QByteArray sweep = "\\sweep 40m 7000000 7050000 10000 5000 bare";
        QTest::newRow("sweep, SIGTERM") << sweep << SIGTERM;
        QTest::newRow("sweep, SIGINT") << sweep << SIGINT;
        QTest::newRow("sweep, SIGHUP") << sweep << SIGHUP;
        QTest::newRow("training, SIGTERM") << QByteArray("\\train 20m") << SIGTERM;
    }
    void anOrderlyEndUnkeysAndPutsTheRadioBack()
    {
        QFETCH(QByteArray, job);
        QFETCH(int, signal);
        Headless h;
        QVERIFY(h.start());
        const QList<QByteArray> before = h.radio();
        QVERIFY2(h.ask(job).contains("RPRT 0"), h.heard.constData());
        QTRY_VERIFY_WITH_TIMEOUT(h.keyed(), 10000);
        QTest::qWait(300);
        h.signal(signal);
        QVERIFY(h.console.waitForFinished(10000));
        // Unkeyed and put back before the console ended, not by the guard after it.
        QVERIFY(!h.keyed());
        QCOMPARE(h.radio(), before);
        QTRY_COMPARE(h.guard(), 0);
        const QByteArray said = h.console.readAll();
        QVERIFY2(!said.contains("orvane-guard"), said.constData());
        QVERIFY(!QFile::exists(CarrierJournal::pathIn(h.folder.path())));
    }

    void aConsoleKilledWhileKeyedIsCoveredByItsGuard()
    {
        Headless h;
        QVERIFY(h.start());
        const QList<QByteArray> before = h.radio();
        QVERIFY(h.ask("\\sweep 40m 7000000 7050000 10000 5000 bare").contains("RPRT 0"));
        QTRY_VERIFY_WITH_TIMEOUT(h.keyed(), 10000);
        QVERIFY(h.guard() != 0);
        QVERIFY(QFile::exists(CarrierJournal::pathIn(h.folder.path())));
        h.signal(SIGKILL);
        QVERIFY(h.console.waitForFinished(5000));
        const qint64 took = putBackWithin(h, before, 3000);
        QVERIFY2(took >= 0, h.radio().join(' ').constData());
        // The guard cleared the journal of its job and ended.
        QTRY_COMPARE(h.guard(), 0);
        QVERIFY(!QFile::exists(CarrierJournal::pathIn(h.folder.path())));
    }

    void aConsoleKilledWithItsGuardIsCoveredByTheJournalAtTheNextStart()
    {
        Headless h;
        QVERIFY(h.start());
        const QList<QByteArray> before = h.radio();
        QVERIFY(h.ask("\\sweep 40m 7000000 7050000 10000 5000 bare").contains("RPRT 0"));
        QTRY_VERIFY_WITH_TIMEOUT(h.keyed(), 10000);
        const qint64 guard = h.guard();
        QVERIFY(guard != 0);
        ::kill(pid_t(guard), SIGKILL);
        h.signal(SIGKILL);
        QVERIFY(h.console.waitForFinished(5000));
        QTest::qWait(2500);
        QVERIFY(h.keyed());
        QVERIFY(QFile::exists(CarrierJournal::pathIn(h.folder.path())));

        // The next console puts it right before anything else, and says so.
        QElapsedTimer clock;
        clock.start();
        h.console.start();
        QVERIFY(h.console.waitForStarted());
        const qint64 took = putBackWithin(h, before, 5000);
        QVERIFY2(took >= 0 && clock.elapsed() < 4000, h.radio().join(' ').constData());
        QTRY_VERIFY(!QFile::exists(CarrierJournal::pathIn(h.folder.path())));
        h.signal(SIGTERM);
        QVERIFY(h.console.waitForFinished(5000));
    }

    void aJournalLeftSetIsActedOnAtStartAndSaidSo()
    {
        RadioStation station;
        QVERIFY(station.start());
        QVERIFY(station.tell("F 14100000"));
        const QList<QByteArray> before = {station.ask("f"), station.ask("m"),
                                          station.ask("l RFPOWER")};
        CarrierJournal::Record record;
        record.job = CarrierJournal::newJobName();
        record.rig = {QStringLiteral("127.0.0.1"), station.radioPort};
        record.putBack = {14100000, before[1], "2400", before[2]};
        // What a console killed with its guard left: the carrier on, elsewhere, at its power.
        QVERIFY(station.tell("F 7000000") && station.tell("M AM 0") &&
                station.tell("L RFPOWER 0.1") && station.tell("T 1"));
        ConsoleFixture f;
        QString error;
        QVERIFY2(CarrierJournal::write(f.programDir(), record, &error), qPrintable(error));
        f.writeSettings(SettingsImage().port(1).bytes());
        Form1 &form = f.start();
        QTRY_VERIFY_WITH_TIMEOUT(station.ask("t") == "0", 3000);
        QTRY_COMPARE(station.ask("f"), before[0]);
        QTRY_COMPARE(station.ask("m"), before[1]);
        QTRY_COMPARE(station.ask("l RFPOWER"), before[2]);
        QTRY_VERIFY(!QFile::exists(CarrierJournal::pathIn(f.programDir())));
        QString notes;
        for (const LineLog::Entry &entry : form.panel().lineLog().entries())
            notes += entry.text + QLatin1Char('\n');
        QVERIFY2(notes.contains(QStringLiteral("прошлым запуском")), qPrintable(notes));
    }

    void aStalledRadioIsUnkeyedOnceItAnswersAgain()
    {
        Headless h;
        QVERIFY(h.start());
        const QList<QByteArray> before = h.radio();
        QVERIFY(h.ask("\\train 40m 7000000 7100000").contains("RPRT 0"));
        QTRY_VERIFY_WITH_TIMEOUT(h.keyed(), 10000);
        const pid_t radio = pid_t(h.station.process.processId());
        ::kill(radio, SIGSTOP);
        // Longer than any deadline, the rig client's and the job's.
        QTest::qWait(8000);
        h.heard += h.client.readAll();
        ::kill(radio, SIGCONT);
        const qint64 took = putBackWithin(h, before, 3000);
        QVERIFY2(took >= 0, h.radio().join(' ').constData());
        // Said where the operator and every client hear it.
        QVERIFY(h.waitFor("!log", 2000));
        QVERIFY2(h.heard.contains("не отвечает"), h.heard.constData());
        // The console is still there, and the guard stood down with the job.
        QCOMPARE(h.console.state(), QProcess::Running);
        QTRY_COMPARE(h.guard(), 0);
        h.signal(SIGTERM);
        QVERIFY(h.console.waitForFinished(5000));
    }

    void noJobKeysOverTheOperator()
    {
        Headless h;
        QVERIFY(h.start());
        QVERIFY(h.station.tell("T 1"));
        QVERIFY(h.waitFor("Transmitting=1", 5000));
        const QList<QByteArray> before = h.radio();
        const qsizetype commands = h.station.commands().size();
        const qsizetype packets = h.station.log().size();
        QCOMPARE(h.ask("\\set_c 5"), QByteArray("RPRT -9\n"));
        for (const QByteArray &job : {QByteArray("\\sweep 40m 7000000 7010000 5000 100 bare"),
                                      QByteArray("\\train 40m 7000000 7013999")})
            QCOMPARE(h.ask(job), QByteArray("RPRT -11\n"));
        QTest::qWait(500);
        // Nothing on the line, nothing asked of the radio, the operator still keyed.
        QCOMPARE(h.station.log().size(), packets);
        QCOMPARE(h.station.commands().size(), commands);
        QVERIFY(h.keyed());
        QCOMPARE(h.radio(), before);
        h.signal(SIGTERM);
        QVERIFY(h.console.waitForFinished(5000));
        QVERIFY(h.keyed());
    }

    void aRadioThatKeepsMorePowerThanAskedIsNeverKeyed()
    {
        // A radio whose power does not go below 20 W takes a 10 W setting and keeps 20.
        Headless h;
        QVERIFY(h.start({"--min-power", "0.2"}));
        const QList<QByteArray> before = h.radio();
        QVERIFY(h.ask("\\sweep 40m 7000000 7010000 5000 100 bare").contains("RPRT 0"));
        QVERIFY(h.waitFor("!sweep Stopped=", 5000));
        QVERIFY2(h.heard.contains("10"), h.heard.constData());
        QVERIFY(!h.station.commands().contains(QStringLiteral("T 1")));
        QTRY_COMPARE(h.radio(), before);
        h.signal(SIGTERM);
        QVERIFY(h.console.waitForFinished(5000));
    }
};

QTEST_MAIN(TestCarrier)
#include "tst_carrier.moc"
