#include "console/features.h"
#include "console/form1.h"
#include "dialogs/portsdialog.h"
#include "panel/panel.h"
#include "support/consolefixture.h"
#include "support/programs.h"
#include "support/unprivileged.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QTest>

#include <sys/stat.h>

namespace {

// The virtual controllers this test has started and not yet seen end.
int simulators()
{
    int count = 0;
    const QString me = QString::number(QCoreApplication::applicationPid());
    for (const QString &pid : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs)) {
        QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
        if (!stat.open(QIODevice::ReadOnly))
            continue;
        // "pid (name) state ppid …"
        const QByteArray line = stat.readAll();
        const QList<QByteArray> after = line.mid(line.lastIndexOf(')') + 2).split(' ');
        if (line.contains("(orvane-sim)") && after.value(0) != "Z" &&
            after.value(1) == me.toLatin1())
            ++count;
    }
    return count;
}

} // namespace

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

    // The virtual controller is a choice of the dialog like any device: it keeps its name
    // there and in the settings, and runs only while the console has its port open.
    void theVirtualControllerIsAChoiceAndRunsOnlyWhileItsPortIsOpen()
    {
        ConsoleFixture f;
        ConsoleEnvironment env = f.environment();
        env.virtualProgram = builtProgram(QStringLiteral("orvane-sim"));
        env.ports.map(3, QStringLiteral("virtual"));
        f.userSettings.setValue("ports/3", "virtual");
        f.writeSettings(SettingsImage().slot(at(1, "160 м", 1), 3, 4, 1).port(1).bytes());
        Form1 &form = f.start(env); // on port 1, the test's line
        QVERIFY(form.comPort1().PortOpen());
        QTest::qWait(300);
        QCOMPARE(simulators(), 0);

        QString shown;
        bool offered = false;
        f.dialogs.onExec = [&](QDialog &dialog) {
            auto *port3 = dialog.findChild<QComboBox *>(QStringLiteral("port3"));
            shown = port3->currentText();
            offered = port3->findText(PortsDialog::virtualCaption()) >= 0;
            static_cast<PortsDialog &>(dialog).accept(); // Save, as it opened
        };
        form.features().choosePorts();
        QCOMPARE(shown, QStringLiteral("Виртуальный контроллер"));
        QVERIFY(offered);
        QCOMPARE(f.userSettings.value("ports/3").toString(), QStringLiteral("virtual"));

        f.control<QComboBox>("cmb1")->setCurrentIndex(2);
        QTRY_VERIFY_WITH_TIMEOUT(form.comPort1().PortOpen() && !form.comPort1().opening(), 10000);
        QCOMPARE(simulators(), 1);
        QCOMPARE(form.panel().state().port.device, QStringLiteral("virtual"));
        clickCentre(f.control("cmdIncrementC"));
        QTRY_VERIFY(form.panel().state().relays.codeC == 4);
        f.control<QComboBox>("cmb1")->setCurrentIndex(0);
        QTRY_COMPARE(simulators(), 0);
        form.features().choosePorts();
        QCOMPARE(f.userSettings.value("ports/3").toString(), QStringLiteral("virtual"));
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
