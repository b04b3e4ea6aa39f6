#include "console/features.h"
#include "console/form1.h"
#include "console/statusstrip.h"
#include "control/controlport.h"
#include "net/credentials.h"
#include "net/listener.h"
#include "panel/panel.h"
#include "sim/loadmodel.h"
#include "sim/rigserver.h"
#include "sim/virtualcontroller.h"
#include "support/consolefixture.h"
#include "support/programs.h"
#include "support/station.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QLabel>
#include <QProcess>
#include <QSslSocket>
#include <QTest>

#include <algorithm>
#include <csignal>
#include <memory>
#include <sys/socket.h>
#include <sys/stat.h>

namespace {

// A station program on the control port, from a loopback address of its choice.
struct Client
{
    QSslSocket socket;
    bool connect(quint16 port, bool tls = false, const QString &from = {})
    {
        if (!from.isEmpty())
            socket.bind(QHostAddress(from), 0);
        if (!tls) {
            socket.connectToHost(QHostAddress::LocalHost, port);
            return socket.waitForConnected(3000);
        }
        socket.setPeerVerifyMode(QSslSocket::VerifyNone);
        socket.connectToHostEncrypted(QStringLiteral("127.0.0.1"), port);
        QElapsedTimer clock;
        clock.start();
        while (!socket.isEncrypted() && clock.elapsed() < 5000 &&
               socket.state() != QAbstractSocket::UnconnectedState)
            QTest::qWait(5);
        return socket.isEncrypted();
    }
    QByteArray line(int ms = 3000)
    {
        QElapsedTimer clock;
        clock.start();
        while (!socket.canReadLine() && clock.elapsed() < ms &&
               socket.state() == QAbstractSocket::ConnectedState)
            QTest::qWait(2);
        return socket.canReadLine() ? socket.readLine().trimmed() : QByteArray();
    }
    QByteArray ask(const QByteArray &command, int ms = 3000)
    {
        socket.write(command + '\n');
        return line(ms);
    }
    // A value of the extended state.
    QByteArray state(const QByteArray &key)
    {
        socket.write("+\\get_state\n");
        QByteArray value;
        for (QByteArray l = line(); !l.isEmpty() && !l.startsWith("RPRT"); l = line()) {
            if (l.startsWith(key + ": "))
                value = l.mid(key.size() + 2);
        }
        return value;
    }
    bool closed(int ms = 3000)
    {
        QElapsedTimer clock;
        clock.start();
        while (socket.state() != QAbstractSocket::UnconnectedState && clock.elapsed() < ms)
            QTest::qWait(5);
        return socket.state() == QAbstractSocket::UnconnectedState;
    }
};

} // namespace

// The doors of a console in a station: nothing a browser's page, an idle or abandoned
// connection or a guesser does may move the relays or keep the operator out.
class TestDoors : public QObject
{
    Q_OBJECT

    quint16 port = 0;

    Form1 &start(ConsoleFixture &f, const QString &host = QStringLiteral("127.0.0.1"),
                 SettingsImage image = SettingsImage())
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
    Form1 &startSecure(ConsoleFixture &f)
    {
        Credentials::store(f.userSettings, QStringLiteral("control/password"),
                           QStringLiteral("s3cret-enough"));
        return start(f, QStringLiteral("0.0.0.0"));
    }

private slots:
    void aBrowsersPostToTheControlPortRunsNothing_data()
    {
        QTest::addColumn<QByteArray>("request");
        QTest::newRow("POST") << QByteArray("POST / HTTP/1.1\r\nHost: 127.0.0.1:4534\r\n"
                                            "Content-Type: text/plain\r\nContent-Length: 30\r\n"
                                            "\r\n\\set_l 202\n\\set_side Ant\n");
        QTest::newRow("OPTIONS") << QByteArray("OPTIONS / HTTP/1.0\r\n\r\n\\set_l 202\n");
        QTest::newRow("a header first") << QByteArray("Origin: http://evil.example\n\\set_l 202\n");
    }
    void aBrowsersPostToTheControlPortRunsNothing()
    {
        QFETCH(QByteArray, request);
        ConsoleFixture f;
        start(f);
        Client c;
        QVERIFY(c.connect(port));
        c.socket.write(request);
        QVERIFY(c.closed());
        QVERIFY(f.pty.read(300).isEmpty());
        // The simulated radio's rigctld takes no command from a browser either.
        VirtualController controller;
        RigServer radio(controller, LoadModel(), 7.1e6);
        QString error;
        QVERIFY2(radio.listen({QStringLiteral("127.0.0.1"), 0}, &error), qPrintable(error));
        QTcpSocket page;
        page.connectToHost(QHostAddress::LocalHost, HostPort::parse(radio.where())->port);
        QVERIFY(page.waitForConnected(3000));
        page.write(QByteArray(request).replace("\\set_l 202", "F 14000000"));
        QTRY_COMPARE(page.state(), QAbstractSocket::UnconnectedState);
        QCOMPARE(radio.frequency(), 7.1e6);
    }

