#include "console/features.h"
#include "console/form1.h"
#include "console/statusstrip.h"
#include "control/commands.h"
#include "dialogs/frequencymemorywindow.h"
#include "dialogs/partsdialog.h"
#include "dialogs/smithchart.h"
#include "panel/panel.h"
#include "rig/following.h"
#include "station/station.h"
#include "support/consolefixture.h"
#include "support/necantennas.h"
#include "support/programs.h"
#include "support/station.h"
#include "support/unprivileged.h"
#include "tune/matchsearch.h"
#include "tunes/frequencymemory.h"
#include "tunes/trainer.h"
#include "tunes/tunestore.h"
#include "tunes/tunetable.h"
#include "widgets/tunemap.h"

#include <QComboBox>
#include <QDir>
#include <QDoubleSpinBox>
#include <QElapsedTimer>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QTableWidget>
#include <QTcpSocket>
#include <QTest>

#include <cmath>
#include <csignal>
#include <sqlite3.h>

namespace {

QList<QByteArray> recall(int c, int l, int side)
{
    return {packet(1, c, 0), packet(2, l, 0), packet(3, side, 0)};
}

// What the line carried over a few polls, the console answering meanwhile.
QList<QByteArray> lineOver(ConsoleFixture &f, int ms = 700)
{
    QByteArray bytes;
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < ms) {
        QTest::qWait(10);
        bytes += f.pty.read(0);
    }
    return packetsOf(bytes);
}

} // namespace

// The tuner that learns every frequency: a tune per bin of every band, recalled as the radio
// moves, trained unattended, kept durably beside conf.cfg and never in it.
class TestTunes : public QObject
{
    Q_OBJECT

private slots:
    void theRadioMovingAcrossABandRecallsItsBinsNeighboursAndSlots()
    {
        Rigctld rig;
        QVERIFY(rig.start());
        ConsoleFixture f;
        ConsoleEnvironment env = f.following(rig.address());
        const QByteArray conf = SettingsImage()
                                    .slot(at(1, "40 м", 4), 40, 44, 0)
                                    .slot(at(1, "40 м", 1), 4, 4, 0)
                                    .port(1)
                                    .bytes();
        f.writeSettings(conf);
        Form1 &form = f.start(env);
        form.show();
        QTRY_VERIFY(form.panel().state().radio.connected);
        FrequencyMemory &memory = form.features().memory();
        QVERIFY(memory.store());
        QVERIFY(memory.keep(0, 7073500, {10, 11, 1}, 1.2, StoredTune::Source::Training, false));
        QVERIFY(memory.keep(0, 7101500, {20, 21, 0}, 1.1, StoredTune::Source::Training, false));
        QVERIFY(rig.tell("F 7010000"));
        QTRY_VERIFY(form.panel().state().radio.hz == 7010000);
        lineOver(f);

        // Its own bin, 7.070–7.077: the entry's relays, three packets as a recall.
        QVERIFY(rig.tell("F 7074000"));
        QCOMPARE(lineOver(f), recall(10, 11, 1));
        const QByteArray state = ControlCommands::stateLine(form.panel().state());
        QVERIFY2(state.contains(" Memory=7070000-7077000 "), state.constData());
        QVERIFY(shownText(*form.features().strip().message())
                    .contains(QStringLiteral("память частоты 7,070–7,077")));
        // A bin of none, next to one: the nearest, and from two bins away the nearer.
        QVERIFY(rig.tell("F 7080000"));
        QCOMPARE(lineOver(f), recall(10, 11, 1));
        QVERIFY(rig.tell("F 7113000"));
        QCOMPARE(lineOver(f), recall(20, 21, 0));
        // Nothing within two bins: the band's slot, as following always did.
        QVERIFY(rig.tell("F 7150000"));
        QCOMPARE(lineOver(f), recall(40, 44, 0));
        // Resting on a bin's edge, jittering by 10 Hz: nothing.
        for (int i = 0; i < 6; ++i)
            QVERIFY(rig.tell(i % 2 ? "F 7154010" : "F 7153990"));
        QVERIFY(lineOver(f).isEmpty());
        // Transmitting: the recall waits for the carrier to go.
        QVERIFY(rig.tell("T 1"));
        QTRY_VERIFY(form.panel().state().held);
        QVERIFY(rig.tell("F 7074500"));
        QVERIFY(lineOver(f).isEmpty());
        QVERIFY(rig.tell("T 0"));
        QCOMPARE(lineOver(f), recall(10, 11, 1));
        // None of it wrote conf.cfg.
        QCOMPARE(f.settings(), conf);
    }

