#include "app/language.h"
#include "rig/bandplan.h"
#include "settings/settingslock.h"
#include "sim/loadmodel.h"
#include "support/consolefixture.h"
#include "support/necantennas.h"
#include "support/programs.h"
#include "support/station.h"
#include "tune/matchsearch.h"
#include "tune/partsfit.h"
#include "tunes/computedtunes.h"
#include "tunes/measurement.h"
#include "tunes/tunestore.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTest>

#include <cmath>

namespace {

using Impedance = LNetwork::Impedance;
using Point = AntennaMeasurement::Point;

// Debian's Python, with its numpy and scikit-rf, whatever else is first on the path.
const QString Python = QStringLiteral("/usr/bin/python3");

QString run(const QString &program, const QStringList &arguments, int *status = nullptr,
            const QByteArray &input = {})
{
    QProcess process;
    process.start(program, arguments);
    process.write(input);
    process.closeWriteChannel();
    process.waitForFinished(60000);
    if (status)
        *status = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    return QString::fromUtf8(process.readAllStandardOutput() + process.readAllStandardError());
}

struct Form
{
    const char *unit;
    double hzPer;
    char parameter;
    const char *format;
    double reference;
};

// The file as an analyser might write it: comments, tabs, runs of spaces.
QByteArray touchstone(const QList<Point> &points, const Form &form)
{
    QByteArray out = "! written by the test\n#  " + QByteArray(form.unit) + '\t' + form.parameter +
                     ' ' + form.format + "   R " + QByteArray::number(form.reference) +
                     "  ! options\n";
    for (const Point &p : points) {
        std::complex<double> v;
        if (form.parameter == 'S')
            v = (p.z - form.reference) / (p.z + form.reference);
        else if (form.parameter == 'Z')
            v = p.z / form.reference;
        else
            v = form.reference / p.z;
        double a = v.real();
        double b = v.imag();
        if (QByteArray(form.format) != "RI") {
            a = QByteArray(form.format) == "DB" ? 20 * std::log10(std::abs(v)) : std::abs(v);
            b = std::arg(v) * 180 / M_PI;
        }
        out += QByteArray::number(double(p.hz) / form.hzPer, 'g', 12) + "\t " +
               QByteArray::number(a, 'e', 12) + "  " + QByteArray::number(b, 'e', 12) + '\n';
    }
    return out;
}

bool near(Impedance a, Impedance b, double relative)
{
    return std::abs(a - b) <= relative * std::max(1.0, std::abs(b));
}

QByteArray values(const LNetwork::Parts::Relays_t &v)
{
    QByteArray out;
    for (const double x : v)
        out += QByteArray::number(x, 'g', 17) + ',';
    return out.chopped(1);
}

} // namespace

