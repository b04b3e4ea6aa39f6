#include "console/form1.h"
#include "support/consolefixture.h"

#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>

namespace {

// A serial server in raw mode at the controller's end: what arrives, from every connection.
struct SerialServer
{
    QTcpServer server;
    QByteArray received;
    QPointer<QTcpSocket> current;
    SerialServer()
    {
        server.listen(QHostAddress::LocalHost);
        QObject::connect(&server, &QTcpServer::newConnection, &server, [this] {
            while (QTcpSocket *socket = server.nextPendingConnection()) {
                current = socket;
                QObject::connect(socket, &QIODevice::readyRead, socket,
                                 [this, socket] { received += socket->readAll(); });
            }
        });
    }
    QString address() const { return QStringLiteral("127.0.0.1:%1").arg(server.serverPort()); }
};

} // namespace

// Port selection, the status label and the settings file as start-up and shutdown use them.
class TestPort : public QObject
{
    Q_OBJECT

    static const QString &errorTip()
    {
        static const QString tip = QStringLiteral("Ошибка открытия Com-порта");
        return tip;
    }
    static QColor labelColour(ConsoleFixture &f)
    {
        return f.control<QLabel>("Label3")->palette().color(QPalette::WindowText);
    }
    // Red, with the console's message first and then the device and the reason.
    static bool labelIsRed(ConsoleFixture &f, const QString &reason = {})
    {
        const QStringList tip = f.control<QLabel>("Label3")->toolTip().split(QLatin1Char('\n'));
        return labelColour(f) == QColor(255, 0, 0) && tip.first() == errorTip() &&
               (reason.isEmpty() || (tip.size() > 1 && tip[1].contains(reason)));
    }
    static bool labelIsBlack(ConsoleFixture &f)
    {
        return labelColour(f) == QColor(0, 0, 0) &&
               f.control<QLabel>("Label3")->toolTip().isEmpty();
    }

private slots:
    void newFileGetsThePortOfTheFirstGoodSelection()
    {
        ConsoleFixture f;
        Form1 &form = f.start();
        QCOMPARE(f.dialogs.messages.size(), 1);
        QCOMPARE(f.dialogs.messages[0].caption, QStringLiteral("Orvane"));
        QCOMPARE(f.dialogs.messages[0].text, QStringLiteral("Com-порт 0 не доступен"));
        QVERIFY(!form.comPort1().PortOpen());
        QCOMPARE(f.settings().size(), 0);

        f.control<QComboBox>("cmb1")->setCurrentIndex(0);
        QVERIFY(form.comPort1().PortOpen());
        QVERIFY(labelIsBlack(f));
        // The port number is the last thing a new file gets.
        QCOMPARE(f.settings().size(), ConfLayout::PortNumber);
        QCOMPARE(f.stored().portNumber(), 1);
        QVERIFY(f.pty.read(100).isEmpty()); // selecting a port sends nothing
    }

    void entriesShowTheirDevices()
    {
        ConsoleFixture f;
        f.start();
        auto *ports = f.control<QComboBox>("cmb1");
        QCOMPARE(ports->itemData(0, Qt::ToolTipRole).toString(), f.pty.device());
        QCOMPARE(ports->itemText(0), QStringLiteral("1"));
    }

    void absentPortClosesTheOldOneAndTurnsTheLabelRed()
    {
        ConsoleFixture f;
        f.writeSettings(SettingsImage().port(1).bytes());
        Form1 &form = f.start();
        QVERIFY(form.comPort1().PortOpen());
        f.control<QComboBox>("cmb1")->setCurrentIndex(2);
        QVERIFY(!form.comPort1().PortOpen());
        QVERIFY(labelIsRed(f, QStringLiteral("absent-tty3: нет такого устройства")));
        QCOMPARE(f.stored().portNumber(), 1);

        // A good selection turns it black again.
        f.control<QComboBox>("cmb1")->setCurrentIndex(0);
        QVERIFY(form.comPort1().PortOpen());
        QVERIFY(labelIsBlack(f));
    }

    void startupOpensTheStoredPortAndWritesItAgain()
    {
        ConsoleFixture f;
        f.writeSettings(SettingsImage().port(1).slot(at(1, "160 м", 1), 9, 8, 1).bytes());
        QFile file(f.settingsPath());
        QVERIFY(file.open(QIODevice::ReadWrite));
        const QDateTime old = QDateTime::currentDateTime().addDays(-1);
        QVERIFY(file.setFileTime(old, QFileDevice::FileModificationTime));
        file.close();

        Form1 &form = f.start();
        QVERIFY(f.dialogs.messages.isEmpty());
        QVERIFY(form.comPort1().PortOpen());
        QCOMPARE(f.control<QComboBox>("cmb1")->currentIndex(), 0);
        QVERIFY(labelIsBlack(f));
        QVERIFY(QFileInfo(f.settingsPath()).lastModified() > old.addSecs(60));
        QCOMPARE(f.stored().portNumber(), 1);
        // The slot recalled at start-up went out before the port was open.
        QVERIFY(f.pty.read(100).isEmpty());
        QVERIFY(f.relayBit('C', 0)->isChecked());
    }

