#include "console/form1.h"
#include "model/valuetext.h"
#include "support/consolefixture.h"

#include <QLineEdit>
#include <QTest>

// Recall, tune and store from the window, driven by real mouse and key events; the bytes on
// the line and in conf.cfg are what counts.
class TestTuning : public QObject
{
    Q_OBJECT

    const QStringList antennas{"OptAnt1", "OptAnt2", "OptAnt3"};
    const QStringList bands{"Opt160", "Opt80", "Opt40", "Opt30", "Opt20",
                            "Opt17",  "Opt15", "Opt12", "Opt10", "Opt6"};
    const QStringList subBands{"OptSB1", "OptSB2", "OptSB3", "OptSB4", "OptSB5"};

    static QList<QByteArray> recallPackets(int c, int l, int side, int flag)
    {
        return {packet(1, c, flag), packet(2, l, flag), packet(3, side, flag)};
    }
    QString lineText(ConsoleFixture &f, const char *name)
    {
        return f.control<QLineEdit>(name)->text();
    }

private slots:
    void init() { QLocale::setDefault(QLocale::c()); }

    void mouseChoiceRecallsTheSlot_data()
    {
        QTest::addColumn<int>("base");
        QTest::addColumn<int>("flag");
        QTest::newRow("first slot") << 0 << 0;
        QTest::newRow("antenna 1, Д") << 135 << 0;
        QTest::newRow("antenna 2, 40 m, 3") << 186 << 0;
        QTest::newRow("antenna 2, Д, 5") << 297 << 0;
        QTest::newRow("antenna 3, 160 m, 1") << 300 << 1;
        QTest::newRow("antenna 3, 10 m, 5") << 432 << 1;
        QTest::newRow("last slot") << 447 << 1;
    }
    void mouseChoiceRecallsTheSlot()
    {
        QFETCH(int, base);
        QFETCH(int, flag);
        ConsoleFixture f;
        const int c = 37 + base % 200, l = 255 - base % 250, side = base % 2;
        Form1 &form = f.startShown(SettingsImage().slot(ConfLayout::selectionOf(base), c, l, side));
        form.module().StepC = 10;
        form.module().StepL = 50;
        const int slot = base / 3, a = slot / 50, b = slot % 50 / 5, s = slot % 5;
        // Silent preparation, then one choice by mouse that changes the sub-band.
        f.control(qPrintable(antennas[a]))->setChecked(true);
        f.control(qPrintable(bands[b]))->setChecked(true);
        f.control(qPrintable(subBands[(s + 1) % 5]))->setChecked(true);
        QVERIFY(f.pty.read(100).isEmpty());

        clickCentre(f.control(qPrintable(subBands[s])));
        QCOMPARE(packetsOf(f.pty.read()), recallPackets(c, l, side, flag));
        QCOMPARE(form.module().Ant3Flag, quint8(flag));
        QCOMPARE(form.module().SlotBase, qint16(base));
        QVERIFY(f.control(qPrintable(antennas[a]))->isChecked());
        QVERIFY(f.control(qPrintable(bands[b]))->isChecked());
        QVERIFY(f.control(qPrintable(subBands[s]))->isChecked());
        QCOMPARE(lineText(f, "txtCEnter"), QString::number(c));
        QCOMPARE(lineText(f, "txtLEnter"), QString::number(l));
        QCOMPARE(f.relayBit('C', 0)->isChecked(), bool(c & 1));
        QCOMPARE(f.relayBit('L', 7)->text(), (l & 128) ? QStringLiteral("1") : QStringLiteral("0"));
        QCOMPARE(form.BarC().Str, capacitanceText(10, c));
        QCOMPARE(form.BarL().Str, inductanceText(50, l));
        QCOMPARE(f.control(side == 1 ? "Opt1" : "Opt2")->isChecked(), true);
        QCOMPARE(form.module().SilentUpdate, quint8(1));
    }

