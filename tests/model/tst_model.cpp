#include "console/consolemodule.h"
#include "console/relaycodes.h"
#include "link/controllerlink.h"
#include "link/serialservice.h"
#include "model/slots.h"
#include "model/valuetext.h"
#include "settings/conflayout.h"
#include "settings/settingsfile.h"

#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

class TestModel : public QObject
{
    Q_OBJECT

    struct Bank
    {
        std::array<std::unique_ptr<QPushButton>, 8> buttons;
        QLineEdit entry;
        RelayBank bank;
        Bank()
        {
            bank.entry = &entry;
            for (int n = 0; n < 8; ++n) {
                buttons[n] = std::make_unique<QPushButton>(QStringLiteral("0"));
                buttons[n]->setCheckable(true);
                bank.toggles[n] = buttons[n].get();
            }
        }
    };

    // Refuses the n-th write and every one after it, as a disk that fills up would.
    class FailingFile : public SettingsFile
    {
    public:
        int failFrom = 1000;
        int writes = 0;
        bool Write(int position, int width, int value) override
        {
            return SettingsFile::Write(++writes >= failFrom ? 0 : position, width, value);
        }
    };
    struct NoDisplay : BankDisplay
    {
        void FillC() override {}
        void FillL() override {}
    };
    // One option group: buttons in a parent of their own, so that they exclude each other.
    template<std::size_t N> struct Group
    {
        QWidget parent;
        std::array<QAbstractButton *, N> buttons{};
        Group()
        {
            for (auto &button : buttons)
                button = new QRadioButton(&parent);
        }
    };

private slots:
    void storeStopsAtTheFirstFailedWrite()
    {
        QTemporaryDir temp;
        FailingFile file;
        QVERIFY(file.open(temp.filePath(QStringLiteral("conf.cfg"))));
        const Slots::Selection slot{1, 2, 2};
        const qint16 base = ConfLayout::baseOf(slot);
        QVERIFY(file.Write(ConfLayout::LastSavedBase, 2, 6) && file.Sync());
        Bank c, l;
        Group<3> antennas;
        Group<10> bands;
        Group<5> subBands;
        Group<2> sides;
        SerialService port;
        ControllerLink link(port);
        NoDisplay display;
        ConsoleModule module(
            c.bank, l.bank,
            {antennas.buttons, bands.buttons, subBands.buttons, sides.buttons[0], sides.buttons[1]},
            file, link, display);
        module.SetC(0x12);
        module.SetL(0x34);
        file.writes = 0;
        file.failFrom = 3; // the side byte
        QVERIFY(!module.StoreSlot(base));
        QVERIFY(!file.errorString().isEmpty());
        QCOMPARE(file.Read(base + ConfLayout::CodeCAt, 1), 0x12);
        QCOMPARE(file.Read(base + ConfLayout::CodeLAt, 1), 0x34);
        // Still names the slot saved whole before.
        QCOMPARE(file.Read(ConfLayout::LastSavedBase, 2), 6);
        QCOMPARE(file.writes, 3);
    }

    void putCodeSetsCheckStateAndCaption_data()
    {
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("bits"); // bit 7 first
        QTest::newRow("0") << 0 << "00000000";
        QTest::newRow("255") << 255 << "11111111";
        QTest::newRow("130") << 130 << "10000010";
        QTest::newRow("1") << 1 << "00000001";
        QTest::newRow("128") << 128 << "10000000";
    }
    void putCodeSetsCheckStateAndCaption()
    {
        QFETCH(int, code);
        QFETCH(QString, bits);
        Bank b;
        putCode(b.bank, 0xFF); // every toggle must be written, not only the set ones
        putCode(b.bank, static_cast<quint8>(code));
        for (int n = 0; n < 8; ++n) {
            const bool on = bits.at(7 - n) == QLatin1Char('1');
            QCOMPARE(b.buttons[n]->isChecked(), on);
            QCOMPARE(b.buttons[n]->text(), on ? QStringLiteral("1") : QStringLiteral("0"));
        }
    }

    void everyCodeRoundTrips()
    {
        Bank b;
        for (int code = 0; code <= 255; ++code) {
            putCode(b.bank, static_cast<quint8>(code));
            QCOMPARE(int(composeCode(b.bank)), code);
        }
    }

    void putCodeWritesBit7FirstAndStateBeforeCaption()
    {
        Bank b;
        QList<int> order;
        QStringList captionsAtChange;
        for (int n = 0; n < 8; ++n) {
            connect(b.buttons[n].get(), &QAbstractButton::toggled, this, [&, n] {
                order << n;
                captionsAtChange << b.buttons[n]->text();
            });
        }
        putCode(b.bank, 255);
        QCOMPARE(order, (QList<int>{7, 6, 5, 4, 3, 2, 1, 0}));
        QCOMPARE(captionsAtChange, QStringList(8, QStringLiteral("0")));
    }

    void programmaticChangeSignalsOnlyChangedToggles()
    {
        Bank b;
        putCode(b.bank, 5); // 101
        std::vector<std::unique_ptr<QSignalSpy>> spies;
        for (auto &button : b.buttons)
            spies.push_back(std::make_unique<QSignalSpy>(button.get(), &QAbstractButton::toggled));
        putCode(b.bank, 6); // 110: bits 0 and 1 change
        for (int n = 0; n < 8; ++n)
            QCOMPARE(spies[n]->count(), (n == 0 || n == 1) ? 1 : 0);
    }

