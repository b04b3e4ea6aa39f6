#include "backup/memorytable.h"
#include "support/consolefixture.h"
#include "tablefiles.h"

#include <QFile>
#include <QRandomGenerator>
#include <QTest>

// The memories as a table: export and import of the file alone.
class TestMemoryTable : public QObject, TableFiles
{
    Q_OBJECT

private slots:
    void exportThenImportGivesTheSameFile()
    {
        const QByteArray original = fullSettings(7);
        QVERIFY(put(path("conf.cfg"), original));
        QString error;
        QVERIFY(MemoryFiles::exportTo(path("conf.cfg"), path("memories.csv"), &error));
        const QByteArray csv = get(path("memories.csv"));
        const QList<QByteArray> lines = csv.split('\n');
        QCOMPARE(lines.size(), 154); // two steps, the header, 150 slots, the last line ending
        QCOMPARE(lines[0], QByteArray("C step pF,12\r"));
        QCOMPARE(lines[1], QByteArray("L step nH,450\r"));
        QCOMPARE(lines[2], QByteArray("antenna,band,sub-band,C code,L code,side,C pF,L uH\r"));
        QVERIFY(lines[3 + 62].startsWith("2,40 м,3,"));

        // Into a file whose slots and steps differ but whose other bytes are the same.
        SettingsImage other(fullSettings(8));
        other.setWord(ConfLayout::LastSavedBase, SettingsImage(original).lastSavedBase());
        other.setWord(ConfLayout::Unused, SettingsImage(original).word(ConfLayout::Unused));
        other.port(3).steps(5, 450);
        QVERIFY(put(path("conf.cfg"), other.bytes()));
        QVERIFY2(MemoryFiles::importFrom(path("memories.csv"), path("conf.cfg"), &error),
                 qPrintable(error));
        QCOMPARE(get(path("conf.cfg")), original);
        QCOMPARE(get(path("conf.cfg.bak")), other.bytes());
    }

    void aTableEditedInASpreadsheetImports()
    {
        QVERIFY(put(path("conf.cfg"), SettingsImage().bytes()));
        const QByteArray csv = "\xEF\xBB\xBF\"C step pF\",\"7\"\r\n"
                               "side,\"band\",antenna,sub-band,\"C code\",L code,comment\r\n"
                               "Tx,\"Д\",3,5,\"200\",17,\"says \"\"hi\"\", really\"\r\n"
                               "9,80 м,1,1,1,2,\"two\r\nlines\"\n";
        QVERIFY(put(path("edited.csv"), csv));
        QString error;
        QVERIFY2(MemoryFiles::importFrom(path("edited.csv"), path("conf.cfg"), &error),
                 qPrintable(error));
        const SettingsImage stored(get(path("conf.cfg")));
        QCOMPARE(stored.slot(at(3, "Д", 5)), (RelaySetting{200, 17, 1}));
        QCOMPARE(stored.slot(at(1, "80 м", 1)), (RelaySetting{1, 2, 9}));
        QCOMPARE(int(stored.stepC()), 7);
        QCOMPARE(stored.stepL(), qint16(0)); // the L step was not in the table
    }

    void aDamagedTableChangesNothing_data()
    {
        QTest::addColumn<QByteArray>("csv");
        QTest::addColumn<QString>("named");
        QTest::newRow("code 256") << table("1,160 м,1,256,0,Tx\r\n") << "строка 2: поле «C code»";
        QTest::newRow("missing field") << table("1,160 м,1,5,0\r\n") << "строка 2: нет поля «side»";
        QTest::newRow("duplicate slot")
            << table("1,160 м,1,5,0,Tx\r\n1,40 м,1,5,0,Tx\r\n1,160 м,1,6,0,Ant\r\n")
            << "строка 4: ячейка 1, 160 м, 1";
        QTest::newRow("unknown band") << table("1,6 м,1,5,0,Tx\r\n") << "строка 2: поле «band»";
        QTest::newRow("truncated last line")
            << table("1,160 м,1,5,0,Tx\r\n2,160 м,1,5") << "строка 3: нет поля «L code»";
        QTest::newRow("step out of range")
            << QByteArray("L step nH,0\r\n") + table("") << "строка 1: поле «L step nH»";
        QTest::newRow("empty file") << QByteArray() << "строка 1: нет заголовка";
        QTest::newRow("binary file")
            << QByteArray::fromHex("7f454c460201010000ff00fe") << "не текст";
        QTest::newRow("unclosed quote") << table("1,\"160 м,1,5,0,Tx\r\n") << "строка 2";
    }
    void aDamagedTableChangesNothing()
    {
        QFETCH(QByteArray, csv);
        QFETCH(QString, named);
        const QByteArray original = fullSettings(9);
        QVERIFY(put(path("conf.cfg"), original));
        QFile::remove(path("conf.cfg.bak"));
        QVERIFY(put(path("damaged.csv"), csv));
        QString error;
        QVERIFY(!MemoryFiles::importFrom(path("damaged.csv"), path("conf.cfg"), &error));
        QVERIFY2(error.contains(named), qPrintable(error));
        QCOMPARE(get(path("conf.cfg")), original);
        QVERIFY(!QFile::exists(path("conf.cfg.bak")));
    }
};

QTEST_GUILESS_MAIN(TestMemoryTable)
#include "tst_memorytable.moc"
