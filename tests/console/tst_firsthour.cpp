#include "console/features.h"
#include "console/firststart.h"
#include "console/form1.h"
#include "console/statusstrip.h"
#include "dialogs/bandsdialog.h"
#include "dialogs/firststartdialog.h"
#include "dialogs/linelogwindow.h"
#include "panel/panel.h"
#include "rig/following.h"
#include "support/consolefixture.h"
#include "support/programs.h"
#include "support/station.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QProcess>
#include <QSpinBox>
#include <QTableWidget>
#include <QTest>
#include <QToolButton>

// What a new operator meets in the first hour: a start that asks, the features in sight, what
// went on the line, and relays that hold still while the radio transmits.
class TestFirstHour : public QObject
{
    Q_OBJECT

private slots:
    void aNewFolderAsksFirstAndKeepsTheAnswers()
    {
        ConsoleFixture f;
        ConsoleEnvironment env = f.environment();
        QVERIFY(FirstStart::isNeeded(env.programDir, env.dataDir));
        // Cancelled: nothing written, the start-up as specified follows.
        QVERIFY(!FirstStart::ask(env.programDir, env.dataDir, f.dialogs, &f.userSettings, {},
                                 env.serialByIdFolder));
        QVERIFY(!QFile::exists(f.settingsPath()));

        f.dialogs.onExec = [&](QDialog &dialog) {
            auto &first = static_cast<FirstStartDialog &>(dialog);
            QCOMPARE(first.stepC()->value(), 12); // the console's own tuner
            QCOMPARE(first.stepL()->value(), 50);
            first.controllers()->setEditText(f.pty.device());
            first.stepC()->setValue(20);
            first.stepL()->setValue(700);
            first.accept();
        };
        QVERIFY(FirstStart::ask(env.programDir, env.dataDir, f.dialogs, &f.userSettings, {},
                                env.serialByIdFolder));
        const SettingsImage stored = f.stored();
        QCOMPARE(stored.portNumber(), FirstStart::Port);
        QCOMPARE(int(stored.stepC()), 20);
        QCOMPARE(int(stored.stepL()), 700);
        QCOMPARE(f.userSettings.value("ports/1").toString(), f.pty.device());
        QVERIFY(!FirstStart::isNeeded(env.programDir, env.dataDir));

        // The specified start-up takes it from there: the port opens, the steps show.
        Form1 &form = f.start(env);
        QVERIFY(form.comPort1().PortOpen());
        QCOMPARE(form.module().StepC, quint8(20));
        QVERIFY(f.dialogs.messages.isEmpty());
    }

    // A port the command line named is what the operator meant: the first start offers it
    // first and chooses it; a headless first start takes it; --comport chooses as the list.
    void aPortTheCommandLineNamedIsTheOneChosen()
    {
        ConsoleFixture f;
        ConsoleEnvironment env = f.environment();
        f.dialogs.onExec = [&](QDialog &dialog) {
            auto &first = static_cast<FirstStartDialog &>(dialog);
            QCOMPARE(first.controllers()->currentIndex(), 0);
            QCOMPARE(first.controllers()->currentData().toString(), f.pty.device());
            first.accept();
        };
        QVERIFY(FirstStart::ask(env.programDir, env.dataDir, f.dialogs, &f.userSettings, {},
                                env.serialByIdFolder, PortMap::Assignment{3, f.pty.device()}));
        QCOMPARE(f.stored().portNumber(), 3);
        QCOMPARE(f.userSettings.value("ports/3").toString(), f.pty.device());

        // Without a window: no conf.cfg, one --port, and the port opens and is kept.
        ProgramFolder folder;
        QProcess console;
        console.setProcessEnvironment(folder.environment());
        console.start(folder.program(QStringLiteral("orvane")),
                      {"--headless", "--control", "off", "--port",
                       QStringLiteral("5=%1").arg(f.pty.device())});
        // A new conf.cfg grows as it is written: the port number comes once the port opened.
        const auto kept = [&] {
            QFile conf(folder.settingsPath());
            conf.open(QIODevice::ReadOnly);
            return SettingsImage(conf.readAll()).portNumber();
        };
        QTRY_COMPARE_WITH_TIMEOUT(kept(), 5, 10000);
        console.terminate();
        QVERIFY(console.waitForFinished(5000));
        QVERIFY2(!console.readAllStandardError().contains("Com-"), "the port was not opened");

        // --comport chooses another entry over what conf.cfg kept.
        ConsoleEnvironment chosen = f.environment();
        chosen.ports.map(2, f.pty.device());
        chosen.comport = 2;
        Form1 &form = f.start(chosen);
        QVERIFY(form.comPort1().PortOpen());
        QCOMPARE(form.comPort1().CommPort(), 2);
        QCOMPARE(f.stored().portNumber(), 2);
        QVERIFY(f.dialogs.messages.isEmpty());
    }

