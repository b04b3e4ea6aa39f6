#include "console/features.h"
#include "console/form1.h"
#include "control/controlport.h"
#include "dialogs/sweepdialog.h"
#include "dialogs/sweeppicture.h"
#include "panel/panel.h"
#include "rig/tunelookup.h"
#include "support/consolefixture.h"
#include "support/station.h"
#include "tune/lnetwork.h"
#include "tunes/frequencymemory.h"
#include "tunes/sweepcurve.h"
#include "tunes/sweeper.h"
#include "tunes/trainer.h"

#include <QDir>
#include <QElapsedTimer>
#include <QTcpSocket>
#include <QTest>

#include <limits>

namespace {

// The simulated antenna of --antenna 7.1,50,10 in closed form: its SWR at f.
double modelSwr(double hz)
{
    const double f0 = 7.1e6;
    const double r = 50;
    const double q = 10;
    return LNetwork::swrOf({r, r * q * (hz / f0 - f0 / hz)});
}

// A console following the station's radio, its 40 m widened so that the antenna's whole
// 2.0 stretch fits in it.
struct SweptConsole
{
    RadioStation station;
    ConsoleFixture f;
    QByteArray conf = SettingsImage().port(1).steps(10, 500).bytes();
    Form1 *form = nullptr;

    bool start()
    {
        if (!station.start())
            return false;
        ConsoleEnvironment env = f.environment();
        env.ports.map(1, station.link());
        env.rigAddress = QStringLiteral("127.0.0.1:%1").arg(station.radioPort);
        env.controlAddress = QString::number(freeLocalPort());
        f.userSettings.setValue("rig/poll_ms", 100);
        f.userSettings.setValue("bands/40m", "6.600-7.600");
        f.writeSettings(conf);
        form = &f.start(env);
        return true;
    }
    Sweeper &sweeper() { return form->features().sweeper(); }
    // The radio as another program would read it: frequency, mode, power.
    QList<QByteArray> radio() const
    {
        return {station.ask("f"), station.ask("m"), station.ask("l RFPOWER")};
    }
};

QList<StoredSweep::Point> pointsOf(const QByteArray &heard, const QByteArray &kind)
{
    QList<StoredSweep::Point> points;
    for (const QByteArray &line : heard.split('\n')) {
        if (!line.startsWith("!sweep F=") || !line.endsWith("Kind=" + kind))
            continue;
        const QList<QByteArray> words = line.split(' ');
        points << StoredSweep::Point{words[1].mid(2).toLongLong(), words[2].mid(4).toDouble(), {}};
    }
    return points;
}

} // namespace