    void indeterminateToggleCountsAsClear()
    {
        Bank b;
        putCode(b.bank, 3);
        b.buttons[1]->setCheckable(false); // no longer "checked"
        QCOMPARE(int(composeCode(b.bank)), 1);
    }

    void capacitanceCaption_data()
    {
        QTest::addColumn<int>("step");
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("text");
        QTest::newRow("10 x 37") << 10 << 37 << "370 pF";
        QTest::newRow("128 x 255") << 128 << 255 << "32640 pF";
        QTest::newRow("128 x 255 no grouping") << 128 << 255 << "32640 pF";
        QTest::newRow("code 0") << 12 << 0 << "0 pF";
        QTest::newRow("step 0") << 0 << 200 << "0 pF";
    }
    void capacitanceCaption()
    {
        QFETCH(int, step);
        QFETCH(int, code);
        QFETCH(QString, text);
        QCOMPARE(capacitanceText(step, code), text);
    }

    void inductanceCaption_data()
    {
        QTest::addColumn<QLocale>("locale");
        QTest::addColumn<int>("step");
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("text");
        const QLocale c(QLocale::C);
        const QLocale en(QLocale::English, QLocale::UnitedStates);
        const QLocale ru(QLocale::Russian, QLocale::Russia);
        QTest::newRow("0.15") << c << 50 << 3 << "0.15 uH";
        QTest::newRow("whole value") << c << 500 << 2 << "1 uH";
        QTest::newRow("254.745") << c << 999 << 255 << "254.745 uH";
        QTest::newRow("code 0") << c << 999 << 0 << "0 uH";
        QTest::newRow("no grouping, en") << en << 32767 << 255 << "8355.585 uH";
        QTest::newRow("negative step") << c << -50 << 3 << "-0.15 uH";
        QTest::newRow("decimal comma") << ru << 999 << 255 << "254,745 uH";
        QTest::newRow("no grouping, ru") << ru << 32767 << 255 << "8355,585 uH";
        QTest::newRow("leading zero, ru") << ru << 50 << 3 << "0,15 uH";
    }
    void inductanceCaption()
    {
        QFETCH(QLocale, locale);
        QFETCH(int, step);
        QFETCH(int, code);
        QFETCH(QString, text);
        QCOMPARE(inductanceText(static_cast<qint16>(step), code, locale), text);
    }

    void barRightEdge_data()
    {
        QTest::addColumn<int>("code");
        QTest::addColumn<int>("right");
        QTest::newRow("0 is empty") << 0 << 88;
        QTest::newRow("1 is 1.29 px") << 1 << 89;
        QTest::newRow("128 is 165.1 px") << 128 << 253;
        QTest::newRow("255 is full") << 255 << 417;
    }
    void barRightEdge()
    {
        QFETCH(int, code);
        QFETCH(int, right);
        QCOMPARE(barRight(88, 329, code), right);
    }

    void typedNumber_data()
    {
        QTest::addColumn<QLocale>("locale");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("expected"); // -1: fails
        const QLocale c(QLocale::C);
        const QLocale ru(QLocale::Russian, QLocale::Russia);
        QTest::newRow("half down to even") << c << "12.5" << 12;
        QTest::newRow("half up to even") << c << "13.5" << 14;
        QTest::newRow("blanks") << c << " 7 " << 7;
        QTest::newRow("plus sign") << c << "+7" << 7;
        QTest::newRow("small negative rounds to 0") << c << "-0.4" << 0;
        QTest::newRow("255.4") << c << "255.4" << 255;
        QTest::newRow("255.5 rounds out of range") << c << "255.5" << -1;
        QTest::newRow("300") << c << "300" << -1;
        QTest::newRow("-1") << c << "-1" << -1;
        QTest::newRow("word") << c << "abc" << -1;
        QTest::newRow("empty") << c << "" << -1;
        QTest::newRow("huge") << c << "1e300" << -1;
        QTest::newRow("decimal comma") << ru << "12,5" << 12;
        QTest::newRow("full stop is no separator in ru") << ru << "13.5" << -1;
    }
    void typedNumber()
    {
        QFETCH(QLocale, locale);
        QFETCH(QString, text);
        QFETCH(int, expected);
        const std::optional<int> value = toWholeNumber(text, 0, 255, locale);
        QCOMPARE(value.value_or(-1), expected);
    }

    void slotBasesRoundTrip()
    {
        for (int a = 0; a < Slots::Antennas; ++a) {
            for (int b = 0; b < Slots::Bands; ++b) {
                for (int s = 0; s < Slots::SubBands; ++s) {
                    const qint16 base = ConfLayout::baseOf({a, b, s});
                    QVERIFY(ConfLayout::isStoredBase(base));
                    const Slots::Selection sel = ConfLayout::selectionOf(base);
                    QCOMPARE(sel.antenna, a);
                    QCOMPARE(sel.band, b);
                    QCOMPARE(sel.subBand, s);
                }
            }
        }
        QCOMPARE(ConfLayout::baseOf({1, 2, 2}), qint16(186));
        QCOMPARE(ConfLayout::baseOf({2, 9, 4}), qint16(447));
    }

    void damagedBasesAreRecognised_data()
    {
        QTest::addColumn<int>("base");
        QTest::newRow("not a multiple of 3") << 187;
        QTest::newRow("negative") << -3;
        QTest::newRow("past the slots") << 450;
        QTest::newRow("far past") << 766;
    }
    void damagedBasesAreRecognised()
    {
        QFETCH(int, base);
        QVERIFY(!ConfLayout::isStoredBase(base));
    }
};

QTEST_MAIN(TestModel)
#include "tst_model.moc"
