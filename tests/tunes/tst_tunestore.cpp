#include "rig/bandplan.h"
#include "tunes/tunestore.h"
#include "tunes/tunetable.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <sqlite3.h>

namespace {

StoredTune tune(int antenna, qint64 hz, int c, int l, int side, std::optional<double> swr)
{
    StoredTune t;
    t.antenna = antenna;
    t.hz = hz;
    t.relays = {quint8(c), quint8(l), quint8(side)};
    t.swr = swr;
    t.stored = 1'796'000'000'000;
    t.source = StoredTune::Source::Training;
    return t;
}

} // namespace

// The frequency memories' file and table, which the console on every platform keeps: durable,
// never mixed up with another program's file, and read back as written.
class TestTuneStore : public QObject
{
    Q_OBJECT

private slots:
    void theStoreKeepsItsTunesAndSetsADamagedOrForeignFileAside_data()
    {
        QTest::addColumn<QByteArray>("found");
        QTest::newRow("damaged") << QByteArray(4096, '\x5a');
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("another program's") << QByteArray("foreign");
    }
    void theStoreKeepsItsTunesAndSetsADamagedOrForeignFileAside()
    {
        QFETCH(QByteArray, found);
        QTemporaryDir folder;
        const QString path = folder.filePath(QString::fromLatin1(TuneStore::FileName));
        if (found == "foreign") {
            // Another program's database: ours in form, marked as somebody else's.
            TuneStore other;
            QString aside, error;
            QVERIFY(other.open(folder.path(), &aside, &error));
            QCOMPARE(sqlite3_exec(other.handle(), "PRAGMA application_id=1234;", nullptr, nullptr,
                                  nullptr),
                     SQLITE_OK);
        } else {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(found);
        }
        TuneStore store;
        QString aside;
        QString error;
        QVERIFY2(store.open(folder.path(), &aside, &error), qPrintable(error));
        QCOMPARE(aside.isEmpty(), found.isEmpty());
        if (!found.isEmpty()) {
            QVERIFY(aside.contains(QStringLiteral(".set-aside-")));
            QVERIFY(!QDir(folder.path())
                         .entryList({QStringLiteral("tunes.sqlite.set-aside-*")})
                         .isEmpty());
        }
        QCOMPARE(store.put(tune(0, 7073500, 37, 12, 1, 1.1), 7070000, 7077000, false),
                 TuneStore::Put::Stored);
        StoredTune pinned = tune(0, 7080500, 1, 2, 0, 1.3);
        pinned.pinned = true;
        QCOMPARE(store.put(pinned, 7077000, 7084000, false), TuneStore::Put::Stored);
        QCOMPARE(store.put(tune(0, 7080500, 9, 9, 1, 1.0), 7077000, 7084000, false),
                 TuneStore::Put::KeptPinned);
        TuneStore again;
        QVERIFY(again.open(folder.path(), &aside, &error));
        QCOMPARE(again.count(), 2);
        QCOMPARE(again.between(0, 7070000, 7077000).value(0), tune(0, 7073500, 37, 12, 1, 1.1));
    }

    void theTableGoesOutAndComesBackAndNamesEveryFault()
    {
        const BandPlan plan;
        QList<StoredTune> tunes{tune(0, 7073500, 37, 12, 1, 1.12),
                                tune(2, 14003500, 200, 3, 0, {})};
        tunes[1].pinned = true;
        const QByteArray table = TuneTable::write(tunes);
        QString error;
        const auto read = TuneTable::read(table, plan, &error);
        QVERIFY2(read, qPrintable(error));
        QCOMPARE(read->size(), 2);
        QCOMPARE(read->at(0).tune.relays, tunes[0].relays);
        QCOMPARE(read->at(0).tune.swr, tunes[0].swr);
        QCOMPARE(read->at(0).low, 7070000);
        QCOMPARE(read->at(1).tune.pinned, true);
        QCOMPARE(read->at(1).tune.source, StoredTune::Source::Import);
        // A spreadsheet's table, with every fault named on its line.
        const QByteArray bad =
            "antenna;frequency Hz;C code;L code;side;SWR;stored;source;pinned\r\n"
            "4;7073500;1;1;Tx;1,2;;;0\r\n"
            "1;6000000;1;1;Tx;;;;0\r\n"
            "1;7073500;300;1;Up;0,5;yesterday;magic;2\r\n";
        QVERIFY(!TuneTable::read(bad, plan, &error));
        for (const char *named : {"строка 2", "строка 3", "строка 4", "«C code»", "«side»", "«SWR»",
                                  "«stored»", "«source»", "«pinned»"})
            QVERIFY2(error.contains(QString::fromUtf8(named)), qPrintable(error));
    }
};

QTEST_GUILESS_MAIN(TestTuneStore)
#include "tst_tunestore.moc"
