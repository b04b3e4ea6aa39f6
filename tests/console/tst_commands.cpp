#include "console/form1.h"
#include "support/consolefixture.h"
#include "widgets/barsurface.h"

#include <QDialog>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <cstdio>

// Save, Refresh, Options, the drag bars and the network side.
class TestCommands : public QObject
{
    Q_OBJECT

    // Mouse events with explicit button states, as a held button reports them while moving.
    static void mouse(QWidget *w, QEvent::Type type, int x, Qt::MouseButton button,
                      Qt::MouseButtons buttons)
    {
        const QPointF local(x, 12);
        QMouseEvent event(type, local, w->mapToGlobal(local), button, buttons, Qt::NoModifier);
        QApplication::sendEvent(w, &event);
    }
    static int fillWidth(Form1 &form)
    {
        const QImage &image = form.barSurface().image();
        int width = 0;
        for (int x = 88; x < 417; ++x)
            width += image.pixelColor(x, 79).blue() >= 70 ? 1 : 0;
        return width;
    }
    static QColor pictureColour(ConsoleFixture &f)
    {
        const QPixmap pixmap = f.control<QLabel>("Img1")->pixmap();
        return pixmap.toImage().pixelColor(pixmap.width() / 2, pixmap.height() / 2);
    }

private slots:
    void init() { QLocale::setDefault(QLocale::c()); }

    void saveStoresTheWindowIntoTheSelectedSlot()
    {
        ConsoleFixture f;
        Form1 &form = f.startShown();
        f.antenna(2)->setChecked(true);
        f.band("40 м")->setChecked(true);
        f.subBand(3)->setChecked(true);
        form.module().SetC(0xC3);
        form.module().SetL(0x3C);
        f.control("Opt1")->setChecked(true);
        clickCentre(f.control("cmdSave1"));
        const SettingsImage stored = f.stored();
        QCOMPARE(stored.slot(at(2, "40 м", 3)), (RelaySetting{0xC3, 0x3C, 1}));
        QCOMPARE(stored.lastSavedBase(), ConfLayout::baseOf(at(2, "40 м", 3)));
        QCOMPARE(f.control<QLineEdit>("txtCEnter")->text(), QStringLiteral("195"));
        QVERIFY(f.pty.read(150).isEmpty());

        // A restart brings back the slot saved last, not the one selected last.
        clickCentre(f.band("80 м"));
        f.closeForm();
        f.start();
        QVERIFY(f.antenna(2)->isChecked() && f.band("40 м")->isChecked());
        QCOMPARE(f.control<QLineEdit>("txtLEnter")->text(), QStringLiteral("60"));
    }

#ifdef Q_OS_UNIX
    // Windows keeps an open file from being deleted or replaced.
    void saveReachesAConfCfgDeletedOrReplacedMeanwhile_data()
    {
        QTest::addColumn<bool>("replace");
        QTest::newRow("rm conf.cfg") << false;
        QTest::newRow("cp and mv over it") << true;
    }
    void saveReachesAConfCfgDeletedOrReplacedMeanwhile()
    {
        QFETCH(bool, replace);
        ConsoleFixture f;
        f.startShown(SettingsImage().steps(10, 500));
        if (replace) {
            const QString copy = f.temp.filePath(QStringLiteral("x"));
            QVERIFY(QFile::copy(f.settingsPath(), copy));
            QVERIFY(::rename(QFile::encodeName(copy), QFile::encodeName(f.settingsPath())) == 0);
        } else {
            QVERIFY(QFile::remove(f.settingsPath()));
        }
        clickCentre(f.band("40 м"));
        clickCentre(f.control("cmdIncrementC"));
        clickCentre(f.control("cmdSave1"));
        QVERIFY(f.dialogs.messages.isEmpty());
        f.closeForm();
        Form1 &again = f.start();
        QVERIFY(f.band("40 м")->isChecked());
        QCOMPARE(f.control<QLineEdit>("txtCEnter")->text(), QStringLiteral("1"));
        QCOMPARE(again.module().StepL, qint16(500)); // the rest came along
        QCOMPARE(f.stored().portNumber(), 1);
    }
#endif