    void aSaveAtTheRadiosFrequencyLearnsItsBinAndAPinHoldsAgainstTheSearch()
    {
        Rigctld rig;
        QVERIFY(rig.start());
        ConsoleFixture f;
        ConsoleEnvironment env = f.following(rig.address());
        f.writeSettings(SettingsImage().port(1).bytes());
        Form1 &form = f.start(env);
        QVERIFY(rig.tell("F 14074000"));
        QTRY_VERIFY(form.panel().state().radio.hz == 14074000);
        QCOMPARE(form.panel().enterCode(Panel::Bank::C, 77, Panel::Cause::Operator),
                 Panel::Outcome::Done);
        clickCentre(f.control("cmdSave1"));
        FrequencyMemory &memory = form.features().memory();
        const QList<StoredTune> learnt = memory.ofBand(0, 4);
        QCOMPARE(learnt.size(), 1);
        QCOMPARE(learnt[0].relays.codeC, quint8(77));
        QCOMPARE(learnt[0].source, StoredTune::Source::Save);
        QVERIFY(memory.pin(0, 14074000, true));
        QVERIFY(!memory.keep(0, 14074000, {1, 1, 1}, 1.0, StoredTune::Source::Search, false));
        QCOMPARE(memory.ofBand(0, 4).value(0).relays.codeC, quint8(77));
        // The operator's own Save takes the bin and keeps it pinned.
        QCOMPARE(form.panel().enterCode(Panel::Bank::C, 78, Panel::Cause::Operator),
                 Panel::Outcome::Done);
        clickCentre(f.control("cmdSave1"));
        QCOMPARE(memory.ofBand(0, 4).value(0).relays.codeC, quint8(78));
        QVERIFY(memory.ofBand(0, 4).value(0).pinned);
    }

    // The nearest tune is measured in Hz from its own frequency; Refresh sends what is shown.
    void theNearestTuneIsNearestInHzAndRefreshSendsWhatIsShown()
    {
        Rigctld rig;
        QVERIFY(rig.start());
        ConsoleFixture f;
        ConsoleEnvironment env = f.following(rig.address());
        f.writeSettings(SettingsImage().port(1).slot(at(1, "40 м", 1), 4, 4, 0).bytes());
        Form1 &form = f.start(env);
        form.show();
        QTRY_VERIFY(form.panel().state().radio.connected);
        FrequencyMemory &memory = form.features().memory();
        QVERIFY(memory.keep(0, 7038500, {30, 31, 1}, 1.3, StoredTune::Source::Training, false));
        QVERIFY(memory.keep(0, 7052500, {50, 51, 1}, 1.1, StoredTune::Source::Training, false));
        // 3.8 kHz to one, 10.2 kHz to the other: the nearer wins over the lower SWR.
        QCOMPARE(memory.find(0, 7042300)->relays, (RelaySetting{30, 31, 1}));
        QVERIFY(rig.tell("F 7042300"));
        QCOMPARE(lineOver(f), recall(30, 31, 1));
        QVERIFY(form.panel().state().memory);
        // Refresh: the memory's relays again, not the slot's.
        clickCentre(f.control("cmdRefresh"));
        QCOMPARE(lineOver(f, 1200), recall(30, 31, 1));
        QVERIFY(form.panel().state().memory);
    }

