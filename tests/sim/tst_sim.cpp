#include "link/packet.h"
#include "sim/loadmodel.h"
#include "sim/relaystate.h"
#include "sim/rigserver.h"
#include "sim/simlog.h"
#include "sim/virtualcontroller.h"
#include "support/consolefixture.h"

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QTest>

#include <numbers>

// The virtual controller's decoding, state and log, without a line.
class TestSim : public QObject
{
    Q_OBJECT

    // "P AA55…" for a packet, "E 1234 <reason>" for a rejected run.
    static QStringList shown(const QList<Packet::Decoded> &found)
    {
        QStringList out;
        for (const Packet::Decoded &d : found)
            out << (d.isPacket ? QStringLiteral("P ") : QStringLiteral("E ")) +
                       QString::fromLatin1(d.bytes.toHex().toUpper()) +
                       (d.isPacket ? QString() : QLatin1Char(' ') + d.error);
        return out;
    }
    // Feeds the reads in order, then ends the stream.
    static QList<Packet::Decoded> decode(const QList<QByteArray> &reads)
    {
        Packet::Decoder decoder;
        QList<Packet::Decoded> found;
        for (const QByteArray &read : reads)
            found += decoder.feed(read);
        found += decoder.finish();
        return found;
    }
    static QStringList decodeWhole(const QByteArray &stream) { return shown(decode({stream})); }

private slots:
    void decoding_data()
    {
        QTest::addColumn<QByteArray>("stream");
        QTest::addColumn<QStringList>("found");
        const QString c = QStringLiteral("P AA5501015A000D0A00");
        const QString l = QStringLiteral("P AA550102FF010D0A00");
        const QString side = QStringLiteral("P AA55010300000D0A00");
        const QByteArray cBytes = QByteArray::fromHex("AA5501015A000D0A00");
        QTest::newRow("the console's three examples")
            << QByteArray::fromHex("AA5501015A000D0A00AA550102FF010D0A00AA55010300000D0A00")
            << QStringList{c, l, side};
        QTest::newRow("header bytes as value and flag")
            << QByteArray::fromHex("AA550101AA550D0A00") << QStringList{"P AA550101AA550D0A00"};
        QTest::newRow("garbage before a header")
            << QByteArray::fromHex("12340D0A") + cBytes
            << QStringList{"E 12340D0A нет заголовка AA 55 01", c};
        QTest::newRow("truncated packet, then a good one")
            << QByteArray::fromHex("AA55010105") + cBytes
            << QStringList{"E AA55010105 пакет оборван", c};
        QTest::newRow("unknown command")
            << QByteArray::fromHex("AA55010705000D0A00") + cBytes
            << QStringList{"E AA55010705000D0A00 неизвестная команда 7", c};
        QTest::newRow("bad trailer")
            << QByteArray::fromHex("AA55010105000D0B00") + cBytes
            << QStringList{"E AA55010105000D0B00 неверное окончание пакета", c};
        QTest::newRow("bad runs in a row are one entry")
            << QByteArray::fromHex("FFAA55AA55010105") + cBytes
            << QStringList{"E FFAA55AA55010105 нет заголовка AA 55 01", c};
        QTest::newRow("stream ends inside a packet")
            << cBytes + QByteArray::fromHex("AA5501") << QStringList{c, "E AA5501 пакет оборван"};
        QTest::newRow("nothing but noise")
            << QByteArray("hello\r\n") << QStringList{"E 68656C6C6F0D0A нет заголовка AA 55 01"};
        QTest::newRow("empty") << QByteArray() << QStringList{};
    }
    void decoding()
    {
        QFETCH(QByteArray, stream);
        QFETCH(QStringList, found);
        QCOMPARE(decodeWhole(stream), found);
        // However the stream is cut into reads, the same comes out.
        for (qsizetype cut = 1; cut < stream.size(); ++cut) {
            const QStringList split = shown(decode({stream.left(cut), stream.mid(cut)}));
            QVERIFY2(split == found, qPrintable(QStringLiteral("cut at %1").arg(cut)));
        }
        QList<QByteArray> bytes;
        for (char byte : stream)
            bytes << QByteArray(1, byte);
        QCOMPARE(shown(decode(bytes)), found);
    }

    void aGoodPacketComesOutAtOnce()
    {
        Packet::Decoder decoder;
        QCOMPARE(decoder.feed(QByteArray::fromHex("AA5501015A000D0A00")).size(), 1);
        QVERIFY(decoder.feed(QByteArray::fromHex("AA5501")).isEmpty()); // waits for the rest
    }

