#include "console/features.h"
#include "console/form1.h"
#include "control/commands.h"
#include "dialogs/tunedialog.h"
#include "panel/panel.h"
#include "rig/following.h"
#include "rig/rigctldclient.h"
#include "support/consolefixture.h"
#include "support/fakedaemon.h"
#include "support/station.h"
#include "tune/tuning.h"
#include "tunes/frequencymemory.h"

#include <QJsonObject>
#include <QMenu>
#include <QPushButton>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>

// The matching search in the real console against the virtual controller's simulated
// station.
class TestTune : public QObject
{
    Q_OBJECT

    // A virtual controller playing the station's radio, an antenna on its output.
    struct Station : SimProcess
    {
        quint16 radioPort = freeLocalPort();
        bool start(const QString &load)
        {
            return SimProcess::start({"--steps", "10,500", "--load", load, "--rigctld",
                                      QStringLiteral("127.0.0.1:%1").arg(radioPort)});
        }
        bool tell(const QByteArray &command) { return tellRig(radioPort, command); }
    };

    // A console on the station's line and radio, 40 m, steps 10 pF and 500 nH.
    static Form1 &startConsole(ConsoleFixture &f, Station &station)
    {
        ConsoleEnvironment env = f.environment();
        env.ports.map(1, station.link());
        env.rigAddress = QStringLiteral("127.0.0.1:%1").arg(station.radioPort);
        f.userSettings.setValue("rig/poll_ms", 100);
        f.writeSettings(SettingsImage()
                            .slot(at(1, "40 м", 3), 5, 6, 0)
                            .lastSaved(ConfLayout::baseOf(at(1, "40 м", 3)))
                            .port(1)
                            .steps(10, 500)
                            .bytes());
        Form1 &form = f.start(env);
        form.show();
        return form;
    }

private slots:
    void aRadioWithoutSwrLeavesTheCommandOut()
    {
        FakeDaemon radio;
        radio.answer = [](const QByteArray &line) -> QByteArray {
            if (line == "+\\get_freq")
                return "get_freq:\nFrequency: 7100000\nRPRT 0\n";
            if (line == "+\\get_ptt")
                return "get_ptt:\nPTT: 0\nRPRT 0\n";
            return "RPRT -11\n";
        };
        ConsoleFixture f;
        ConsoleEnvironment env = f.environment();
        env.rigAddress = QStringLiteral("127.0.0.1:%1").arg(radio.port());
        Form1 &form = f.start(env);
        QTRY_COMPARE(form.features().following().rig().state(), RigControl::State::Connected);
        const auto menu = form.features().contextMenu();
        QAction *tune = menu->findChild<QAction *>(QStringLiteral("startTuning"));
        QVERIFY(!tune->isEnabled());
        QVERIFY2(tune->text().contains(QStringLiteral("не сообщает КСВ")),
                 qPrintable(tune->text()));
    }

    void withoutRelayStepsTheSearchDoesNotStartAndLeadsToThem()
    {
        FakeDaemon radio;
        radio.answer = [](const QByteArray &line) -> QByteArray {
            if (line == "+\\get_freq")
                return "get_freq:\nFrequency: 7100000\nRPRT 0\n";
            if (line == "+\\get_ptt")
                return "get_ptt:\nPTT: 1\nRPRT 0\n";
            if (line == "+\\get_level SWR")
                return "get_level: SWR\n2.000000\nRPRT 0\n";
            return "RPRT -11\n";
        };
        ConsoleFixture f;
        ConsoleEnvironment env = f.environment();
        env.rigAddress = QStringLiteral("127.0.0.1:%1").arg(radio.port());
        f.writeSettings(SettingsImage().port(1).bytes()); // a fresh install: steps of 0
        Form1 &form = f.start(env);
        QTRY_COMPARE(form.features().following().rig().state(), RigControl::State::Connected);
        // What the radio reports is known only after its first poll.
        QTRY_VERIFY(form.features().following().rig().reportsSwr() &&
                    form.features().following().rig().ptt() != RigControl::Ptt::Unknown);
        const auto menu = form.features().contextMenu();
        QAction *tune = menu->findChild<QAction *>(QStringLiteral("startTuning"));
        QVERIFY2(tune->text().contains(QStringLiteral("шаги")), qPrintable(tune->text()));
        f.pty.drain();
        f.dialogs.answers << QStringLiteral("yes") << QStringLiteral("12") << QStringLiteral("50");
        tune->trigger();
        QCOMPARE(f.dialogs.messages.size(), 1);
        QVERIFY(f.dialogs.messages[0].text.contains(QStringLiteral("не начнётся")));
        QCOMPARE(f.dialogs.questions.size(), 2); // the step options, asked as "..." asks them
        QCOMPARE(f.stored().stepC(), quint8(12));
        QVERIFY(!form.features().tuning().session());
        QVERIFY(f.pty.read(200).isEmpty()); // no relay moved
    }