    void theWindowShowsTheBandsTunesAndTheirPicture()
    {
        Rigctld rig;
        QVERIFY(rig.start());
        ConsoleFixture f;
        ConsoleEnvironment env = f.environment();
        env.rigAddress = QStringLiteral("127.0.0.1:%1").arg(rig.port);
        f.writeSettings(SettingsImage()
                            .port(1)
                            .slot(at(1, "40 м", 2), 0, 0, 0)
                            .lastSaved(ConfLayout::baseOf(at(1, "40 м", 2)))
                            .bytes());
        Form1 &console = f.start(env);
        QTRY_VERIFY(console.panel().state().radio.connected);
        FrequencyMemory &memory = console.features().memory();
        QVERIFY(memory.keep(0, 7073500, {10, 200, 1}, 1.2, StoredTune::Source::Training, false));
        QVERIFY(memory.keep(0, 7150500, {250, 20, 0}, 3.0, StoredTune::Source::Training, false));
        console.features().showFrequencyMemory();
        FrequencyMemoryWindow *window = console.features().frequencyMemoryWindow();
        QVERIFY(window);
        QCOMPARE(window->band()->currentIndex(), 2);
        QTableWidget *table = window->table();
        QCOMPARE(table->rowCount(), 2);
        QCOMPARE(table->item(0, 0)->text(), QStringLiteral("7,070–7,077"));
        QCOMPARE(table->item(0, 1)->text(), QStringLiteral("10"));
        QCOMPARE(table->item(1, 4)->text(), QStringLiteral("3,00"));
        TuneMap *map = window->map();
        map->resize(600, 240);
        const QImage picture = map->grab().toImage();
        const QPoint good = map->position(7073500, 'C', 10).toPoint();
        const QPoint poor = map->position(7150500, 'L', 20).toPoint();
        QCOMPARE(picture.pixelColor(good), TuneMap::colourOf(1.2));
        QCOMPARE(picture.pixelColor(poor), TuneMap::colourOf(3.0));
        QVERIFY(poor.x() > good.x());
        // The scale spans the band's codes: 10 and 250 of C lie apart, the picture's height
        // between them, not flat along the bottom.
        const int c10 = map->position(7073500, 'C', 10).toPoint().y();
        const int c250 = map->position(7150500, 'C', 250).toPoint().y();
        QCOMPARE(picture.pixelColor(QPoint(poor.x(), c250)), TuneMap::colourOf(3.0));
        QVERIFY2(c10 - c250 > 60, qPrintable(QStringLiteral("%1 %2").arg(c10).arg(c250)));
        // The band's edges are there whole: ink in the lines under the plots, none in the last
        // row of the picture.
        const QColor ink = map->palette().color(QPalette::Text);
        const auto inkIn = [&](int y) {
            for (int x = 0; x < picture.width(); ++x)
                if (picture.pixelColor(x, y) == ink)
                    return true;
            return false;
        };
        QVERIFY(!inkIn(picture.height() - 1));
        bool edges = false;
        for (int y = int(map->position(0, 'L', 0).y()) + 3; y < picture.height() - 1; ++y)
            edges = edges || inkIn(y);
        QVERIFY(edges);
        // Forgotten from the window: gone from the table and the picture.
        table->selectRow(1);
        window->forgetChosen();
        QCOMPARE(table->rowCount(), 1);
        QCOMPARE(map->points().size(), 1);
    }

    // An antenna's measurement read in from the window: every bin of 40 m gets a computed tune,
    // marked as such in the table and hollow on the map, the band drawn on the Smith chart
    // with the tuner's reach shaded, and the picture saved; undone, the tunes go.
    void aMeasurementFromTheWindowComputesTheBandAndDrawsIt()
    {
        Rigctld rig;
        QVERIFY(rig.start());
        ConsoleFixture f;
        ConsoleEnvironment env = f.environment();
        env.rigAddress = QStringLiteral("127.0.0.1:%1").arg(rig.port);
        f.writeSettings(SettingsImage().port(1).steps(10, 500).bytes());
        Form1 &console = f.start(env);
        QTRY_VERIFY(console.panel().state().radio.connected);
        QTemporaryDir dir;
        const QString csv = dir.filePath(QStringLiteral("forty.csv"));
        QFile file(csv);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("frequency Hz,R,X\n");
        for (qint64 hz = 6900000; hz <= 7400000; hz += 25000)
            file.write(QByteArray::number(hz) + ",35," +
                       QByteArray::number(35 * 4 * (hz / 7.1e6 - 7.1e6 / hz), 'f', 3) + '\n');
        file.close();
        console.features().showFrequencyMemory();
        FrequencyMemoryWindow *window = console.features().frequencyMemoryWindow();
        window->band()->setCurrentIndex(2);
        window->resize(900, 700);
        window->show();
        f.dialogs.answers << csv;
        window->findChild<QPushButton *>(QStringLiteral("measurement"))->click();
        QTRY_COMPARE_WITH_TIMEOUT(window->table()->rowCount(), 29, 10000);
        QCOMPARE(window->table()->item(0, 6)->text(), QStringLiteral("расчёт"));
        QVERIFY(window->map()->points().first().computed);
        QVERIFY(window->findChild<QLabel *>(QStringLiteral("said"))->text().contains(u"40 м"));
        SmithChart *smith = window->smith();
        QVERIFY(!smith->empty());
        QTRY_VERIFY_WITH_TIMEOUT(smith->shaded(), 10000);
        const QImage chart = smith->grab().toImage();
        // Near the centre (50 Ω) is within reach and shaded; near the short circuit is not.
        const QColor base = smith->palette().color(QPalette::Base);
        QVERIFY(chart.pixelColor(smith->position({0.05, 0.05}).toPoint()) != base);
        QCOMPARE(chart.pixelColor(smith->position({-0.97, 0.02}).toPoint()), base);
        const QString png = dir.filePath(QStringLiteral("forty.png"));
        f.dialogs.answers << png;
        window->findChild<QPushButton *>(QStringLiteral("png"))->click();
        QVERIFY(QImage(png).width() > 600);
        // Undone: no measurement, and what was computed from it goes.
        window->findChild<QPushButton *>(QStringLiteral("undoMeasurement"))->click();
        QTRY_COMPARE_WITH_TIMEOUT(window->table()->rowCount(), 0, 10000);
        QVERIFY(smith->empty());
        // A band shown and at once none: the reach worked out meanwhile stays off the chart.
        smith->show({{50, 10}}, {}, 7.1e6, LNetwork::Parts::nominal(10, 500));
        smith->show({}, {}, 7.1e6, LNetwork::Parts::nominal(10, 500));
        QTest::qWait(1500);
        QVERIFY(!smith->shaded());
    }

