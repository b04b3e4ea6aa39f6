#include "console/commandline.h"
#include "link/controllerlink.h"
#include "link/portmap.h"
#include "link/serialservice.h"
#include "support/pty.h"

#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

class TestLink : public QObject
{
    Q_OBJECT

    static PortMap mapTo(const PseudoTerminal &pty)
    {
        PortMap ports;
        ports.map(1, pty.device());
        return ports;
    }

private slots:
    void initTestCase()
    {
        QCoreApplication::setApplicationName(QStringLiteral("Orvane"));
        QCoreApplication::setApplicationVersion(QStringLiteral("1.2.20"));
    }

    void packetBytes_data()
    {
        QTest::addColumn<int>("command");
        QTest::addColumn<int>("value");
        QTest::addColumn<int>("flag");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("C 0") << 1 << 0 << 0 << QByteArray::fromHex("AA55010100000D0A00");
        QTest::newRow("C 5A") << 1 << 0x5A << 0 << QByteArray::fromHex("AA5501015A000D0A00");
        QTest::newRow("L 255, antenna 3")
            << 2 << 255 << 1 << QByteArray::fromHex("AA550102FF010D0A00");
        QTest::newRow("side Ant") << 3 << 0 << 0 << QByteArray::fromHex("AA55010300000D0A00");
        QTest::newRow("CR as value") << 1 << 0x0D << 0 << QByteArray::fromHex("AA5501010D000D0A00");
        QTest::newRow("LF as value") << 2 << 0x0A << 1 << QByteArray::fromHex("AA5501020A010D0A00");
        QTest::newRow("side byte 7") << 3 << 7 << 0 << QByteArray::fromHex("AA55010307000D0A00");
    }
    void packetBytes()
    {
        QFETCH(int, command);
        QFETCH(int, value);
        QFETCH(int, flag);
        QFETCH(QByteArray, bytes);
        PseudoTerminal pty;
        SerialService port(mapTo(pty));
        QVERIFY(port.setCommPort(1) && port.setPortOpen(true));
        ControllerLink link(port);
        const auto v = static_cast<quint8>(value);
        const auto f = static_cast<quint8>(flag);
        command == 1   ? link.SendC(v, f)
        : command == 2 ? link.SendL(v, f)
                       : link.SendNetworkSide(v, f);
        QCOMPARE(link.PacketBuffer, bytes);
        QCOMPARE(pty.read(), bytes);
    }

    void everyWriteIsNineBytesAndNothingIsLostOnClose()
    {
        PseudoTerminal pty;
        SerialService port(mapTo(pty));
        QVERIFY(port.setCommPort(1) && port.setSettings(QStringLiteral("9600,n,8,1")));
        QVERIFY(port.setPortOpen(true));
        ControllerLink link(port);
        for (int i = 0; i < 50; ++i)
            link.SendC(static_cast<quint8>(i), 0);
        QVERIFY(port.setPortOpen(false));
        const QByteArray bytes = pty.read();
        QCOMPARE(bytes.size(), 50 * 9);
        for (int i = 0; i < 50; ++i) {
            QCOMPARE(bytes.at(i * 9 + 4), char(i));
            QCOMPARE(bytes.mid(i * 9 + 6, 3), QByteArray::fromHex("0D0A00"));
        }
    }

    void closedPortDropsPacketsSilently()
    {
        PseudoTerminal pty;
        SerialService port(mapTo(pty));
        ControllerLink link(port);
        QSignalSpy failures(&link, &ControllerLink::lineFailed);
        for (int i = 0; i < 5; ++i)
            link.SendL(1, 0);
        QVERIFY(!port.Output(QByteArray("x")));
        QVERIFY(pty.read(100).isEmpty());
        QCOMPARE(failures.count(), 0);
    }

    void vanishedDeviceIsReportedOnceAndClosed()
    {
        PseudoTerminal pty;
        SerialService port(mapTo(pty));
        QVERIFY(port.setCommPort(1) && port.setPortOpen(true));
        ControllerLink link(port);
        QSignalSpy failures(&link, &ControllerLink::lineFailed);
        pty.hangUp();
        link.SendC(1, 0);
        link.SendC(2, 0);
        QCOMPARE(failures.count(), 1);
        QVERIFY(!port.PortOpen());
        QVERIFY(port.setPortOpen(false));
    }

    void portNumbersAndOpening()
    {
        PseudoTerminal pty;
        PortMap ports = mapTo(pty);
        QTemporaryDir temp;
        ports.map(2, temp.filePath(QStringLiteral("no-such-tty")));
        SerialService port(ports);
        QVERIFY(!port.setCommPort(0));
        QVERIFY(!port.setCommPort(17));
        QVERIFY(!port.setPortOpen(true)); // no number yet
        QVERIFY(port.setPortOpen(false)); // closing a closed port succeeds
        QVERIFY(port.setCommPort(2));
        QVERIFY(!port.setPortOpen(true));
        QVERIFY(!port.PortOpen());
        QVERIFY(port.setCommPort(1));
        QVERIFY(port.setPortOpen(true));
        QVERIFY(port.PortOpen());
        QVERIFY(!port.setCommPort(2)); // not while open
        QCOMPARE(port.CommPort(), 1);

        SerialService other(ports);
        QVERIFY(other.setCommPort(1));
        QVERIFY(!other.setPortOpen(true)); // busy
        QVERIFY(port.setPortOpen(false));
        QVERIFY(other.setPortOpen(true));
    }

