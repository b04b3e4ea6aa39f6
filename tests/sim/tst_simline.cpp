#include "console/form1.h"
#include "support/consolefixture.h"
#include "support/station.h"

#include <QJsonObject>
#include <QLabel>
#include <QTest>

#include <csignal>

// The real console against the real virtual controller on a pseudo-terminal.
class TestSimLine : public QObject
{
    Q_OBJECT

private slots:
    void consoleSetsTheVirtualRelays()
    {
        SimProcess sim;
        QVERIFY(sim.start());
        ConsoleFixture f;
        ConsoleEnvironment env = f.environment();
        env.ports.map(1, sim.link());
        f.writeSettings(SettingsImage().slot(at(3, "160 м", 1), 0x11, 0x22, 0).port(1).bytes());
        Form1 &form = f.start(env);
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QVERIFY(form.comPort1().PortOpen());

        clickCentre(f.relayBit('C', 7));
        clickCentre(f.relayBit('L', 0));
        QTRY_COMPARE(sim.log().size(), 2);
        QCOMPARE(sim.relays().value("C").toInt(), 128);
        QCOMPARE(sim.relays().value("L").toInt(), 1);

        clickCentre(f.antenna(3));
        QTRY_COMPARE(sim.log().size(), 5);
        QCOMPARE(sim.relays(), (QJsonObject{{"C", 0x11}, {"L", 0x22}, {"side", 0}, {"flag", 1}}));

        clickCentre(f.control("Opt1"));
        QTRY_COMPARE(sim.log().size(), 6);
        QCOMPARE(sim.relays().value("side").toInt(), 1);

        clickCentre(f.control("cmdSave1"));
        QTest::qWait(300);
        QCOMPARE(sim.log().size(), 6); // Save sends nothing
        QCOMPARE(f.stored().slot(at(3, "160 м", 1)), (RelaySetting{0x11, 0x22, 1}));
        for (const QJsonObject &line : sim.log())
            QVERIFY(!line.contains("error"));
    }

    void anUnpluggedControllerTurnsTheLabelRedAndRefreshRecovers()
    {
        SimProcess sim;
        QVERIFY(sim.start());
        ConsoleFixture f;
        ConsoleEnvironment env = f.environment();
        env.ports.map(1, sim.link());
        f.writeSettings(SettingsImage().slot(at(1, "160 м", 1), 7, 8, 1).port(1).bytes());
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
        QTRY_COMPARE(label->palette().color(QPalette::WindowText), QColor(0, 0, 0));
        QTRY_COMPARE(sim.log().size(), 4);
        QCOMPARE(sim.relays(), (QJsonObject{{"C", 7}, {"L", 8}, {"side", 1}, {"flag", 0}}));
    }
};

QTEST_MAIN(TestSimLine)
#include "tst_simline.moc"
