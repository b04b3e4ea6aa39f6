#include "settings/settingsfile.h"
#include "support/consolefixture.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

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
        QCOMPARE(file.Read(455, 1), 0);
        QCOMPARE(file.Read(451, 2), 0);
    }

    void readsAtOrPastTheEndYieldZero()
    {
        putOnDisk(QByteArray(455, '\0') + char(0x81));
        SettingsFile file;
        QVERIFY(file.open(path()));
        QCOMPARE(file.Read(456, 1), 0x81);
        QCOMPARE(file.Read(456, 2), 0x81); // high byte lies past the end
        QCOMPARE(file.Read(457, 2), 0);
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
        QVERIFY(file.Write(457, 2, value));
        QCOMPARE(onDisk().mid(456, 2), bytes);
        QCOMPARE(file.Read(457, 2), value);
    }

    void writePastTheEndExtendsWithZeros()
    {
        SettingsFile file;
        QVERIFY(file.open(path()));
        QVERIFY(file.Write(455, 1, 3));
        const QByteArray bytes = onDisk();
        QCOMPARE(bytes.size(), 455);
        QCOMPARE(bytes.left(454), QByteArray(454, '\0'));
        QCOMPARE(bytes.at(454), char(3));
    }

    void writesLeaveOtherBytesAlone()
    {
        QByteArray original(458, '\0');
        for (int i = 0; i < original.size(); ++i)
            original[i] = static_cast<char>(0x40 + i % 50);
        putOnDisk(original);
        SettingsFile file;
        QVERIFY(file.open(path()));
        // Every position the console writes: a slot, the saved base, port and steps.
        QVERIFY(file.Write(448, 1, 1) && file.Write(449, 1, 2) && file.Write(450, 1, 0));
        QVERIFY(file.Write(451, 2, 447) && file.Write(455, 1, 16));
        QVERIFY(file.Write(456, 1, 128) && file.Write(457, 2, 999));
        const QByteArray bytes = onDisk();
        QCOMPARE(bytes.size(), 458);
        QCOMPARE(bytes.left(447), original.left(447));
        QCOMPARE(bytes.mid(452, 2), original.mid(452, 2)); // 453–454 are never touched
        QCOMPARE(bytes.mid(447), QByteArray::fromHex("010200BF01") + original.mid(452, 2) +
                                     QByteArray::fromHex("1080E703"));
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

    void unusableFolderFallsBackToTheNextOne()
    {
        // A folder path below a plain file can never be created, even by root.
        makeBlocker(temp);
        const QString bad = temp.filePath(QStringLiteral("blocker/program"));
        const QString data = temp.filePath(QStringLiteral("data"));
        SettingsFile file;
        QVERIFY(file.openInFirstUsable({bad, data}));
        QCOMPARE(file.path(), QDir(data).filePath(QStringLiteral("conf.cfg")));
        file.close();

        QVERIFY(!file.openInFirstUsable({bad, temp.filePath(QStringLiteral("blocker/data"))}));
        QVERIFY(file.errorString().contains(bad));
    }

    void readOnlyCopySeedsTheFallback()
    {
        const QString program = temp.filePath(QStringLiteral("ro"));
        QDir().mkpath(program);
        QFile original(QDir(program).filePath(QStringLiteral("conf.cfg")));
        QVERIFY(original.open(QIODevice::WriteOnly));
        original.write(QByteArray::fromHex("0102030405"));
        original.close();
        original.setPermissions(QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
        if (original.open(QIODevice::ReadWrite))
            QSKIP("this user can write read-only files");
        const QString data = temp.filePath(QStringLiteral("seeded"));
        SettingsFile file;
        QVERIFY(file.openInFirstUsable({program, data}));
        QCOMPARE(file.path(), QDir(data).filePath(QStringLiteral("conf.cfg")));
        QCOMPARE(file.Read(3, 1), 3);
    }
};

QTEST_GUILESS_MAIN(TestSettingsFile)
#include "tst_settingsfile.moc"
