#include "tune/lnetwork.h"
#include "tune/matchsearch.h"

#include <QTest>

#include <cmath>

// The matching search against the network's model, where the best match is known.
class TestMatchSearch : public QObject
{
    Q_OBJECT

    static double exhaustiveBest(LNetwork::Impedance load, double hz)
    {
        return LNetwork::bestOf(
                   [&](const LNetwork::Setting &s) { return LNetwork::swr(load, hz, 10, 500, s); })
            .swr;
    }

private slots:
    void theSearchFindsTheMatch_data()
    {
        QTest::addColumn<double>("mhz");
        QTest::addColumn<double>("r");
        QTest::addColumn<double>("x");
        QTest::newRow("short vertical on 80 m") << 3.6 << 12.0 << -180.0;
        QTest::newRow("long wire on 40 m") << 7.1 << 450.0 << 250.0;
        QTest::newRow("dipole off resonance, 20 m") << 14.2 << 60.0 << 90.0;
        QTest::newRow("low and inductive, 10 m") << 28.5 << 8.0 << 40.0;
        QTest::newRow("high and capacitive, 160 m") << 1.9 << 300.0 << -400.0;
        QTest::newRow("already matched") << 21.2 << 50.0 << 0.0;
    }
    void theSearchFindsTheMatch()
    {
        QFETCH(double, mhz);
        QFETCH(double, r);
        QFETCH(double, x);
        const LNetwork::Impedance load(r, x);
        const double hz = mhz * 1e6;
        MatchSearch search({hz, 10, 500});
        while (const auto s = search.next())
            search.measured(*s, LNetwork::swr(load, hz, 10, 500, *s));
        const double best = exhaustiveBest(load, hz);
        QVERIFY2(search.bestSwr() <= best + 0.1,
                 qPrintable(QStringLiteral("%1 against %2").arg(search.bestSwr()).arg(best)));
        QVERIFY2(search.probes() <= 60, qPrintable(QString::number(search.probes())));
    }

    void withoutAModelTheSearchStillFinds()
    {
        const LNetwork::Impedance load(25, 30);
        const double hz = 14.2e6;
        MatchSearch search({0, 10, 500}); // the frequency is not known
        while (const auto s = search.next())
            search.measured(*s, LNetwork::swr(load, hz, 10, 500, *s));
        QVERIFY(search.bestSwr() <= exhaustiveBest(load, hz) + 0.1);
        QVERIFY(search.probes() <= 300);
    }

    // With the antenna's measured impedance the search starts at the model's best for it: read
    // as the model says, that ends the search; read otherwise (the antenna is not as measured),
    // the search goes on from the readings and finds the real best.
    void aMeasuredLoadReadAsPredictedEndsTheSearch()
    {
        const double hz = 10.125e6;
        const LNetwork::Impedance measured(172.7, 812.3);
        MatchSearch::Config config{hz, 10, 500};
        config.load = measured;
        MatchSearch agreed(config);
        while (const auto s = agreed.next())
            agreed.measured(*s, std::round(LNetwork::swr(measured, hz, 10, 500, *s) * 100) / 100);
        QCOMPARE(agreed.probes(), 1);
        QCOMPARE(*agreed.best(),
                 LNetwork::bestFor(measured, hz, LNetwork::Parts::nominal(10, 500)).setting);

        const LNetwork::Impedance real(120, 600);
        MatchSearch moved(config);
        while (const auto s = moved.next())
            moved.measured(*s, LNetwork::swr(real, hz, 10, 500, *s));
        QVERIFY(moved.probes() > 1);
        const double best = exhaustiveBest(real, hz);
        QVERIFY2(moved.bestSwr() <= best + 0.1,
                 qPrintable(QStringLiteral("%1 against %2").arg(moved.bestSwr()).arg(best)));
    }

    // The fast exhaustive search agrees with the plain one through parts off their nominal
    // values, a stray capacitance and lossy coils, on loads low, high and reactive.
    void theFastBestIsTheExhaustiveBest()
    {
        LNetwork::Parts parts = LNetwork::Parts::nominal(10, 500);
        const double off[8] = {1.07, 0.93, 1.05, 0.96, 1.08, 0.92, 1.03, 0.97};
        for (int bit = 0; bit < 8; ++bit) {
            parts.capacitorsPf[bit] *= off[bit];
            parts.coilsNh[bit] *= off[7 - bit];
        }
        parts.strayPf = 15;
        parts.coilQ = 120;
        for (const auto &[load, hz] : {std::pair{LNetwork::Impedance(12, -30), 7.1e6},
                                       std::pair{LNetwork::Impedance(1800, 900), 3.6e6},
                                       std::pair{LNetwork::Impedance(50, 0), 14.1e6},
                                       std::pair{LNetwork::Impedance(4, 120), 28.5e6}}) {
            const LNetwork::Best fast = LNetwork::bestFor(load, hz, parts);
            const LNetwork::Best plain = LNetwork::bestOf(
                [&](const LNetwork::Setting &s) { return LNetwork::swr(load, hz, parts, s); });
            QCOMPARE(fast.setting, plain.setting);
            QCOMPARE(fast.swr, plain.swr);
        }
        // Nominal parts are the steps' model exactly.
        const LNetwork::Setting s{37, 12, 1};
        QCOMPARE(LNetwork::swr({20, 35}, 7e6, LNetwork::Parts::nominal(10, 500), s),
                 LNetwork::swr({20, 35}, 7e6, 10, 500, s));
    }

    // The shaded reach is what the exhaustive best says, cell by cell: lossless nominal parts on
    // 160 m (short coils), and lossy parts off nominal with a stray on 10 m.
    void theReachIsWhereTheBestIsUnderTheLimit()
    {
        LNetwork::Parts lossy = LNetwork::Parts::nominal(10, 500);
        for (int bit = 0; bit < 8; ++bit)
            lossy.capacitorsPf[bit] *= bit % 2 ? 1.06 : 0.95;
        lossy.strayPf = 15;
        lossy.coilQ = 120;
        constexpr int Cells = 24;
        for (const auto &[parts, hz] :
             {std::pair{LNetwork::Parts::nominal(10, 500), 1.9e6}, std::pair{lossy, 28.5e6}}) {
            const std::vector<bool> map = LNetwork::reachMap(hz, parts, Cells);
            int inside = 0;
            int reached = 0;
            for (int j = 0; j < Cells; ++j) {
                for (int i = 0; i < Cells; ++i) {
                    const std::complex<double> g(-1 + (i + 0.5) * 2 / Cells,
                                                 1 - (j + 0.5) * 2 / Cells);
                    if (std::abs(g) >= 1) {
                        QVERIFY(!map[j * Cells + i]);
                        continue;
                    }
                    ++inside;
                    const double best =
                        LNetwork::bestFor(50.0 * (1.0 + g) / (1.0 - g), hz, parts).swr;
                    if (std::abs(best - 2) < 1e-6)
                        continue;
                    QVERIFY2(
                        map[j * Cells + i] == (best < 2),
                        qPrintable(QStringLiteral("cell %1,%2: best %3").arg(i).arg(j).arg(best)));
                    reached += best < 2;
                }
            }
            // Neither all nor nothing, or the comparison proves little.
            QVERIFY2(reached > inside / 10 && reached < inside,
                     qPrintable(QStringLiteral("%1 of %2").arg(reached).arg(inside)));
        }
    }
};

QTEST_GUILESS_MAIN(TestMatchSearch)
#include "tst_matchsearch.moc"
