#include "settings/conflayout.h"
#include "settings/settingsfile.h"
#include "support/consolefixture.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <cstdio>

class TestSettingsFile : public QObject
{
    Q_OBJECT

    QTemporaryDir temp;
    QString path() const { return temp.filePath(QStringLiteral("conf.cfg")); }
    QByteArray onDisk() const
    {
        QFile file(path());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    void putOnDisk(const QByteArray &bytes) const
    {
        QFile file(path());
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(bytes);
    }

private slots:
    void init() { QFile::remove(path()); }

    void missingFileIsCreatedEmptyAndReadsZero()
    {
        SettingsFile file;
        QVERIFY(file.open(path()));
        QVERIFY(QFile::exists(path()));
        QCOMPARE(onDisk().size(), 0);
        QCOMPARE(file.Read(ConfLayout::PortNumber, 1), 0);
        QCOMPARE(file.Read(ConfLayout::LastSavedBase, 2), 0);
    }

    void readsAtOrPastTheEndYieldZero()
    {
        putOnDisk(QByteArray(ConfLayout::StepC - 1, '\0') + char(0x81));
        SettingsFile file;
        QVERIFY(file.open(path()));
        QCOMPARE(file.Read(ConfLayout::StepC, 1), 0x81);
        QCOMPARE(file.Read(ConfLayout::StepC, 2), 0x81); // high byte lies past the end
        QCOMPARE(file.Read(ConfLayout::StepL, 2), 0);
        QCOMPARE(file.Read(10000, 1), 0);
    }

    void twoByteValuesAreSignedLittleEndian_data()
    {
        QTest::addColumn<int>("value");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("500 nH") << 500 << QByteArray::fromHex("F401");
        QTest::newRow("base 447") << 447 << QByteArray::fromHex("BF01");
        QTest::newRow("base 186") << 186 << QByteArray::fromHex("BA00");
        QTest::newRow("negative") << -2 << QByteArray::fromHex("FEFF");
        QTest::newRow("most negative") << -32768 << QByteArray::fromHex("0080");
    }
    void twoByteValuesAreSignedLittleEndian()
    {
        QFETCH(int, value);
        QFETCH(QByteArray, bytes);
        SettingsFile file;
        QVERIFY(file.open(path()));
        QVERIFY(file.Write(ConfLayout::StepL, 2, value));
        QCOMPARE(onDisk().mid(ConfLayout::StepL - 1, 2), bytes);
        QCOMPARE(file.Read(ConfLayout::StepL, 2), value);
    }

    void writePastTheEndExtendsWithZeros()
    {
        SettingsFile file;
        QVERIFY(file.open(path()));
        QVERIFY(file.Write(ConfLayout::PortNumber, 1, 3));
        const QByteArray bytes = onDisk();
        QCOMPARE(bytes.size(), ConfLayout::PortNumber);
        QCOMPARE(bytes.chopped(1), QByteArray(ConfLayout::PortNumber - 1, '\0'));
        QCOMPARE(bytes.back(), char(3));
    }

    void writesLeaveOtherBytesAlone()
    {
        QByteArray original(ConfLayout::Size, '\0');
        for (int i = 0; i < original.size(); ++i)
            original[i] = static_cast<char>(0x40 + i % 50);
        putOnDisk(original);
        SettingsFile file;
        QVERIFY(file.open(path()));
        // Every position the console writes: the last slot, the saved base, port and steps.
        const int last = ConfLayout::LastBase;
        QVERIFY(file.Write(last + ConfLayout::CodeCAt, 1, 1) &&
                file.Write(last + ConfLayout::CodeLAt, 1, 2) &&
                file.Write(last + ConfLayout::SideAt, 1, 0));
        QVERIFY(file.Write(ConfLayout::LastSavedBase, 2, last) &&
                file.Write(ConfLayout::PortNumber, 1, 16));
        QVERIFY(file.Write(ConfLayout::StepC, 1, 128) && file.Write(ConfLayout::StepL, 2, 999));
        const QByteArray bytes = onDisk();
        QCOMPARE(bytes.size(), ConfLayout::Size);
        QCOMPARE(bytes.left(last), original.left(last));
        // The two unused bytes are never touched.
        const QByteArray unused = original.mid(ConfLayout::Unused - 1, 2);
        QCOMPARE(bytes.mid(last),
                 QByteArray::fromHex("010200BF01") + unused + QByteArray::fromHex("1080E703"));
    }

    void everyReadGoesToTheFile()
    {
        SettingsFile file;
        QVERIFY(file.open(path()));
        QVERIFY(file.Write(1, 1, 10));
        // Written values reach the system at once: another reader sees them without a sync.
        QCOMPARE(onDisk(), QByteArray(1, char(10)));
        QFile other(path());
        QVERIFY(other.open(QIODevice::ReadWrite));
        other.write(QByteArray(1, char(42)));
        other.close();
        QCOMPARE(file.Read(1, 1), 42);
        QVERIFY(file.Sync());
    }

    void closedFileReadsZeroAndRefusesWrites()
    {
        SettingsFile file;
        QVERIFY(file.open(path()));
        QVERIFY(file.Write(1, 1, 5));
        file.close();
        QCOMPARE(file.Read(1, 1), 0);
        QVERIFY(!file.Write(1, 1, 6));
        QVERIFY(!file.Sync());
        QCOMPARE(onDisk(), QByteArray(1, char(5)));
    }

#ifdef Q_OS_UNIX
    // Windows keeps an open file from being deleted or replaced.
    void aFileDeletedOrReplacedWhileOpenStillTakesTheWrite_data()
    {
        QTest::addColumn<bool>("replace");
        QTest::newRow("deleted") << false;
        QTest::newRow("renamed over") << true;
    }
    void aFileDeletedOrReplacedWhileOpenStillTakesTheWrite()
    {
        QFETCH(bool, replace);
        putOnDisk(QByteArray::fromHex("0102030405"));
        SettingsFile file;
        QVERIFY(file.open(path()));
        if (replace) {
            const QString other = temp.filePath(QStringLiteral("x"));
            QFile::remove(other);
            QVERIFY(QFile::copy(path(), other));
            QFile edited(other);
            QVERIFY(edited.open(QIODevice::ReadWrite));
            edited.seek(4);
            edited.write("\x09", 1);
            edited.close();
            QVERIFY(::rename(QFile::encodeName(other), QFile::encodeName(path())) == 0);
            QCOMPARE(file.Read(5, 1), 9); // reads follow the path too
        } else {
            QVERIFY(QFile::remove(path()));
        }
        QVERIFY(file.Write(2, 1, 0x77));
        QVERIFY(file.Sync());
        QCOMPARE(onDisk(), QByteArray::fromHex(replace ? "0177030409" : "0177030405"));
        // And the handle is the file at the path from now on.
        QVERIFY(file.Write(1, 1, 0x66));
        QCOMPARE(onDisk().left(2), QByteArray::fromHex("6677"));
    }
#endif

    void commandReportsItsFirstError()
    {
        SettingsFile file;
        QVERIFY(file.open(path()));
        file.close();
        QVERIFY(!file.Write(1, 1, 1));
        QVERIFY(!file.Sync());
        QCOMPARE(file.errorString(), QStringLiteral("файл настроек не открыт"));
        QVERIFY(file.open(path()));
        QVERIFY(file.Write(1, 1, 1) && file.Sync());
        QVERIFY(file.errorString().isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestSettingsFile)
#include "tst_settingsfile.moc"