    void aClientThatHasSaidAllStillHearsEveryAnswer()
    {
        ConsoleFixture f;
        start(f, QStringLiteral("127.0.0.1"), SettingsImage().slot(at(1, "40 м", 2), 7, 8, 1));
        // As `printf '\recall …\n' | nc -q1` sends it: the line, then the end of input.
        for (int i = 0; i < 20; ++i) {
            Client c;
            QVERIFY(c.connect(port));
            c.socket.write(i % 2 ? "\\recall 1 40m 2\n\\get_slot 1 40m 2\n" : "\\recall 1 40m 2\n");
            c.socket.flush();
            QCOMPARE(::shutdown(int(c.socket.socketDescriptor()), SHUT_WR), 0);
            QCOMPARE(c.line(), QByteArray("RPRT 0"));
            if (i % 2)
                QCOMPARE(c.line(), QByteArray("7"));
        }
    }

    void abandonedConnectionsKeepNoTlsClientOut()
    {
        ConsoleFixture f;
        startSecure(f);
        // Five hundred that connect and go without a handshake, a few that stay and say
        // nothing, a few that speak plain HTTP to it.
        for (int i = 0; i < 500; ++i) {
            QTcpSocket abandoned;
            abandoned.connectToHost(QHostAddress::LocalHost, port);
            abandoned.waitForConnected(1000);
            abandoned.abort();
            if (i % 50 == 0)
                QCoreApplication::processEvents();
        }
        std::vector<std::unique_ptr<QTcpSocket>> silent;
        for (int i = 0; i < Listener::MaxHandshakes + 8; ++i) {
            silent.push_back(std::make_unique<QTcpSocket>());
            silent.back()->connectToHost(QHostAddress::LocalHost, port);
            // The console accepts in this same event loop.
            QTRY_VERIFY(silent.back()->state() != QAbstractSocket::ConnectingState);
            if (i % 2)
                silent.back()->write("GET / HTTP/1.1\r\nHost: x\r\n\r\n");
        }
        QTest::qWait(100);
        QElapsedTimer clock;
        clock.start();
        Client good;
        QVERIFY2(good.connect(port, true), qPrintable(good.socket.errorString()));
        QCOMPARE(good.ask("\\auth s3cret-enough"), QByteArray("RPRT 0"));
        QVERIFY(clock.elapsed() < 5000);
    }

    void guessesFromManyAddressesNeverKeepTheOperatorWaiting()
    {
        ConsoleFixture f;
        startSecure(f);
        Client operatorClient;
        QVERIFY(operatorClient.connect(port, true));
        QCOMPARE(operatorClient.ask("\\auth s3cret-enough", 10000), QByteArray("RPRT 0"));
        // Twenty addresses, five guesses each, all at once.
        std::vector<std::unique_ptr<Client>> guessers;
        for (int a = 0; a < 20; ++a) {
            for (int g = 0; g < 5; ++g) {
                auto guesser = std::make_unique<Client>();
                if (guesser->connect(port, true, QStringLiteral("127.0.0.%1").arg(a + 2)))
                    guesser->socket.write("\\auth guess" + QByteArray::number(g) + '\n');
                guessers.push_back(std::move(guesser));
            }
        }
        QList<qint64> waits;
        for (int i = 0; i < 30; ++i) {
            QElapsedTimer clock;
            clock.start();
            QVERIFY(operatorClient.ask("\\get_slot 1 40m 2").startsWith("0"));
            operatorClient.line();
            operatorClient.line();
            waits << clock.elapsed();
            QTest::qWait(20);
        }
        std::sort(waits.begin(), waits.end());
        QVERIFY2(waits[waits.size() / 2] < 200,
                 qPrintable(QString::number(waits[waits.size() / 2])));
        QVERIFY2(waits.last() < 1000, qPrintable(QString::number(waits.last())));
    }