    void storedSlotComesBackAfterOtherChoices()
    {
        ConsoleFixture f;
        Form1 &form = f.startShown();
        f.antenna(2)->setChecked(true);
        f.band("40 м")->setChecked(true);
        f.subBand(3)->setChecked(true);
        form.module().SetC(0x5A);
        form.module().SetL(0x0D);
        f.control("Opt1")->setChecked(true);
        QVERIFY(form.module().StoreSlot(form.module().SelectedSlotBase()));
        const QByteArray file = f.settings();
        QCOMPARE(f.stored().slot(at(2, "40 м", 3)), (RelaySetting{0x5A, 0x0D, 1}));
        QCOMPARE(f.stored().lastSavedBase(), qint16(186));
        QVERIFY(f.pty.read(100).isEmpty()); // storing sends nothing

        clickCentre(f.band("80 м"));
        QCOMPARE(packetsOf(f.pty.read()), recallPackets(0, 0, 0, 0));
        QCOMPARE(lineText(f, "txtCEnter"), QStringLiteral("0"));
        clickCentre(f.band("40 м"));
        QCOMPARE(packetsOf(f.pty.read()), recallPackets(0x5A, 0x0D, 1, 0));
        QVERIFY(f.control("Opt1")->isChecked());
        QCOMPARE(f.settings(), file); // recalling never writes
    }

    void sideByteOtherThanOneShowsAntButIsSentAsStored()
    {
        ConsoleFixture f;
        f.startShown(SettingsImage().slot(at(1, "160 м", 2), 1, 2, 7));
        f.control("Opt1")->setChecked(true);
        clickCentre(f.subBand(2));
        QCOMPARE(packetsOf(f.pty.read()), recallPackets(1, 2, 7, 0));
        QVERIFY(f.control("Opt2")->isChecked());
    }

    void clickOnTheSelectedOptionRecallsAgain()
    {
        ConsoleFixture f;
        f.startShown(SettingsImage().slot(at(1, "160 м", 1), 4, 5, 1));
        QVERIFY(f.band("160 м")->isChecked());
        clickCentre(f.band("160 м"));
        QCOMPARE(packetsOf(f.pty.read()), recallPackets(4, 5, 1, 0));
    }

    void doubleClickDoesWhatOneClickDoes()
    {
        ConsoleFixture f;
        f.startShown(SettingsImage().slot(at(1, "160 м", 1), 4, 5, 1));
        doubleClickCentre(f.band("80 м"));
        QCOMPARE(packetsOf(f.pty.read()), recallPackets(0, 0, 0, 0));
        doubleClickCentre(f.band("160 м"));
        QCOMPARE(packetsOf(f.pty.read()), recallPackets(4, 5, 1, 0));
        doubleClickCentre(f.control("Opt2"));
        QCOMPARE(packetsOf(f.pty.read()), QList<QByteArray>{packet(3, 0, 0)});
        // A toggle flips twice, as two clicks would.
        doubleClickCentre(f.relayBit('C', 1));
        QCOMPARE(packetsOf(f.pty.read()), (QList<QByteArray>{packet(1, 6, 0), packet(1, 4, 0)}));
    }

    void toggleClickSendsOnePacketWithTheBankCode()
    {
        ConsoleFixture f;
        Form1 &form =
            f.startShown(SettingsImage().slot(at(1, "160 м", 1), 0x10, 0x01, 0).lastSaved(0));
        form.module().StepC = 3;
        clickCentre(f.relayBit('C', 3));
        QCOMPARE(packetsOf(f.pty.read()), QList<QByteArray>{packet(1, 0x18, 0)});
        QCOMPARE(f.relayBit('C', 3)->text(), QStringLiteral("1"));
        QCOMPARE(lineText(f, "txtCEnter"), QStringLiteral("24"));
        QCOMPARE(form.BarC().Str, QStringLiteral("72 pF"));
        clickCentre(f.relayBit('L', 0));
        QCOMPARE(packetsOf(f.pty.read()), QList<QByteArray>{packet(2, 0, 0)});
        QCOMPARE(f.relayBit('L', 0)->text(), QStringLiteral("0"));
        QCOMPARE(f.stored().slot(at(1, "160 м", 1)), (RelaySetting{0x10, 0x01, 0})); // untouched
    }