    void lineSettings_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("valid");
        QTest::newRow("console's") << "9600,n,8,1" << true;
        QTest::newRow("upper case, even, 2 stop") << "19200,E,7,2" << true;
        QTest::newRow("mark, 1.5 stop") << "4800,m,5,1.5" << true;
        QTest::newRow("space, odd") << "1200,s,6,1" << true;
        QTest::newRow("bad parity") << "9600,x,8,1" << false;
        QTest::newRow("9 data bits") << "9600,n,9,1" << false;
        QTest::newRow("3 stop bits") << "9600,n,8,3" << false;
        QTest::newRow("no baud") << ",n,8,1" << false;
        QTest::newRow("zero baud") << "0,n,8,1" << false;
        QTest::newRow("short") << "9600,n,8" << false;
        QTest::newRow("garbage") << "abc" << false;
    }
    void lineSettings()
    {
        QFETCH(QString, text);
        QFETCH(bool, valid);
        QCOMPARE(LineSettings::parse(text).has_value(), valid);
        SerialService port;
        QCOMPARE(port.setSettings(text), valid);
    }

    void portDevices()
    {
        PortMap ports;
#ifndef Q_OS_WIN
        QCOMPARE(ports.device(1), QStringLiteral("/dev/ttyS0"));
        QCOMPARE(ports.device(16), QStringLiteral("/dev/ttyS15"));
#endif
        QTemporaryDir temp;
        QSettings settings(temp.filePath(QStringLiteral("orvane.conf")), QSettings::IniFormat);
        settings.setValue(QStringLiteral("ports/3"), QStringLiteral("/dev/ttyUSB0"));
        settings.setValue(QStringLiteral("ports/4"), QStringLiteral("/dev/ttyUSB1"));
        ports.loadFrom(settings);
        QCOMPARE(ports.device(3), QStringLiteral("/dev/ttyUSB0"));

        // The command line wins over the settings.
        const CommandLine line = parseCommandLine(
            {QStringLiteral("orvane"), QStringLiteral("--port"), QStringLiteral("3=/dev/pts/7"),
             QStringLiteral("--port=16=/dev/ttyACM0")},
            ports);
        QVERIFY(line.run);
        QCOMPARE(line.ports.device(3), QStringLiteral("/dev/pts/7"));
        QCOMPARE(line.ports.device(4), QStringLiteral("/dev/ttyUSB1"));
        QCOMPARE(line.ports.device(16), QStringLiteral("/dev/ttyACM0"));
    }

    void malformedPortOptionIsAUsageError_data()
    {
        QTest::addColumn<QString>("value");
        QTest::newRow("no equals") << "1";
        QTest::newRow("no device") << "1=";
        QTest::newRow("port 0") << "0=/dev/ttyS0";
        QTest::newRow("port 17") << "17=/dev/ttyS0";
        QTest::newRow("not a number") << "one=/dev/ttyS0";
    }
    void malformedPortOptionIsAUsageError()
    {
        QFETCH(QString, value);
        const CommandLine line =
            parseCommandLine({QStringLiteral("orvane"), QStringLiteral("--port"), value}, {});
        QVERIFY(!line.run);
        QCOMPARE(line.exitCode, 2);
        QVERIFY(line.error.contains(value));
    }

    void helpAndVersion()
    {
        const CommandLine version =
            parseCommandLine({QStringLiteral("orvane"), QStringLiteral("--version")}, {});
        QVERIFY(!version.run);
        QCOMPARE(version.exitCode, 0);
        QVERIFY(version.output.contains(QStringLiteral("1.2.20")));
        const CommandLine help =
            parseCommandLine({QStringLiteral("orvane"), QStringLiteral("--help")}, {});
        QVERIFY(!help.run);
        QCOMPARE(help.exitCode, 0);
        QVERIFY(help.output.contains(QStringLiteral("--port")));
        const CommandLine unknown =
            parseCommandLine({QStringLiteral("orvane"), QStringLiteral("--bogus")}, {});
        QCOMPARE(unknown.exitCode, 2);
        // The help names the usual address, and "default" asks for it.
        QVERIFY(help.output.contains(QStringLiteral("default: 127.0.0.1:8434")));
        const CommandLine web = parseCommandLine(
            {QStringLiteral("orvane"), QStringLiteral("--web"), QStringLiteral("default")}, {});
        QVERIFY(web.run);
        QCOMPARE(web.webAddress, QStringLiteral("127.0.0.1:8434"));
    }
};

QTEST_GUILESS_MAIN(TestLink)
#include "tst_link.moc"
