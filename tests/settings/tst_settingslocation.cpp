#include "settings/conflayout.h"
#include "settings/settingsfile.h"
#include "support/unprivileged.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>

// Which conf.cfg the console opens, as an ordinary user meets it: read-only program folders,
// unreadable files, full disks and things that are not files at all.
class TestSettingsLocation : public QObject
{
    Q_OBJECT

    static bool put(const QString &path, const QByteArray &bytes)
    {
        QFile file(path);
        return file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
               file.write(bytes) == bytes.size();
    }
    static QByteArray get(const QString &path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    static void setMode(const QString &path, int mode)
    {
        ::chmod(QFile::encodeName(path).constData(), static_cast<mode_t>(mode));
    }
    static bool age(const QString &path, int seconds)
    {
        QFile file(path);
        return file.open(QIODevice::ReadWrite) &&
               file.setFileTime(QDateTime::currentDateTime().addSecs(-seconds),
                                QFile::FileModificationTime);
    }

private slots:
    void anUnusableFolderFallsBackToTheNextOne()
    {
        // A folder path below a plain file can never be made, not even by root.
        QTemporaryDir temp;
        QVERIFY(put(temp.filePath("blocker"), {}));
        const QString bad = temp.filePath(QStringLiteral("blocker/program"));
        const QString data = temp.filePath(QStringLiteral("data"));
        SettingsFile file;
        QVERIFY(file.openIn(bad, data));
        QCOMPARE(file.path(), data + QStringLiteral("/conf.cfg"));
        QVERIFY(file.inDataFolder());
        file.close();
        QVERIFY(!file.openIn(bad, temp.filePath(QStringLiteral("blocker/data"))));
        QVERIFY(file.errorString().contains(QStringLiteral("blocker")));
    }

    void readOnlyProgramCopyIsCopiedWritable()
    {
        ORVANE_RUN_UNPRIVILEGED();
        QTemporaryDir temp;
        const QString program = temp.filePath(QStringLiteral("program"));
        const QString data = temp.filePath(QStringLiteral("data"));
        QDir().mkpath(program);
        QVERIFY(put(program + QStringLiteral("/conf.cfg"), QByteArray::fromHex("0102030405")));
        setMode(program + QStringLiteral("/conf.cfg"), 0444);
        for (int run = 0; run < 2; ++run) { // and every later start too
            SettingsFile file;
            QVERIFY2(file.openIn(program, data), qPrintable(file.errorString()));
            QVERIFY(file.inDataFolder());
            QCOMPARE(file.path(), data + QStringLiteral("/conf.cfg"));
            QCOMPARE(file.Read(3, 1), run == 0 ? 3 : 7);
            QVERIFY(file.Write(3, 1, 7) && file.Sync());
        }
        QCOMPARE(get(data + QStringLiteral("/conf.cfg")), QByteArray::fromHex("0102070405"));
    }

    void unreadableFileIsNamedAndNothingElseIsUsed()
    {
        ORVANE_RUN_UNPRIVILEGED();
        QTemporaryDir temp;
        const QString program = temp.filePath(QStringLiteral("program"));
        const QString data = temp.filePath(QStringLiteral("data"));
        QDir().mkpath(program);
        QVERIFY(put(program + QStringLiteral("/conf.cfg"), QByteArray(ConfLayout::Size, '\1')));
        setMode(program + QStringLiteral("/conf.cfg"), 0200);
        SettingsFile file;
        QVERIFY(!file.openIn(program, data));
        QVERIFY(file.errorString().contains(program + QStringLiteral("/conf.cfg")));
        QVERIFY(file.errorString().contains(QStringLiteral("прочитать")));
        QVERIFY(QDir(data).entryList(QDir::NoDotAndDotDot | QDir::AllEntries).isEmpty());
    }

    void fullDataFolderLeavesNoCopy()
    {
        ORVANE_RUN_UNPRIVILEGED();
        QTemporaryDir temp;
        const QString program = temp.filePath(QStringLiteral("program"));
        const QString data = temp.filePath(QStringLiteral("data"));
        QDir().mkpath(program);
        QDir().mkpath(data);
        QVERIFY(put(program + QStringLiteral("/conf.cfg"), QByteArray(ConfLayout::Size, '\1')));
        setMode(program + QStringLiteral("/conf.cfg"), 0444);
        setMode(program, 0555);
        // A disk with room for 100 bytes more.
        std::signal(SIGXFSZ, SIG_IGN);
        rlimit saved{};
        ::getrlimit(RLIMIT_FSIZE, &saved);
        rlimit small = saved;
        small.rlim_cur = 100;
        ::setrlimit(RLIMIT_FSIZE, &small);
        SettingsFile file;
        const bool opened = file.openIn(program, data);
        ::setrlimit(RLIMIT_FSIZE, &saved);
        QVERIFY(!opened);
        QVERIFY(file.errorString().contains(data));
        QCOMPARE(QDir(data).entryList(QDir::NoDotAndDotDot | QDir::AllEntries), QStringList());
        // With room again, the copy is made and holds everything.
        QVERIFY(file.openIn(program, data));
        QCOMPARE(file.Read(ConfLayout::Size, 1), 1);
        setMode(program, 0755);
    }

    void readOnlyThenWritableKeepsTheNewestSaves()
    {
        ORVANE_RUN_UNPRIVILEGED();
        QTemporaryDir temp;
        const QString program = temp.filePath(QStringLiteral("program"));
        const QString data = temp.filePath(QStringLiteral("data"));
        QDir().mkpath(program);
        QVERIFY(put(program + QStringLiteral("/conf.cfg"), QByteArray(ConfLayout::Size, '\0')));
        QVERIFY(age(program + QStringLiteral("/conf.cfg"), 60));
        setMode(program, 0555);
        setMode(program + QStringLiteral("/conf.cfg"), 0444);
        {
            SettingsFile file;
            QVERIFY(file.openIn(program, data));
            QVERIFY(file.Write(1, 1, 0x42) && file.Sync()); // a Save while read-only
        }
        setMode(program, 0755);
        setMode(program + QStringLiteral("/conf.cfg"), 0644);
        SettingsFile file;
        QVERIFY(file.openIn(program, data));
        QVERIFY(file.inDataFolder());
        QCOMPARE(file.Read(1, 1), 0x42);

        // A program folder copy written after the data folder's is the newer one.
        file.close();
        QVERIFY(age(data + QStringLiteral("/conf.cfg"), 30));
        QVERIFY(put(program + QStringLiteral("/conf.cfg"), QByteArray(1, '\x55')));
        QVERIFY(file.openIn(program, data));
        QVERIFY(!file.inDataFolder());
        QCOMPARE(file.Read(1, 1), 0x55);
    }

    void somethingElseNamedConfCfgIsRefusedByPath_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<bool>("inDataFolder");
        QTest::newRow("folder") << "folder" << false;
        QTest::newRow("FIFO") << "fifo" << false;
        QTest::newRow("device") << "device" << false;
        QTest::newRow("dangling link") << "dangling" << false;
        QTest::newRow("folder in the data folder") << "folder" << true;
    }
    void somethingElseNamedConfCfgIsRefusedByPath()
    {
        QFETCH(QString, kind);
        QFETCH(bool, inDataFolder);
        QTemporaryDir temp;
        const QString program = temp.filePath(QStringLiteral("program"));
        const QString data = temp.filePath(QStringLiteral("data"));
        QDir().mkpath(program);
        QDir().mkpath(data);
        const QString path = (inDataFolder ? data : program) + QStringLiteral("/conf.cfg");
        const QByteArray native = QFile::encodeName(path);
        if (kind == QLatin1String("folder"))
            QVERIFY(QDir().mkpath(path));
        else if (kind == QLatin1String("fifo"))
            QCOMPARE(::mkfifo(native.constData(), 0644), 0);
        else if (kind == QLatin1String("device"))
            QVERIFY(QFile::link(QStringLiteral("/dev/zero"), path));
        else
            QVERIFY(QFile::link(temp.filePath(QStringLiteral("gone")), path));
        SettingsFile file;
        QVERIFY(!file.openIn(program, data));
        QVERIFY2(file.errorString().contains(path), qPrintable(file.errorString()));
        QVERIFY(!file.isOpen());
        QVERIFY(!QFile::exists(temp.filePath(QStringLiteral("gone"))));
        QVERIFY(!QFile::exists((inDataFolder ? program : data) + QStringLiteral("/conf.cfg")));
    }
};

QTEST_GUILESS_MAIN(TestSettingsLocation)
#include "tst_settingslocation.moc"