    void stateAndMeaningFollowThePackets()
    {
        RelayState state;
        for (const Packet::Decoded &d : decode({Packet::build(1, 130, 1) + Packet::build(2, 5, 1) +
                                                Packet::build(3, 1, 1) + QByteArray("xx")}))
            state.apply(d);
        QCOMPARE(int(state.codeC), 130);
        QCOMPARE(int(state.codeL), 5);
        QCOMPARE(int(state.side), 1);
        QCOMPARE(int(state.flag), 1);
        QCOMPARE(state.packets, quint64(3));
        QCOMPARE(state.errors, quint64(1));
        const RelaySteps steps{10, 500};
        QCOMPARE(state.capacitancePf(steps), 1300.0);
        QCOMPARE(state.inductanceUh(steps), 2.5);
        QCOMPARE(*RelaySteps::parse(QStringLiteral("12,50")), (RelaySteps{12, 50}));
        QVERIFY(!RelaySteps::parse(QStringLiteral("12")));
        QVERIFY(!RelaySteps::parse(QStringLiteral("300,50")));
    }

    void loadModel_data()
    {
        // ω = 10⁷ rad/s makes the reactances round numbers: 100 pF × 40 is 25 Ω, 500 nH × 4
        // is 20 Ω.
        const double hz = 1e7 / (2 * std::numbers::pi);
        QTest::addColumn<double>("hz");
        QTest::addColumn<QString>("load");
        QTest::addColumn<int>("c");
        QTest::addColumn<int>("l");
        QTest::addColumn<int>("side");
        QTest::addColumn<double>("swr");
        QTest::newRow("50 Ω, no network") << 7.1e6 << "50,0" << 0 << 0 << 0 << 1.0;
        QTest::newRow("12.5 Ω, no network") << 7.1e6 << "12.5,0" << 0 << 0 << 1 << 4.0;
        QTest::newRow("200 Ω, no network") << 7.1e6 << "200,0" << 0 << 0 << 0 << 4.0;
        // 10 Ω: 20 Ω of coil in series, 25 Ω of capacitors across the transmitter side.
        QTest::newRow("10 Ω matched, Tx side") << hz << "10,0" << 40 << 4 << 1 << 1.0;
        // j20 + (10 ∥ -j25) = 8.621 + j16.552: |Γ| = 44.567 / 60.913 = 0.7316.
        QTest::newRow("10 Ω, capacitors on the wrong side")
            << hz << "10,0" << 40 << 4 << 0 << 6.4527;
        // 250 Ω: 125 Ω of capacitors across the antenna, 100 Ω of coil in series.
        QTest::newRow("250 Ω matched, Ant side") << hz << "250,0" << 8 << 20 << 0 << 1.0;
        // 50 - j20 with the 20 Ω coil alone cancels to 50 Ω.
        QTest::newRow("reactance tuned out") << hz << "50,-20" << 0 << 4 << 0 << 1.0;
        QTest::newRow("a short circuit reads the cap") << hz << "0.0001,0" << 0 << 0 << 0 << 99.0;
    }
    void loadModel()
    {
        QFETCH(double, hz);
        QFETCH(QString, load);
        QFETCH(int, c);
        QFETCH(int, l);
        QFETCH(int, side);
        QFETCH(double, swr);
        LoadModel model;
        model.add(*LoadModel::parse(load));
        RelayState relays;
        relays.codeC = quint8(c);
        relays.codeL = quint8(l);
        relays.side = quint8(side);
        QVERIFY2(std::abs(model.swr(hz, RelaySteps{100, 500}, relays) - swr) < 0.005,
                 qPrintable(QString::number(model.swr(hz, RelaySteps{100, 500}, relays))));
    }

    void loadsPerBand()
    {
        LoadModel model;
        model.add(*LoadModel::parse("75,0"));
        model.add(*LoadModel::parse("7.1:12.5,0"));
        QVERIFY(!LoadModel::parse("7.1:12.5"));
        QVERIFY(!LoadModel::parse("-3,0"));
        QCOMPARE(model.loadAt(7.15e6), LNetwork::Impedance(12.5, 0)); // the 40 m one
        QCOMPARE(model.loadAt(14.2e6), LNetwork::Impedance(75, 0));   // the one for all
    }

