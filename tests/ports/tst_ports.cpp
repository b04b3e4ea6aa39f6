#include "console/features.h"
#include "console/form1.h"
#include "dialogs/portsdialog.h"
#include "support/consolefixture.h"
#include "support/unprivileged.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QTest>

#include <sys/stat.h>

// The ports dialog and what a USB adapter's user meets: lasting names, permissions.
class TestPorts : public QObject
{
    Q_OBJECT

private slots:
    void theDialogStoresALastingNameAndTheConsoleOpensIt()
    {
        ConsoleFixture f;
        // udev's folder of lasting names, with one adapter in it.
        const QString byId = f.temp.filePath(QStringLiteral("by-id"));
        QDir().mkpath(byId);
        const QString lasting =
            byId + QStringLiteral("/usb-FTDI_FT232R_USB_UART_A10K1234-if00-port0");
        QVERIFY(QFile::link(f.pty.device(), lasting));
        ConsoleEnvironment env = f.environment();
        env.serialByIdFolder = byId;
        f.writeSettings(SettingsImage().slot(at(1, "160 м", 1), 3, 4, 1).port(2).bytes());
        Form1 &form = f.start(env);
        f.control<QComboBox>("cmb1")->setCurrentIndex(2); // port 3, nowhere yet
        QVERIFY(!form.comPort1().PortOpen());

        bool listed = false;
        f.dialogs.onExec = [&](QDialog &dialog) {
            auto &ports = static_cast<PortsDialog &>(dialog);
            for (const SerialDevice &d : ports.devices())
                listed = listed || (d.device == f.pty.device() && d.byId == lasting);
            ports.assign(3, f.pty.device()); // as typed: stored under its lasting name
            ports.accept();
        };
        form.features().choosePorts();
        QVERIFY(listed);
        QCOMPARE(f.userSettings.value("ports/3").toString(), lasting);
        QCOMPARE(f.control<QComboBox>("cmb1")->itemData(2, Qt::ToolTipRole).toString(), lasting);
        QVERIFY(form.comPort1().PortOpen()); // the port in use moved to its new device
        clickCentre(f.control("cmdIncrementC"));
        QCOMPARE(f.pty.read(), packet(1, 4, 0));
    }

    void aPortTheUserMayNotOpenSaysWhatToDo()
    {
        ORVANE_RUN_UNPRIVILEGED();
        ConsoleFixture f;
        PseudoTerminal locked;
        ::chmod(QFile::encodeName(locked.device()).constData(), 0);
        ConsoleEnvironment env = f.environment();
        env.ports.map(2, locked.device());
        f.start(env);
        f.control<QComboBox>("cmb1")->setCurrentIndex(1);
        const QString tip = f.control<QLabel>("Label3")->toolTip();
        QVERIFY2(tip.contains(QStringLiteral("нет прав на чтение и запись")), qPrintable(tip));
        QVERIFY(tip.contains(QStringLiteral("sudo adduser $USER dialout")));
        QCOMPARE(f.control<QLabel>("Label3")->palette().color(QPalette::WindowText),
                 QColor(255, 0, 0));
        const qsizetype messages = f.dialogs.messages.size();
        QVERIFY(f.dialogs.messages.last().text.contains(QStringLiteral("dialout")));
        f.control<QComboBox>("cmb1")->setCurrentIndex(0);
        f.control<QComboBox>("cmb1")->setCurrentIndex(1);
        QCOMPARE(f.dialogs.messages.size(), messages); // once a session
    }
};

QTEST_MAIN(TestPorts)
#include "tst_ports.moc"