// An SWR sweep of the bare antenna and of the tuned band, against a station whose antenna's
// SWR is known in closed form.
class TestSweep : public QObject
{
    Q_OBJECT

private slots:
    void aBareSweepFindsTheResonanceAndTheBandwidthOfTheModel()
    {
        SweptConsole c;
        QVERIFY(c.start());
        QTRY_VERIFY_WITH_TIMEOUT(c.sweeper().unavailable().isEmpty(), 10000);
        QVERIFY(c.station.tell("F 6950000"));
        QTRY_COMPARE(c.form->panel().state().radio.hz, std::optional<qint64>(6950000));
        const QList<QByteArray> before = c.radio();
        const RelaySetting relays = c.form->panel().state().relays;

        // The client that asks is told every point; so is a subscribed one.
        QTcpSocket asker;
        QTcpSocket watcher;
        const quint16 port = c.form->features().controlPort()->address().port;
        for (QTcpSocket *s : {&asker, &watcher}) {
            s->connectToHost(QHostAddress::LocalHost, port);
            QVERIFY(s->waitForConnected(2000));
        }
        watcher.write("\\subscribe\n");
        constexpr qint64 Step = 20000;
        asker.write("\\sweep 40m 6800000 7400000 20000 100 bare\n");
        QByteArray heard;
        QByteArray watched;
        QElapsedTimer clock;
        clock.start();
        while (!heard.contains("!sweep Done=") && clock.elapsed() < 60000) {
            QTest::qWait(20);
            heard += asker.readAll();
            watched += watcher.readAll();
        }
        QVERIFY2(heard.startsWith("RPRT 0\n"), heard.left(200).constData());
        QVERIFY2(heard.contains("!sweep Done=31\n"), heard.right(300).constData());
        const QList<StoredSweep::Point> points = pointsOf(heard, "bare");
        QCOMPARE(points.size(), 31);
        QTRY_COMPARE(pointsOf(watched, "bare").size(), 31);

        // The model's resonance and its stretch under 2.0, read on a fine grid.
        QList<StoredSweep::Point> model;
        for (qint64 hz = 6600000; hz <= 7600000; hz += 1000)
            model << StoredSweep::Point{hz, modelSwr(double(hz)), {}};
        const auto found = SweepCurve::minimum(points);
        const auto expected = SweepCurve::minimum(model);
        QVERIFY(found && expected);
        QVERIFY2(qAbs(found->hz - expected->hz) <= Step, qPrintable(QString::number(found->hz)));
        const auto wide = SweepCurve::under(points, 2.0);
        const auto wideModel = SweepCurve::under(model, 2.0);
        QVERIFY(wide && wideModel);
        QVERIFY2(
            qAbs(wide->width() - wideModel->width()) <= 2 * Step,
            qPrintable(QStringLiteral("%1 against %2").arg(wide->width()).arg(wideModel->width())));

        // The radio and the relays are as they were; the sweep is kept.
        QTRY_COMPARE(c.radio(), before);
        QTRY_COMPARE(c.form->panel().state().relays, relays);
        QVERIFY(!c.sweeper().running());
        const QList<StoredSweep> kept = c.form->features().memory().store()->sweeps(0, 2);
        QCOMPARE(kept.size(), 1);
        const QList<StoredSweep::Point> stored =
            c.form->features().memory().store()->sweep(kept[0].id)->points;
        QCOMPARE(stored.size(), points.size());
        for (qsizetype i = 0; i < stored.size(); ++i) {
            QCOMPARE(stored[i].hz, points[i].hz);
            QVERIFY(qAbs(stored[i].swr - points[i].swr) < 0.001);
        }
        QCOMPARE(c.f.settings(), c.conf);

        // The dialog draws the kept sweep: its minimum's mark stands above the minimum's column.
        c.form->features().showSweep();
        auto *dialog = qobject_cast<SweepDialog *>(c.form->features().sweepDialog());
        QVERIFY(dialog);
        QCOMPARE(dialog->picture()->curves().size(), 1);
        const QSize size(800, 400);
        const QImage image = dialog->picture()->image(size);
        const QRect plot = dialog->picture()->plotIn(size);
        const QRgb mark = SweepPicture::colourOf(0, StoredSweep::Kind::Bare).rgb();
        qint64 sum = 0;
        int count = 0;
        for (int y = plot.top() - 11; y <= plot.top() - 2; ++y)
            for (int x = plot.left(); x <= plot.right(); ++x)
                if (image.pixel(x, y) == mark) {
                    sum += x;
                    ++count;
                }
        QVERIFY(count > 10);
        QVERIFY2(qAbs(double(sum) / count - dialog->picture()->columnOf(found->hz, size)) <= 1.0,
                 qPrintable(QString::number(double(sum) / count)));
        QVERIFY(dialog->picture()->accessibleDescription().contains(QStringLiteral("минимум КСВ")));
    }

    // A sweep's steps are counted before anything is made: no step overflows, and the last
    // frequency asked for is swept.
    void aSweepsStepsAreCountedFirstAndTheLastFrequencyIsSwept()
    {
        SweptConsole c;
        QVERIFY(c.start());
        QTRY_VERIFY_WITH_TIMEOUT(c.sweeper().unavailable().isEmpty(), 10000);
        QString why;
        Sweeper::Request huge;
        huge.band = 9;
        huge.from = 50000000;
        huge.to = 54000000;
        huge.step = std::numeric_limits<qint64>::max();
        huge.dwellMs = 100;
        huge.what = Sweeper::What::Bare;
        QVERIFY(!c.sweeper().start(huge, &why));
        QCOMPARE(why, QStringLiteral("шаг больше участка"));
        QVERIFY(!c.sweeper().running());

        QList<qint64> swept;
        connect(&c.sweeper(), &Sweeper::measured, this,
                [&](Sweeper::Kind, const StoredSweep::Point &p) { swept << p.hz; });
        Sweeper::Request request;
        request.band = 2;
        request.from = 7000000;
        request.to = 7020000;
        request.step = 7000;
        request.dwellMs = 100;
        request.what = Sweeper::What::Bare;
        QVERIFY2(c.sweeper().start(request, &why), qPrintable(why));
        QTRY_VERIFY_WITH_TIMEOUT(!c.sweeper().running(), 20000);
        QCOMPARE(swept, (QList<qint64>{7000000, 7007000, 7014000, 7020000}));
    }

