#include "console/features.h"
#include "console/form1.h"
#include "dialogs/followdialog.h"
#include "panel/panel.h"
#include "rig/announcedradio.h"
#include "rig/announcement.h"
#include "rig/following.h"
#include "support/consolefixture.h"
#include "support/station.h"

#include <QDataStream>
#include <QDir>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QTest>
#include <QThread>
#include <QUdpSocket>

#include <functional>

namespace {

// A logger's <RadioInfo>, laid out as N1MM Logger+ sends it; frequencies in tens of Hz.
QByteArray radioInfo(qint64 hz, int radioNr = 1, int active = 1, const char *transmitting = "False")
{
    return QStringLiteral(R"(<?xml version="1.0" encoding="utf-8"?>
<RadioInfo>
  <app>N1MM</app>
  <StationName>SHACK</StationName>
  <RadioNr>%1</RadioNr>
  <Freq>%2</Freq>
  <TXFreq>%2</TXFreq>
  <Mode>USB</Mode>
  <OpCall>R1ABC</OpCall>
  <IsRunning>False</IsRunning>
  <FocusEntry>0</FocusEntry>
  <Antenna>1</Antenna>
  <Rotors></Rotors>
  <FocusRadioNr>%3</FocusRadioNr>
  <IsStereo>False</IsStereo>
  <IsSplit>False</IsSplit>
  <ActiveRadioNr>%3</ActiveRadioNr>
  <IsTransmitting>%4</IsTransmitting>
  <FunctionKeyCaption></FunctionKeyCaption>
  <RadioName>K3</RadioName>
</RadioInfo>
)")
        .arg(radioNr)
        .arg(hz / 10)
        .arg(active)
        .arg(QLatin1String(transmitting))
        .toUtf8();
}

// WSJT-X's header: magic, schema 2 (Qt 5.2's stream; what WSJT-X 2.6 sends), type, id.
QByteArray wsjtxHeader(QDataStream &out, quint32 type, const char *id, quint32 schema = 2)
{
    out.setVersion(schema >= 3 ? QDataStream::Qt_5_4 : QDataStream::Qt_5_2);
    out << quint32(0xadbccbda) << schema << type << QByteArray(id);
    return {};
}

QByteArray wsjtxStatus(qint64 hz, bool transmitting, const char *id = "WSJT-X", quint32 schema = 3)
{
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    wsjtxHeader(out, 1, id, schema);
    out << quint64(hz) << QByteArray("FT8") << QByteArray("DL1XYZ") << QByteArray("-12")
        << QByteArray("FT8") << true << transmitting << false << quint32(1500) << quint32(1500)
        << QByteArray("R1ABC") << QByteArray("KO85") << QByteArray("JO62") << false << QByteArray()
        << false << quint8(0) << quint32(20) << quint32(15) << QByteArray("Default")
        << QByteArray("DL1XYZ R1ABC KO85");
    return bytes;
}

QByteArray wsjtxHeartbeat(const char *id = "WSJT-X")
{
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    wsjtxHeader(out, 0, id);
    out << quint32(3) << QByteArray("2.6.1") << QByteArray("abc123");
    return bytes;
}

// Hamlib's multicast snapshot of the dummy rig.
QByteArray hamlibSnapshot(qint64 hz, bool ptt)
{
    return QStringLiteral(
               R"({"app":"Hamlib","version":"4.5.4 2022-12-20","seq":7,"time":"2026-12-07T18:00:00.000000+0000","crc":0,)"
               R"("rig":{"id":{"model":"Dummy","endpoint":"","process":"42","deviceId":""},"status":"OK","errorMsg":"","name":"Dummy","split":false,"splitVfo":"VFOB","satMode":false,"modes":["AM","CW","USB","LSB"]},)"
               R"("vfos":[{"name":"VFOA","freq":%1,"mode":"USB","width":2400,"ptt":%2,"rx":true,"tx":true},)"
               R"({"name":"VFOB","freq":145000000,"mode":"FM","width":15000,"ptt":false,"rx":false,"tx":false}]})")
        .arg(hz)
        .arg(ptt ? "true" : "false")
        .toUtf8();
}

enum class Format { RadioInfo, Wsjtx, Hamlib };

QByteArray reading(Format format, qint64 hz, bool transmitting)
{
    switch (format) {
    case Format::RadioInfo:
        return radioInfo(hz, 1, 1, transmitting ? "True" : "False");
    case Format::Wsjtx:
        return wsjtxStatus(hz, transmitting);
    case Format::Hamlib:
        return hamlibSnapshot(hz, transmitting);
    }
    return {};
}

// Malformed datagrams of every kind a listener meets.
QByteArray junk(int i)
{
    switch (i % 5) {
    case 0:
        return "<RadioInfo><Freq>70"; // cut short
    case 1:
        return "<RadioInfo><Freq>x</Freq></Radio>";
    case 2:
        return QByteArray::fromHex("adbccbdb00000003"); // wrong magic
    case 3:
        return QByteArray::fromHex("adbccbda0000000900000001"); // a future schema
    default:
        return QByteArray(i % 50 == 4 ? 60000 : 300, char(i));
    }
}

// Sends datagrams from its own thread as fast as asked, like another program would.
class Flood : public QThread
{
public:
    Flood(quint16 port, int count, int ms, std::function<QByteArray(int)> datagram = junk)
        : m_port(port)
        , m_count(count)
        , m_ms(ms)
        , m_datagram(std::move(datagram))
    {}
    void run() override
    {
        QUdpSocket socket;
        QElapsedTimer clock;
        clock.start();
        for (int i = 0; i < m_count; ++i) {
            socket.writeDatagram(m_datagram(i), QHostAddress::LocalHost, m_port);
            // Evenly over the time given.
            const qint64 due = qint64(i) * m_ms / m_count;
            if (clock.elapsed() < due)
                QThread::msleep(quint64(due - clock.elapsed()));
        }
    }

private:
    quint16 m_port;
    int m_count;
    int m_ms;
    std::function<QByteArray(int)> m_datagram;
};

} // namespace