    void guessesSentSideBySideCountEachOne()
    {
        ConsoleFixture f;
        startSecure(f);
        // Seven connections made in advance, a wrong guess on each in turn: after the fifth the
        // address is locked out, and the connections still open guess no more, the right
        // password included.
        std::array<Client, 7> clients;
        for (Client &c : clients)
            QVERIFY(c.connect(port, true, QStringLiteral("127.0.0.9")));
        for (int i = 0; i < Lockout::MaxFailures; ++i)
            QCOMPARE(clients[i].ask("\\auth guess", 10000), QByteArray("RPRT -19"));
        QCOMPARE(clients[5].ask("\\auth s3cret-enough", 10000), QByteArray("RPRT -19"));
        QVERIFY(clients[5].closed());
        QVERIFY(clients[6].ask("\\auth s3cret-enough", 10000) != "RPRT 0");
        // Another address is not held by it.
        Client other;
        QVERIFY(other.connect(port, true, QStringLiteral("127.0.0.10")));
        QCOMPARE(other.ask("\\auth s3cret-enough", 10000), QByteArray("RPRT 0"));
    }

    void hostileClientsNeverKeepANinthOutLong()
    {
        {
            // Eight TLS clients that never give the password hold no place.
            ConsoleFixture f;
            Form1 &form = startSecure(f);
            std::array<Client, ControlPort::MaxClients> idle;
            for (Client &c : idle)
                QVERIFY(c.connect(port, true));
            Client ninth;
            QVERIFY(ninth.connect(port, true));
            QCOMPARE(ninth.ask("\\auth s3cret-enough", 10000), QByteArray("RPRT 0"));
            QVERIFY(ninth.ask("\\get_slot 1 40m 2").startsWith("0"));
            QTRY_COMPARE_WITH_TIMEOUT(form.features().controlPort()->clientCount(), 1, 8000);
        }
        ConsoleFixture f;
        Form1 &form = start(f);
        // On loopback: eight that say nothing hold nothing.
        {
            std::array<Client, ControlPort::MaxClients> idle;
            for (Client &c : idle)
                QVERIFY(c.connect(port));
            Client ninth;
            QVERIFY(ninth.connect(port));
            QVERIFY(ninth.ask("\\get_slot 1 40m 2").startsWith("0"));
        }
        // Eight that asked once and fell silent: a newcomer gets a place once one of them
        // has been silent long enough.
        std::array<Client, ControlPort::MaxClients> silent;
        for (Client &c : silent) {
            QVERIFY(c.connect(port));
            QVERIFY(c.ask("\\get_slot 1 40m 2").startsWith("0"));
        }
        QTRY_COMPARE(form.features().controlPort()->clientCount(), ControlPort::MaxClients);
        QElapsedTimer clock;
        clock.start();
        QByteArray answer;
        while (clock.elapsed() < 15000 && !answer.startsWith("0")) {
            Client ninth;
            QVERIFY(ninth.connect(port));
            answer = ninth.ask("\\get_slot 1 40m 2");
            if (!answer.startsWith("0"))
                QTest::qWait(500);
        }
        QVERIFY(answer.startsWith("0"));
        QVERIFY2(clock.elapsed() <= ControlPort::SilentMs + 1000,
                 qPrintable(QString::number(clock.elapsed())));
    }