    void theRadioAnswersAsRigctldDoes()
    {
        VirtualController controller;
        controller.setSteps({10, 500});
        LoadModel model;
        model.add(*LoadModel::parse("12.5,0"));
        RigServer radio(controller, model, 7.1e6);
        QCOMPARE(radio.answer("f"), QByteArray("7100000\n"));
        QCOMPARE(radio.answer("+\\get_freq"),
                 QByteArray("get_freq:\nFrequency: 7100000\nRPRT 0\n"));
        QCOMPARE(radio.answer("F 14200000"), QByteArray("RPRT 0\n"));
        QCOMPARE(radio.answer("+f"), QByteArray("get_freq:\nFrequency: 14200000\nRPRT 0\n"));
        QCOMPARE(radio.answer("l SWR"), QByteArray("1.000000\n")); // receiving
        QCOMPARE(radio.answer("T 1"), QByteArray("RPRT 0\n"));
        QCOMPARE(radio.answer("+\\get_ptt"), QByteArray("get_ptt:\nPTT: 1\nRPRT 0\n"));
        QCOMPARE(radio.answer("+l SWR"), QByteArray("get_level: SWR\n4.000000\nRPRT 0\n"));
        QCOMPARE(radio.answer("l ALC"), QByteArray("RPRT -11\n"));
        // Mode and power, as training and the sweep set them: a 100 W radio.
        QCOMPARE(radio.answer("M AM 6000"), QByteArray("RPRT 0\n"));
        QCOMPARE(radio.answer("+m"), QByteArray("get_mode:\nMode: AM\nPassband: 6000\nRPRT 0\n"));
        QCOMPARE(radio.answer("M SSTV"), QByteArray("RPRT -1\n"));
        QCOMPARE(radio.answer("L RFPOWER 0.1"), QByteArray("RPRT 0\n"));
        QCOMPARE(radio.answer("l RFPOWER"), QByteArray("0.100000\n"));
        QCOMPARE(radio.answer("\\mW2power 10000 7074000 AM"), QByteArray("0.100000\n"));
        QCOMPARE(radio.answer("\\power2mW 0.1 7074000 AM"), QByteArray("10000\n"));
        QCOMPARE(radio.answer("L RFPOWER 1.5"), QByteArray("RPRT -1\n"));
        QCOMPARE(radio.answer("F seven"), QByteArray("RPRT -1\n"));
    }

    void stepsFollowTheConsolesSettingsFile()
    {
        QTemporaryDir temp;
        const QString conf = temp.filePath(QStringLiteral("conf.cfg"));
        const auto write = [&](int stepC, int stepL) {
            const QByteArray bytes = SettingsImage().steps(stepC, stepL).bytes();
            QFile file(conf);
            return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
        };
        QVERIFY(write(12, 450));
        VirtualController controller;
        QString error;
        QVERIFY(controller.followConf(conf, &error));
        QCOMPARE(controller.steps(), (RelaySteps{12, 450}));
        QVERIFY(write(20, 999)); // the console's Options wrote new steps
        QTRY_COMPARE(controller.steps(), (RelaySteps{20, 999}));
    }

    void logLinesAreJson()
    {
        RelayState state;
        const QList<Packet::Decoded> found =
            decode({QByteArray::fromHex("55") + Packet::build(1, 130, 0)});
        QCOMPARE(found.size(), 2);
        const QDateTime time(QDate(2026, 12, 1), QTime(12, 0, 0, 123), Qt::UTC);
        const QByteArray errorLine = SimLog::line(time, found[0], state);
        state.apply(found[1]);
        const QByteArray packetLine = SimLog::line(time, found[1], state);
        QVERIFY(errorLine.endsWith('\n') && packetLine.endsWith('\n'));

        QJsonParseError problem;
        const QJsonObject packet = QJsonDocument::fromJson(packetLine, &problem).object();
        QCOMPARE(problem.error, QJsonParseError::NoError);
        QCOMPARE(packet.value("t").toString(), QStringLiteral("2026-12-01T12:00:00.123Z"));
        QCOMPARE(packet.value("hex").toString(), QStringLiteral("AA55010182000D0A00"));
        QCOMPARE(packet.value("command").toString(), QStringLiteral("C"));
        QCOMPARE(packet.value("value").toInt(), 130);
        QCOMPARE(packet.value("flag").toInt(), 0);
        QCOMPARE(packet.value("relays").toObject().value("C").toInt(), 130);
        const QJsonObject error = QJsonDocument::fromJson(errorLine, &problem).object();
        QCOMPARE(problem.error, QJsonParseError::NoError);
        QCOMPARE(error.value("hex").toString(), QStringLiteral("55"));
        QVERIFY(!error.value("error").toString().isEmpty());
        QVERIFY(!error.contains("command"));
    }
};

QTEST_GUILESS_MAIN(TestSim)
#include "tst_sim.moc"
