#include "console/form1.h"
#include "support/consolefixture.h"
#include "support/programs.h"

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QTest>

#include <csignal>

// The real console against the real virtual controller on a pseudo-terminal.
class TestSimLine : public QObject
{
    Q_OBJECT

    // A running orvane-sim whose line a console reaches through a link that survives unplugs.
    struct Controller
    {
        QTemporaryDir temp;
        QProcess process;
        QString link() const { return temp.filePath(QStringLiteral("tuner")); }
        QString logPath() const { return temp.filePath(QStringLiteral("log.jsonl")); }
        bool start()
        {
            const QString device = startAndReadLine(
                process, builtProgram(QStringLiteral("orvane-sim")),
                {QStringLiteral("--headless"), QStringLiteral("--pty"), QStringLiteral("--link"),
                 link(), QStringLiteral("--log"), logPath()});
            return device.startsWith(QStringLiteral("/dev/"));
        }
        QList<QJsonObject> log() const
        {
            QFile file(logPath());
            QList<QJsonObject> lines;
            if (file.open(QIODevice::ReadOnly)) {
                for (const QByteArray &line : file.readAll().split('\n')) {
                    if (!line.isEmpty())
                        lines << QJsonDocument::fromJson(line).object();
                }
            }
            return lines;
        }
        ~Controller()
        {
            process.terminate();
            process.waitForFinished(5000);
        }
    };

    static QJsonObject relays(const Controller &sim)
    {
        const QList<QJsonObject> log = sim.log();
        return log.isEmpty() ? QJsonObject() : log.last().value("relays").toObject();
    }

private slots:
    void consoleSetsTheVirtualRelays()
    {
        Controller sim;
        QVERIFY(sim.start());
        ConsoleFixture f;
        ConsoleEnvironment env = f.environment();
        env.ports.map(1, sim.link());
        f.writeSettings(SettingsImage().slot(300, 0x11, 0x22, 0).byte(455, 1).bytes());
        Form1 &form = f.start(env);
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QVERIFY(form.comPort1().PortOpen());

        clickCentre(f.control("tglC7"));
        clickCentre(f.control("tglL0"));
        QTRY_COMPARE(sim.log().size(), 2);
        QCOMPARE(relays(sim).value("C").toInt(), 128);
        QCOMPARE(relays(sim).value("L").toInt(), 1);

        clickCentre(f.control("OptAnt3"));
        QTRY_COMPARE(sim.log().size(), 5);
        QCOMPARE(relays(sim), (QJsonObject{{"C", 0x11}, {"L", 0x22}, {"side", 0}, {"flag", 1}}));

        clickCentre(f.control("Opt1"));
        QTRY_COMPARE(sim.log().size(), 6);
        QCOMPARE(relays(sim).value("side").toInt(), 1);

        clickCentre(f.control("cmdSave1"));
        QTest::qWait(300);
        QCOMPARE(sim.log().size(), 6); // Save sends nothing
        QCOMPARE(f.settings().mid(300, 3), QByteArray::fromHex("112201"));
        for (const QJsonObject &line : sim.log())
            QVERIFY(!line.contains("error"));
    }

    void anUnpluggedControllerTurnsTheLabelRedAndRefreshRecovers()
    {
        Controller sim;
        QVERIFY(sim.start());
        ConsoleFixture f;
        ConsoleEnvironment env = f.environment();
        env.ports.map(1, sim.link());
        f.writeSettings(SettingsImage().slot(0, 7, 8, 1).byte(455, 1).bytes());
        Form1 &form = f.start(env);
        form.show();
        clickCentre(f.control("cmdIncrementC"));
        QTRY_COMPARE(sim.log().size(), 1);

        ::kill(static_cast<pid_t>(sim.process.processId()), SIGUSR1);
        QTRY_VERIFY(sim.process.canReadLine()); // the new device
        clickCentre(f.control("cmdIncrementC"));
        auto *label = f.control<QLabel>("Label3");
        QCOMPARE(label->palette().color(QPalette::WindowText), QColor(255, 0, 0));
        QVERIFY(label->toolTip().startsWith(QStringLiteral("Ошибка открытия Com-порта")));

        clickCentre(f.control("cmdRefresh"));
        QCOMPARE(label->palette().color(QPalette::WindowText), QColor(0, 0, 0));
        QTRY_COMPARE(sim.log().size(), 4);
        QCOMPARE(relays(sim), (QJsonObject{{"C", 7}, {"L", 8}, {"side", 1}, {"flag", 0}}));
    }
};

QTEST_MAIN(TestSimLine)
#include "tst_simline.moc"