    // "Детали тюнера": the readings kept are fitted off the window's thread and the fit is
    // asked before it is taken; declined, nothing changes; taken, the parts change and "Вернуть
    // прежние" brings the ones before back. A relay of no capacitance is refused.
    void thePartsDialogFitsOnlyOnOkAndPutsBack()
    {
        ConsoleFixture f;
        f.writeSettings(SettingsImage().port(1).steps(10, 500).bytes());
        Form1 &console = f.start(f.environment());
        Station &station = console.features().station();
        FrequencyMemory &memory = console.features().memory();
        const LNetwork::Parts nominal = LNetwork::Parts::nominal(10, 500);
        const LNetwork::Parts truth = offNominalParts();
        AntennaMeasurement measured;
        measured.points = necAntennas().at(0).second;
        QVERIFY(memory.store()->putMeasurement(0, measured));
        for (const double mhz : {7.05, 10.12, 14.1, 18.1, 21.2, 24.9}) {
            const double hz = mhz * 1e6;
            MatchSearch search({hz, 10, 500});
            while (const auto s = search.next()) {
                const double swr =
                    std::round(LNetwork::swr(*measured.at(std::llround(hz)), hz, truth, *s) * 100) /
                    100;
                search.measured(*s, swr);
                memory.logProbe(0, std::llround(hz), *s, swr);
            }
        }
        PartsDialog dialog(station, &f.dialogs, &console);
        dialog.show();
        auto *fit = dialog.findChild<QPushButton *>(QStringLiteral("fit"));
        fit->click();
        QVERIFY(!fit->isEnabled());
        QTRY_VERIFY_WITH_TIMEOUT(fit->isEnabled(), 30000);
        QVERIFY2(dialog.said()->text().contains(u"Невязка"), qPrintable(dialog.said()->text()));
        QCOMPARE(station.parts(), nominal);
        f.dialogs.answers << QStringLiteral("yes");
        fit->click();
        QTRY_VERIFY_WITH_TIMEOUT(dialog.said()->text().startsWith(u"Приняты"), 30000);
        QVERIFY2(std::abs(station.parts().strayPf - truth.strayPf) < 2 &&
                     std::abs(station.parts().capacitorsPf[1] - truth.capacitorsPf[1]) < 1,
                 qPrintable(dialog.said()->text()));
        dialog.grab().save(QStringLiteral("%1/parts-dialog.png").arg(screenFolder()));
        dialog.findChild<QPushButton *>(QStringLiteral("undo"))->click();
        QCOMPARE(station.parts(), nominal);
        for (QDoubleSpinBox *box : dialog.findChildren<QDoubleSpinBox *>()) {
            if (box->accessibleName() == QStringLiteral("C реле 1, пФ"))
                box->setValue(0);
        }
        dialog.findChild<QPushButton *>(QStringLiteral("save"))->click();
        QVERIFY(dialog.said()->text().contains(u"больше нуля"));
        QCOMPARE(station.parts(), nominal);
    }

