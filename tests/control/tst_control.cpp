#include "console/features.h"
#include "console/form1.h"
#include "control/controlport.h"
#include "net/credentials.h"
#include "net/identity.h"
#include "panel/panel.h"
#include "support/consolefixture.h"
#include "support/programs.h"
#include "support/station.h"

#include <QElapsedTimer>
#include <QLineEdit>
#include <QSslSocket>
#include <QTest>

#include <csignal>

namespace {

// A station program on the control port, on loopback.
struct Client
{
    QSslSocket socket;
    bool connect(quint16 port, bool tls = false)
    {
        if (!tls) {
            socket.connectToHost(QHostAddress::LocalHost, port);
            return socket.waitForConnected(3000);
        }
        socket.setPeerVerifyMode(QSslSocket::VerifyNone);
        socket.connectToHostEncrypted(QStringLiteral("127.0.0.1"), port);
        // The console answers the handshake in this same event loop.
        QElapsedTimer clock;
        clock.start();
        while (!socket.isEncrypted() && clock.elapsed() < 5000 &&
               socket.state() != QAbstractSocket::UnconnectedState)
            QTest::qWait(5);
        return socket.isEncrypted();
    }
    // The next line; the event loop runs meanwhile, so the console answers.
    QByteArray line(int ms = 3000)
    {
        QElapsedTimer clock;
        clock.start();
        while (!socket.canReadLine() && clock.elapsed() < ms &&
               socket.state() == QAbstractSocket::ConnectedState)
            QTest::qWait(5);
        return socket.canReadLine() ? socket.readLine().trimmed() : QByteArray();
    }
    QByteArray ask(const QByteArray &command)
    {
        socket.write(command + '\n');
        return line();
    }
    // The next pushed state line.
    QByteArray state(int ms = 3000)
    {
        QElapsedTimer clock;
        clock.start();
        for (QByteArray l = line(ms); clock.elapsed() < ms; l = line(ms)) {
            if (l.startsWith("!state"))
                return l;
        }
        return {};
    }
};

} // namespace

// The console as a station service: other programs read it, act on it, and hear what changes,
// each request doing what the same action in the window does.
class TestControl : public QObject
{
    Q_OBJECT

    quint16 port = 0;

    Form1 &start(ConsoleFixture &f, SettingsImage image = SettingsImage(),
                 const QString &host = QStringLiteral("127.0.0.1"))
    {
        port = freeLocalPort();
        ConsoleEnvironment env = f.environment();
        env.controlAddress = QStringLiteral("%1:%2").arg(host).arg(port);
        f.writeSettings(image.port(1).bytes());
        Form1 &form = f.start(env);
        form.show();
        f.pty.drain();
        return form;
    }

private slots:
    void aRecallIsTheWindowsRecallAndReachesEverySubscriber()
    {
        ConsoleFixture f;
        start(f, SettingsImage().slot(at(1, "40 м", 2), 37, 12, 1));
        Client a, b, c;
        QVERIFY(a.connect(port) && b.connect(port) && c.connect(port));
        for (Client *s : {&a, &b}) {
            QCOMPARE(s->ask("\\subscribe"), QByteArray("RPRT 0"));
            QVERIFY(s->line().startsWith("!state Antenna=1 Band=160m Subband=1 "));
        }
        QCOMPARE(c.ask("\\recall 1 40m 2"), QByteArray("RPRT 0"));
        QCOMPARE(packetsOf(f.pty.read()),
                 (QList<QByteArray>{packet(1, 37, 0), packet(2, 12, 0), packet(3, 1, 0)}));
        const QByteArray device = f.pty.device().toLatin1();
        for (Client *s : {&a, &b})
            QCOMPARE(s->state(), "!state Antenna=1 Band=40m Subband=2 C=37 L=12 C_pF=0 L_uH=0 "
                                 "Side=Tx Port=open PortNumber=1 Device=" +
                                     device +
                                     " Transmitting=unknown Interlock=none Frequency=unknown "
                                     "Memory=none "
                                     "Saved=1 Delivered=1");
        // The window's own captions and a band's number name it too.
        QCOMPARE(c.ask("\\recall 3 Д 5"), QByteArray("RPRT 0"));
        QCOMPARE(packetsOf(f.pty.read()).size(), 3);
        QCOMPARE(c.ask("\\recall 1 11 1"), QByteArray("RPRT -1"));
        QCOMPARE(c.ask("\\unknown"), QByteArray("RPRT -4"));
        // The extended form names its values.
        c.socket.write("+\\get_slot 1 40m 2\n");
        QCOMPARE(c.line(), QByteArray("get_slot: 1 40m 2"));
        QCOMPARE(c.line(), QByteArray("C: 37"));
    }