    void startupWithAnAbsentStoredPortSaysSoOnce_data()
    {
        QTest::addColumn<int>("number");
        QTest::addColumn<QString>("why");
        QTest::newRow("absent device") << 3 << "нет такого устройства";
        QTest::newRow("out of range") << 200 << "выберите его в списке Comport";
    }
    void startupWithAnAbsentStoredPortSaysSoOnce()
    {
        QFETCH(int, number);
        ConsoleFixture f;
        f.writeSettings(SettingsImage().port(number).bytes());
        Form1 &form = f.start();
        QVERIFY(form.loaded());
        QCOMPARE(f.dialogs.messages.size(), 1);
        QCOMPARE(f.dialogs.messages[0].caption, QStringLiteral("Orvane"));
        QCOMPARE(f.dialogs.messages[0].text, QStringLiteral("Com-порт %1 не доступен").arg(number));
        // Under the console's own words, the device and the reason, or the way out.
        QFETCH(QString, why);
        QVERIFY2(f.dialogs.messages[0].informative.contains(why),
                 qPrintable(f.dialogs.messages[0].informative));
        QVERIFY(!form.comPort1().PortOpen());
        QCOMPARE(f.control<QComboBox>("cmb1")->currentIndex(), -1);
        QVERIFY(f.control<QLabel>("Label3")->toolTip().isEmpty());
        QCOMPARE(f.stored().portNumber(), number & 0xFF);
    }

    void unpluggedLineTurnsTheLabelRedOnTheNextSend()
    {
        ConsoleFixture f;
        PseudoTerminal spare;
        f.writeSettings(SettingsImage().port(1).bytes());
        ConsoleEnvironment env = f.environment();
        env.ports.map(2, spare.device());
        Form1 &form = f.start(env);
        QVERIFY(labelIsBlack(f));
        f.pty.hangUp();
        QTest::mouseClick(f.control("cmdIncrementC"), Qt::LeftButton);
        QVERIFY(labelIsRed(f, QStringLiteral("связь потеряна")));
        QTest::mouseClick(f.control("cmdIncrementC"), Qt::LeftButton); // nothing breaks
        QCOMPARE(f.control<QLineEdit>("txtCEnter")->text(), QStringLiteral("2"));

        f.control<QComboBox>("cmb1")->setCurrentIndex(1);
        QVERIFY(labelIsBlack(f));
        QTest::mouseClick(f.control("cmdIncrementC"), Qt::LeftButton);
        QCOMPARE(spare.read(), packet(1, 3, 0));
        QVERIFY(form.comPort1().PortOpen());
    }