    // Whatever ends a job, the relays are what following would recall where the radio is put
    // back; a pinned bin is never trained; a hopeless sweep stops.
    void afterAJobTheRelaysAreFollowingsAndNothingIsKeyedInVain()
    {
        SweptConsole c;
        QVERIFY(c.start());
        QTRY_VERIFY_WITH_TIMEOUT(c.sweeper().unavailable().isEmpty(), 10000);
        QVERIFY(c.station.tell("F 7014000"));
        QTRY_COMPARE(c.form->panel().state().radio.hz, std::optional<qint64>(7014000));
        FrequencyMemory &memory = c.form->features().memory();
        // One bin pinned beforehand: training over it again keys nothing there.
        QVERIFY(memory.keep(0, 7014000, {9, 9, 1}, 1.5, StoredTune::Source::Save, true));
        QVERIFY(memory.pin(0, 7014000, true));
        const TuneLookup::Found pinned = *memory.find(0, 7014000);
        Trainer &trainer = c.form->features().trainer();
        QString why;
        QVERIFY2(trainer.start(2, 7000000, 7030000, true, &why), qPrintable(why));
        QTRY_VERIFY_WITH_TIMEOUT(!trainer.running(), 60000);
        QCOMPARE(trainer.progress().skipped, 1);
        for (const QString &command : c.station.commands())
            QVERIFY(!command.startsWith(QStringLiteral("F %1").arg(pinned.bin.middle())));
        QCOMPARE(memory.find(0, 7014000)->relays, (RelaySetting{9, 9, 1}));
        // Put back at 7.014 MHz: its bin's tune, recalled, not the last bin trained.
        QTRY_COMPARE(c.form->panel().state().relays, (RelaySetting{9, 9, 1}));
        QVERIFY(c.form->panel().state().memory);

        // A bare sweep where nothing matches stops after three hopeless steps, unkeyed.
        const qsizetype keyed = c.station.commands().count(QStringLiteral("T 1"));
        QByteArray said;
        connect(&c.sweeper(), &Sweeper::finished, this,
                [&](int, const QString &stopped, const QString &) { said = stopped.toUtf8(); });
        Sweeper::Request hopeless;
        hopeless.band = 4;
        hopeless.dwellMs = 100;
        hopeless.what = Sweeper::What::Bare;
        QVERIFY2(c.sweeper().start(hopeless, &why), qPrintable(why));
        QTRY_VERIFY_WITH_TIMEOUT(!c.sweeper().running(), 20000);
        QCOMPARE(c.station.commands().count(QStringLiteral("T 1")) - keyed, 3);
        QVERIFY2(said.contains("25"), said.constData());
        QCOMPARE(c.station.ask("t"), QByteArray("0"));
        QTRY_COMPARE(c.form->panel().state().relays, (RelaySetting{9, 9, 1}));
    }

    // The picture's words read at a glance: none covers another or a line, in the window, its
    // PNG, and at the smallest size; every stretch counts, one to the sweep's end says so, and
    // a stopped sweep is marked.
    void thePicturesWordsNeverCoverEachOtherOrACurve()
    {
        SweepPicture picture;
        QList<StoredSweep::Point> bare;
        QList<StoredSweep::Point> tuned;
        for (qint64 hz = 7000000; hz <= 7200000; hz += 4000) {
            // Bare: under 2.0 from 7.10 MHz to the sweep's end; tuned: two dips under 1.5.
            bare << StoredSweep::Point{hz, hz >= 7100000 ? 1.2 + (7200000 - hz) / 1e6 : 3.5, {}};
            const double near = std::min(std::abs(hz - 7040000.0), std::abs(hz - 7150000.0));
            tuned << StoredSweep::Point{hz, 1.1 + near / 20000.0, {}};
        }
        picture.show(7000000, 7200000, {7000000, 7040000, 7100000, 7200000},
                     {{QStringLiteral("антенна без настройки, 08.12 09:46"),
                       StoredSweep::Kind::Bare, bare, false},
                      {QStringLiteral("с настройками памяти, 08.12 09:46"),
                       StoredSweep::Kind::Tuned, tuned, true}});
        const QString widths = picture.legendText(picture.curves()[0]);
        QVERIFY2(widths.contains(QStringLiteral("< 2,0: ≥ 101 кГц (до края обзора)")),
                 qPrintable(widths));
        const QString pieces = picture.legendText(picture.curves()[1]);
        QVERIFY2(pieces.contains(QStringLiteral("в 2 участках")), qPrintable(pieces));
        QVERIFY(pieces.contains(QStringLiteral("остановлен")));

        for (const QSize size : {picture.minimumSize(), QSize(640, 320), QSize(1200, 600)}) {
            const auto opaque = [](const QImage &image, int x, int y) {
                return qAlpha(image.pixel(x, y)) > 0;
            };
            // For a person to look at.
            QDir(QCoreApplication::applicationDirPath()).mkpath(QStringLiteral("screens"));
            picture.image(size).save(
                QCoreApplication::applicationDirPath() +
                QStringLiteral("/screens/sweep-%1x%2.png").arg(size.width()).arg(size.height()));
            const QImage drawing = picture.image(size, SweepPicture::Drawing);
            const int words = picture.wordCount(size);
            QVERIFY(words >= 8);
            QList<QImage> layers;
            for (int i = 0; i < words; ++i)
                layers << picture.image(size, i);
            int overlaps = 0;
            int onDrawing = 0;
            for (int y = 0; y < size.height(); ++y)
                for (int x = 0; x < size.width(); ++x) {
                    int here = 0;
                    for (const QImage &layer : std::as_const(layers))
                        here += opaque(layer, x, y) ? 1 : 0;
                    overlaps += here > 1 ? 1 : 0;
                    onDrawing += here > 0 && opaque(drawing, x, y) ? 1 : 0;
                }
            QVERIFY2(overlaps == 0 && onDrawing == 0,
                     qPrintable(QStringLiteral("%1×%2: %3 over a word, %4 over a line")
                                    .arg(size.width())
                                    .arg(size.height())
                                    .arg(overlaps)
                                    .arg(onDrawing)));
            // Nothing runs off the picture: the last column and row are clear of words.
            for (const QImage &layer : std::as_const(layers))
                for (int i = 0; i < std::max(size.width(), size.height()); ++i) {
                    QVERIFY(i >= size.height() || !opaque(layer, size.width() - 1, i));
                    QVERIFY(i >= size.width() || !opaque(layer, i, size.height() - 1));
                }
        }
    }