    // A computed tune is a prediction: against a station whose capacitors are 60 % larger
    // than the console believes, with a stray it does not know of, QSY recalls the computed tune,
    // and the operator's first carrier through it reads a poor SWR, which the strip says with the
    // search offered.
    void aPoorComputedTuneIsSaidUnderTheFirstCarrier()
    {
        QTemporaryDir dir;
        const QString csv = dir.filePath(QStringLiteral("forty.csv"));
        QFile file(csv);
        QVERIFY(file.open(QIODevice::WriteOnly));
        for (qint64 hz = 6900000; hz <= 7400000; hz += 25000)
            file.write(QByteArray::number(hz) + ",20," +
                       QByteArray::number(20 * 8 * (hz / 7.05e6 - 7.05e6 / hz), 'f', 3) + '\n');
        file.close();
        RadioStation station;
        QVERIFY(station.start(QStringLiteral("7.1,50,10"),
                              {"--antenna-file", csv, "--parts-c", "16,32,64,128,256,512,1024,2048",
                               "--stray-c", "60"}));
        ConsoleFixture f;
        ConsoleEnvironment env = f.environment();
        env.ports.map(1, station.link());
        env.rigAddress = QStringLiteral("127.0.0.1:%1").arg(station.radioPort);
        f.userSettings.setValue("rig/poll_ms", 100);
        f.writeSettings(SettingsImage().port(1).steps(10, 500).bytes());
        Form1 &form = f.start(env);
        QTRY_VERIFY_WITH_TIMEOUT(form.panel().state().radio.connected, 5000);
        FrequencyMemory &memory = form.features().memory();
        bool done = false;
        memory.importMeasurement(0, csv, LNetwork::Parts::nominal(10, 500),
                                 [&](const QString &error, const QStringList &) {
                                     QVERIFY2(error.isEmpty(), qPrintable(error));
                                     done = true;
                                 });
        QTRY_VERIFY_WITH_TIMEOUT(done, 10000);
        QVERIFY(station.tell("F 7050000"));
        const std::optional<TuneLookup::Found> computed = memory.find(0, 7050000);
        QVERIFY(computed);
        QTRY_COMPARE_WITH_TIMEOUT(form.panel().state().relays, computed->relays, 5000);
        // Through the nominal parts it is a match; through the station's it is not.
        const double through =
            LNetwork::swr({20, 20 * 8 * (7.0515 / 7.05 - 7.05 / 7.0515)}, 7.0515e6,
                          LNetwork::Parts::nominal(10, 500), computed->relays);
        QVERIFY2(through < 1.5, qPrintable(QString::number(through)));
        const auto said = [&] {
            for (const LineLog::Entry &e : form.panel().lineLog().entries())
                if (LineLog::line(e).contains(QStringLiteral("на расчётной настройке")))
                    return true;
            return false;
        };
        QVERIFY(!said());
        QVERIFY(station.tell("T 1"));
        QVERIFY2(station.ask("l SWR").toDouble() > 1.5, station.ask("l SWR").constData());
        QTRY_VERIFY_WITH_TIMEOUT(said(), 5000);
        QVERIFY(station.tell("T 0"));
    }

    void trainingARangeStoresAMatchForEveryBinAndStopUnkeysAtOnce()
    {
        RadioStation station;
        QVERIFY(station.start());
        ConsoleFixture f;
        ConsoleEnvironment env = f.environment();
        env.ports.map(1, station.link());
        env.rigAddress = QStringLiteral("127.0.0.1:%1").arg(station.radioPort);
        f.userSettings.setValue("rig/poll_ms", 100);
        const QByteArray conf = SettingsImage().port(1).steps(10, 500).bytes();
        f.writeSettings(conf);
        Form1 &form = f.start(env);
        Trainer &trainer = form.features().trainer();
        QTRY_VERIFY(trainer.unavailable().isEmpty());
        QVERIFY(station.tell("F 7150000"));
        QTRY_VERIFY(form.panel().state().radio.hz == 7150000);
        QList<double> swrs;
        connect(&trainer, &Trainer::point, this, [&](qint64, bool stored, double swr) {
            if (stored)
                swrs << swr;
        });
        QString why;
        QVERIFY2(trainer.start(2, 7070000, 7090000, false, &why), qPrintable(why));
        QTRY_VERIFY_WITH_TIMEOUT(!trainer.running(), 60000);
        const QList<StoredTune> trained = form.features().memory().ofBand(0, 2);
        QCOMPARE(trained.size(), 3); // 7.070–7.077, 7.077–7.084, 7.084–7.091
        for (const StoredTune &t : trained) {
            QVERIFY(t.swr && *t.swr < 1.5);
            QCOMPARE(t.source, StoredTune::Source::Training);
        }
        // The radio is back where it was.
        QTRY_COMPARE(station.commands().mid(station.commands().lastIndexOf("T 0")).join(' '),
                     QStringLiteral("T 0 F 7150000 M USB L RFPOWER 0.5"));

        // Stop mid-way: the carrier goes off at once.
        QVERIFY(trainer.start(2, 7100000, 7200000, true, &why));
        QTRY_VERIFY_WITH_TIMEOUT(station.commands().contains(QStringLiteral("T 1")), 10000);
        const qsizetype keyed = station.commands().lastIndexOf(QStringLiteral("T 1"));
        QElapsedTimer clock;
        clock.start();
        trainer.stop();
        QTRY_VERIFY(station.commands().mid(keyed).contains(QStringLiteral("T 0")));
        QVERIFY2(clock.elapsed() < 1000, qPrintable(QString::number(clock.elapsed())));
        QTRY_VERIFY(!trainer.running());
        QCOMPARE(station.commands().last(), QStringLiteral("L RFPOWER 0.5"));
        QCOMPARE(f.settings(), conf);
    }