    void anEntryAndAStoreWriteTheSlot()
    {
        ConsoleFixture f;
        Form1 &form = start(f);
        Client c;
        QVERIFY(c.connect(port));
        QCOMPARE(c.ask("\\set_c 37"), QByteArray("RPRT 0"));
        QCOMPARE(packetsOf(f.pty.read()), QList<QByteArray>{packet(1, 37, 0)});
        QCOMPARE(c.ask("\\set_side Tx"), QByteArray("RPRT 0"));
        QCOMPARE(packetsOf(f.pty.read()), QList<QByteArray>{packet(3, 1, 0)});
        QCOMPARE(c.ask("\\store"), QByteArray("RPRT 0"));
        QCOMPARE(f.stored().slot(at(1, "160 м", 1)), (RelaySetting{37, 0, 1}));
        QCOMPARE(f.control<QLineEdit>("txtCEnter")->text(), QStringLiteral("37"));
        QCOMPARE(c.ask("\\set_c 256"), QByteArray("RPRT -1"));
        QVERIFY(f.pty.read(100).isEmpty());
        // A change in the window is pushed.
        QCOMPARE(c.ask("\\subscribe"), QByteArray("RPRT 0"));
        QVERIFY(c.line().startsWith("!state"));
        clickCentre(f.relayBit('L', 2));
        QVERIFY(c.state().contains(" L=4 "));
        Q_UNUSED(form);
    }

    void aNinthClientIsTurnedAway()
    {
        ConsoleFixture f;
        Form1 &form = start(f);
        std::array<Client, ControlPort::MaxClients> clients;
        for (Client &c : clients) {
            QVERIFY(c.connect(port));
            QCOMPARE(c.ask("\\get_state").isEmpty(), false);
        }
        QCOMPARE(form.features().controlPort()->clientCount(), ControlPort::MaxClients);
        // A ninth is turned away when it asks for something, no earlier: every client is
        // still heard from.
        Client ninth;
        QVERIFY(ninth.connect(port));
        QCOMPARE(ninth.ask("\\get_state"), QByteArray("RPRT -9"));
        QTRY_COMPARE(ninth.socket.state(), QAbstractSocket::UnconnectedState);
    }

    void aClientThatNeverReadsIsDroppedAndDelaysNothing()
    {
        ConsoleFixture f;
        Form1 &form = start(f);
        Client sleeper;
        sleeper.socket.setSocketOption(QAbstractSocket::ReceiveBufferSizeSocketOption, 4096);
        QVERIFY(sleeper.connect(port));
        QCOMPARE(sleeper.ask("\\subscribe"), QByteArray("RPRT 0"));
        sleeper.socket.setReadBufferSize(1);
        // Much more than it can hold, pushed as fast as the console can.
        LineLog &log = form.panel().lineLog();
        QElapsedTimer clock;
        clock.start();
        for (int i = 0; i < 3000 && form.features().controlPort()->clientCount() > 0; ++i) {
            LineLog::Entry entry;
            entry.kind = LineLog::Entry::Failed;
            entry.text = QString(400, QLatin1Char('x'));
            log.add(entry);
            QCoreApplication::processEvents();
        }
        QCOMPARE(form.features().controlPort()->clientCount(), 0);
        clock.restart();
        clickCentre(f.relayBit('C', 0));
        QCOMPARE(packetsOf(f.pty.read()), QList<QByteArray>{packet(1, 1, 0)});
        QVERIFY(clock.elapsed() < 1000);
    }

    void garbageLongLinesAndSilenceLeaveItWorking()
    {
        ConsoleFixture f;
        start(f);
        Client silent;
        QVERIFY(silent.connect(port)); // never says a word
        Client noisy;
        QVERIFY(noisy.connect(port));
        QByteArray junk;
        for (int i = 0; i < 4096; ++i)
            junk += char(i * 7919 % 256);
        noisy.socket.write(junk + "\n\n\\\n+\n");
        Client flood;
        QVERIFY(flood.connect(port));
        flood.socket.write(QByteArray(1 << 20, 'x'));
        QTRY_COMPARE(flood.socket.state(), QAbstractSocket::UnconnectedState);
        Client good;
        QVERIFY(good.connect(port));
        QCOMPARE(good.ask("\\set_c 5"), QByteArray("RPRT 0"));
        QCOMPARE(packetsOf(f.pty.read()), QList<QByteArray>{packet(1, 5, 0)});
    }

    void whileTheRadioTransmitsRelaysAreRefused()
    {
        Rigctld rig;
        QVERIFY(rig.start());
        ConsoleFixture f;
        port = freeLocalPort();
        ConsoleEnvironment env = f.following(rig.address());
        env.controlAddress = QString::number(port);
        f.writeSettings(SettingsImage().port(1).bytes());
        Form1 &form = f.start(env);
        QTRY_VERIFY(form.panel().state().radio.connected);
        QVERIFY(rig.tell("T 1"));
        QTRY_VERIFY(form.panel().state().held);
        f.pty.drain();
        Client c;
        QVERIFY(c.connect(port));
        QCOMPARE(c.ask("\\set_c 5"), QByteArray("RPRT -9"));
        QCOMPARE(c.ask("\\recall 1 20m 1"), QByteArray("RPRT -9"));
        QVERIFY(f.pty.read(200).isEmpty());
        QVERIFY(rig.tell("T 0"));
        QTRY_VERIFY(!form.panel().state().held);
        QCOMPARE(c.ask("\\set_c 5"), QByteArray("RPRT 0"));
    }