    void aTunedSweepAfterTrainingStaysUnderOnePointFiveAndStopRestoresTheRadio()
    {
        SweptConsole c;
        QVERIFY(c.start());
        QTRY_VERIFY_WITH_TIMEOUT(c.sweeper().unavailable().isEmpty(), 10000);
        QVERIFY(c.station.tell("F 7150000"));
        QTRY_COMPARE(c.form->panel().state().radio.hz, std::optional<qint64>(7150000));
        // 40 m starts at 6.6 MHz here: bins of 7 kHz from there.
        QString why;
        Trainer &trainer = c.form->features().trainer();
        QVERIFY2(trainer.start(2, 7000000, 7030000, false, &why), qPrintable(why));
        QTRY_VERIFY_WITH_TIMEOUT(!trainer.running(), 60000);
        const QList<StoredTune> trained = c.form->features().memory().ofBand(0, 2);
        QVERIFY(trained.size() >= 4);

        QList<StoredSweep::Point> tuned;
        connect(&c.sweeper(), &Sweeper::measured, this,
                [&](Sweeper::Kind kind, const StoredSweep::Point &p) {
                    if (kind == Sweeper::Kind::Tuned)
                        tuned << p;
                });
        Sweeper::Request request;
        request.band = 2;
        request.from = trained.first().hz;
        request.to = trained.last().hz;
        request.dwellMs = 100;
        request.what = Sweeper::What::Tuned;
        QVERIFY2(c.sweeper().start(request, &why), qPrintable(why));
        QTRY_VERIFY_WITH_TIMEOUT(!c.sweeper().running(), 30000);
        QCOMPARE(tuned.size(), trained.size());
        for (const StoredSweep::Point &p : std::as_const(tuned))
            QVERIFY2(p.swr < 1.5, qPrintable(QStringLiteral("%1 at %2").arg(p.swr).arg(p.hz)));

        // Stop mid-way: the carrier goes off at once, then the radio comes back, and the
        // relays are what following recalls there (no tune near 7.15 MHz: the slot's).
        const QList<QByteArray> before = c.radio();
        const Panel::State state = c.form->panel().state();
        const RelaySetting relays = c.form->panel().stored(state.selection);
        request.from = 0;
        request.to = 0;
        request.what = Sweeper::What::Both;
        request.dwellMs = 2000;
        QVERIFY(c.sweeper().start(request, &why));
        QTRY_VERIFY_WITH_TIMEOUT(c.station.ask("t") == "1", 10000);
        QElapsedTimer clock;
        clock.start();
        c.sweeper().stop();
        QTRY_COMPARE(c.station.ask("t"), QByteArray("0"));
        QVERIFY2(clock.elapsed() < 1000, qPrintable(QString::number(clock.elapsed())));
        QTRY_VERIFY(!c.sweeper().running());
        QCOMPARE(c.radio(), before);
        QTRY_COMPARE(c.form->panel().state().relays, relays);
        QCOMPARE(c.f.settings(), c.conf);
    }
};

QTEST_MAIN(TestSweep)
#include "tst_sweep.moc"
