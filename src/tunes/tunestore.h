#pragma once

#include "measurement.h"
#include "model/relaysetting.h"

#include <QHash>
#include <QList>
#include <QString>

#include <functional>
#include <optional>
#include <utility>

struct sqlite3;

// One frequency memory: the relays stored for a stretch of a band on one antenna.
struct StoredTune
{
    // Computed: predicted from the antenna's measurement, never read on the radio.
    enum class Source { Save, Search, Training, Import, Computed };

    int antenna = 0; // 0–2
    // Where it was stored: the middle of its bin then. The entry stays at this frequency
    // whatever the bins become.
    qint64 hz = 0;
    RelaySetting relays;
    std::optional<double> swr; // as measured, where it was
    qint64 stored = 0;         // ms since the epoch, UTC
    Source source = Source::Save;
    bool pinned = false;

    // "save", "search", "training", "import", "computed"
    static QString sourceName(Source source);
    static std::optional<Source> sourceNamed(const QString &name);
    friend bool operator==(const StoredTune &, const StoredTune &) = default;
};

// One SWR sweep: a run of readings across a band, of the bare antenna (C and L at 0) or
// through the stored tunes.
struct StoredSweep
{
    // Measured: the antenna's own measurement as its SWR on 50 Ω, never kept as a sweep.
    enum class Kind { Bare, Tuned, Measured };
    struct Point
    {
        qint64 hz = 0;
        double swr = 0;
        std::optional<double> watts; // where the radio reported it
        friend bool operator==(const Point &, const Point &) = default;
    };

    qint64 id = 0;
    int antenna = 0; // 0–2
    int band = 0;
    Kind kind = Kind::Bare;
    qint64 started = 0; // ms since the epoch, UTC; the sweeps of one run share it
    qint64 step = 0;    // Hz
    int dwellMs = 0;
    int side = 0; // of a bare sweep
    // Ran to its end; a sweep stopped or cut short is not.
    bool complete = true;
    QList<Point> points;

    static QString kindName(Kind kind); // "bare", "tuned", "measured"
    static std::optional<Kind> kindNamed(const QString &name);
};

// One reading the radio gave during a search, training or a tuned sweep: what the tuner's
// parts are fitted to.
struct StoredProbe
{
    int antenna = 0;
    qint64 hz = 0;
    RelaySetting relays;
    double swr = 0;
};

// The frequency memories of a console in an SQLite database beside conf.cfg. Every change is
// one durable transaction (write-ahead log, synced at commit): a tune stored survives the
// console killed straight after. A file that is damaged, not ours or from a later version is
// set aside under a dated name and a new one begun; one that cannot be read (its permissions)
// is left alone and no memory is had. Before each write the file is checked to be the one
// opened: one removed or replaced meanwhile is put back whole from what the open database
// holds. conf.cfg is never touched.
class TuneStore
{
public:
    static constexpr const char *FileName = "tunes.sqlite";
    // The schema's version (PRAGMA user_version); older files are brought up to it.
    static constexpr int Version = 4;
    // What marks the file as ours (PRAGMA application_id): "ORVN".
    static constexpr int ApplicationId = 0x4F52564E;

    enum class Put { Stored, KeptPinned, Failed };

    TuneStore() = default;
    ~TuneStore();
    TuneStore(const TuneStore &) = delete;
    TuneStore &operator=(const TuneStore &) = delete;

    // Opens folder/tunes.sqlite, making it when there is none. A file set aside is named in
    // setAside. False with the reason when no database can be had there.
    bool open(const QString &folder, QString *setAside, QString *error);
    // Something the operator should hear of, once: the file was found replaced and put back.
    QString takeNotice() { return std::exchange(m_notice, QString()); }
    bool isOpen() const { return m_db != nullptr; }
    QString path() const { return m_path; }
    sqlite3 *handle() const { return m_db; }

    // The antenna's entries in [from, to), by frequency.
    QList<StoredTune> between(int antenna, qint64 from, qint64 to) const;
    int count() const;
    // Stores the tune for the bin [low, high) of its antenna, replacing what is there, unless
    // a pinned entry stands there and overPinned is false.
    Put put(const StoredTune &tune, qint64 low, qint64 high, bool overPinned);
    // A tune with the bin it is stored for.
    struct Placed
    {
        StoredTune tune;
        qint64 low = 0;
        qint64 high = 0;
    };
    // Several at once, in one transaction: all or none (an import), pinned or not.
    bool putAll(const QList<Placed> &tunes);
    // Removes the antenna's entries in [low, high); false when there were none or it failed.
    bool forget(int antenna, qint64 low, qint64 high);
    bool pin(int antenna, qint64 low, qint64 high, bool pinned);
    QString error() const { return m_error; }

    // Sweeps: begun with no points, each point added as it is read (durably, so a sweep cut
    // short keeps what it had), listed newest first without their points.
    std::optional<qint64> beginSweep(const StoredSweep &sweep);
    bool addSweepPoint(qint64 sweep, const StoredSweep::Point &point);
    // The sweep ran to its end.
    bool completeSweep(qint64 sweep);
    // The newest run's sweeps that ran to their end, else the newest run's: "the last sweep".
    QList<StoredSweep> lastSweeps(int antenna, int band) const;
    QList<StoredSweep> sweeps(int antenna, int band) const;
    // The sweep with its points, by frequency.
    std::optional<StoredSweep> sweep(qint64 id) const;
    bool forgetSweep(qint64 id);

    // The antenna's measurement: a new one replaces it, the one it replaced kept for an undo.
    bool putMeasurement(int antenna, const AntennaMeasurement &measurement);
    std::optional<AntennaMeasurement> measurement(int antenna, bool previous = false) const;
    // The previous measurement comes back (none when there was none); false when there was
    // nothing to undo.
    bool undoMeasurement(int antenna);
    // The antenna's computed tunes, replacing those computed before, in one transaction; a bin
    // that holds a tune of another source or a pinned one keeps it.
    bool putComputed(int antenna, const QList<Placed> &tunes);

    // The readings kept: the latest MaxProbes, the oldest going first.
    static constexpr int MaxProbes = 100000;
    bool addProbe(const StoredProbe &probe);
    // The latest, at most limit of them, oldest first.
    QList<StoredProbe> probes(int limit = MaxProbes) const;

private:
    enum class Problem { None, Unusable, Damaged };
    // Each antenna's current measurement as last read: a search and each bin of training ask
    // for it, and it changes only here.
    mutable QHash<int, std::optional<AntennaMeasurement>> m_measured;
    Problem prepare(QString *error);
    // The file at the path is still the one opened, or is made so again; false with the
    // reason when it cannot be.
    bool ownFile();
    bool restore(const QString &why);
    void noteIdentity();
    bool migrate(QString *error);
    bool exec(const char *sql);
    // Runs work in one write transaction: committed when it returns true, else rolled back
    // with SQLite's reason kept.
    bool transaction(const std::function<bool()> &work);
    void close();

    sqlite3 *m_db = nullptr;
    QString m_path;
    mutable QString m_error;
    QString m_notice;
    // The file opened, as the system knows it: device and inode.
    quint64 m_device = 0;
    quint64 m_inode = 0;
};