    void saveThatCannotWriteSaysSo()
    {
        ConsoleFixture f;
        Form1 &form = f.startShown();
        form.settingsFile().close();
        clickCentre(f.control("cmdSave1"));
        QCOMPARE(f.dialogs.messages.size(), 1);
        QCOMPARE(f.dialogs.messages[0].caption, QStringLiteral("Orvane"));
        QVERIFY(f.dialogs.messages[0].text.contains(QStringLiteral("conf.cfg")));
        // The first error, not the failed flush that follows it.
        QVERIFY(f.dialogs.messages[0].text.endsWith(QStringLiteral("файл настроек не открыт")));
    }

    void onlyTheFirstDisplayAndTheReturnFromAboutRedraw()
    {
        ConsoleFixture f;
        Form1 &form = f.startShown(SettingsImage().slot(at(1, "160 м", 1), 5, 6, 0));
        form.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&form));
        auto *entry = f.control<QLineEdit>("txtCEnter");
        entry->setText(QStringLiteral("77")); // typed, not yet entered

        QWidget other; // another program's window takes the focus and gives it back
        other.show();
        other.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&other));
        form.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&form));
        QCOMPARE(entry->text(), QStringLiteral("77"));

        clickCentre(f.control("Command1"));
        form.activateWindow();
        QTRY_COMPARE(entry->text(), QStringLiteral("5"));
        QVERIFY(f.pty.read(100).isEmpty());
    }

    void refreshPutsTheStoredSlotBackAfterHalfASecond()
    {
        ConsoleFixture f;
        Form1 &form = f.startShown(SettingsImage().slot(at(1, "160 м", 1), 0x21, 0x42, 1));
        clickCentre(f.relayBit('C', 1)); // 0x21 → 0x23
        QCOMPARE(packetsOf(f.pty.read()), QList<QByteArray>{packet(1, 0x23, 0)});

        bool openDuringWait = true, enabledDuringWait = true;
        QColor colourDuringWait;
        QTimer::singleShot(200, &form, [&] {
            openDuringWait = form.comPort1().PortOpen();
            enabledDuringWait = f.control("cmdRefresh")->isEnabled();
            colourDuringWait = f.control<QLabel>("Label3")->palette().color(QPalette::WindowText);
        });
        QElapsedTimer clock;
        clock.start();
        clickCentre(f.control("cmdRefresh"));
        QTRY_VERIFY(f.control("cmdRefresh")->isEnabled());
        QVERIFY(clock.elapsed() >= 500);
        QVERIFY(!openDuringWait);
        QVERIFY(!enabledDuringWait);
        QCOMPARE(colourDuringWait, QColor(255, 0, 0));
        // The press on the toggle left the silence off, so the toggle that flips back speaks
        // first, then the recall's three packets.
        QCOMPARE(packetsOf(f.pty.read()), (QList<QByteArray>{packet(1, 0x21, 0), packet(1, 0x21, 0),
                                                             packet(2, 0x42, 0), packet(3, 1, 0)}));
        QCOMPARE(f.control<QLineEdit>("txtCEnter")->text(), QStringLiteral("33"));
        QVERIFY(form.comPort1().PortOpen());
        QVERIFY(f.control("cmdRefresh")->isEnabled());
        QCOMPARE(f.control<QLabel>("Label3")->palette().color(QPalette::WindowText),
                 QColor(0, 0, 0));
    }