// An antenna's measurement, read in and tuned on paper, against antennas NEC-2 computed and
// a Touchstone reader and an exhaustive search no one here wrote.
class TestAntenna : public QObject
{
    Q_OBJECT

private slots:
    void everyOptionLineReadsAsTheStandardAndScikitRfSay()
    {
        QTemporaryDir dir;
        QStringList sFiles;
        QList<QList<Point>> sExpected;
        const QList<Form> forms{{"HZ", 1, 'S', "RI", 50},     {"KHZ", 1e3, 'S', "MA", 75},
                                {"MHZ", 1e6, 'S', "DB", 50},  {"GHZ", 1e9, 'Z', "RI", 50},
                                {"HZ", 1, 'Z', "MA", 300},    {"KHZ", 1e3, 'Z', "DB", 50},
                                {"MHZ", 1e6, 'Y', "RI", 50},  {"GHZ", 1e9, 'Y', "MA", 50},
                                {"MHZ", 1e6, 'Y', "DB", 450}, {"GHZ", 1e9, 'S', "MA", 50}};
        int n = 0;
        for (const auto &[name, points] : necAntennas()) {
            QVERIFY2(points.size() == 284, name);
            for (const Form &form : forms) {
                const QString path = dir.filePath(QStringLiteral("%1-%2.s1p").arg(name).arg(++n));
                QFile file(path);
                QVERIFY(file.open(QIODevice::WriteOnly));
                file.write(touchstone(points, form));
                file.close();
                QString error;
                const auto read = AntennaMeasurement::readFile(path, &error);
                QVERIFY2(read, qPrintable(error));
                QCOMPARE(read->points.size(), points.size());
                // The standard's normalisation to R, for every parameter and format.
                for (qsizetype i = 0; i < points.size(); ++i) {
                    QCOMPARE(read->points[i].hz, points[i].hz);
                    QVERIFY2(near(read->points[i].z, points[i].z, 1e-9),
                             qPrintable(QStringLiteral("%1 %2 %3 at %4")
                                            .arg(path)
                                            .arg(read->points[i].z.real())
                                            .arg(points[i].z.real())
                                            .arg(i)));
                }
                if (form.parameter == 'S') {
                    sFiles << path;
                    sExpected << read->points;
                }
            }
        }
        // scikit-rf 0.15 reads the S forms; its .z fails on this numpy, so z from its .s.
        int status = 0;
        const QString script = QStringLiteral(
            "import sys, warnings\nwarnings.simplefilter('ignore')\nimport skrf\n"
            "for path in sys.argv[1:]:\n"
            "    n = skrf.Network(path)\n"
            "    z0 = n.z0[:, 0]\n    s = n.s[:, 0, 0]\n    z = z0 * (1 + s) / (1 - s)\n"
            "    print(path, len(z))\n"
            "    for f, v in zip(n.f, z):\n        print('%.3f %.12e %.12e' % (f, v.real, "
            "v.imag))\n");
        const QString out =
            run(Python, QStringList{QStringLiteral("-c"), script} + sFiles, &status);
        QVERIFY2(status == 0, qPrintable(out.right(2000)));
        const QStringList lines = out.split(QLatin1Char('\n'), Qt::SkipEmptyParts)
                                      .filter(QRegularExpression(QStringLiteral("^[/0-9]")));
        qsizetype at = 0;
        for (qsizetype f = 0; f < sFiles.size(); ++f) {
            QVERIFY2(at < lines.size() && lines[at].startsWith(sFiles[f]), qPrintable(sFiles[f]));
            ++at;
            for (const Point &ours : std::as_const(sExpected[f])) {
                const QStringList w = lines.value(at++).split(QLatin1Char(' '));
                QVERIFY(w.size() == 3);
                QVERIFY(std::abs(w[0].toDouble() - double(ours.hz)) < 1);
                QVERIFY2(near(ours.z, {w[1].toDouble(), w[2].toDouble()}, 1e-9),
                         qPrintable(sFiles[f] + QLatin1Char(' ') + w.join(QLatin1Char(' '))));
            }
        }
    }

