#include "app/language.h"
#include "console/features.h"
#include "console/form1.h"
#include "console/statusstrip.h"
#include "dialogs/bandsdialog.h"
#include "dialogs/firststartdialog.h"
#include "dialogs/linelogwindow.h"
#include "dialogs/portsdialog.h"
#include "dialogs/tunedialog.h"
#include "panel/panel.h"
#include "rig/rigctldclient.h"
#include "sim/localendpoint.h"
#include "sim/simwindow.h"
#include "sim/virtualcontroller.h"
#include "support/consolefixture.h"
#include "support/station.h"

#include <QAccessible>
#include <QLabel>
#include <QLineEdit>
#include <QSet>
#include <QTest>

namespace {

// Every accessible object under a root, depth first.
void walk(QAccessibleInterface *node, QList<QAccessibleInterface *> &out, int depth = 0)
{
    if (!node || depth > 12)
        return;
    out << node;
    for (int i = 0; i < node->childCount(); ++i)
        walk(node->child(i), out, depth + 1);
}

// What a screen reader would stumble on in a window: a control it can reach without a name,
// two it cannot tell apart, a toggle that does not say whether it is pressed, a slider with
// no value.
QStringList faultsOf(QWidget *window)
{
    QStringList faults;
    QList<QAccessibleInterface *> nodes;
    walk(QAccessible::queryAccessibleInterface(window), nodes);
    QHash<QString, int> names;
    for (QAccessibleInterface *node : std::as_const(nodes)) {
        const QAccessible::State state = node->state();
        const auto *widget = qobject_cast<QWidget *>(node->object());
        if (!state.focusable || state.invisible || !widget || !widget->isEnabled())
            continue;
        // The text field of an editable list is the list itself to a screen reader.
        if (widget->parentWidget() && widget->parentWidget()->inherits("QComboBox"))
            continue;
        const QString name = node->text(QAccessible::Name).trimmed();
        const QString what = widget->objectName().isEmpty()
                                 ? QString::fromLatin1(widget->metaObject()->className())
                                 : widget->objectName();
        if (name.isEmpty())
            faults << what + QStringLiteral(": no name");
        else if (++names[name] == 2)
            faults << what + QStringLiteral(": a second \"") + name + QLatin1Char('"');
        if (widget->inherits("QAbstractButton") && widget->property("checkable").toBool() &&
            !state.checkable)
            faults << what + QStringLiteral(": no pressed state");
        if (node->role() == QAccessible::Slider) {
            QAccessibleValueInterface *value = node->valueInterface();
            if (!value || !value->currentValue().isValid() ||
                node->text(QAccessible::Value).isEmpty())
                faults << what + QStringLiteral(": no value");
        }
    }
    return faults;
}

} // namespace