    void antenna3FlagStaysUntilAnotherAntennaIsRecalled()
    {
        ConsoleFixture f;
        f.startShown();
        clickCentre(f.antenna(3));
        QCOMPARE(packetsOf(f.pty.read()), recallPackets(0, 0, 0, 1));
        clickCentre(f.relayBit('C', 0));
        QCOMPARE(packetsOf(f.pty.read()), QList<QByteArray>{packet(1, 1, 1)});
        clickCentre(f.antenna(1));
        QCOMPARE(packetsOf(f.pty.read()), recallPackets(0, 0, 0, 0));
    }

    void stepButtonsSaturateAndStillSend_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<int>("from");
        QTest::addColumn<int>("to");
        QTest::addColumn<int>("command");
        QTest::newRow(">> C at 127") << "cmdIncrementC" << 127 << 128 << 1;
        QTest::newRow(">> C at 255") << "cmdIncrementC" << 255 << 255 << 1;
        QTest::newRow("<< C at 0") << "cmdDecrementC" << 0 << 0 << 1;
        QTest::newRow("<< C at 128") << "cmdDecrementC" << 128 << 127 << 1;
        QTest::newRow(">> L at 254") << "cmdIncrementL" << 254 << 255 << 2;
        QTest::newRow(">> L at 255") << "cmdIncrementL" << 255 << 255 << 2;
        QTest::newRow("<< L at 0") << "cmdDecrementL" << 0 << 0 << 2;
        QTest::newRow("<< L at 1") << "cmdDecrementL" << 1 << 0 << 2;
    }
    void stepButtonsSaturateAndStillSend()
    {
        QFETCH(QString, button);
        QFETCH(int, from);
        QFETCH(int, to);
        QFETCH(int, command);
        ConsoleFixture f;
        Form1 &form = f.startShown();
        const bool c = command == 1;
        c ? form.module().SetC(quint8(from)) : form.module().SetL(quint8(from));
        form.module().SilentUpdate = 0; // the step must silence the toggles itself
        clickCentre(f.control(qPrintable(button)));
        QCOMPARE(packetsOf(f.pty.read()), QList<QByteArray>{packet(command, to, 0)});
        QCOMPARE(lineText(f, c ? "txtCEnter" : "txtLEnter"), QString::number(to));
        QCOMPARE(int(c ? form.module().GetC() : form.module().GetL()), to);
        QCOMPARE(form.module().SilentUpdate, quint8(1));
        if (c && to == 128) {
            QVERIFY(f.relayBit('C', 7)->isChecked());
            QVERIFY(!f.relayBit('C', 6)->isChecked() && !f.relayBit('C', 0)->isChecked());
        }
    }

    void entryCommandsConvertTypedText_data()
    {
        QTest::addColumn<QLocale>("locale");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("code"); // what the toggles show and the packet carries
        const QLocale c = QLocale::c();
        const QLocale ru(QLocale::Russian, QLocale::Russia);
        QTest::newRow("12.5 rounds to even 12") << c << "12.5" << 12;
        QTest::newRow("13.5 rounds to even 14") << c << "13.5" << 14;
        QTest::newRow("blanks around 7") << c << " 7 " << 7;
        QTest::newRow("300 keeps the code") << c << "300" << 5;
        QTest::newRow("word keeps the code") << c << "abc" << 5;
        QTest::newRow("empty keeps the code") << c << "" << 5;
        QTest::newRow("decimal comma") << ru << "12,5" << 12;
        QTest::newRow("comma locale, 255,4") << ru << " 255,4 " << 255;
    }
    void entryCommandsConvertTypedText()
    {
        QFETCH(QLocale, locale);
        QFETCH(QString, text);
        QFETCH(int, code);
        QLocale::setDefault(locale);
        for (const bool bankC : {true, false}) {
            ConsoleFixture f;
            Form1 &form = f.startShown();
            bankC ? form.module().SetC(5) : form.module().SetL(5);
            const QByteArray stored = f.settings();
            auto *entry = f.control<QLineEdit>(bankC ? "txtCEnter" : "txtLEnter");
            entry->clear();
            QTest::keyClicks(entry, text);
            clickCentre(f.control(bankC ? "cmdCEnter" : "cmdLEnter"));
            QCOMPARE(packetsOf(f.pty.read()), QList<QByteArray>{packet(bankC ? 1 : 2, code, 0)});
            QCOMPARE(entry->text(), QString::number(code));
            QCOMPARE(int(bankC ? form.module().GetC() : form.module().GetL()), code);
            QCOMPARE(f.settings(), stored);
        }
    }

    void failedCapacitanceEntryCaptionAgreesWithTheRelays()
    {
        ConsoleFixture f;
        Form1 &form = f.startShown();
        form.module().StepC = 10;
        clickCentre(f.control("cmdCEnter")); // "0" as shown
        f.control<QLineEdit>("txtCEnter")->setText(QStringLiteral("100"));
        clickCentre(f.control("cmdCEnter"));
        QCOMPARE(form.module().DragCodeC, qint16(100));
        clickCentre(f.control("cmdDecrementC"));
        f.control<QLineEdit>("txtCEnter")->setText(QStringLiteral("abc"));
        clickCentre(f.control("cmdCEnter"));
        QCOMPARE(form.module().DragCodeC, qint16(100));
        QCOMPARE(form.BarC().Str, QStringLiteral("990 pF"));
        QCOMPARE(packetsOf(f.pty.read()), (QList<QByteArray>{packet(1, 0, 0), packet(1, 100, 0),
                                                             packet(1, 99, 0), packet(1, 99, 0)}));
    }

    void arrowKeysAfterAMouseChoiceOnlyMoveTheSelection()
    {
        ConsoleFixture f;
        Form1 &form = f.startShown(SettingsImage().slot(at(1, "80 м", 1), 9, 9, 1));
        clickCentre(f.band("80 м"));
        QCOMPARE(packetsOf(f.pty.read()).size(), 3);
        QWidget *focused = f.band("80 м");
        focused->setFocus();
        QTest::keyClick(focused, Qt::Key_Right);
        QVERIFY(f.band("40 м")->isChecked());
        QVERIFY(f.pty.read(150).isEmpty());
        QCOMPARE(lineText(f, "txtCEnter"), QStringLiteral("9"));
        // The toggles still show 80 m; Save would store them into 40 m.
        QCOMPARE(form.module().SelectedSlotBase(), qint16(30));
    }

    void arrowKeysRecallWhenTheLastPressWasOnAToggle()
    {
        ConsoleFixture f;
        f.startShown(SettingsImage().slot(at(1, "80 м", 1), 9, 9, 1));
        clickCentre(f.relayBit('C', 0), Qt::RightButton); // clears the silence only
        f.band("160 м")->setFocus();
        QTest::keyClick(f.band("160 м"), Qt::Key_Right);
        QCOMPARE(packetsOf(f.pty.read()), recallPackets(9, 9, 1, 0));
    }

    void anyCharacterOnASubBandRecalls_data()
    {
        QTest::addColumn<int>("key");
        QTest::newRow("digit") << int(Qt::Key_7);
        QTest::newRow("letter") << int(Qt::Key_A);
        QTest::newRow("space") << int(Qt::Key_Space);
    }
    void anyCharacterOnASubBandRecalls()
    {
        QFETCH(int, key);
        ConsoleFixture f;
        f.startShown(SettingsImage().slot(at(1, "160 м", 1), 3, 4, 1));
        QWidget *option = f.subBand(1);
        option->setFocus();
        QTest::keyClick(option, Qt::Key(key));
        QCOMPARE(packetsOf(f.pty.read()), recallPackets(3, 4, 1, 0));
        QTest::keyClick(f.band("160 м"), Qt::Key_A); // bands have no key handler
        QVERIFY(f.pty.read(100).isEmpty());
    }

    void rightPressOnAToggleFlipsNothing()
    {
        ConsoleFixture f;
        Form1 &form = f.startShown();
        clickCentre(f.control("cmdIncrementC"));
        f.pty.drain();
        QCOMPARE(form.module().SilentUpdate, quint8(1));
        clickCentre(f.relayBit('C', 5), Qt::RightButton);
        QVERIFY(!f.relayBit('C', 5)->isChecked());
        QCOMPARE(form.module().SilentUpdate, quint8(0));
        QVERIFY(f.pty.read(100).isEmpty());
    }

    void keyboardFlipWhileSilentChangesOnlyTheCheckState()
    {
        ConsoleFixture f;
        Form1 &form = f.startShown();
        clickCentre(f.control("cmdIncrementC")); // code 1, silent afterwards
        f.pty.drain();
        QAbstractButton *toggle = f.relayBit('C', 2);
        toggle->setFocus();
        QTest::keyClick(toggle, Qt::Key_Space);
        QVERIFY(toggle->isChecked());
        QCOMPARE(toggle->text(), QStringLiteral("0"));
        QCOMPARE(lineText(f, "txtCEnter"), QStringLiteral("1"));
        QVERIFY(f.pty.read(100).isEmpty());
        clickCentre(f.control("cmdIncrementC")); // the next action takes the bit along
        QCOMPARE(packetsOf(f.pty.read()), QList<QByteArray>{packet(1, 6, 0)});
        Q_UNUSED(form);
    }

    void damagedSavedBaseStartsFromTheFirstSlot_data()
    {
        QTest::addColumn<int>("base");
        QTest::newRow("not a multiple of 3") << 187;
        QTest::newRow("negative") << -3;
        QTest::newRow("past the slots") << 450;
        QTest::newRow("far past") << 20000;
    }
    void damagedSavedBaseStartsFromTheFirstSlot()
    {
        QFETCH(int, base);
        ConsoleFixture f;
        const QByteArray image = SettingsImage()
                                     .slot(at(1, "160 м", 1), 11, 22, 1)
                                     .slot(at(2, "40 м", 3), 1, 2, 0)
                                     .lastSaved(base)
                                     .port(1)
                                     .bytes();
        f.writeSettings(image);
        Form1 &form = f.start();
        QVERIFY(form.loaded());
        QCOMPARE(lineText(f, "txtCEnter"), QStringLiteral("11"));
        QVERIFY(f.antenna(1)->isChecked() && f.band("160 м")->isChecked() &&
                f.subBand(1)->isChecked() && f.control("Opt1")->isChecked());
        QCOMPARE(f.settings(), image);
    }

    void startupRecallsTheSlotSavedLast()
    {
        ConsoleFixture f;
        f.writeSettings(
            SettingsImage().slot(at(2, "40 м", 3), 200, 100, 1).lastSaved(186).port(1).bytes());
        Form1 &form = f.start();
        QVERIFY(f.antenna(2)->isChecked() && f.band("40 м")->isChecked() &&
                f.subBand(3)->isChecked());
        QCOMPARE(lineText(f, "txtCEnter"), QStringLiteral("200"));
        QCOMPARE(form.module().Ant3Flag, quint8(0));
        QVERIFY(f.pty.read(100).isEmpty());
    }
};

QTEST_MAIN(TestTuning)
#include "tst_tuning.moc"