    void aFileThatIsNoAntennaIsRefusedWithItsLine_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("reason");
        QTest::newRow("two ports by name")
            << "a.s2p" << QByteArray("# MHZ S RI R 50\n7 0 0 0 0 0 0 0 0\n") << "2-port";
        QTest::newRow("two ports by data")
            << "a.s1p" << QByteArray("# MHZ S RI R 50\n7 0 0 0 0 0 0 0 0\n") << "line 2: two ports";
        QTest::newRow("descending") << "a.s1p" << QByteArray("# MHZ Z RI\n7 1 0\n! x\n6 1 0\n")
                                    << "line 4: the frequencies are not ascending";
        QTest::newRow("too low") << "a.s1p" << QByteArray("# KHZ Z RI\n50 1 0\n")
                                 << "line 2: 50000 Hz is outside";
        QTest::newRow("too high") << "a.csv"
                                  << QByteArray("frequency Hz,R,X\n7000000,50,0\n4000000000,50,0\n")
                                  << "line 3:";
        QTest::newRow("active") << "a.s1p" << QByteArray("# MHZ S MA R 50\n7 0.5 0\n7.1 1.2 30\n")
                                << "line 3: an active load";
        QTest::newRow("active in csv")
            << "a.csv" << QByteArray("7000000,-5,0\n") << "line 1: an active load";
        QTest::newRow("nan") << "a.csv" << QByteArray("7000000,nan,0\n")
                             << "line 1: a value that is not a number";
        QTest::newRow("missing column") << "a.csv" << QByteArray("frequency Hz,R,X\n7000000,50\n")
                                        << "line 2: a missing column";
        QTest::newRow("option") << "a.s1p" << QByteArray("# MHZ S XY\n") << "line 1: \"XY\"";
        QByteArray many = "# HZ Z RI\n";
        for (int i = 0; i <= AntennaMeasurement::MaxPoints; ++i)
            many += QByteArray::number(1000000 + i) + " 1 0\n";
        QTest::newRow("too many") << "a.s1p" << many << "more than 100000 points";
        QTest::newRow("too large") << "a.csv" << QByteArray(AntennaMeasurement::MaxBytes + 1, '\n')
                                   << "larger than 16 MiB";
    }
    void aFileThatIsNoAntennaIsRefusedWithItsLine()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, bytes);
        QFETCH(QString, reason);
        QString error;
        useLanguage(Language::English);
        const bool read = AntennaMeasurement::read(bytes, name, &error).has_value();
        useLanguage(Language::Russian);
        QVERIFY(!read);
        QVERIFY2(error.contains(reason), qPrintable(error));
        // The window's own language says it too, with the line.
        AntennaMeasurement::read(bytes, name, &error);
        QVERIFY2(error.startsWith(u"строка ") || !reason.startsWith(u"line "), qPrintable(error));
    }

    // Every bin of every band, through a tuner whose parts are off nominal, against numpy's
    // own exhaustive search of all 2 × 256 × 256 settings.
    void computedTunesAreTheExhaustiveBest()
    {
        const LNetwork::Parts parts = offNominalParts();
        AntennaMeasurement doublet;
        doublet.points = necAntennas().at(1).second;
        const QList<ComputedTunes::Band> bands = ComputedTunes::compute(doublet, BandPlan(), parts);
        QByteArray table;
        int bins = 0;
        for (const ComputedTunes::Band &band : bands) {
            for (const ComputedTunes::Bin &bin : band.bins) {
                if (!bin.load)
                    continue;
                ++bins;
                table += QByteArray::number(bin.bin.middle()) + ' ' +
                         QByteArray::number(bin.load->real(), 'g', 17) + ' ' +
                         QByteArray::number(bin.load->imag(), 'g', 17) + ' ' +
                         QByteArray::number(bin.best.setting.codeC) + ' ' +
                         QByteArray::number(bin.best.setting.codeL) + ' ' +
                         QByteArray::number(bin.best.setting.side) + ' ' +
                         QByteArray::number(bin.best.swr, 'g', 17) + '\n';
            }
        }
        QVERIFY(bins > 200);
        const QString script = QStringLiteral(R"(
import sys, numpy as np
cp = np.array([float(v) for v in sys.argv[1].split(',')]) * 1e-12
ln = np.array([float(v) for v in sys.argv[2].split(',')]) * 1e-9
stray, q = float(sys.argv[3]) * 1e-12, float(sys.argv[4])
codes = np.arange(256)
bits = (codes[:, None] >> np.arange(8)) & 1
C = bits @ cp + stray
L = bits @ ln
bad = 0
for line in sys.stdin:
    hz, r, x, c, l, side, swr = line.split()
    w = 2 * np.pi * float(hz)
    load = complex(float(r), float(x))
    coil = (w * L / q + 1j * w * L)[None, :]
    yc = (1j * w * C)[:, None]
    z0 = coil + 1 / (1 / load + yc)           # side 0: the bank across the load
    z1 = 1 / (1 / (coil + load) + yc)         # side 1: the bank across coil and load
    g = np.abs((np.stack([z0, z1]) - 50) / (np.stack([z0, z1]) + 50))
    s = (1 + g) / (1 - g)
    best = s.min()
    ours = s[int(side), int(c), int(l)]
    if abs(best - float(swr)) > 1e-9 * best or abs(ours - best) > 1e-9 * best:
        bad += 1
        print('differs at', hz, best, swr, ours)
print('checked', bad)
)");
        int status = 0;
        const QString out =
            run(Python,
                {QStringLiteral("-c"), script, QString::fromLatin1(values(parts.capacitorsPf)),
                 QString::fromLatin1(values(parts.coilsNh)), QString::number(parts.strayPf),
                 QString::number(parts.coilQ)},
                &status, table);
        QCOMPARE(status, 0);
        QVERIFY2(out.trimmed().endsWith(QLatin1String("checked 0")), qPrintable(out.right(2000)));
    }

    // Searches at ten frequencies through the simulated tuner whose parts are off nominal
    // teach the parts: afterwards the tunes computed from the measurement, as the simulator
    // reads them, are within
    // 0.1 of their best (or at most 1.5) on nine bins in ten that can be brought under 2.0.
    // Without the measurement the loads are fitted too: with two unknowns more for every eight
    // or so readings the parts are less sure, but the residual falls all the same.
    void theFitLearnsTheTunersParts()
    {
        const LNetwork::Parts truth = offNominalParts();
        const LNetwork::Parts nominal = LNetwork::Parts::nominal(10, 500);
        AntennaMeasurement measured;
        measured.points = necAntennas().at(0).second; // the dipole
        const BandPlan plan;
        // The simulated station reads through its own parts, the measured antenna between
        // its points.
        LoadModel station;
        station.setMeasurement(measured);
        station.setParts(truth);
        QCOMPARE(station.partsFor({10, 500}), truth);
        QList<PartsFit::Reading> readings;
        int searched = 0;
        for (const double mhz : {3.6, 3.75, 7.05, 7.15, 10.12, 14.1, 14.3, 18.1, 21.2, 24.9}) {
            const double hz = mhz * 1e6;
            const Impedance load = *measured.at(std::llround(hz));
            MatchSearch search({hz, 10, 500});
            while (const auto s = search.next()) {
                // A radio's meter: two decimals.
                const double swr = std::round(station.swr(hz, {10, 500}, *s) * 100) / 100;
                search.measured(*s, swr);
                readings << PartsFit::Reading{hz, *s, swr, load};
            }
            ++searched;
        }
        QCOMPARE(searched, 10);
        const PartsFit::Result fit = PartsFit::fit(nominal, readings);
        QVERIFY2(fit.error.isEmpty(), qPrintable(fit.error));
        QVERIFY2(fit.residualAfter < fit.residualBefore / 3,
                 qPrintable(PartsFit::report(fit).join(QLatin1Char('\n'))));
        const auto share = [&](const LNetwork::Parts &model) {
            int eligible = 0;
            int good = 0;
            for (const ComputedTunes::Band &band : ComputedTunes::compute(measured, plan, model)) {
                for (const ComputedTunes::Bin &bin : band.bins) {
                    if (!bin.load)
                        continue;
                    const double hz = double(bin.bin.middle());
                    const double best = LNetwork::bestFor(*bin.load, hz, truth).swr;
                    if (best > 2.0)
                        continue;
                    ++eligible;
                    const double got = station.swr(hz, {10, 500}, bin.best.setting);
                    good += got <= best + 0.1 || got <= 1.5 ? 1 : 0;
                }
            }
            return double(good) / std::max(1, eligible);
        };
        const double before = share(nominal);
        const double after = share(fit.parts);
        qInfo("computed tunes within 0.1 of the true best: %.0f %% before the fit, %.0f %% after",
              100 * before, 100 * after);
        QVERIFY2(after >= 0.9, qPrintable(QStringLiteral("%1 before, %2 after:\n%3")
                                              .arg(before)
                                              .arg(after)
                                              .arg(PartsFit::report(fit).join(u'\n'))));

        // The same readings without the measurement: each frequency's load is fitted too.
        QList<PartsFit::Reading> unknown = readings;
        for (PartsFit::Reading &r : unknown)
            r.load.reset();
        const PartsFit::Result joint = PartsFit::fit(nominal, unknown);
        QVERIFY2(joint.error.isEmpty(), qPrintable(joint.error));
        QCOMPARE(joint.unknownLoads, 10);
        QVERIFY2(joint.residualAfter < joint.residualBefore * 0.7,
                 qPrintable(PartsFit::report(joint).join(u'\n')));

        // Searches at every band's middle the true parts bring under 2.0, through the station:
        // after the fit, with the measurement, a few probes and each finds the true best.
        // Without it, the loads fitted too leave the parts less sure (the stray across the
        // antenna side is the load's own susceptance to them): no more probes than today, and
        // no fewer points found.
        struct Searched
        {
            QList<int> probes; // sorted
            int found = 0;
        };
        const auto searches = [&](const MatchSearch::Config &model) {
            Searched out;
            for (int band = 0; band < BandPlan::Bands; ++band) {
                const double hz = double(plan.band(band).low + plan.band(band).high) / 2;
                const Impedance load = station.loadAt(hz);
                const double best = LNetwork::bestFor(load, hz, truth).swr;
                if (hz > 30e6 || best > 2.0)
                    continue;
                MatchSearch::Config config = model;
                config.hz = hz;
                if (config.load)
                    config.load = load;
                MatchSearch search(config);
                while (const auto s = search.next()) {
                    search.measured(*s, std::round(station.swr(hz, {10, 500}, *s) * 100) / 100);
                }
                out.found += search.bestSwr() <= best + 0.1 ? 1 : 0;
                out.probes << search.probes();
            }
            std::sort(out.probes.begin(), out.probes.end());
            return out;
        };
        MatchSearch::Config measuredModel{0, 10, 500, fit.parts};
        measuredModel.load = Impedance{};
        const Searched withMeasurement = searches(measuredModel);
        const Searched blind = searches({0, 10, 500, joint.parts});
        const Searched today = searches({0, 10, 500, nominal});
        const auto figures = [](const Searched &s) {
            return QStringLiteral("median %1, worst %2, %3 of %4 found")
                .arg(s.probes[s.probes.size() / 2])
                .arg(s.probes.last())
                .arg(s.found)
                .arg(s.probes.size());
        };
        const QString said = QStringLiteral("with the measurement %1; without %2; nominal parts %3")
                                 .arg(figures(withMeasurement), figures(blind), figures(today));
        qInfo("probes after the fit: %s", qPrintable(said));
        QVERIFY2(withMeasurement.probes.size() >= 6, qPrintable(said));
        QVERIFY2(withMeasurement.found == withMeasurement.probes.size() &&
                     withMeasurement.probes[withMeasurement.probes.size() / 2] <= 4 &&
                     withMeasurement.probes.last() <= 20,
                 qPrintable(said));
        QVERIFY2(blind.probes[blind.probes.size() / 2] <= today.probes[today.probes.size() / 2] &&
                     blind.found >= today.found,
                 qPrintable(said));

        // A relay never switched in keeps its value and says so.
        QList<PartsFit::Reading> without;
        for (const PartsFit::Reading &r : std::as_const(readings))
            if (!(r.setting.codeC & 0x80))
                without << r;
        const PartsFit::Result partial = PartsFit::fit(nominal, without);
        QCOMPARE(partial.capacitors[7].refused, QStringLiteral("ни разу не включалась"));
        QCOMPARE(partial.parts.capacitorsPf[7], nominal.capacitorsPf[7]);
    }

    // The command line reads the file in, computes every band and says so; a measured tune
    // stays; a bad file stores nothing; a running console refuses it.
    void theCommandLineImportsAndComputes()
    {
        ProgramFolder folder;
        QVERIFY(folder.isValid());
        QFile conf(folder.settingsPath());
        QVERIFY(conf.open(QIODevice::WriteOnly));
        conf.write(SettingsImage().port(1).steps(10, 500).bytes());
        conf.close();
        const QString s1p = QDir(folder.path()).filePath(QStringLiteral("dipole.s1p"));
        QFile file(s1p);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(touchstone(necAntennas().at(0).second, {"MHZ", 1e6, 'Z', "RI", 50}));
        file.close();
        const auto import = [&](const QString &path, int *status) {
            QProcess p;
            p.setProcessEnvironment(folder.environment());
            p.start(folder.program(QStringLiteral("orvane")),
                    {QStringLiteral("--lang"), QStringLiteral("en"),
                     QStringLiteral("--import-antenna"), QStringLiteral("1"), path});
            p.waitForFinished(30000);
            *status = p.exitCode();
            return QString::fromUtf8(p.readAllStandardOutput() + p.readAllStandardError());
        };
        int status = -1;
        QString out = import(s1p, &status);
        QCOMPARE(status, 0);
        QStringList lines = out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 1 + BandPlan::Bands);
        QCOMPARE(lines[0], QStringLiteral("Antenna 1: 284 points from dipole.s1p"));
        QVERIFY2(lines.contains(QStringLiteral("40 m: 29 bins, all under 1.5")), qPrintable(out));
        QVERIFY2(lines[1].startsWith(QStringLiteral("160 m: out of reach — needs ")) &&
                     lines[1].contains(QStringLiteral("µH, the coils give 127.5 µH")),
                 qPrintable(lines[1]));

        const BandPlan plan;
        const BandPlan::Bin bin = *plan.binOf(7100000);
        {
            TuneStore store;
            QVERIFY(store.open(folder.path(), nullptr, nullptr));
            const QList<StoredTune> forty = store.between(0, 7000000, 7200000);
            QCOMPARE(forty.size(), 29);
            for (const StoredTune &t : forty)
                QCOMPARE(t.source, StoredTune::Source::Computed);
            // The operator's own tune of one bin.
            StoredTune saved;
            saved.hz = bin.middle();
            saved.relays = {3, 4, 0};
            QCOMPARE(store.put(saved, bin.low, bin.high, false), TuneStore::Put::Stored);
        }
        QCOMPARE(import(s1p, &status).count(QLatin1Char('\n')), 1 + BandPlan::Bands);
        QCOMPARE(status, 0);
        {
            TuneStore store;
            QVERIFY(store.open(folder.path(), nullptr, nullptr));
            const QList<StoredTune> kept = store.between(0, bin.low, bin.high);
            QCOMPARE(kept.size(), 1);
            QCOMPARE(kept[0].source, StoredTune::Source::Save);
            QCOMPARE(store.between(0, 7000000, 7200000).size(), 29);
            QVERIFY(store.measurement(0, true)); // the one before, for an undo
        }

        // A bad file: the line named, nothing stored.
        const QString bad = QDir(folder.path()).filePath(QStringLiteral("bad.csv"));
        QFile badFile(bad);
        QVERIFY(badFile.open(QIODevice::WriteOnly));
        badFile.write("frequency Hz,R,X\n7000000,50,0\n6900000,50,0\n");
        badFile.close();
        out = import(bad, &status);
        QCOMPARE(status, 1);
        QVERIFY2(out.contains(QLatin1String("bad.csv: line 3")), qPrintable(out));
        {
            TuneStore store;
            QVERIFY(store.open(folder.path(), nullptr, nullptr));
            QCOMPARE(store.measurement(0)->file, QStringLiteral("dipole.s1p"));
        }

        // A console started on it recalls them like any other, and tells the measurement.
        QProcess console;
        console.setProcessEnvironment(folder.environment());
        const quint16 control = freeLocalPort();
        console.start(folder.program(QStringLiteral("orvane")),
                      {QStringLiteral("--lang"), QStringLiteral("en"), QStringLiteral("--headless"),
                       QStringLiteral("--control"), QString::number(control)});
        QTcpSocket client;
        for (int i = 0; i < 100 && client.state() != QAbstractSocket::ConnectedState; ++i) {
            QTest::qWait(100);
            client.connectToHost(QHostAddress::LocalHost, control);
            client.waitForConnected(200);
        }
        QCOMPARE(client.state(), QAbstractSocket::ConnectedState);
        client.write("\\get_measurement 1\n\\get_tunes 1 40m\n\\get_sweep 1 40m\n"
                     "\\get_measurement 2\n");
        QByteArray heard;
        while (!heard.contains("RPRT -") && client.waitForReadyRead(5000))
            heard += client.readAll();
        QVERIFY2(heard.startsWith("File=dipole.s1p Points=284 From=1700000 To=30000000 Imported="),
                 heard.constData());
        QVERIFY2(heard.contains("\n40 m: 29 bins, all under 1.5\n"), heard.constData());
        QCOMPARE(heard.count("Source=computed"), 28); // one bin holds the operator's tune
        // Beside the sweeps, the measurement as a curve: the band's ends and the points within.
        QVERIFY2(heard.contains("Kind=measured File=dipole.s1p Points=3 Complete=1\n"
                                "measured 7000000 "),
                 heard.constData());
        QVERIFY(heard.contains("\nmeasured 7200000 "));
        QVERIFY(heard.endsWith("RPRT -11\n")); // antenna 2 has none
        // The parts as modelled: the steps' own; no readings yet, so no fit.
        heard.clear();
        client.write("\\get_parts\n\\fit_parts\n");
        while (!heard.contains("RPRT -") && client.waitForReadyRead(5000))
            heard += client.readAll();
        QVERIFY2(heard.startsWith("10,20,40,80,160,320,640,1280\n"
                                  "500,1000,2000,4000,8000,16000,32000,64000\n0\n0\n"
                                  "0 readings cannot determine"),
                 heard.constData());
        QVERIFY(heard.endsWith("RPRT -11\n"));
        {
            // While it runs, the file is its own.
            import(s1p, &status);
            QCOMPARE(status, 1);
        }
        console.terminate();
        QVERIFY(console.waitForFinished(10000));

        // Searches at ten frequencies through the simulated tuner, off nominal, kept as a
        // console keeps its readings. A console's \fit_parts apply learns the parts from them
        // and computes every bin again: 20 m's tunes, as the simulator reads them, within 0.1
        // of the true parts' best (or under 1.5) where that is under 2.0.
        const LNetwork::Parts truth = offNominalParts();
        LoadModel station;
        AntennaMeasurement dipole;
        dipole.points = necAntennas().at(0).second;
        station.setMeasurement(dipole);
        station.setParts(truth);
        const auto read = [&](double hz, const RelaySetting &s) {
            return std::round(station.swr(hz, {10, 500}, s) * 100) / 100;
        };
        {
            TuneStore store;
            QVERIFY(store.open(folder.path(), nullptr, nullptr));
            for (const double mhz : {3.6, 3.75, 7.05, 7.15, 10.12, 14.1, 14.3, 18.1, 21.2, 24.9}) {
                MatchSearch search({mhz * 1e6, 10, 500});
                while (const auto s = search.next()) {
                    search.measured(*s, read(mhz * 1e6, *s));
                    QVERIFY(store.addProbe({0, std::llround(mhz * 1e6), *s, read(mhz * 1e6, *s)}));
                }
            }
        }
        console.start(folder.program(QStringLiteral("orvane")),
                      {QStringLiteral("--lang"), QStringLiteral("en"), QStringLiteral("--headless"),
                       QStringLiteral("--control"), QString::number(control)});
        client.abort();
        for (int i = 0; i < 100 && client.state() != QAbstractSocket::ConnectedState; ++i) {
            QTest::qWait(100);
            client.connectToHost(QHostAddress::LocalHost, control);
            client.waitForConnected(200);
        }
        QCOMPARE(client.state(), QAbstractSocket::ConnectedState);
        // Values come without a status: a refusal after the command marks their end.
        const auto ask = [&](const QByteArray &command) {
            QByteArray answer;
            client.write(command + "\n\\get_measurement 3\n");
            while (!answer.endsWith("RPRT -11\n") && client.waitForReadyRead(30000))
                answer += client.readAll();
            answer.chop(qsizetype(sizeof("RPRT -11\n") - 1));
            return answer;
        };
        const QByteArray before = ask("\\get_tunes 1 20m");
        const QByteArray fitted = ask("\\fit_parts apply");
        QVERIFY2(fitted.contains("\nResidual ") && !fitted.contains("RPRT"), fitted.constData());
        QVERIFY(!ask("\\get_parts").startsWith("10,20,40,80,160,320,640,1280\n"));
        QByteArray after;
        for (int i = 0; i < 100 && (after = ask("\\get_tunes 1 20m")) == before; ++i)
            QTest::qWait(100);
        static const QRegularExpression tune(
            QStringLiteral("^(\\d+) C=(\\d+) L=(\\d+) Side=(Tx|Ant) .*Source=computed"),
            QRegularExpression::MultilineOption);
        int eligible = 0;
        int good = 0;
        for (auto it = tune.globalMatch(QString::fromLatin1(after)); it.hasNext();) {
            const QRegularExpressionMatch m = it.next();
            const double hz = m.captured(1).toDouble();
            const double best = LNetwork::bestFor(station.loadAt(hz), hz, truth).swr;
            if (best > 2.0)
                continue;
            ++eligible;
            const double got =
                read(hz, {quint8(m.captured(2).toInt()), quint8(m.captured(3).toInt()),
                          quint8(m.captured(4) == QLatin1String("Tx") ? 1 : 0)});
            good += got <= best + 0.1 || got <= 1.5 ? 1 : 0;
        }
        QVERIFY2(eligible >= 20 && good >= 0.9 * eligible,
                 qPrintable(QStringLiteral("%1 of %2:\n").arg(good).arg(eligible) +
                            QString::fromLatin1(after)));
        console.terminate();
        QVERIFY(console.waitForFinished(10000));

        // Another program that holds the settings file, too.
        SettingsLock lock(folder.settingsPath());
        QVERIFY(lock.tryLock());
        import(s1p, &status);
        QCOMPARE(status, 1);
    }
};

QTEST_GUILESS_MAIN(TestAntenna)
#include "tst_antenna.moc"