// Following the radio from what another program announces over UDP: real datagrams on
// loopback, in the formats the programs send.
class TestAnnounce : public QObject
{
    Q_OBJECT

    quint16 port = 0;
    QUdpSocket sender;

    Form1 &start(ConsoleFixture &f, const QString &kind)
    {
        port = freeLocalPort();
        ConsoleEnvironment env = f.environment();
        env.rigAddress = QStringLiteral("%1:%2").arg(kind).arg(port);
        // 40 m, second sub-band (7.040–7.080) and 20 m, third (14.140–14.210), antenna 1.
        f.writeSettings(SettingsImage()
                            .slot(at(1, "40 м", 2), 40, 41, 1)
                            .slot(at(1, "20 м", 3), 20, 21, 0)
                            .port(1)
                            .bytes());
        Form1 &form = f.start(env);
        form.show();
        f.pty.drain();
        return form;
    }
    void send(const QByteArray &datagram)
    {
        QVERIFY(sender.writeDatagram(datagram, QHostAddress::LocalHost, port) == datagram.size());
    }
    // What the line carried once the console had its turn.
    static QList<QByteArray> lineAfter(ConsoleFixture &f, int ms = 300)
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
    static QList<QByteArray> recall(int c, int l, int side)
    {
        return {packet(1, c, 0), packet(2, l, 0), packet(3, side, 0)};
    }

private slots:
    // Announcements carry no password: loopback or a group, never another address.
    void onlyThisComputerOrAGroupIsListenedOn_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("taken");
        QTest::newRow("a port") << "udp-radioinfo:12060" << true;
        QTest::newRow("loopback") << "wsjtx:127.0.0.1:2237" << true;
        QTest::newRow("a group") << "wsjtx:239.255.0.1:2237" << true;
        QTest::newRow("every address") << "udp-radioinfo:0.0.0.0:12060" << false;
        QTest::newRow("a network address") << "wsjtx:192.168.1.5:2237" << false;
    }
    void onlyThisComputerOrAGroupIsListenedOn()
    {
        QFETCH(QString, text);
        QFETCH(bool, taken);
        QCOMPARE(FollowSource::parse(text).has_value(), taken);
    }

    void eachFormatFollowsTheBandButNeverUnderRf_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<Format>("format");
        QTest::addColumn<QString>("status");
        QTest::newRow("RadioInfo")
            << "udp-radioinfo" << Format::RadioInfo << "RadioInfo: 7,074 МГц, радио 1";
        QTest::newRow("WSJT-X") << "wsjtx" << Format::Wsjtx << "WSJT-X: 7,074 МГц, WSJT-X";
        QTest::newRow("Hamlib") << "hamlib-multicast:127.0.0.1" << Format::Hamlib
                                << "Hamlib: 7,074 МГц, Dummy";
    }
    void eachFormatFollowsTheBandButNeverUnderRf()
    {
        QFETCH(QString, kind);
        QFETCH(Format, format);
        QFETCH(QString, status);
        ConsoleFixture f;
        Form1 &form = start(f, kind);
        QTRY_VERIFY(shownText(form.features().rigStatus()).contains(QStringLiteral("ждём")));

        send(reading(format, 7074000, false));
        QCOMPARE(lineAfter(f), recall(40, 41, 1));
        QTRY_COMPARE(shownText(form.features().rigStatus()), status);
        send(reading(format, 7074000, false));
        send(reading(format, 7075000, false));
        QVERIFY(lineAfter(f).isEmpty()); // once a sub-band

        // A change announced while transmitting waits until the transmitter is off.
        send(reading(format, 14200000, true));
        QVERIFY(lineAfter(f).isEmpty());
        QTRY_VERIFY(form.panel().state().held);
        send(reading(format, 14200000, false));
        QCOMPARE(lineAfter(f), recall(20, 21, 0));
    }

    void theChosenRadioOrProgramAloneIsFollowed()
    {
        {
            ConsoleFixture f;
            f.userSettings.setValue(Following::RadioKey, 2);
            start(f, QStringLiteral("udp-radioinfo"));
            send(radioInfo(7074000, 1, 1)); // radio 1, the active one: not ours
            QVERIFY(lineAfter(f).isEmpty());
            send(radioInfo(7074000, 2, 1));
            QCOMPARE(lineAfter(f), recall(40, 41, 1));
        }
        {
            // The active radio by default: radio 2's news counts once it is the active one.
            ConsoleFixture f;
            start(f, QStringLiteral("udp-radioinfo"));
            send(radioInfo(7074000, 2, 1));
            QVERIFY(lineAfter(f).isEmpty());
            send(radioInfo(7074000, 2, 2));
            QCOMPARE(lineAfter(f), recall(40, 41, 1));
        }
        {
            ConsoleFixture f;
            f.userSettings.setValue(Following::ProgramKey, QStringLiteral("JTDX"));
            Form1 &form = start(f, QStringLiteral("wsjtx"));
            send(wsjtxStatus(7074000, false, "WSJT-X"));
            QVERIFY(lineAfter(f).isEmpty());
            send(wsjtxHeartbeat("JTDX"));
            QTRY_VERIFY(
                shownText(form.features().rigStatus()).contains(QStringLiteral("на связи")));
            send(wsjtxStatus(7074000, false, "JTDX"));
            QCOMPARE(lineAfter(f), recall(40, 41, 1));
        }
        {
            // With none chosen the first program heard is followed, and no other.
            ConsoleFixture f;
            start(f, QStringLiteral("wsjtx"));
            send(wsjtxStatus(7074000, false, "WSJT-X - IC7300"));
            QCOMPARE(lineAfter(f), recall(40, 41, 1));
            send(wsjtxStatus(14200000, false, "WSJT-X - FT991"));
            QVERIFY(lineAfter(f).isEmpty());
        }
    }

    void garbageAndFloodsAreDroppedAndTheWindowKeepsItsPace()
    {
        ConsoleFixture f;
        Form1 &form = start(f, QStringLiteral("udp-radioinfo"));
        AnnouncedRadio *radio = form.features().following().announced();
        QVERIFY(radio);
        // Ten thousand malformed datagrams in a second, from another thread.
        Flood flood(port, 10000, 1000);
        flood.start();
        // Meanwhile the window works as ever: every click its packet (the time it takes is
        // measured by scripts/bench.sh).
        int code = 0;
        for (int bit = 0; bit < 8 && flood.isRunning(); ++bit) {
            QTest::qWait(100);
            clickCentre(f.relayBit('C', bit));
            code |= 1 << bit;
            QCOMPARE(packetsOf(f.pty.read()), QList<QByteArray>{packet(1, code, 0)});
        }
        QVERIFY(flood.wait(10000));
        QTRY_VERIFY(radio->counts().dropped > 1000);
        QCOMPARE(radio->counts().taken, quint64(0));
        // And the next good announcement is followed.
        send(radioInfo(7074000));
        QCOMPARE(lineAfter(f, 1000), recall(40, 41, 1));
    }

    // The relays are mechanical: a logger flapping between two bands a thousand times a
    // second moves them a few times a second, and the last band it names is where they end.
    void aFlappingBroadcastMovesTheRelaysAFewTimesASecond()
    {
        ConsoleFixture f;
        start(f, QStringLiteral("udp-radioinfo"));
        Flood flood(port, 2000, 2000, [](int i) {
            return radioInfo(i % 2 ? 14180000 : 7074000, 1, 1, i % 7 ? "False" : "True");
        });
        QElapsedTimer clock;
        clock.start();
        flood.start();
        QByteArray bytes;
        while (flood.isRunning() || clock.elapsed() < 2600) {
            QTest::qWait(10);
            bytes += f.pty.read(0);
        }
        bytes += f.pty.read(300);
        const QList<QByteArray> packets = packetsOf(bytes);
        const qint64 seconds = (clock.elapsed() + 999) / 1000;
        QVERIFY2(packets.size() <= 3 * 4 * seconds + 3,
                 qPrintable(QString::number(packets.size())));
        QVERIFY(packets.size() >= 3);
        // The word said last is where the relays end, once its turn has come (a flood's own
        // last datagram may have been dropped by a full socket buffer).
        send(radioInfo(14180000));
        const QList<QByteArray> all = packets + lineAfter(f, 600);
        QCOMPARE(all.mid(all.size() - 3), recall(20, 21, 0));
    }

    void silenceIsShownAndTheNextWordIsFollowed()
    {
        ConsoleFixture f;
        Form1 &form = start(f, QStringLiteral("wsjtx"));
        AnnouncedRadio *radio = form.features().following().announced();
        radio->setSilence(300);
        send(wsjtxStatus(7074000, false));
        QCOMPARE(lineAfter(f), recall(40, 41, 1));
        QTRY_COMPARE(shownText(form.features().rigStatus()),
                     QStringLiteral("WSJT-X: нет объявлений"));
        QVERIFY(!form.panel().state().radio.connected);
        clickCentre(f.band("20 м")); // the operator moves on meanwhile
        f.pty.drain();
        // The program that went silent ended without a word: another one now is followed.
        send(wsjtxStatus(7074000, false, "JTDX"));
        QCOMPARE(lineAfter(f), recall(40, 41, 1));
    }

    // A sender's arithmetic that overflowed, or a unit mistaken, is no radio's frequency.
    void strayFrequenciesAreNoReading_data()
    {
        QTest::addColumn<QByteArray>("datagram");
        QTest::newRow("RadioInfo ten times over 2^64") << radioInfo(7074000).replace(
            "<TXFreq>707400</TXFreq>", "<TXFreq>1844674407371662562</TXFreq>");
        QTest::newRow("RadioInfo in hertz")
            << radioInfo(7074000).replace("<TXFreq>707400</TXFreq>", "<TXFreq>707400000</TXFreq>");
        QTest::newRow("WSJT-X at 50 Hz") << wsjtxStatus(50, false);
        QTest::newRow("WSJT-X past 3 GHz") << wsjtxStatus(3'000'000'001, false);
        QTest::newRow("Hamlib at 12 kHz") << hamlibSnapshot(12000, false);
    }
    void strayFrequenciesAreNoReading()
    {
        QFETCH(QByteArray, datagram);
        const Announcement heard = datagram.startsWith('<')   ? Announcement::radioInfo(datagram, 0)
                                   : datagram.startsWith('{') ? Announcement::hamlib(datagram)
                                                              : Announcement::wsjtx(datagram, {});
        QCOMPARE(heard.kind, Announcement::Kind::Malformed);
        QVERIFY(!heard.hz);
    }

    void theDialogChoosesTheSourceAndKeepsIt()
    {
        ConsoleFixture f;
        Form1 &form = f.startShown();
        f.dialogs.onExec = [](QDialog &d) {
            auto &dialog = dynamic_cast<FollowDialog &>(d);
            dialog.choose(FollowSource::Kind::Wsjtx);
            QCOMPARE(dialog.addressEdit()->text(), QStringLiteral("2237"));
            dialog.addressEdit()->setText(QStringLiteral("not a port"));
            dialog.accept();
            QVERIFY(dialog.isVisible()); // refused, said why
            dialog.addressEdit()->setText(QStringLiteral("239.255.0.1:2237"));
            dialog.findChild<QLineEdit *>(QStringLiteral("program"))->setText("JTDX");
            // For a person to look at.
            QDir(QCoreApplication::applicationDirPath()).mkpath(QStringLiteral("screens"));
            QVERIFY(dialog.grab().save(QCoreApplication::applicationDirPath() +
                                       QStringLiteral("/screens/follow-dialog.png")));
            dialog.accept();
        };
        form.features().contextMenu()->findChild<QAction *>(QStringLiteral("followRig"))->trigger();
        QCOMPARE(f.userSettings.value(Following::AddressKey).toString(),
                 QStringLiteral("wsjtx:239.255.0.1:2237"));
        QCOMPARE(f.userSettings.value(Following::ProgramKey).toString(), QStringLiteral("JTDX"));
        QCOMPARE(form.features().following().source().kind, FollowSource::Kind::Wsjtx);
        QVERIFY(form.features().rigStatus().isVisible());
    }
};

QTEST_MAIN(TestAnnounce)
#include "tst_announce.moc"
