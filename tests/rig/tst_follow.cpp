#include "console/features.h"
#include "console/form1.h"
#include "console/statusstrip.h"
#include "control/commands.h"
#include "dialogs/followdialog.h"
#include "panel/panel.h"
#include "rig/following.h"
#include "rig/rigctldclient.h"
#include "support/consolefixture.h"
#include "support/station.h"

#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QProcess>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>

// The console following a real rigctld with Hamlib's dummy rig, its transmit state readable.
class TestFollow : public QObject
{
    Q_OBJECT

    static QList<QByteArray> recall(int c, int l, int side)
    {
        return {packet(1, c, 0), packet(2, l, 0), packet(3, side, 0)};
    }
    // The packets of a recall, once it came; the event loop runs meanwhile.
    static QList<QByteArray> awaitRecall(ConsoleFixture &f)
    {
        QByteArray bytes;
        for (int i = 0; i < 250 && bytes.size() < 3 * Packet::Size; ++i) {
            QTest::qWait(20);
            bytes += f.pty.read(0);
        }
        return packetsOf(bytes);
    }
    // What the line carried over a few polls.
    static QList<QByteArray> lineOver(ConsoleFixture &f, int ms = 450)
    {
        QTest::qWait(ms);
        return packetsOf(f.pty.read(50));
    }

private slots:
    void theConsoleFollowsTheRadiosBand()
    {
        Rigctld rig;
        QVERIFY(rig.start());
        ConsoleFixture f;
        ConsoleEnvironment env = f.following(rig.address());
        // 40 m, second sub-band (7.040–7.080) and 20 m, third (14.140–14.210), antenna 1.
        f.writeSettings(SettingsImage()
                            .slot(at(1, "40 м", 2), 40, 41, 1)
                            .slot(at(1, "20 м", 3), 20, 21, 0)
                            .port(1)
                            .bytes());
        Form1 &form = f.start(env);
        form.show();
        auto &status = form.features().rigStatus();
        QTRY_VERIFY(shownText(status).contains(QStringLiteral("145,000 МГц")));
        QVERIFY(status.toolTip().contains(QString::number(rig.port)));
        QVERIFY(lineOver(f).isEmpty()); // 2 m is no band of ours

        QVERIFY(rig.tell("F 7074000"));
        QCOMPARE(awaitRecall(f), recall(40, 41, 1));
        QVERIFY(f.band("40 м")->isChecked() && f.subBand(2)->isChecked());
        QVERIFY(lineOver(f).isEmpty()); // once
        QVERIFY(rig.tell("F 7075000"));
        QVERIFY(lineOver(f).isEmpty()); // the same sub-band

        // Never under RF: a change while transmitting waits for the transmitter to go off.
        QVERIFY(rig.tell("T 1"));
        QVERIFY(rig.tell("F 14200000"));
        QVERIFY(lineOver(f).isEmpty());
        QVERIFY(rig.tell("T 0"));
        QCOMPARE(awaitRecall(f), recall(20, 21, 0));

        QVERIFY(rig.tell("F 5300000"));
        QVERIFY(lineOver(f).isEmpty());

        // The operator's own choice stands until the radio moves again.
        clickCentre(f.band("80 м"));
        QCOMPARE(packetsOf(f.pty.read()).size(), 3);
        QVERIFY(lineOver(f).isEmpty());

        rig.stop();
        QTRY_VERIFY(shownText(status).contains(QStringLiteral("нет связи")));
        clickCentre(f.control("cmdIncrementC")); // the console works on
        QCOMPARE(packetsOf(f.pty.read()), QList<QByteArray>{packet(1, 1, 0)});

        QVERIFY(rig.start());
        QTRY_VERIFY_WITH_TIMEOUT(shownText(status).contains(QStringLiteral("145,000")), 15000);
        QVERIFY(rig.tell("F 7074000"));
        QCOMPARE(awaitRecall(f), recall(40, 41, 1));
    }

    // Hamlib's dummy without -P RIG, like many rigs behind some backends, cannot say when it
    // transmits: the relays are then not held, and the console says so once.
    void aRadioThatCannotSayWhenItTransmitsIsSaidOnce()
    {
        Rigctld rig;
        QVERIFY(rig.start(false));
        ConsoleFixture f;
        ConsoleEnvironment env = f.following(rig.address());
        f.writeSettings(SettingsImage().port(1).bytes());
        Form1 &form = f.start(env);
        const QString notice = QStringLiteral("передача не определяется: реле не блокируются");
        QTRY_COMPARE(shownText(*form.features().strip().message()), notice);
        const auto notes = [&] {
            const std::deque<LineLog::Entry> &entries = form.panel().lineLog().entries();
            return std::count_if(entries.begin(), entries.end(), [&](const LineLog::Entry &e) {
                return e.kind == LineLog::Entry::Note && e.text == notice;
            });
        };
        QTest::qWait(500); // several polls
        QCOMPARE(notes(), 1);
        const QByteArray line = ControlCommands::stateLine(form.panel().state());
        QVERIFY2(line.contains(" Interlock=off "), line.constData());
        bool shown = false;
        f.dialogs.onExec = [&](QDialog &dialog) {
            shown = static_cast<FollowDialog &>(dialog).status()->text().contains(notice);
        };
        form.features().chooseRig(true);
        QVERIFY(shown);
    }

    void followingIsOffUnlessAsked()
    {
        ConsoleFixture f;
        Form1 &form = f.startShown();
        QVERIFY(form.features().rigStatus().isHidden());
        QCOMPARE(form.features().rigStatus().toolTip(), QString()); // no ":0" before an address
        QCOMPARE(form.features().following().rig().state(), RigControl::State::Off);
        // The menu's entry asks for the address and stores it.
        auto menu = form.features().contextMenu();
        QAction *follow = menu->findChild<QAction *>(QStringLiteral("followRig"));
        QVERIFY(follow && follow->isCheckable() && !follow->isChecked());
        f.dialogs.onExec = [](QDialog &dialog) {
            dynamic_cast<FollowDialog &>(dialog).addressEdit()->setText("127.0.0.1:1");
            dialog.accept();
        };
        follow->trigger();
        QCOMPARE(f.userSettings.value("rig/address").toString(), QStringLiteral("127.0.0.1:1"));
        QVERIFY(form.features().rigStatus().isVisible());
        menu = form.features().contextMenu();
        QVERIFY(menu->findChild<QAction *>(QStringLiteral("followRig"))->isChecked());
        menu->findChild<QAction *>(QStringLiteral("followRig"))->trigger();
        QVERIFY(!f.userSettings.contains("rig/address"));
        QVERIFY(form.features().rigStatus().isHidden());
        // Only the free areas open it: a right press on a control keeps its meaning.
        QVERIFY(form.isFreeArea(QPoint(300, 230)));
        QVERIFY(form.isFreeArea(QPoint(4, 340)));
        QVERIFY(!form.isFreeArea(f.relayBit('C', 3)->geometry().center()));
        QVERIFY(!form.isFreeArea(QPoint(200, 400))); // a band option
    }
};

QTEST_MAIN(TestFollow)
#include "tst_follow.moc"