    // The memory never loses a tune silently: a file removed or replaced under the console is
    // put back whole, a tune that cannot be kept is an error where it was asked for, and what
    // went wrong stays in the strip until seen.
    void aFileRemovedOrReplacedUnderTheConsoleIsPutBackWhole_data()
    {
        QTest::addColumn<QString>("replacement");
        QTest::newRow("removed") << QString();
        QTest::newRow("a folder") << QStringLiteral("folder");
        QTest::newRow("a link") << QStringLiteral("link");
    }
    void aFileRemovedOrReplacedUnderTheConsoleIsPutBackWhole()
    {
        QFETCH(QString, replacement);
        Rigctld rig;
        QVERIFY(rig.start());
        ConsoleFixture f;
        ConsoleEnvironment env = f.following(rig.address());
        env.controlAddress = QString::number(freeLocalPort());
        f.writeSettings(SettingsImage().port(1).steps(10, 500).bytes());
        Form1 &form = f.start(env);
        QTRY_VERIFY(form.panel().state().radio.hz);
        FrequencyMemory &memory = form.features().memory();
        QVERIFY(memory.keep(0, 14074000, {1, 2, 1}, 1.1, StoredTune::Source::Training, false));
        const QString file = QDir(f.programDir()).filePath(QStringLiteral("tunes.sqlite"));
        for (const char *extra : {"", "-wal", "-shm"})
            QFile::remove(file + QLatin1String(extra));
        if (replacement == QLatin1String("folder"))
            QVERIFY(QDir().mkdir(file));
        else if (replacement == QLatin1String("link"))
            QVERIFY(QFile::link(f.temp.filePath(QStringLiteral("elsewhere")), file));
        QTcpSocket client;
        client.connectToHost(QHostAddress::LocalHost, env.controlAddress.toUShort());
        QVERIFY(client.waitForConnected(2000));
        for (const char *hz : {"F 7074000", "F 3573000"}) {
            QVERIFY(rig.tell(hz));
            QTRY_COMPARE(form.panel().state().radio.hz,
                         std::optional<qint64>(QByteArray(hz).mid(2).toLongLong()));
            client.write("\\store\n");
            QTRY_VERIFY(client.canReadLine());
            QCOMPARE(client.readLine(), QByteArray("RPRT 0\n"));
        }
        // Said, and standing until seen.
        QVERIFY2(form.features().strip().standingAlert().contains(QStringLiteral("tunes.sqlite")),
                 qPrintable(form.features().strip().standingAlert()));
        f.closeForm();
        TuneStore again;
        QString aside, error;
        QVERIFY2(again.open(f.programDir(), &aside, &error), qPrintable(error));
        QVERIFY(aside.isEmpty());
        QCOMPARE(again.count(), 3);
    }

    void aTuneThatCannotBeKeptIsAnErrorWhereverItWasAskedFor()
    {
        Rigctld rig;
        QVERIFY(rig.start());
        ConsoleFixture f;
        ConsoleEnvironment env = f.following(rig.address());
        env.controlAddress = QString::number(freeLocalPort());
        f.writeSettings(SettingsImage().port(1).bytes());
        Form1 &form = f.start(env);
        QTRY_VERIFY(form.panel().state().radio.hz);
        TuneStore *store = form.features().memory().store();
        QVERIFY(store);
        // A file that takes no more writes, as a full disk or a damaged one leaves it.
        QVERIFY(sqlite3_exec(store->handle(), "PRAGMA query_only = 1", nullptr, nullptr, nullptr) ==
                SQLITE_OK);
        QVERIFY(rig.tell("F 7074000"));
        QTRY_COMPARE(form.panel().state().radio.hz, std::optional<qint64>(7074000));
        QTcpSocket client;
        client.connectToHost(QHostAddress::LocalHost, env.controlAddress.toUShort());
        QVERIFY(client.waitForConnected(2000));
        client.write("\\store\n");
        QTRY_VERIFY(client.canReadLine());
        QCOMPARE(client.readLine(), QByteArray("RPRT -6\n"));
        // The strip keeps it until the operator has seen it, whatever is said meanwhile.
        StatusStrip &strip = form.features().strip();
        QVERIFY(strip.standingAlert().contains(QStringLiteral("не записано")));
        form.panel().say(QStringLiteral("something else"));
        QVERIFY(strip.standingAlert().contains(QStringLiteral("не записано")));
        bool logged = false;
        for (const LineLog::Entry &e : form.panel().lineLog().entries())
            logged = logged || e.text.contains(QStringLiteral("не записано"));
        QVERIFY(logged);
        emit strip.message()->linkActivated(QStringLiteral("seen"));
        QVERIFY(strip.standingAlert().isEmpty());
    }

