#include "rig/bandplan.h"
#include "rig/rigctldclient.h"
#include "support/fakedaemon.h"

#include <QSettings>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTest>

// The band table and the rigctld client against a small daemon of the test's own, for what a
// real daemon does not do: errors, noise, split replies, silence.
class TestRig : public QObject
{
    Q_OBJECT

private slots:
    void bandsAndSubBands_data()
    {
        QTest::addColumn<double>("mhz");
        QTest::addColumn<int>("band"); // -1: outside every band
        QTest::addColumn<int>("subBand");
        QTest::newRow("160 m bottom") << 1.810 << 0 << 0;
        QTest::newRow("7.074 in 40 m, second fifth") << 7.074 << 2 << 1;
        QTest::newRow("7.079 still there") << 7.0799 << 2 << 1;
        QTest::newRow("40 m top edge") << 7.200 << 2 << 4;
        QTest::newRow("14.2 in 20 m") << 14.200 << 4 << 2;
        QTest::newRow("28.5 in 10 m, second fifth") << 28.500 << 8 << 1;
        QTest::newRow("6 m is the extra band") << 50.150 << 9 << 0;
        QTest::newRow("60 m is none") << 5.300 << -1 << 0;
        QTest::newRow("2 m is none") << 145.000 << -1 << 0;
    }
    void bandsAndSubBands()
    {
        QFETCH(double, mhz);
        QFETCH(int, band);
        QFETCH(int, subBand);
        const auto position = BandPlan().locate(qRound64(mhz * 1e6));
        QCOMPARE(position.has_value(), band >= 0);
        if (position)
            QCOMPARE(*position, (BandPlan::Position{band, subBand}));
    }

    void bandTableComesFromTheSettings()
    {
        QTemporaryDir temp;
        QSettings settings(temp.filePath("user.conf"), QSettings::IniFormat);
        settings.setValue("bands/40m", "7.000-7.300");
        settings.setValue("bands/40m_split", "7.040,7.060,7.100,7.200");
        settings.setValue("bands/extra", "70.0-70.5");
        settings.setValue("bands/20m", "rubbish");
        BandPlan plan;
        QCOMPARE(plan.loadFrom(settings).size(), 1); // 20m is named and keeps its default
        QCOMPARE(*plan.locate(7'250'000), (BandPlan::Position{2, 4}));
        QCOMPARE(*plan.locate(7'065'000), (BandPlan::Position{2, 2}));
        QCOMPARE(*plan.locate(70'050'000), (BandPlan::Position{9, 0}));
        QVERIFY(!plan.locate(50'100'000));
        QCOMPARE(*plan.locate(14'200'000), (BandPlan::Position{4, 2}));
    }

    void addresses_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("host");
        QTest::addColumn<int>("port");
        QTest::newRow("name") << "localhost"
                              << "localhost" << 4532;
        QTest::newRow("name and port") << "shack.lan:4533"
                                       << "shack.lan" << 4533;
        QTest::newRow("IPv4") << "127.0.0.1"
                              << "127.0.0.1" << 4532;
        QTest::newRow("IPv6 in brackets") << "[::1]:4600"
                                          << "::1" << 4600;
        QTest::newRow("bare IPv6") << "::1"
                                   << "::1" << 4532;
        QTest::newRow("nonsense") << "no such/host"
                                  << "" << 0;
        QTest::newRow("empty") << ""
                               << "" << 0;
    }
    void addresses()
    {
        QFETCH(QString, text);
        QFETCH(QString, host);
        QFETCH(int, port);
        const std::optional<HostPort> parsed = RigctldClient::parseAddress(text);
        QCOMPARE(parsed.has_value(), port != 0);
        if (port) {
            QCOMPARE(parsed->host, host);
            QCOMPARE(int(parsed->port), port);
        }
    }

    void repliesAreReadToTheirEnd_data()
    {
        QTest::addColumn<bool>("split");
        QTest::addColumn<QByteArray>("ptt");
        QTest::addColumn<int>("expected"); // RigControl::Ptt
        QTest::newRow("whole replies") << false << QByteArray("get_ptt:\nPTT: 1\nRPRT 0\n")
                                       << int(RigControl::Ptt::Transmitting);
        QTest::newRow("split replies")
            << true << QByteArray("get_ptt:\nPTT: 0\nRPRT 0\n") << int(RigControl::Ptt::Receiving);
        QTest::newRow("transmit state unknown")
            << false << QByteArray("RPRT -11\n") << int(RigControl::Ptt::Unknown);
    }
    void repliesAreReadToTheirEnd()
    {
        QFETCH(bool, split);
        QFETCH(QByteArray, ptt);
        QFETCH(int, expected);
        FakeDaemon daemon;
        daemon.split = split;
        daemon.answer = [&](const QByteArray &line) -> QByteArray {
            if (line == "+\\get_freq")
                return "garbage before the reply\nget_freq:\nFrequency: 7074000\nRPRT 0\n";
            return line == "+\\get_ptt" ? ptt : QByteArray("RPRT -1\n");
        };
        RigctldClient rig;
        rig.setAddress({QStringLiteral("127.0.0.1"), daemon.port()});
        QSignalSpy polled(&rig, &RigControl::polled);
        rig.start();
        QTRY_VERIFY(polled.count() >= 2); // and the poll goes on
        const auto hz = polled.last().at(0).value<std::optional<qint64>>();
        QCOMPARE(hz, std::optional<qint64>(7'074'000));
        QCOMPARE(int(polled.last().at(1).value<RigControl::Ptt>()), expected);
        QCOMPARE(rig.state(), RigControl::State::Connected);
        QCOMPARE(daemon.connections, 1); // one connection, kept
    }

    void anErrorOrAWordIsNoReading()
    {
        FakeDaemon daemon;
        int asked = 0;
        daemon.answer = [&](const QByteArray &line) -> QByteArray {
            if (line != "+\\get_freq")
                return "get_ptt:\nPTT: 0\nRPRT 0\n";
            return ++asked % 2 ? "RPRT -8\n" : "get_freq:\nFrequency: abc\nRPRT 0\n";
        };
        RigctldClient rig;
        rig.setAddress({QStringLiteral("127.0.0.1"), daemon.port()});
        QSignalSpy polled(&rig, &RigControl::polled);
        rig.start();
        QTRY_VERIFY(polled.count() >= 2);
        for (const QList<QVariant> &reading : polled)
            QVERIFY(!reading.at(0).value<std::optional<qint64>>());
    }

    void aSilentDaemonIsDroppedAndTriedAgain()
    {
        FakeDaemon daemon; // accepts, never answers
        RigctldClient rig;
        rig.setAddress({QStringLiteral("127.0.0.1"), daemon.port()});
        QSignalSpy states(&rig, &RigControl::stateChanged);
        rig.start();
        QTRY_COMPARE(daemon.connections, 1);
        QCOMPARE(rig.state(), RigControl::State::Connecting); // no answer yet
        QTRY_COMPARE_WITH_TIMEOUT(rig.state(), RigControl::State::Lost,
                                  RigctldClient::ReplyTimeoutMs + 2000);
        QTRY_COMPARE_WITH_TIMEOUT(daemon.connections, 2, RigctldClient::FirstRetryMs + 2000);
    }
};

Q_DECLARE_METATYPE(std::optional<qint64>)
QTEST_GUILESS_MAIN(TestRig)
#include "tst_rig.moc"