    void beyondThisComputerOnlyWithAPasswordAndTls()
    {
        // 0.0.0.0 is every address, not loopback; the test reaches it through 127.0.0.1.
        {
            ConsoleFixture f;
            Form1 &form = start(f, SettingsImage(), QStringLiteral("0.0.0.0"));
            QVERIFY(!form.features().controlPort());
            Client c;
            QVERIFY(!c.connect(port));
        }
        ConsoleFixture f;
        Credentials::store(f.userSettings, QStringLiteral("control/password"),
                           QStringLiteral("s3cret"));
        Form1 &form = start(f, SettingsImage(), QStringLiteral("0.0.0.0"));
        QVERIFY(form.features().controlPort() && form.features().controlPort()->secure());
        // Plain text gets nothing.
        Client plain;
        QVERIFY(plain.connect(port));
        plain.socket.write("\\get_state\n");
        QCOMPARE(plain.line(1500), QByteArray());
        // TLS, by the console's own certificate.
        Identity identity;
        QString error;
        QVERIFY2(identity.loadOrCreate(f.environment().dataDir, &error), qPrintable(error));
        Client good;
        QVERIFY2(good.connect(port, true), qPrintable(good.socket.errorString()));
        QCOMPARE(Identity::fingerprintOf(good.socket.peerCertificate()), identity.fingerprint());
        QCOMPARE(good.ask("\\get_state"), QByteArray("RPRT -19"));
        QCOMPARE(good.ask("\\auth s3cret"), QByteArray("RPRT 0"));
        QCOMPARE(good.ask("\\set_c 9"), QByteArray("RPRT 0"));
        QCOMPARE(packetsOf(f.pty.read()), QList<QByteArray>{packet(1, 9, 0)});
        // Five wrong passwords: closed, and the address waits.
        Client bad;
        QVERIFY(bad.connect(port, true));
        for (int i = 0; i < ControlPort::MaxFailures; ++i)
            QCOMPARE(bad.ask("\\auth guess" + QByteArray::number(i)), QByteArray("RPRT -19"));
        QTRY_COMPARE(bad.socket.state(), QAbstractSocket::UnconnectedState);
        Client again;
        again.connect(port, true);
        QVERIFY(again.ask("\\auth s3cret") != "RPRT 0"); // even the right one waits now
        // The password is nowhere in the settings, only its hash.
        QVERIFY(!f.userSettings.value("control/password").toString().contains("s3cret"));
    }

    void aConsoleWithoutAScreenServesTheSameAndEndsOnSigterm()
    {
        ProgramFolder folder;
        PseudoTerminal line;
        const QByteArray before = SettingsImage().slot(at(1, "40 м", 2), 7, 8, 0).port(1).bytes();
        QFile conf(folder.settingsPath());
        QVERIFY(conf.open(QIODevice::WriteOnly) && conf.write(before) == before.size());
        conf.close();
        const quint16 where = freeLocalPort();
        QProcess console;
        QProcessEnvironment env = folder.environment();
        env.remove(QStringLiteral("QT_QPA_PLATFORM"));
        env.remove(QStringLiteral("DISPLAY"));
        console.setProcessEnvironment(env);
        console.start(folder.program("orvane"),
                      {"--headless", "--control", QString::number(where), "--port",
                       QStringLiteral("1=%1").arg(line.device())});
        Client c;
        QTRY_VERIFY_WITH_TIMEOUT(c.connect(where), 10000);
        QCOMPARE(c.ask("\\recall 1 40m 2"), QByteArray("RPRT 0"));
        QCOMPARE(packetsOf(line.read()),
                 (QList<QByteArray>{packet(1, 7, 0), packet(2, 8, 0), packet(3, 0, 0)}));
        // orvane-ctl says the same.
        QProcess ctl;
        ctl.start(folder.program("orvane-ctl"),
                  {"-H", QStringLiteral("127.0.0.1:%1").arg(where), "\\get_state"});
        QVERIFY(ctl.waitForFinished(10000));
        QCOMPARE(ctl.exitCode(), 0);
        QVERIFY(ctl.readAllStandardOutput().contains("Band: 40m"));
        ctl.start(folder.program("orvane-ctl"),
                  {"-H", QStringLiteral("127.0.0.1:%1").arg(where), "\\set_c", "300"});
        QVERIFY(ctl.waitForFinished(10000));
        QCOMPARE(ctl.exitCode(), 1);

        ::kill(pid_t(console.processId()), SIGTERM);
        QVERIFY(console.waitForFinished(10000));
        QCOMPARE(console.exitStatus(), QProcess::NormalExit);
        QCOMPARE(console.exitCode(), 0);
        QVERIFY(conf.open(QIODevice::ReadOnly));
        QCOMPARE(conf.readAll(), before); // nothing it was not asked to write
    }
};

QTEST_MAIN(TestControl)
#include "tst_control.moc"
