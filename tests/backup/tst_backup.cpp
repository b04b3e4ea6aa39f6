#include "backup/memorytable.h"
#include "console/features.h"
#include "console/form1.h"
#include "support/consolefixture.h"
#include "support/programs.h"
#include "tablefiles.h"

#include <QFile>
#include <QLineEdit>
#include <QRandomGenerator>
#include <QTest>

#include <csignal>

// The memories as a table from the window and the command line, and one console per settings
// file.
class TestBackup : public QObject, TableFiles
{
    Q_OBJECT

private slots:
    void anImportKilledAnywhereLeavesOldOrNew()
    {
        ProgramFolder folder;
        QVERIFY(folder.isValid());
        const QByteArray before = fullSettings(10);
        // Every slot new, every other byte as it was.
        const int slotBytes = ConfLayout::SlotSize * Slots::Count;
        QByteArray after = before;
        after.replace(0, slotBytes, fullSettings(11).left(slotBytes));
        QVERIFY(put(folder.settingsPath(), after));
        QString error;
        QVERIFY(MemoryFiles::exportTo(folder.settingsPath(), path("new.csv"), &error));
        int whole = 0;
        for (int run = 0; run < 40; ++run) {
            QVERIFY(put(folder.settingsPath(), before));
            QProcess import;
            import.setProcessEnvironment(folder.environment());
            import.start(folder.program("orvane"), {"--import", path("new.csv")});
            QVERIFY(import.waitForStarted());
            QTest::qSleep(int(QRandomGenerator::global()->bounded(35)));
            ::kill(pid_t(import.processId()), SIGKILL);
            import.waitForFinished();
            const QByteArray now = get(folder.settingsPath());
            QVERIFY2(now == before || now == after, qPrintable(QString::number(run)));
            whole += now == after;
        }
        qInfo("%d of 40 imports finished before the kill", whole);
    }

    void oneConsolePerSettingsFile()
    {
        ProgramFolder folder;
        QVERIFY(put(folder.settingsPath(), fullSettings(12)));
        QProcess first;
        first.setProcessEnvironment(folder.environment());
        first.start(folder.program("orvane"));
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(folder.settingsPath() + ".lock"), 20000);

        QProcess second;
        second.setProcessEnvironment(folder.environment());
        second.start(folder.program("orvane"));
        QVERIFY(second.waitForFinished(20000));
        QCOMPARE(second.exitCode(), 1);
        const QString said = QString::fromLocal8Bit(second.readAllStandardError());
        QVERIFY2(said.contains(folder.settingsPath()) &&
                     said.contains(QString::number(first.processId())),
                 qPrintable(said));

        // Reading goes on while a console runs; replacing does not.
        QProcess reader;
        reader.setProcessEnvironment(folder.environment());
        reader.start(folder.program("orvane"), {"--export", "-"});
        QVERIFY(reader.waitForFinished(20000));
        QCOMPARE(reader.exitCode(), 0);
        QVERIFY(reader.readAllStandardOutput().contains("antenna,band,sub-band"));
        QString error;
        QVERIFY(MemoryFiles::exportTo(folder.settingsPath(), path("m.csv"), &error));
        QProcess writer;
        writer.setProcessEnvironment(folder.environment());
        writer.start(folder.program("orvane"), {"--import", path("m.csv")});
        QVERIFY(writer.waitForFinished(20000));
        QCOMPARE(writer.exitCode(), 1);

        // A console killed outright does not lock the next one out.
        ::kill(pid_t(first.processId()), SIGKILL);
        first.waitForFinished();
        QProcess next;
        next.setProcessEnvironment(folder.environment());
        next.start(folder.program("orvane"));
        QVERIFY(!next.waitForFinished(1500));
        QCOMPARE(next.state(), QProcess::Running);
        next.kill();
        next.waitForFinished();
    }

    void importFromTheWindowShowsAndSendsTheNewSlot()
    {
        ConsoleFixture f;
        Form1 &form = f.startShown(SettingsImage().slot(at(1, "160 м", 1), 5, 6, 0).steps(10, 50));
        QVERIFY(put(path("window.csv"), "C step pF,20\r\n" + table("1,160 м,1,99,7,Tx\r\n")));
        f.dialogs.answers << path("window.csv");
        form.features().importMemories();
        QVERIFY(f.dialogs.messages.isEmpty());
        QCOMPARE(packetsOf(f.pty.read()),
                 (QList<QByteArray>{packet(1, 99, 0), packet(2, 7, 0), packet(3, 1, 0)}));
        QCOMPARE(f.control<QLineEdit>("txtCEnter")->text(), QStringLiteral("99"));
        QCOMPARE(form.BarC().Str, QStringLiteral("1980 pF"));
        QCOMPARE(f.stored().slot(at(1, "160 м", 1)), (RelaySetting{99, 7, 1}));
        QVERIFY(QFile::exists(f.settingsPath() + ".bak"));
        // Later Saves go to the new file.
        clickCentre(f.control("cmdIncrementC"));
        clickCentre(f.control("cmdSave1"));
        QCOMPARE(f.stored().slot(at(1, "160 м", 1)), (RelaySetting{100, 7, 1}));

        // A table that cannot be read changes nothing and says where.
        QVERIFY(put(path("bad.csv"), table("1,160 м,1,999,7,Tx\r\n")));
        const QByteArray stored = f.settings();
        f.pty.drain();
        f.dialogs.answers << path("bad.csv");
        form.features().importMemories();
        QCOMPARE(f.dialogs.messages.size(), 1);
        QVERIFY(f.dialogs.messages[0].text.contains(QStringLiteral("строка 2")));
        QCOMPARE(f.settings(), stored);
        QVERIFY(f.pty.read(100).isEmpty());
    }
};

QTEST_MAIN(TestBackup)
#include "tst_backup.moc"