    void anExistingFileIsNeverAskedAbout()
    {
        ConsoleFixture f;
        f.writeSettings(QByteArray()); // even an empty one: the console made it
        const QByteArray before = f.settings();
        QVERIFY(!FirstStart::isNeeded(f.programDir(), f.environment().dataDir));
        f.start();
        QCOMPARE(f.dialogs.messages.size(), 1); // "Com-порт 0 не доступен", as specified
        QCOMPARE(f.dialogs.messages[0].informative,
                 QStringLiteral("порт не выбран: выберите его в списке Comport"));
        QCOMPARE(f.settings(), before);
    }

    void theMenuIsInSightAndNamesItsKeys()
    {
        ConsoleFixture f;
        Form1 &form = f.startShown();
        QToolButton *button = form.features().strip().menuButton();
        QVERIFY(button->isVisible());
        bool shown = false;
        QStringList keys;
        QTimer::singleShot(0, this, [&] {
            auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
            if (!menu)
                return;
            shown = true;
            for (QAction *action : menu->actions()) {
                if (!action->isSeparator())
                    keys << action->shortcut().toString();
            }
            menu->close();
        });
        clickCentre(button);
        QVERIFY(shown);
        QVERIFY2(!keys.contains(QString()), qPrintable(keys.join(QLatin1Char(' '))));
        QVERIFY(keys.contains(QStringLiteral("F1")) && keys.contains(QStringLiteral("Ctrl+S")) &&
                keys.contains(QStringLiteral("Ctrl+L")));
        // A free area still opens it with a right press; a control keeps its own.
        QVERIFY(form.isFreeArea(button->mapTo(&form, QPoint(1, 1))));
    }

    void theLineLogShowsWhatWentOutAndWhy()
    {
        ConsoleFixture f;
        Form1 &form = f.startShown(SettingsImage().slot(at(1, "40 м", 1), 37, 12, 1));
        form.features().showLineLog();
        LineLogWindow *log = form.features().lineLogWindow();
        QVERIFY(log && log->isVisible());
        clickCentre(f.relayBit('C', 0));
        QVERIFY(log->text().contains(QStringLiteral("порт 1  AA 55 01 01 01 00 0D 0A 00  C = 1")));
        clickCentre(f.band("40 м"));
        QVERIFY2(
            log->text().contains(QStringLiteral("вызов ячейки: антенна 1, 40 м, 1 (оператор)")),
            qPrintable(log->text()));
        QVERIFY(log->text().contains(QStringLiteral("сторона = Tx")));
        // Paused, it shows nothing new; going on, it shows all.
        log->setPaused(true);
        clickCentre(f.relayBit('L', 0));
        QVERIFY(!log->text().contains(QStringLiteral("L = 13")));
        log->setPaused(false);
        QVERIFY(log->text().contains(QStringLiteral("L = 13")));
        // Save says so in the strip.
        clickCentre(f.control("cmdSave1"));
        QCOMPARE(shownText(*form.features().strip().message()),
                 QStringLiteral("Сохранено: антенна 1, 40 м, 1"));
    }