#ifdef Q_OS_UNIX
    // A device node that goes away with its name: a Unix adapter.
    void refreshThatCannotReopenLeavesTheLabelRed()
    {
        ConsoleFixture f;
        // The adapter goes away with its name: a pseudo-terminal's own number may be taken
        // by another at once.
        const QString adapter = f.temp.filePath(QStringLiteral("ttyUSB0"));
        QVERIFY(QFile::link(f.pty.device(), adapter));
        ConsoleEnvironment env = f.environment();
        env.ports.map(1, adapter);
        f.writeSettings(SettingsImage().slot(at(1, "160 м", 1), 5, 6, 0).port(1).bytes());
        Form1 &form = f.start(env);
        QVERIFY(form.comPort1().PortOpen());
        f.pty.hangUp();
        QFile::remove(adapter);
        clickCentre(f.control("cmdRefresh"));
        QTRY_VERIFY(f.control("cmdRefresh")->isEnabled());
        QVERIFY(!form.comPort1().PortOpen());
        QCOMPARE(f.control<QLabel>("Label3")->palette().color(QPalette::WindowText),
                 QColor(255, 0, 0));
        QCOMPARE(
            f.control<QLabel>("Label3")->toolTip(),
            QStringLiteral("Ошибка открытия Com-порта\n%1: нет такого устройства").arg(adapter));
        QVERIFY(f.control("cmdRefresh")->isEnabled());
        QCOMPARE(f.control<QLineEdit>("txtCEnter")->text(), QStringLiteral("5"));
    }