    void aPasswordIsLongEnoughAndItsFileTheUsersAlone()
    {
        ProgramFolder folder;
        QProcessEnvironment env = folder.environment();
        const QString config = env.value(QStringLiteral("HOME")) + "/.config/Orvane/Orvane.conf";
        // A settings file left readable by all from before is made the user's alone.
        QDir().mkpath(QFileInfo(config).absolutePath());
        QFile old(config);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("[rig]\naddress=localhost\n");
        old.close();
        QVERIFY(old.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup |
                                   QFile::ReadOther));
        QProcess set;
        set.setProcessEnvironment(env);
        set.start(folder.program("orvane"), {"--set-control-password"});
        set.write("short\n");
        set.closeWriteChannel();
        QVERIFY(set.waitForFinished(10000));
        QCOMPARE(set.exitCode(), 1);
        QVERIFY(set.readAllStandardError().contains("at least 8 characters"));
        struct stat info
        {};
        QCOMPARE(::stat(QFile::encodeName(config).constData(), &info), 0);
        QCOMPARE(info.st_mode & 0777, mode_t(0600));
        set.start(folder.program("orvane"), {"--set-control-password"});
        set.write("long enough\nlong enough\n");
        set.closeWriteChannel();
        QVERIFY(set.waitForFinished(10000));
        QCOMPARE(set.exitCode(), 0);
        QCOMPARE(::stat(QFile::encodeName(config).constData(), &info), 0);
        QCOMPARE(info.st_mode & 0777, mode_t(0600));
        QVERIFY(QFile(config).open(QIODevice::ReadOnly));
    }

    void aHeadlessConsoleEndsWhenItsDoorDoesNotOpenAndSurvivesSigpipe()
    {
        ProgramFolder folder;
        PseudoTerminal line;
        QProcessEnvironment env = folder.environment();
        env.remove(QStringLiteral("QT_QPA_PLATFORM"));
        env.remove(QStringLiteral("DISPLAY"));
        const quint16 where = freeLocalPort();
        // Beyond loopback without a password: refused, and the service says so by its end.
        QProcess refused;
        refused.setProcessEnvironment(env);
        refused.start(folder.program("orvane"),
                      {"--headless", "--control", QStringLiteral("0.0.0.0:%1").arg(where), "--port",
                       QStringLiteral("1=%1").arg(line.device())});
        QVERIFY(refused.waitForFinished(10000));
        QCOMPARE(refused.exitStatus(), QProcess::NormalExit);
        QCOMPARE(refused.exitCode(), 1);
        QVERIFY(refused.readAllStandardError().contains("orvane --set-control-password"));

        // A broken pipe ends nothing: the console serves on and leaves as it should.
        QProcess console;
        console.setProcessEnvironment(env);
        console.start(folder.program("orvane"),
                      {"--headless", "--control", QString::number(where), "--port",
                       QStringLiteral("1=%1").arg(line.device())});
        Client c;
        QTRY_VERIFY_WITH_TIMEOUT(c.connect(where), 10000);
        ::kill(pid_t(console.processId()), SIGPIPE);
        QTest::qWait(300);
        QCOMPARE(console.state(), QProcess::Running);
        QVERIFY(c.ask("\\get_slot 1 40m 2").startsWith("0"));
        ::kill(pid_t(console.processId()), SIGTERM);
        QVERIFY(console.waitForFinished(10000));
        QCOMPARE(console.exitCode(), 0);
        // Its lock went with it: the next console starts.
        console.start(folder.program("orvane"),
                      {"--headless", "--control", QString::number(where), "--port",
                       QStringLiteral("1=%1").arg(line.device())});
        Client again;
        QTRY_VERIFY_WITH_TIMEOUT(again.connect(where), 10000);
        ::kill(pid_t(console.processId()), SIGTERM);
        QVERIFY(console.waitForFinished(10000));
    }

    void aStalledLineIsSaidAndWhatTheRadioAskedGoesOnceItMoves()
    {
        Rigctld rig;
        QVERIFY(rig.start());
        ConsoleFixture f;
        port = freeLocalPort();
        ConsoleEnvironment env = f.following(rig.address());
        env.controlAddress = QString::number(port);
        f.writeSettings(SettingsImage()
                            .slot(at(1, "40 м", 2), 45, 71, 0)
                            .slot(at(1, "20 м", 3), 80, 126, 1)
                            .port(1)
                            .bytes());
        Form1 &form = f.start(env);
        form.show();
        Client c;
        QVERIFY(c.connect(port));
        // Nothing of the start-up's recall reached the controller: the port was not open.
        QCOMPARE(c.state("Delivered"), QByteArray("0"));
        QTRY_VERIFY(form.panel().state().radio.connected);
        QVERIFY(rig.tell("F 7074000"));
        QTRY_COMPARE(c.state("Band"), QByteArray("40m"));
        f.pty.drain();
        QCOMPARE(c.state("Delivered"), QByteArray("1"));
        // The controller stops reading; the radio moves on.
        f.pty.stall();
        QVERIFY(rig.tell("F 14180000"));
        QTRY_COMPARE(c.state("Band"), QByteArray("20m"));
        QTRY_COMPARE(c.state("Delivered"), QByteArray("0"));
        QVERIFY(form.features().strip().undelivered()->isVisible());
        // It reads again: what the radio asked for goes out once more, whole.
        QByteArray bytes;
        QElapsedTimer clock;
        clock.start();
        while (clock.elapsed() < 5000 && !bytes.endsWith(packet(3, 1, 0))) {
            bytes += f.pty.read(0);
            QTest::qWait(10); // the console's turn
        }
        QVERIFY(bytes.endsWith(packet(1, 80, 0) + packet(2, 126, 0) + packet(3, 1, 0)));
        QTRY_COMPARE(c.state("Delivered"), QByteArray("1"));
    }
};

QTEST_MAIN(TestDoors)
#include "tst_doors.moc"
