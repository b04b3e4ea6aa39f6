#include "app/language.h"
#include "console/form1.h"
#include "control/commands.h"
#include "model/bandnames.h"
#include "panel/panel.h"
#include "support/consolefixture.h"
#include "widgets/barsurface.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QAccessible>
#include <QTest>

// The window's design, start-up state and the display of the relay codes.
class TestForm1 : public QObject
{
    Q_OBJECT

    // Leftmost and rightmost painted column of the gradient inside a label, or -1, -1.
    static QPair<int, int> fillExtent(Form1 &form, const QLabel *label)
    {
        const QImage &image = form.barSurface().image();
        int left = -1, right = -1;
        for (int x = label->x(); x < label->x() + label->width(); ++x) {
            for (int y = label->y() + 2; y < label->y() + label->height() - 1; ++y) {
                const QColor c = image.pixelColor(x, y);
                if (c.alpha() == 255 && c.blue() >= 70 && c.red() == 0 && c.green() == 0) {
                    left = left < 0 ? x : left;
                    right = x;
                    break;
                }
            }
        }
        return {left, right};
    }

private slots:
    void initTestCase() { QLocale::setDefault(QLocale::c()); }

    void windowHasDesignedLayout_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QRect>("geometry"); // in window pixels
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("toolTip");
        QTest::newRow("tglC7") << "tglC7" << QRect(88, 8, 41, 41) << "0"
                               << "";
        QTest::newRow("tglC3") << "tglC3" << QRect(256, 8, 41, 41) << "0"
                               << "";
        QTest::newRow("tglC0") << "tglC0" << QRect(376, 8, 41, 41) << "0"
                               << "";
        QTest::newRow("tglL4") << "tglL4" << QRect(208, 112, 41, 41) << "0"
                               << "";
        QTest::newRow("txtCEnter") << "txtCEnter" << QRect(8, 8, 57, 40) << "0"
                                   << "Значение C";
        QTest::newRow("cmdCEnter") << "cmdCEnter" << QRect(8, 56, 57, 25) << "C ="
                                   << "Ввести значение C";
        QTest::newRow("txtLEnter") << "txtLEnter" << QRect(8, 112, 57, 40) << "0"
                                   << "Значение L";
        QTest::newRow("cmdLEnter") << "cmdLEnter" << QRect(8, 160, 57, 25) << "L ="
                                   << "Ввести значение L";
        QTest::newRow("cmdDecrementC") << "cmdDecrementC" << QRect(160, 80, 81, 24) << "<<"
                                       << "";
        QTest::newRow("cmdIncrementL") << "cmdIncrementL" << QRect(264, 184, 81, 24) << ">>"
                                       << "";
        QTest::newRow("lbl1") << "lbl1" << QRect(88, 56, 329, 25) << ""
                              << "";
        QTest::newRow("lbl2") << "lbl2" << QRect(88, 160, 329, 25) << ""
                              << "";
        QTest::newRow("Frame1") << "Frame1" << QRect(8, 216, 169, 113) << ""
                                << "";
        QTest::newRow("Opt1") << "Opt1" << QRect(16, 232, 65, 33) << "Tx"
                              << "";
        QTest::newRow("Opt2") << "Opt2" << QRect(112, 232, 57, 25) << "Ant"
                              << "";
        QTest::newRow("Img1") << "Img1" << QRect(24, 232, 91, 92) << ""
                              << "";
        QTest::newRow("FrameAntenna") << "FrameAntenna" << QRect(184, 264, 169, 65) << "Антенна"
                                      << "";
        QTest::newRow("OptAnt3") << "OptAnt3" << QRect(304, 296, 41, 25) << "3"
                                 << "";
        QTest::newRow("FrameBand") << "FrameBand" << QRect(8, 352, 417, 113) << "Диапазон"
                                   << "";
        QTest::newRow("Opt160") << "Opt160" << QRect(16, 384, 73, 33) << "160 м"
                                << "";
        QTest::newRow("Opt20") << "Opt20" << QRect(344, 384, 73, 33) << "20 м"
                               << "";
        QTest::newRow("Opt10") << "Opt10" << QRect(264, 424, 73, 33) << "10 м"
                               << "";
        QTest::newRow("Opt6") << "Opt6" << QRect(344, 424, 73, 33) << "Д"
                              << "Дополнительный диапазон.";
        QTest::newRow("Frame2") << "Frame2" << QRect(8, 472, 265, 97) << "Поддиапазон"
                                << "";
        QTest::newRow("OptSB5") << "OptSB5" << QRect(224, 520, 33, 25) << "5"
                                << "";
        QTest::newRow("Label3") << "Label3" << QRect(280, 480, 81, 25) << "Comport"
                                << "";
        QTest::newRow("cmdRefresh")
            << "cmdRefresh" << QRect(360, 264, 65, 25) << "Refresh"
            << "Принудительная отправка в com-порт настроек выбранного диапазона.";
        QTest::newRow("cmdSave1") << "cmdSave1" << QRect(360, 296, 65, 33) << "Save"
                                  << "Записать текущие настройки в контроллер.";
        QTest::newRow("cmdOptions") << "cmdOptions" << QRect(368, 504, 49, 33) << "..."
                                    << "Настройки";
        QTest::newRow("Command1") << "Command1" << QRect(280, 544, 137, 25) << "О программе"
                                  << "Настройки";
        QTest::newRow("Line1") << "Line1" << QRect(8, 104, 416, 1) << ""
                               << "";
        QTest::newRow("Line3") << "Line3" << QRect(0, 344, 432, 1) << ""
                               << "";
    }
    void windowHasDesignedLayout()
    {
        QFETCH(QString, name);
        QFETCH(QRect, geometry);
        QFETCH(QString, text);
        QFETCH(QString, toolTip);
        ConsoleFixture fixture;
        Form1 &form = fixture.start();
        QWidget *control = fixture.widget(qPrintable(name));
        QVERIFY2(control, qPrintable(name));
        QCOMPARE(QRect(control->mapTo(&form, QPoint(0, 0)), control->size()), geometry);
        const QVariant shown = qobject_cast<QGroupBox *>(control) ? control->property("title")
                                                                  : control->property("text");
        QCOMPARE(shown.toString(), text);
        // A specified tooltip stays as it is; where none is specified, the console may say
        // what the control does.
        if (!toolTip.isEmpty())
            QCOMPARE(control->toolTip(), toolTip);
    }

    void windowCaptionSizeAndFonts()
    {
        ConsoleFixture fixture;
        Form1 &form = fixture.start();
        QCOMPARE(form.windowTitle(), QStringLiteral("Управление блоком реле антенного тюнера"));
        QCOMPARE(form.size(), QSize(429, 575));
        QCOMPARE(form.minimumSize(), form.maximumSize());
        QCOMPARE(form.font().pointSizeF(), 13.5);
        QVERIFY(QFontMetrics(form.font()).inFont(QChar(0x0416))); // Ж
        const QFont refresh = fixture.widget("cmdRefresh")->font();
        QVERIFY(refresh.bold());
        QCOMPARE(refresh.pointSizeF(), 9.75);
        QCOMPARE(fixture.widget("cmdOptions")->font().pointSizeF(), 24.0);
        QCOMPARE(fixture.widget("Command1")->font().pointSizeF(), 12.0);
    }

    void languageFollowsTheSystem_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<bool>("english");
        QTest::newRow("en_US") << "en_US" << true;
        QTest::newRow("de_DE") << "de_DE" << true;
        QTest::newRow("ru_RU") << "ru_RU" << false;
        QTest::newRow("C") << "C" << false;
    }
    void languageFollowsTheSystem()
    {
        QFETCH(QString, locale);
        QFETCH(bool, english);
        QCOMPARE(languageFor(QLocale(locale)) == Language::English, english);
    }

    void theWindowSpeaksEnglishOrItsOwnRussian()
    {
        useLanguage(Language::English);
        {
            ConsoleFixture fixture;
            Form1 &form = fixture.start();
            QCOMPARE(form.windowTitle(), QStringLiteral("Antenna tuner relay block control"));
            QCOMPARE(fixture.widget("FrameBand")->property("title").toString(),
                     QStringLiteral("Band"));
            QCOMPARE(fixture.control("Opt40")->text(), QStringLiteral("40 m"));
            QCOMPARE(fixture.control("Command1")->text(), QStringLiteral("About"));
            QCOMPARE(fixture.dialogs.messages.value(0).text,
                     QStringLiteral("COM port 0 is not available"));
            // Band names speak English everywhere the window speaks: the log, what the control
            // port pushes, a screen reader's names.
            clickCentre(fixture.band("40 m"));
            const std::deque<LineLog::Entry> &entries = form.panel().lineLog().entries();
            const auto recall = *std::find_if(entries.rbegin(), entries.rend(), [](const auto &e) {
                return e.kind == LineLog::Entry::Recall;
            });
            QVERIFY2(LineLog::line(recall).contains(QStringLiteral("antenna 1, 40 m, 1")),
                     qPrintable(LineLog::line(recall)));
            QVERIFY(ControlCommands::logLine(recall).contains("40 m"));
            QCOMPARE(QAccessible::queryAccessibleInterface(fixture.control("Opt160"))
                         ->text(QAccessible::Name),
                     QStringLiteral("Band 160 m"));
            QCOMPARE(BandNames::caption(9), QStringLiteral("Ext"));
        }
        useLanguage(Language::Russian);
        ConsoleFixture fixture;
        Form1 &form = fixture.start();
        QCOMPARE(form.windowTitle(), QStringLiteral("Управление блоком реле антенного тюнера"));
        QCOMPARE(fixture.control("Opt6")->text(), QStringLiteral("Д"));
        QCOMPARE(fixture.dialogs.messages.value(0).text, QStringLiteral("Com-порт 0 не доступен"));
        // Qt's own dialogs speak Russian with it.
        QCOMPARE(QCoreApplication::translate("QPlatformTheme", "Cancel"), QStringLiteral("Отмена"));
    }

    void tabOrderFollowsTheDesign()
    {
        ConsoleFixture fixture;
        Form1 &form = fixture.start();
        QStringList order;
        QWidget *w = fixture.widget("txtCEnter");
        for (int i = 0; i < 200 && order.size() < 24; ++i, w = w->nextInFocusChain()) {
            if (w != &form && (w->focusPolicy() & Qt::TabFocus) && w->objectName() != "cmb1")
                order << w->objectName();
        }
        QStringList expected{"txtCEnter", "cmdCEnter", "cmdSave1",   "cmdRefresh",
                             "txtLEnter", "cmdLEnter", "cmdOptions", "Command1"};
        for (const char *bank : {"C", "L"})
            for (int bit = 7; bit >= 0; --bit)
                expected << QStringLiteral("tgl%1%2").arg(QLatin1String(bank)).arg(bit);
        QCOMPARE(order, expected);
    }

    void startsFromAnEmptySettingsFile()
    {
        ConsoleFixture fixture;
        Form1 &form = fixture.start();
        QVERIFY(form.loaded());
        QVERIFY(QFile::exists(fixture.settingsPath()));
        for (int bit = 0; bit < 8; ++bit) {
            for (const char *bank : {"tglC%1", "tglL%1"}) {
                QAbstractButton *toggle =
                    fixture.control(qPrintable(QString::fromLatin1(bank).arg(bit)));
                QVERIFY(!toggle->isChecked());
                QCOMPARE(toggle->text(), QStringLiteral("0"));
            }
        }
        QVERIFY(fixture.control("OptAnt1")->isChecked());
        QVERIFY(fixture.control("Opt160")->isChecked());
        QVERIFY(fixture.control("OptSB1")->isChecked());
        QVERIFY(fixture.control("Opt2")->isChecked());
        QCOMPARE(form.module().SilentUpdate, quint8(1));
        QCOMPARE(form.module().Ant3Flag, quint8(0));
        auto *ports = fixture.control<QComboBox>("cmb1");
        QCOMPARE(ports->count(), 16);
        QCOMPARE(ports->itemText(0), QStringLiteral("1"));
        QCOMPARE(ports->itemText(15), QStringLiteral("16"));
        QCOMPARE(ports->currentIndex(), -1);
        QCOMPARE(form.BarC().Str, QStringLiteral("0 pF"));
        QCOMPARE(form.BarL().Str, QStringLiteral("0 uH"));
    }

    void barsAreConfiguredOverTheirLabels()
    {
        ConsoleFixture fixture;
        Form1 &form = fixture.start();
        QCOMPARE(form.BarC().captionRect(), QRect(88, 56, 329, 25));
        QCOMPARE(form.BarL().captionRect(), QRect(88, 160, 329, 25));
        QCOMPARE(form.BarC().Blue1, qint16(20000));
        QCOMPARE(form.BarL().Green2, qint16(32767));
        QCOMPARE(form.BarC().Aligment, quint8(1));
    }

    void barFillIsProportionalToTheCode_data()
    {
        QTest::addColumn<int>("code");
        QTest::addColumn<int>("pixels");
        QTest::newRow("0") << 0 << 0;
        QTest::newRow("1") << 1 << 1;
        QTest::newRow("128") << 128 << 165;
        QTest::newRow("255") << 255 << 329;
    }
    void barFillIsProportionalToTheCode()
    {
        QFETCH(int, code);
        QFETCH(int, pixels);
        ConsoleFixture fixture;
        Form1 &form = fixture.start();
        form.module().SetC(255);
        form.FillC(); // the old, longer fill must be erased
        form.module().SetC(static_cast<quint8>(code));
        form.FillC();
        const auto [left, right] = fillExtent(form, fixture.control<QLabel>("lbl1"));
        QCOMPARE(left < 0 ? 0 : right - left + 1, pixels);
        if (pixels > 0)
            QCOMPARE(left, 88);
    }

    void gradientEndsAreDarkAndLightBlue()
    {
        ConsoleFixture fixture;
        Form1 &form = fixture.start();
        form.module().SetC(255);
        form.FillC();
        const QImage &image = form.barSurface().image();
        QCOMPARE(image.pixelColor(88, 58), QColor(0, 0, 78));
        QCOMPARE(image.pixelColor(416, 58), QColor(0, 0, 127));
        // The bar runs from 2 pixels below the label's top to 1 above its bottom.
        QCOMPARE(image.pixelColor(88, 57).alpha(), 0);
        QCOMPARE(image.pixelColor(416, 80).alpha(), 0);
        // And it is on screen, above the grey label.
        const QImage screen = form.grab().toImage();
        QCOMPARE(screen.pixelColor(416, 60), QColor(0, 0, 127));
        QCOMPARE(screen.pixelColor(88, 57), QColor(192, 192, 192));
    }

    void captionsShowPhysicalValues_data()
    {
        QTest::addColumn<int>("stepC");
        QTest::addColumn<int>("codeC");
        QTest::addColumn<int>("stepL");
        QTest::addColumn<int>("codeL");
        QTest::addColumn<QString>("captionC");
        QTest::addColumn<QString>("captionL");
        QTest::newRow("370 pF, 0.15 uH") << 10 << 37 << 50 << 3 << "370 pF"
                                         << "0.15 uH";
        QTest::newRow("largest") << 128 << 255 << 999 << 255 << "32640 pF"
                                 << "254.745 uH";
        QTest::newRow("zero step") << 0 << 200 << 500 << 2 << "0 pF"
                                   << "1 uH";
    }
    void captionsShowPhysicalValues()
    {
        QFETCH(int, stepC);
        QFETCH(int, codeC);
        QFETCH(int, stepL);
        QFETCH(int, codeL);
        QFETCH(QString, captionC);
        QFETCH(QString, captionL);
        ConsoleFixture fixture;
        Form1 &form = fixture.start();
        form.module().StepC = static_cast<quint8>(stepC);
        form.module().StepL = static_cast<qint16>(stepL);
        form.module().SetC(static_cast<quint8>(codeC));
        form.module().SetL(static_cast<quint8>(codeL));
        form.FillC();
        form.FillL();
        QCOMPARE(form.BarC().Str, captionC);
        QCOMPARE(form.BarL().Str, captionL);
        QCOMPARE(fixture.control<QLineEdit>("txtCEnter")->text(), QString::number(codeC));
        QCOMPARE(fixture.control<QLineEdit>("txtLEnter")->text(), QString::number(codeL));
    }

    void getAfterSetRoundTripsEveryCodeThroughTheWindow()
    {
        ConsoleFixture fixture;
        Form1 &form = fixture.start();
        auto *entry = fixture.control<QLineEdit>("txtCEnter");
        for (int code = 0; code <= 255; ++code) {
            form.module().SetC(static_cast<quint8>(code));
            QCOMPARE(int(form.module().GetC()), code);
            QCOMPARE(entry->text(), QString::number(code));
        }
    }

    void activationRedrawsBothBanksFromTheToggles()
    {
        ConsoleFixture fixture;
        Form1 &form = fixture.start();
        form.module().SetC(200); // silently: no display refresh yet
        form.module().SetL(7);
        fixture.control<QLineEdit>("txtCEnter")->setText(QStringLiteral("99"));
        QCOMPARE(form.BarC().Str, QStringLiteral("0 pF"));
        form.module().StepC = 2;
        form.show();
        form.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&form));
        QCOMPARE(fixture.control<QLineEdit>("txtCEnter")->text(), QStringLiteral("200"));
        QCOMPARE(fixture.control<QLineEdit>("txtLEnter")->text(), QStringLiteral("7"));
        QCOMPARE(form.BarC().Str, QStringLiteral("400 pF"));
    }

    void codeChangeByProgramRaisesClickOncePerChangedToggle()
    {
        ConsoleFixture fixture;
        fixture.writeSettings(SettingsImage().port(1).bytes());
        Form1 &form = fixture.start();
        QVERIFY(form.comPort1().PortOpen());
        form.module().SetC(5);
        fixture.pty.drain();
        // With the program's own silence off, each toggle that changes acts like a click and
        // sends the code of the moment: bit 1 goes on (7), then bit 0 off (6).
        form.module().SilentUpdate = 0;
        form.module().SetC(6);
        QCOMPARE(packetsOf(fixture.pty.read()),
                 (QList<QByteArray>{packet(1, 7, 0), packet(1, 6, 0)}));
        QCOMPARE(fixture.control("tglC1")->text(), QStringLiteral("1"));
        // Nothing changes, nothing is raised.
        form.module().SetC(6);
        QVERIFY(fixture.pty.read(100).isEmpty());
    }
};

QTEST_MAIN(TestForm1)
#include "tst_form1.moc"
