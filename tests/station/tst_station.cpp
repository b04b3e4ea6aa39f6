#include "panel/panel.h"
#include "rig/bandplan.h"
#include "rig/following.h"
#include "station/station.h"
#include "support/consolefixture.h"
#include "support/linepanel.h"
#include "support/station.h"
#include "tunes/sweeper.h"

#include <QFile>
#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

// The station's capabilities built from a panel and the settings alone: no window, no display
// (the suite runs without a GUI application), the simulator on a pseudo-terminal as the
// controller and as the radio.
class TestStation : public QObject
{
    Q_OBJECT

private slots:
    void followsTheRadioAndEndsAJobAsTheConsoleDoes()
    {
        RadioStation radio;
        QVERIFY(radio.start());
        QTemporaryDir folder;
        // Every slot of the first antenna its own relays, so a wrong recall shows.
        SettingsImage image = SettingsImage().port(1).steps(10, 500);
        for (int band = 0; band < Slots::Bands; ++band)
            for (int sub = 0; sub < Slots::SubBands; ++sub)
                image.slot({0, band, sub}, 10 * band + sub + 1, band + 1, band % 2);
        const QString conf = folder.filePath(QStringLiteral("conf.cfg"));
        QFile file(conf);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(image.bytes());
        file.close();
        QSettings settings(folder.filePath(QStringLiteral("user.ini")), QSettings::IniFormat);
        settings.setValue(Following::PollKey, 100);

        PortMap ports;
        ports.map(1, radio.link());
        LinePanel panel(ports);
        QVERIFY(panel.open(conf));
        Station station(panel, &settings,
                        {folder.path(), QStringLiteral(ORVANE_PROGRAM_DIR "/orvane-guard")});

        // Following recalls the slot of the radio's band, on the line.
        QVERIFY(radio.tell("F 14074000"));
        station.follow(QStringLiteral("127.0.0.1:%1").arg(radio.radioPort));
        const auto onLine = [&] {
            const QJsonObject relays = radio.relays();
            const RelaySetting slot = panel.stored(panel.state().selection);
            return relays.value("C").toInt() == slot.codeC &&
                   relays.value("L").toInt() == slot.codeL &&
                   relays.value("side").toInt() == slot.side;
        };
        const auto twenty = station.following().plan().locate(14074000);
        QVERIFY(twenty);
        QTRY_COMPARE_WITH_TIMEOUT(panel.state().selection.band, twenty->band, 5000);
        QTRY_VERIFY(onLine());

        // A bare sweep on 40 m keys under the station's one job, and ends with the radio
        // unkeyed and put back, and the relays what following recalls there.
        QVERIFY(radio.tell("F 7003000"));
        const auto forty = station.following().plan().locate(7003000);
        QVERIFY(forty);
        QTRY_COMPARE_WITH_TIMEOUT(panel.state().selection.band, forty->band, 5000);
        QTRY_VERIFY_WITH_TIMEOUT(station.sweeper().unavailable().isEmpty(), 5000);
        QSignalSpy finished(&station.sweeper(), &Sweeper::finished);
        QString why;
        QVERIFY2(station.sweeper().start(
                     {forty->band, 7000000, 7020000, 10000, 100, Sweeper::What::Bare, 1}, &why),
                 qPrintable(why));
        QVERIFY(finished.wait(20000));
        QCOMPARE(finished.first().at(0).toInt(), 3);
        QCOMPARE(radio.ask("t"), QByteArray("0"));
        QCOMPARE(radio.ask("f"), QByteArray("7003000"));
        QVERIFY(radio.commands().contains(QStringLiteral("T 1")));
        QTRY_VERIFY(onLine());
    }
};

QTEST_GUILESS_MAIN(TestStation)
#include "tst_station.moc"