// The console as a screen reader meets it: every control named, the bars as sliders with
// their values, everything within reach of the keyboard, and changes said without a move.
class TestAccessibility : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { useLanguage(Language::Russian); }

    void everyControlAndDialogHasAName_data()
    {
        QTest::addColumn<int>("language");
        QTest::newRow("Russian") << int(Language::Russian);
        QTest::newRow("English") << int(Language::English);
    }
    void everyControlAndDialogHasAName()
    {
        QFETCH(int, language);
        useLanguage(Language(language));
        ConsoleFixture f;
        Form1 &form = f.startShown(SettingsImage().steps(10, 500));
        QStringList faults = faultsOf(&form);

        // The bars speak their value in the bank's words.
        QAccessibleInterface *bar = QAccessible::queryAccessibleInterface(f.widget("lbl1"));
        QCOMPARE(bar->role(), QAccessible::Slider);
        QCOMPARE(bar->valueInterface()->maximumValue().toInt(), 255);
        QVERIFY2(bar->text(QAccessible::Value).contains(QStringLiteral("0 pF")),
                 qPrintable(bar->text(QAccessible::Value)));
        QAccessibleInterface *bit = QAccessible::queryAccessibleInterface(f.relayBit('C', 3));
        QVERIFY(bit->text(QAccessible::Description).contains(QStringLiteral("80 pF")));
        QVERIFY(!QAccessible::queryAccessibleInterface(f.widget("Label3"))
                     ->text(QAccessible::Name)
                     .isEmpty());

        // Every dialog the additions brought, and the virtual controller's window.
        LineLog log;
        RigctldClient rig;
        TuneSession session(
            rig, {}, [](const RelaySetting &) {}, 60);
        VirtualController controller;
        PtyEndpoint endpoint;
        QString error;
        QVERIFY(endpoint.start(&error));
        std::vector<std::unique_ptr<QWidget>> windows;
        windows.emplace_back(new PortsDialog(PortMap(), nullptr, f.temp.path(), true));
        windows.emplace_back(new TuneDialog(session));
        windows.emplace_back(new BandsDialog(BandPlan()));
        windows.emplace_back(new FirstStartDialog({}, true));
        windows.emplace_back(new LineLogWindow(log, &f.dialogs));
        windows.emplace_back(new SimWindow(controller, endpoint));
        for (const auto &window : windows) {
            window->show();
            for (const QString &fault : faultsOf(window.get()))
                faults << window->metaObject()->className() + QStringLiteral(" ") + fault;
        }
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QLatin1Char('\n'))));
    }

    void theBarsMoveFromTheKeyboardAsAReleaseSends()
    {
        ConsoleFixture f;
        Form1 &form = f.startShown(SettingsImage().steps(10, 500));
        form.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&form));
        // Tab reaches the C bar after the designed controls.
        f.band("Д")->setFocus();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), f.widget("lbl1"));
        for (int step = 1; step <= 3; ++step) {
            QTest::keyClick(f.widget("lbl1"), Qt::Key_Right);
            QCOMPARE(packetsOf(f.pty.read()), QList<QByteArray>{packet(1, step, 0)});
        }
        QCOMPARE(f.control<QLineEdit>("txtCEnter")->text(), QStringLiteral("3"));
        QCOMPARE(form.BarC().Str, QStringLiteral("30 pF"));
        QTest::keyClick(f.widget("lbl1"), Qt::Key_PageUp);
        QCOMPARE(packetsOf(f.pty.read()), QList<QByteArray>{packet(1, 19, 0)});
        QTest::keyClick(f.widget("lbl1"), Qt::Key_Home);
        QCOMPARE(packetsOf(f.pty.read()), QList<QByteArray>{packet(1, 0, 0)});
        QTest::keyClick(f.widget("lbl1"), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), f.widget("lbl2"));
        QTest::keyClick(f.widget("lbl2"), Qt::Key_End);
        QCOMPARE(packetsOf(f.pty.read()), QList<QByteArray>{packet(2, 255, 0)});
    }

    void aRecallTheRadioMadeIsSaid()
    {
        static QList<std::pair<QObject *, QString>> heard;
        heard.clear();
        QAccessible::setActive(true);
        QAccessible::installUpdateHandler([](QAccessibleEvent *event) {
            if (event->type() == QAccessible::NameChanged)
                heard << std::pair(event->object(),
                                   event->accessibleInterface()->text(QAccessible::Name));
        });
        Rigctld rig;
        QVERIFY(rig.start());
        ConsoleFixture f;
        ConsoleEnvironment env = f.following(rig.address());
        f.writeSettings(SettingsImage().port(1).bytes());
        Form1 &form = f.start(env);
        QTRY_VERIFY(form.panel().state().radio.connected);
        QVERIFY(rig.tell("F 14200000"));
        QLabel *message = form.features().strip().message();
        const auto said = [&] {
            for (const auto &[object, name] : std::as_const(heard)) {
                if (object == message && name.contains(QStringLiteral("антенна 1, 20 м, 3")))
                    return true;
            }
            return false;
        };
        QVERIFY2(QAccessible::isActive(), "no accessibility bridge: run under the AT-SPI bus");
        QTRY_VERIFY_WITH_TIMEOUT(said(), 8000);
        QAccessible::installUpdateHandler(nullptr);
        QAccessible::setActive(false);
    }
};

QTEST_MAIN(TestAccessibility)
#include "tst_accessibility.moc"