    void relaysHoldStillWhileTheRadioTransmits()
    {
        Rigctld rig;
        QVERIFY(rig.start());
        ConsoleFixture f;
        ConsoleEnvironment env = f.following(rig.address());
        f.writeSettings(SettingsImage().port(1).bytes());
        Form1 &form = f.start(env);
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QTRY_VERIFY(form.panel().state().radio.connected);
        QTest::qWait(300);
        f.pty.drain();

        QVERIFY(rig.tell("T 1"));
        QTRY_VERIFY(form.panel().state().held);
        QTRY_VERIFY(form.features().strip().transmitting()->isVisible());
        // A toggle, a step, a band: nothing on the line, nothing on the screen.
        clickCentre(f.relayBit('C', 3));
        clickCentre(f.control("cmdIncrementL"));
        clickCentre(f.band("20 м"));
        QVERIFY(f.pty.read(300).isEmpty());
        QVERIFY(!f.relayBit('C', 3)->isChecked());
        QVERIFY(f.band("160 м")->isChecked());
        QCOMPARE(f.control<QLineEdit>("txtLEnter")->text(), QStringLiteral("0"));
        QCOMPARE(shownText(*form.features().strip().message()),
                 QStringLiteral("Передача: реле не переключаются"));
        // A band change made meanwhile waits, and says so.
        QVERIFY(rig.tell("F 14100000"));
        QTRY_VERIFY2(shownText(form.features().rigStatus()).contains(QStringLiteral("20 м, 2")),
                     qPrintable(shownText(form.features().rigStatus())));
        QVERIFY(f.pty.read(300).isEmpty());

        QVERIFY(rig.tell("T 0"));
        QTRY_VERIFY(!form.panel().state().held);
        QByteArray waited; // the band change that waited
        QTRY_VERIFY((waited += f.pty.read(0)).size() >= 3 * Packet::Size);
        QCOMPARE(packetsOf(waited).size(), 3);
        QTRY_VERIFY(!form.features().strip().transmitting()->isVisible());
        clickCentre(f.relayBit('C', 3));
        QCOMPARE(packetsOf(f.pty.read()), QList<QByteArray>{packet(1, 8, 0)});
    }

    void theBandTableIsCheckedAndFollowingUsesIt()
    {
        ConsoleFixture f;
        Form1 &form = f.startShown();
        bool refused = false;
        f.dialogs.onExec = [&](QDialog &dialog) {
            auto *table = dialog.findChild<QTableWidget *>();
            // 80 m begins inside 160 m: refused, and the dialog stays.
            table->item(1, 0)->setText(QStringLiteral("1.900"));
            dialog.accept();
            refused = dialog.isVisible() &&
                      !dialog.findChild<QLabel *>(QStringLiteral("problem"))->text().isEmpty();
            static_cast<BandsDialog &>(dialog).restoreDefaults();
            table->item(2, 0)->setText(QStringLiteral("7.050")); // 40 m from 7.050
            table->item(2, 1)->setText(QStringLiteral("7.060"));
            dialog.accept();
        };
        form.features().chooseBands();
        QVERIFY(refused);
        QCOMPARE(f.userSettings.value("bands/40m").toString(), QStringLiteral("7.050-7.200"));
        const BandPlan &plan = form.features().following().plan();
        QVERIFY(!plan.locate(7'040'000));
        QCOMPARE(plan.locate(7'055'000)->subBand, 0);
        // The sub-band options say the stretch each covers.
        clickCentre(f.band("40 м"));
        QTRY_VERIFY2(f.subBand(1)->toolTip().contains(QStringLiteral("7,050–7,060")),
                     qPrintable(f.subBand(1)->toolTip()));
    }
};

QTEST_MAIN(TestFirstHour)
#include "tst_firsthour.moc"