    void aPortThatFailsSaysWhy_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("reason");
        QTest::newRow("missing") << "missing"
                                 << "нет такого устройства";
        QTest::newRow("busy") << "busy"
                              << "занят процессом";
        QTest::newRow("not a serial device") << "file"
                                             << "не последовательный порт";
    }
    void aPortThatFailsSaysWhy()
    {
        QFETCH(QString, kind);
        QFETCH(QString, reason);
        ConsoleFixture f;
        PseudoTerminal other;
        ConsoleEnvironment env = f.environment();
        QString device = f.temp.filePath(QStringLiteral("gone"));
        SerialService holder(env.ports);
        if (kind == QLatin1String("busy")) {
            device = other.device();
            PortMap ports;
            ports.map(1, device);
            holder.setPorts(ports);
            QVERIFY(holder.setCommPort(1) && holder.setPortOpen(true));
        } else if (kind == QLatin1String("file")) {
            device = makeBlocker(f.temp);
        }
        env.ports.map(2, device);
        f.start(env);
        f.control<QComboBox>("cmb1")->setCurrentIndex(1);
        QVERIFY(labelIsRed(f, device + QStringLiteral(": ") + reason));
        if (kind == QLatin1String("busy"))
            QVERIFY(labelIsRed(f, QString::number(QCoreApplication::applicationPid())));
    }

    void aStalledLineNeverFreezesTheWindow()
    {
        ConsoleFixture f;
        f.startShown(SettingsImage().slot(at(1, "80 м", 1), 9, 9, 1));
        f.pty.stall();
        QElapsedTimer clock;
        clock.start();
        clickCentre(f.band("80 м")); // a recall the line cannot take
        clickCentre(f.control("cmdIncrementL"));
        // Handing bytes over never waits; a line that took one second per packet froze the
        // window for three seconds a recall.
        QVERIFY2(clock.elapsed() < 500, qPrintable(QString::number(clock.elapsed())));
        QVERIFY2(labelIsRed(f, QStringLiteral("линия не принимает данные")),
                 qPrintable(f.control<QLabel>("Label3")->toolTip()));
        QCOMPARE(f.control<QLineEdit>("txtLEnter")->text(), QStringLiteral("10"));
        // Freed, the line carries the next packet whole, and nothing of the dropped ones.
        const QByteArray filler = f.pty.read(200);
        QVERIFY(!filler.contains('\xAA'));
        clickCentre(f.control("cmdIncrementL"));
        QCOMPARE(f.pty.read(), packet(2, 11, 0));
    }

    void aPortCanBeASerialServerOnTheNetwork()
    {
        SerialServer far;
        ConsoleFixture f;
        ConsoleEnvironment env = f.environment();
        env.ports.map(1, far.address());
        f.writeSettings(SettingsImage().slot(at(1, "160 м", 2), 5, 6, 1).port(1).bytes());
        Form1 &form = f.start(env);
        QVERIFY(form.comPort1().PortOpen());
        QCOMPARE(f.control<QComboBox>("cmb1")->itemData(0, Qt::ToolTipRole).toString(),
                 far.address());
        QVERIFY(labelIsBlack(f));
        clickCentre(f.relayBit('L', 1));
        clickCentre(f.subBand(2));
        const QByteArray expected =
            packet(2, 2, 0) + packet(1, 5, 0) + packet(2, 6, 0) + packet(3, 1, 0);
        QTRY_COMPARE(far.received, expected);

        // The connection drops: an unplugged adapter, and Refresh plugs it in again.
        far.current->close();
        QTest::qWait(100);
        clickCentre(f.control("cmdIncrementC"));
        QVERIFY(labelIsRed(f, QStringLiteral("связь потеряна")));
        clickCentre(f.control("cmdRefresh"));
        QTRY_VERIFY(labelIsBlack(f));
        QTRY_COMPARE(far.received, expected + packet(1, 5, 0) + packet(2, 6, 0) + packet(3, 1, 0));
    }

    void aRefusedConnectionIsAnAbsentPort()
    {
        QString address;
        {
            SerialServer gone;
            address = gone.address();
        }
        ConsoleFixture f;
        ConsoleEnvironment env = f.environment();
        env.ports.map(1, address);
        env.ports.map(2, address);
        f.writeSettings(SettingsImage().port(1).bytes());
        f.start(env);
        // Connecting does not hold the window; its failure says what a serial port's does.
        QTRY_COMPARE(f.dialogs.messages.size(), 1);
        QCOMPARE(f.dialogs.messages[0].text, QStringLiteral("Com-порт 1 не доступен"));
        f.control<QComboBox>("cmb1")->setCurrentIndex(1);
        QTRY_VERIFY(labelIsRed(f, address + QStringLiteral(": нет соединения")));
    }

    void shutdownReleasesFileAndPort()
    {
        ConsoleFixture f;
        f.writeSettings(SettingsImage().port(1).bytes());
        Form1 &form = f.start();
        QVERIFY(form.settingsFile().isOpen());
        f.closeForm();
        QVERIFY(!form.comPort1().PortOpen());
        QVERIFY(!form.settingsFile().isOpen());
        QCOMPARE(f.dialogs.messages.size(), 0);
        // Another program can take the port now.
        SerialService other(f.environment().ports);
        QVERIFY(other.setCommPort(1) && other.setPortOpen(true));
    }

    void readOnlyProgramFolderKeepsSettingsInTheDataFolder()
    {
        ConsoleFixture f;
        makeBlocker(f.temp);
        ConsoleEnvironment env = f.environment();
        env.programDir = f.temp.filePath(QStringLiteral("blocker/program"));
        Form1 &form = f.start(env);
        QVERIFY(form.loaded());
        QCOMPARE(QFileInfo(form.settingsFile().path()).absolutePath(),
                 QFileInfo(env.dataDir).absoluteFilePath());
        f.control<QComboBox>("cmb1")->setCurrentIndex(0);
        QFile stored(QDir(env.dataDir).filePath(QStringLiteral("conf.cfg")));
        QVERIFY(stored.open(QIODevice::ReadOnly));
        QCOMPARE(stored.readAll().size(), ConfLayout::PortNumber);
        // The About box tells where the settings are.
        QString note;
        f.dialogs.onExec = [&](QDialog &about) {
            note = about.findChild<QLabel *>("lblDisclaimer")->text();
        };
        clickCentre(f.control("Command1"));
        QVERIFY2(note.contains(stored.fileName()), qPrintable(note));
    }

    void noUsableFolderStopsStartUpWithAMessage()
    {
        ConsoleFixture f;
        makeBlocker(f.temp);
        ConsoleEnvironment env = f.environment();
        env.programDir = f.temp.filePath(QStringLiteral("blocker/program"));
        env.dataDir = f.temp.filePath(QStringLiteral("blocker/data"));
        Form1 &form = f.start(env);
        QVERIFY(!form.loaded());
        QCOMPARE(f.dialogs.messages.size(), 1);
        QVERIFY(f.dialogs.messages[0].text.contains(QStringLiteral("blocker/program")));
        QVERIFY(!form.comPort1().PortOpen());
    }
};

QTEST_MAIN(TestPort)
#include "tst_port.moc"
