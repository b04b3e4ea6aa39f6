#include "tune/lnetwork.h"
#include "tune/matchsearch.h"

#include <QTest>

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
};

QTEST_GUILESS_MAIN(TestMatchSearch)
#include "tst_matchsearch.moc"