#endif

    void closingDuringTheWaitLeavesNothingToRun()
    {
        ConsoleFixture f;
        Form1 &form = f.startShown(SettingsImage().slot(at(1, "160 м", 1), 5, 6, 0));
        clickCentre(f.relayBit('C', 7));
        f.pty.drain();
        const QByteArray before = f.settings();
        const QDateTime modified = QFileInfo(f.settingsPath()).lastModified();
        QTimer::singleShot(100, &form, [&] { f.closeForm(); });
        clickCentre(f.control("cmdRefresh"));
        QTest::qWait(600);
        QVERIFY(!form.comPort1().PortOpen());
        QVERIFY(!form.settingsFile().isOpen());
        QVERIFY(f.pty.read(100).isEmpty());
        QCOMPARE(f.settings(), before);
        QCOMPARE(QFileInfo(f.settingsPath()).lastModified(), modified);
        QVERIFY(f.relayBit('C', 7)->isChecked()); // no recall ran
    }

    void escapeRefreshesButEnterInAnEntryBoxDoesNot()
    {
        ConsoleFixture f;
        Form1 &form = f.startShown(SettingsImage().slot(at(1, "160 м", 1), 5, 6, 0));
        form.activateWindow(); // a window shortcut needs the active window
        QVERIFY(QTest::qWaitForWindowActive(&form));
        QVERIFY(!f.control<QPushButton>("cmdRefresh")->isDefault());
        QTest::keyClick(f.control<QLineEdit>("txtCEnter"), Qt::Key_Return);
        QVERIFY(f.pty.read(150).isEmpty());
        QTest::keyClick(&form, Qt::Key_Escape);
        QVERIFY(!f.control("cmdRefresh")->isEnabled());
        QTRY_VERIFY(f.control("cmdRefresh")->isEnabled());
        QCOMPARE(packetsOf(f.pty.read(1500)).size(), 3);
    }

    void optionsLimitAndStoreTheSteps_data()
    {
        QTest::addColumn<int>("previousC");
        QTest::addColumn<int>("previousL");
        QTest::addColumn<QString>("answerC");
        QTest::addColumn<QString>("answerL");
        QTest::addColumn<int>("stepC");
        QTest::addColumn<int>("stepL");
        QTest::newRow("200 is limited to 128") << 12 << 50 << "200"
                                               << "50" << 128 << 50;
        QTest::newRow("300 keeps the previous") << 12 << 50 << "300"
                                                << "50" << 12 << 50;
        QTest::newRow("cancel keeps both") << 12 << 60 << ""
                                           << "" << 12 << 60;
        QTest::newRow("0 stays 0") << 12 << 50 << "0"
                                   << "50" << 0 << 50;
        QTest::newRow("1000 is limited to 999") << 12 << 50 << "12"
                                                << "1000" << 12 << 999;
        QTest::newRow("0 becomes 1") << 12 << 50 << "12"
                                     << "0" << 12 << 1;
        QTest::newRow("-5 becomes 1") << 12 << 50 << "12"
                                      << "-5" << 12 << 1;
        QTest::newRow("40000 keeps the previous") << 12 << 70 << "12"
                                                  << "40000" << 12 << 70;
        QTest::newRow("previous out of range is limited") << 12 << 2000 << "12"
                                                          << "40000" << 12 << 999;
        QTest::newRow("cancel with step 0") << 12 << 0 << "12"
                                            << "" << 12 << 1;
        QTest::newRow("2.5 rounds to 2") << 12 << 50 << "2.5"
                                         << "50" << 2 << 50;
        QTest::newRow("3.5 rounds to 4") << 12 << 50 << "3.5"
                                         << "50" << 4 << 50;
    }
    void optionsLimitAndStoreTheSteps()
    {
        QFETCH(int, previousC);
        QFETCH(int, previousL);
        QFETCH(QString, answerC);
        QFETCH(QString, answerL);
        QFETCH(int, stepC);
        QFETCH(int, stepL);
        ConsoleFixture f;
        // A step outside what Options writes makes start-up ask at once; such a value is
        // put in place after start-up instead.
        const bool damaged = previousL < 0 || previousL > 999;
        Form1 &form = f.startShown(SettingsImage().steps(previousC, damaged ? 50 : previousL));
        form.module().StepL = static_cast<qint16>(previousL);
        f.dialogs.answers << answerC << answerL;
        clickCentre(f.control("cmdOptions"));
        QCOMPARE(f.dialogs.questions.size(), 2);
        QCOMPARE(form.module().StepC, quint8(stepC));
        QCOMPARE(form.module().StepL, qint16(stepL));
        QCOMPARE(int(f.stored().stepC()), stepC);
        QCOMPARE(int(f.stored().stepL()), stepL);
        QVERIFY(f.pty.read(100).isEmpty());
    }

    void optionsAskInTheConsolesWords()
    {
        ConsoleFixture f;
        f.startShown();
        clickCentre(f.control("cmdOptions"));
        const auto &q = f.dialogs.questions;
        QCOMPARE(q.size(), 2);
        QCOMPARE(q[0].title, QStringLiteral("Дискретность ёмкости"));
        QCOMPARE(q[0].prompt,
                 QStringLiteral("Введите значение младшего\r\nразряда ёмкости в пФ.\r\n"
                                "Максимальное значение - 128"));
        QCOMPARE(q[0].initial, QStringLiteral("12"));
        QCOMPARE(q[1].title, QStringLiteral("Дискретность индуктивности"));
        QCOMPARE(q[1].prompt, QStringLiteral("Введите значение младшего\r\nразряда индуктивности в "
                                             "нГн.\r\nМаксимальное значение - 999"));
        QCOMPARE(q[1].initial, QStringLiteral("50"));
    }

    void storedCapacitanceStepAbove128PromptsBeforeTheWindowShows_data()
    {
        QTest::addColumn<int>("stored");
        QTest::addColumn<int>("storedL");
        QTest::addColumn<int>("questions");
        QTest::newRow("200 prompts") << 200 << 50 << 2;
        QTest::newRow("129 prompts") << 129 << 50 << 2;
        QTest::newRow("128 does not") << 128 << 50 << 0;
        QTest::newRow("inductance -32768 prompts") << 12 << -32768 << 2;
        QTest::newRow("inductance 1000 prompts") << 12 << 1000 << 2;
        QTest::newRow("inductance 0 of a new file does not") << 12 << 0 << 0;
    }
    void storedCapacitanceStepAbove128PromptsBeforeTheWindowShows()
    {
        QFETCH(int, stored);
        QFETCH(int, storedL);
        QFETCH(int, questions);
        ConsoleFixture f;
        f.writeSettings(SettingsImage().steps(stored, storedL).bytes());
        Form1 &form = f.start();
        QVERIFY(!form.isVisible());
        QCOMPARE(f.dialogs.questions.size(), questions);
        QCOMPARE(int(form.module().StepC), std::min(stored, 128));
        QCOMPARE(int(f.stored().stepC()), std::min(stored, 128));
    }

    void pressWithoutMovingSetsTheCodeUnderThePointer_data()
    {
        QTest::addColumn<int>("offset");
        QTest::addColumn<int>("code");
        QTest::newRow("0") << 0 << 0;
        QTest::newRow("1") << 1 << 0;
        QTest::newRow("2") << 2 << 1;
        QTest::newRow("165") << 165 << 127;
        QTest::newRow("328") << 328 << 254;
        QTest::newRow("329") << 329 << 255;
    }
    void pressWithoutMovingSetsTheCodeUnderThePointer()
    {
        QFETCH(int, offset);
        QFETCH(int, code);
        for (const bool bankC : {true, false}) {
            ConsoleFixture f;
            Form1 &form = f.startShown();
            form.module().StepC = 10;
            QWidget *bar = f.widget(bankC ? "lbl1" : "lbl2");
            mouse(bar, QEvent::MouseButtonPress, offset, Qt::LeftButton, Qt::LeftButton);
            QCOMPARE(bankC ? form.module().DragCodeC : form.module().DragCodeL, qint16(code));
            if (bankC) {
                QCOMPARE(form.BarC().Str, QStringLiteral("%1 pF").arg(10 * code));
                QCOMPARE(fillWidth(form), offset);
            }
            QVERIFY(f.pty.read(50).isEmpty()); // nothing goes out before the release
            mouse(bar, QEvent::MouseButtonRelease, offset, Qt::LeftButton, Qt::NoButton);
            QCOMPARE(packetsOf(f.pty.read()), QList<QByteArray>{packet(bankC ? 1 : 2, code, 0)});
            QCOMPARE(f.control<QLineEdit>(bankC ? "txtCEnter" : "txtLEnter")->text(),
                     QString::number(code));
            QCOMPARE(int(bankC ? form.module().GetC() : form.module().GetL()), code);
        }
    }

    void draggingPastEitherEnd()
    {
        ConsoleFixture f;
        Form1 &form = f.startShown();
        form.module().StepL = 999;
        QWidget *bar = f.widget("lbl2");
        mouse(bar, QEvent::MouseButtonPress, 100, Qt::LeftButton, Qt::LeftButton);
        mouse(bar, QEvent::MouseMove, 600, Qt::NoButton, Qt::LeftButton);
        QCOMPARE(form.module().DragCodeL, qint16(255));
        QCOMPARE(form.BarL().Str, QStringLiteral("254.745 uH"));
        QCOMPARE(form.BarL().X2, 417);
        mouse(bar, QEvent::MouseMove, 50, Qt::NoButton, Qt::LeftButton);
        mouse(bar, QEvent::MouseMove, -30, Qt::NoButton, Qt::LeftButton); // left of the bar
        QCOMPARE(form.module().DragCodeL, qint16(38));
        QCOMPARE(form.BarL().X2, 138);
        mouse(bar, QEvent::MouseButtonRelease, -30, Qt::LeftButton, Qt::NoButton);
        QCOMPARE(packetsOf(f.pty.read()), QList<QByteArray>{packet(2, 38, 0)});
    }

    void rightButtonPaintsNothingButItsReleaseApplies()
    {
        ConsoleFixture f;
        Form1 &form = f.startShown();
        QWidget *bar = f.widget("lbl1");
        mouse(bar, QEvent::MouseButtonPress, 200, Qt::LeftButton, Qt::LeftButton);
        mouse(bar, QEvent::MouseButtonRelease, 200, Qt::LeftButton, Qt::NoButton);
        const int code = form.module().DragCodeC;
        form.module().SetC(0);
        form.FillC();
        f.pty.drain();
        const QImage before = form.barSurface().image();
        mouse(bar, QEvent::MouseButtonPress, 50, Qt::RightButton, Qt::RightButton);
        mouse(bar, QEvent::MouseMove, 80, Qt::NoButton, Qt::RightButton);
        mouse(bar, QEvent::MouseMove, 90, Qt::NoButton, Qt::LeftButton | Qt::RightButton);
        QCOMPARE(form.barSurface().image(), before);
        QCOMPARE(int(form.module().DragCodeC), code);
        mouse(bar, QEvent::MouseButtonRelease, 90, Qt::RightButton, Qt::NoButton);
        QCOMPARE(packetsOf(f.pty.read()), QList<QByteArray>{packet(1, code, 0)});
        QCOMPARE(form.barSurface().image(), before);
    }

    void choosingAntSendsOnePacketAndShowsItsPicture()
    {
        ConsoleFixture f;
        f.writePictures();
        Form1 &form = f.startShown(SettingsImage().slot(at(1, "160 м", 1), 1, 2, 1));
        QVERIFY(f.control("Opt1")->isChecked());
        QVERIFY(pictureColour(f).red() > 150); // the recall showed the transmitter side
        const QByteArray stored = f.settings();
        clickCentre(f.control("Opt2"));
        QCOMPARE(packetsOf(f.pty.read()), QList<QByteArray>{packet(3, 0, 0)});
        QVERIFY(pictureColour(f).blue() > 150);
        clickCentre(f.control("Opt1"));
        QCOMPARE(packetsOf(f.pty.read()), QList<QByteArray>{packet(3, 1, 0)});
        QCOMPARE(f.settings(), stored);
        Q_UNUSED(form);
    }

    void missingPictureKeepsThePreviousOneAndStillSends()
    {
        ConsoleFixture f;
        f.writePictures();
        f.startShown(SettingsImage().slot(at(1, "160 м", 1), 1, 2, 1));
        QFile::remove(f.programDir() + QStringLiteral("/img/ColdEnd.jpg"));
        clickCentre(f.control("Opt2"));
        QCOMPARE(packetsOf(f.pty.read()), QList<QByteArray>{packet(3, 0, 0)});
        QVERIFY(pictureColour(f).red() > 150);
    }

    void aboutBoxShowsTheProgramAndBuildsAfresh()
    {
        ConsoleFixture f;
        Form1 &form = f.startShown();
        QStringList seen;
        f.dialogs.onExec = [&](QDialog &dialog) {
            QCOMPARE(dialog.windowTitle(), QStringLiteral("About Orvane"));
            QCOMPARE(dialog.size(), QSize(382, 237));
            seen << dialog.findChild<QLabel *>("lblVersion")->text()
                 << dialog.findChild<QLabel *>("lblTitle")->text()
                 << dialog.findChild<QLabel *>("lblDescription")->text().section('\n', 0, 0);
            QVERIFY(dialog.findChild<QPushButton *>("cmdOK")->isDefault());
            dialog.findChild<QLabel *>("lblTitle")->setText(QStringLiteral("changed"));
        };
        clickCentre(f.control("Command1"));
        clickCentre(f.control("Command1"));
        const QStringList once{QStringLiteral("Version 1.2.20"), QStringLiteral("Orvane"),
                               QStringLiteral("Управление блоком реле антенного тюнера")};
        QCOMPARE(seen, once + once);
        Q_UNUSED(form);
    }
};

QTEST_MAIN(TestCommands)
#include "tst_commands.moc"