    void aSearchAtTheRadioEndsInTheSlot()
    {
        Station station;
        QVERIFY(station.start(QStringLiteral("7.1:300,-150")));
        ConsoleFixture f;
        Form1 &form = startConsole(f, station);
        QTRY_VERIFY(form.features().tuning().unavailable().isEmpty());
        const int before = int(station.log().size());
        LNetwork::Setting found;
        QList<QByteArray> pushed;
        f.dialogs.onExec = [&](QDialog &dialog) {
            auto &tuning = static_cast<TuneDialog &>(dialog);
            // What the control port pushes to its clients on every change.
            connect(&tuning.session(), &TuneSession::changed, this,
                    [&] { pushed << ControlCommands::tuneLine(tuning.session()); });
            QTest::qWait(200);
            QCOMPARE(tuning.session().state(), TuneSession::State::WaitingForCarrier);
            QVERIFY(!dialog.findChild<QPushButton *>(QStringLiteral("store"))->isVisible());
            QVERIFY(station.tell("T 1")); // the operator keys a carrier
            QTRY_COMPARE_WITH_TIMEOUT(tuning.session().state(), TuneSession::State::Found, 30000);
            QVERIFY(station.tell("T 0"));
            found = *tuning.session().best();
            QVERIFY(tuning.session().bestSwr() < 1.3);
            clickCentre(dialog.findChild<QPushButton *>(QStringLiteral("store")));
        };
        form.features().startTuning();
        QCOMPARE(f.stored().slot(at(1, "40 м", 3)), found);
        // Each change is told once: no line the same as the one before it.
        QVERIFY(pushed.size() > 2);
        for (qsizetype i = 1; i < pushed.size(); ++i)
            QVERIFY2(pushed[i] != pushed[i - 1], pushed[i].constData());
        QCOMPARE(f.stored().lastSavedBase(), ConfLayout::baseOf(at(1, "40 м", 3)));
        // Each probe sent no more than one C, one L and one side packet.
        const QList<QJsonObject> log = station.log();
        QTRY_COMPARE(
            station.log().last().value("relays").toObject(),
            (QJsonObject{
                {"C", found.codeC}, {"L", found.codeL}, {"side", found.side}, {"flag", 0}}));
        QVERIFY(log.size() - before <= 3 * 300);
    }

    void unkeyingMidSearchLeavesTheRelaysAsFollowingWould()
    {
        Station station;
        QVERIFY(station.start(QStringLiteral("7.1:8,40")));
        ConsoleFixture f;
        Form1 &form = startConsole(f, station);
        QTRY_VERIFY(form.features().tuning().unavailable().isEmpty());
        const QByteArray stored = f.settings();
        // The radio's bin has a tune of its own by now: that is what following would recall.
        const qint64 hz = *form.panel().state().radio.hz;
        QVERIFY(form.features().memory().keep(0, hz, {20, 21, 1}, 1.4, StoredTune::Source::Save,
                                              false));
        f.dialogs.onExec = [&](QDialog &dialog) {
            auto &tuning = static_cast<TuneDialog &>(dialog);
            QVERIFY(station.tell("T 1"));
            QTRY_VERIFY(tuning.session().probes() >= 3);
            QVERIFY(station.tell("T 0"));
            QTRY_COMPARE(tuning.session().state(), TuneSession::State::Stopped);
            QCOMPARE(tuning.session().stopReason(), TuneSession::Stop::CarrierGone);
        };
        form.features().startTuning();
        // The relays are the radio's bin's tune, with the three packets of a recall.
        QTRY_COMPARE(station.relays(),
                     (QJsonObject{{"C", 20}, {"L", 21}, {"side", 1}, {"flag", 0}}));
        const QList<QJsonObject> log = station.log();
        QCOMPARE(log[log.size() - 3].value("command").toString(), QStringLiteral("C"));
        QCOMPARE(log[log.size() - 2].value("command").toString(), QStringLiteral("L"));
        QCOMPARE(log.last().value("command").toString(), QStringLiteral("side"));
        QCOMPARE(f.settings(), stored);
        QCOMPARE(form.panel().state().relays, (RelaySetting{20, 21, 1}));
    }
};

QTEST_MAIN(TestTune)
#include "tst_tune.moc"