    void aFileThisUserCannotReadIsNotSetAside()
    {
        ORVANE_RUN_UNPRIVILEGED();
        ConsoleFixture f;
        {
            TuneStore store;
            QString aside, error;
            QVERIFY(store.open(f.programDir(), &aside, &error));
        }
        const QString file = QDir(f.programDir()).filePath(QStringLiteral("tunes.sqlite"));
        QVERIFY(QFile::setPermissions(file, QFileDevice::Permissions()));
        TuneStore store;
        QString aside, error;
        QVERIFY(!store.open(f.programDir(), &aside, &error));
        QVERIFY(aside.isEmpty());
        QVERIFY2(error.contains(QStringLiteral("cannot be read")), qPrintable(error));
        const QStringList left =
            QDir(f.programDir()).entryList({QStringLiteral("tunes.sqlite*")}, QDir::Files);
        QCOMPARE(left, QStringList{QStringLiteral("tunes.sqlite")});
    }

    void theMemoryGoesWithTheSettingsToTheDataFolder()
    {
        ORVANE_RUN_UNPRIVILEGED();
        ConsoleFixture f;
        f.writeSettings(SettingsImage().port(1).bytes());
        {
            TuneStore store;
            QString aside, error;
            QVERIFY(store.open(f.programDir(), &aside, &error));
            StoredTune tune;
            tune.hz = 7073500;
            tune.relays = {5, 6, 1};
            tune.pinned = true;
            QCOMPARE(store.put(tune, 7070000, 7077000, true), TuneStore::Put::Stored);
            tune.hz = 14014000;
            tune.pinned = false;
            QCOMPARE(store.put(tune, 14000000, 14028000, true), TuneStore::Put::Stored);
        }
        // The program folder turns read-only: conf.cfg moves to the data folder, and so does
        // the memory beside it.
        QVERIFY(QFile::setPermissions(f.settingsPath(), QFileDevice::ReadOwner));
        QVERIFY(
            QFile::setPermissions(f.programDir(), QFileDevice::ReadOwner | QFileDevice::ExeOwner));
        Form1 &form = f.start();
        QVERIFY2(form.loaded(), qPrintable(f.dialogs.messages.value(0).text + ' ' +
                                           f.dialogs.messages.value(0).informative));
        const QString data = f.environment().dataDir;
        QVERIFY(QFile::exists(QDir(data).filePath(QStringLiteral("conf.cfg"))));
        TuneStore moved;
        QString aside, error;
        QVERIFY2(moved.open(data, &aside, &error), qPrintable(error));
        const QList<StoredTune> tunes = moved.between(0, 0, BandPlan::MaxHz);
        QCOMPARE(tunes.size(), 2);
        QVERIFY(tunes[0].pinned);
        f.closeForm();
        QFile::setPermissions(f.programDir(), QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                                  QFileDevice::ExeOwner);
    }

    // What a client or a file may ask of the memory is capped, and the window never waits on
    // it: a long answer goes out as it is read, a table is read off the window's thread with
    // its header checked first and its rows capped.
    void aLongAnswerArrivesWholeAndALargeTableIsRefusedOffTheWindowsThread()
    {
        ConsoleFixture f;
        ConsoleEnvironment env = f.environment();
        env.controlAddress = QString::number(freeLocalPort());
        f.userSettings.setValue("bands/80m_bin", 0.1);
        f.writeSettings(SettingsImage().port(1).bytes());
        Form1 &form = f.start(env);
        FrequencyMemory &memory = form.features().memory();
        QList<TuneStore::Placed> many;
        for (int i = 0; i < 800; ++i) {
            StoredTune t;
            t.hz = 3500050 + 100 * i;
            t.relays = {quint8(i % 256), 1, 1};
            many << TuneStore::Placed{t, t.hz - 50, t.hz + 50};
        }
        QVERIFY(memory.store()->putAll(many));
        QTcpSocket client;
        client.connectToHost(QHostAddress::LocalHost, env.controlAddress.toUShort());
        QVERIFY(client.waitForConnected(2000));
        client.write("\\get_tunes 1 80m\n\\get_slot 1 80m 1\n");
        QByteArray heard;
        QElapsedTimer clock;
        clock.start();
        while (heard.count('\n') < 803 && clock.elapsed() < 10000) {
            QTest::qWait(10);
            heard += client.readAll();
        }
        QCOMPARE(heard.count(" C="), 800);
        QVERIFY(heard.endsWith("0\n0\nAnt\n"));
        QCOMPARE(client.state(), QAbstractSocket::ConnectedState);

        // A table of a million rows under a header of another: refused on its first line.
        const auto import = [&](const QByteArray &head, const QByteArray &row, int rows) {
            QFile file(f.temp.filePath(QStringLiteral("table.csv")));
            file.open(QIODevice::WriteOnly);
            file.write(head);
            QByteArray block;
            for (int i = 0; i < 1000; ++i)
                block += row;
            for (int i = 0; i < rows / 1000; ++i)
                file.write(block);
            file.close();
            QString error;
            bool done = false;
            memory.importFile(file.fileName(), [&](const QString &e, int) {
                error = e;
                done = true;
            });
            // The answer comes later: the window went on meanwhile.
            const bool waited = !done;
            QElapsedTimer clock;
            clock.start();
            while (!done && clock.elapsed() < 30000)
                QTest::qWait(20);
            return std::pair<bool, QString>{waited && done, error};
        };
        const auto [waitedForHeader, header] = import("a,b,c\n", "1,2,3\n", 1000000);
        QVERIFY(waitedForHeader);
        QVERIFY2(header.startsWith(QStringLiteral("строка 1:")), qPrintable(header));
        // Under 16 MiB, with its header, but more rows than every bin of every band, thrice.
        const auto [waitedForRows, rows] =
            import("antenna,frequency Hz,C code,L code,side,SWR,stored,source,pinned\n",
                   "1,7000500,1,2,Tx,,,,0\n", 700000);
        QVERIFY(waitedForRows);
        QVERIFY2(rows.contains(QString::number(TuneTable::maxRows(memory.plan()))),
                 qPrintable(rows));
        QCOMPARE(memory.store()->count(), 800);
    }

    void aConsoleKilledWhileTrainingLosesAtMostTheBinInProgress()
    {
        RadioStation station;
        QVERIFY(station.start());
        ProgramFolder folder;
        QFile conf(folder.settingsPath());
        QVERIFY(conf.open(QIODevice::WriteOnly));
        conf.write(SettingsImage().port(1).steps(10, 500).bytes());
        conf.close();
        const quint16 control = freeLocalPort();
        QProcessEnvironment env = folder.environment();
        env.remove(QStringLiteral("DISPLAY"));
        QProcess console;
        console.setProcessEnvironment(env);
        console.start(folder.program("orvane"),
                      {"--headless", "--control", QString::number(control), "--port",
                       QStringLiteral("1=%1").arg(station.link()), "--rig",
                       QStringLiteral("127.0.0.1:%1").arg(station.radioPort)});
        QTcpSocket client;
        QTRY_VERIFY_WITH_TIMEOUT(
            (client.connectToHost(QHostAddress::LocalHost, control), client.waitForConnected(200)),
            10000);
        client.write("\\subscribe\n");
        QByteArray heard;
        QElapsedTimer clock;
        clock.start();
        // The radio answers before training can start.
        while (!heard.contains("Interlock=on") && clock.elapsed() < 10000) {
            client.waitForReadyRead(100);
            heard += client.readAll();
        }
        client.write("\\train 40m 7000000 7200000\n");
        while (!heard.contains("!train Done=2") && clock.elapsed() < 40000) {
            client.waitForReadyRead(100);
            heard += client.readAll();
        }
        QVERIFY2(heard.contains("!train Done=2"), heard.right(400).constData());
        ::kill(pid_t(console.processId()), SIGKILL);
        QVERIFY(console.waitForFinished(5000));
        TuneStore store;
        QString aside, error;
        QVERIFY(store.open(folder.path(), &aside, &error));
        QVERIFY(aside.isEmpty());
        QVERIFY2(store.count() >= 2, qPrintable(QString::number(store.count())));
    }
};

QTEST_MAIN(TestTunes)
#include "tst_tunes.moc"
