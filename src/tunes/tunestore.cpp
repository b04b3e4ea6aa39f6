#include "tunestore.h"

#include <QDataStream>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "settings/settingslocation.h"

#include <sqlite3.h>

#include <algorithm>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

// A prepared statement that finalizes itself.
class Statement
{
public:
    Statement(sqlite3 *db, const char *sql) { sqlite3_prepare_v2(db, sql, -1, &m_stmt, nullptr); }
    ~Statement() { sqlite3_finalize(m_stmt); }
    Statement(const Statement &) = delete;
    Statement &operator=(const Statement &) = delete;

    bool ok() const { return m_stmt != nullptr; }
    Statement &bind(int i, qint64 value)
    {
        sqlite3_bind_int64(m_stmt, i, value);
        return *this;
    }
    Statement &bind(int i, const std::optional<double> &value)
    {
        value ? sqlite3_bind_double(m_stmt, i, *value) : sqlite3_bind_null(m_stmt, i);
        return *this;
    }
    Statement &bind(int i, const QString &value)
    {
        const QByteArray bytes = value.toUtf8();
        sqlite3_bind_text(m_stmt, i, bytes.constData(), int(bytes.size()), SQLITE_TRANSIENT);
        return *this;
    }
    // SQLITE_ROW, SQLITE_DONE or an error.
    int step() { return m_stmt ? sqlite3_step(m_stmt) : SQLITE_ERROR; }
    qint64 integer(int column) const { return sqlite3_column_int64(m_stmt, column); }
    std::optional<double> real(int column) const
    {
        return sqlite3_column_type(m_stmt, column) == SQLITE_NULL
                   ? std::nullopt
                   : std::optional<double>(sqlite3_column_double(m_stmt, column));
    }
    QString text(int column) const
    {
        return QString::fromUtf8(
            reinterpret_cast<const char *>(sqlite3_column_text(m_stmt, column)));
    }
    Statement &bind(int i, const QByteArray &blob)
    {
        sqlite3_bind_blob64(m_stmt, i, blob.constData(), sqlite3_uint64(blob.size()),
                            SQLITE_TRANSIENT);
        return *this;
    }
    QByteArray blob(int column) const
    {
        return QByteArray(static_cast<const char *>(sqlite3_column_blob(m_stmt, column)),
                          sqlite3_column_bytes(m_stmt, column));
    }

private:
    sqlite3_stmt *m_stmt = nullptr;
};

// The steps from each version to the next; the file is brought up to the last in order.
const char *const Migrations[TuneStore::Version] = {
    // 1: the frequency memories.
    "CREATE TABLE tunes("
    " id INTEGER PRIMARY KEY,"
    " antenna INTEGER NOT NULL CHECK(antenna BETWEEN 0 AND 2),"
    " hz INTEGER NOT NULL,"
    " c INTEGER NOT NULL CHECK(c BETWEEN 0 AND 255),"
    " l INTEGER NOT NULL CHECK(l BETWEEN 0 AND 255),"
    " side INTEGER NOT NULL CHECK(side BETWEEN 0 AND 255),"
    " swr REAL,"
    " stored INTEGER NOT NULL,"
    " source TEXT NOT NULL CHECK(source IN ('save', 'search', 'training', 'import')),"
    " pinned INTEGER NOT NULL DEFAULT 0);"
    "CREATE INDEX tunes_by_frequency ON tunes(antenna, hz);",
    // 2: SWR sweeps, each a run of points.
    "CREATE TABLE sweeps("
    " id INTEGER PRIMARY KEY,"
    " antenna INTEGER NOT NULL CHECK(antenna BETWEEN 0 AND 2),"
    " band INTEGER NOT NULL,"
    " kind TEXT NOT NULL CHECK(kind IN ('bare', 'tuned')),"
    " started INTEGER NOT NULL,"
    " step INTEGER NOT NULL,"
    " dwell INTEGER NOT NULL,"
    " side INTEGER NOT NULL);"
    "CREATE TABLE sweep_points("
    " sweep INTEGER NOT NULL REFERENCES sweeps(id) ON DELETE CASCADE,"
    " hz INTEGER NOT NULL,"
    " swr REAL NOT NULL,"
    " watts REAL);"
    "CREATE INDEX sweep_points_by_sweep ON sweep_points(sweep, hz);",
    // 3: whether a sweep ran to its end; those kept before are taken as having done so.
    "ALTER TABLE sweeps ADD COLUMN complete INTEGER NOT NULL DEFAULT 1;",
    // 4: tunes computed from a measurement; the antennas' measurements, the one before each
    // kept for an undo.
    "CREATE TABLE tunes4("
    " id INTEGER PRIMARY KEY,"
    " antenna INTEGER NOT NULL CHECK(antenna BETWEEN 0 AND 2),"
    " hz INTEGER NOT NULL,"
    " c INTEGER NOT NULL CHECK(c BETWEEN 0 AND 255),"
    " l INTEGER NOT NULL CHECK(l BETWEEN 0 AND 255),"
    " side INTEGER NOT NULL CHECK(side BETWEEN 0 AND 255),"
    " swr REAL,"
    " stored INTEGER NOT NULL,"
    " source TEXT NOT NULL"
    "  CHECK(source IN ('save', 'search', 'training', 'import', 'computed')),"
    " pinned INTEGER NOT NULL DEFAULT 0);"
    "INSERT INTO tunes4 SELECT id, antenna, hz, c, l, side, swr, stored, source, pinned"
    " FROM tunes;"
    "DROP TABLE tunes;"
    "ALTER TABLE tunes4 RENAME TO tunes;"
    "CREATE INDEX tunes_by_frequency ON tunes(antenna, hz);"
    "CREATE TABLE measurements("
    " antenna INTEGER NOT NULL CHECK(antenna BETWEEN 0 AND 2),"
    " current INTEGER NOT NULL CHECK(current IN (0, 1)),"
    " file TEXT NOT NULL,"
    " imported INTEGER NOT NULL,"
    " points BLOB NOT NULL,"
    " PRIMARY KEY(antenna, current));"
    "CREATE TABLE probes("
    " id INTEGER PRIMARY KEY,"
    " antenna INTEGER NOT NULL CHECK(antenna BETWEEN 0 AND 2),"
    " hz INTEGER NOT NULL,"
    " c INTEGER NOT NULL CHECK(c BETWEEN 0 AND 255),"
    " l INTEGER NOT NULL CHECK(l BETWEEN 0 AND 255),"
    " side INTEGER NOT NULL CHECK(side BETWEEN 0 AND 255),"
    " swr REAL NOT NULL);",
};

// A measurement's points as kept: frequency, R and X, little-endian, 24 bytes a point.
QByteArray packed(const QList<AntennaMeasurement::Point> &points)
{
    QByteArray out;
    QDataStream stream(&out, QIODevice::WriteOnly);
    stream.setByteOrder(QDataStream::LittleEndian);
    stream.setFloatingPointPrecision(QDataStream::DoublePrecision);
    for (const AntennaMeasurement::Point &p : points)
        stream << p.hz << p.z.real() << p.z.imag();
    return out;
}

QList<AntennaMeasurement::Point> unpacked(const QByteArray &bytes)
{
    QList<AntennaMeasurement::Point> points;
    QDataStream stream(bytes);
    stream.setByteOrder(QDataStream::LittleEndian);
    stream.setFloatingPointPrecision(QDataStream::DoublePrecision);
    for (qsizetype i = 0; i < bytes.size() / 24; ++i) {
        qint64 hz = 0;
        double r = 0;
        double x = 0;
        stream >> hz >> r >> x;
        points << AntennaMeasurement::Point{hz, {r, x}};
    }
    return points;
}

} // namespace

QString StoredTune::sourceName(Source source)
{
    switch (source) {
    case Source::Save:
        return QStringLiteral("save");
    case Source::Search:
        return QStringLiteral("search");
    case Source::Training:
        return QStringLiteral("training");
    case Source::Import:
        return QStringLiteral("import");
    case Source::Computed:
        return QStringLiteral("computed");
    }
    return {};
}

std::optional<StoredTune::Source> StoredTune::sourceNamed(const QString &name)
{
    for (const Source s :
         {Source::Save, Source::Search, Source::Training, Source::Import, Source::Computed}) {
        if (name.compare(sourceName(s), Qt::CaseInsensitive) == 0)
            return s;
    }
    return std::nullopt;
}

TuneStore::~TuneStore()
{
    close();
}

void TuneStore::close()
{
    m_measured.clear();
    if (m_db)
        sqlite3_close(m_db);
    m_db = nullptr;
}

bool TuneStore::exec(const char *sql)
{
    char *message = nullptr;
    if (sqlite3_exec(m_db, sql, nullptr, nullptr, &message) == SQLITE_OK)
        return true;
    m_error = QString::fromUtf8(message ? message : sqlite3_errmsg(m_db));
    sqlite3_free(message);
    return false;
}

bool TuneStore::open(const QString &folder, QString *setAside, QString *error)
{
    close();
    m_path = QDir(folder).filePath(QString::fromLatin1(FileName));
    QString why;
    const Problem first = prepare(&why);
    if (first == Problem::None)
        return true;
    close();
    // A file this user cannot read or write is not damaged: it is left as it is.
    if (first == Problem::Unusable) {
        *error = QStringLiteral("%1: %2").arg(QDir::toNativeSeparators(m_path), why);
        return false;
    }
    // A file that is not ours, damaged or from a later version is kept, under another name,
    // for whoever wants to look at it; the console goes on with a new one.
    if (QFileInfo::exists(m_path)) {
        const QString aside =
            m_path + QStringLiteral(".set-aside-") +
            QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
        if (!QFile::rename(m_path, aside)) {
            *error = QStringLiteral("%1: %2; it cannot be set aside").arg(m_path, why);
            return false;
        }
        for (const char *extra : {"-wal", "-shm"})
            QFile::rename(m_path + QLatin1String(extra), aside + QLatin1String(extra));
        if (setAside)
            *setAside = QStringLiteral("%1 (%2)").arg(aside, why);
        if (prepare(&why) == Problem::None)
            return true;
        close();
    }
    *error = QStringLiteral("%1: %2").arg(m_path, why);
    return false;
}

TuneStore::Problem TuneStore::prepare(QString *error)
{
    const QFileInfo file(m_path);
    if (file.exists() && (!file.isReadable() || !file.isWritable())) {
        *error = QStringLiteral("cannot be read and written by this user");
        return Problem::Unusable;
    }
    if (file.exists() && !file.isFile()) {
        *error = QStringLiteral("not a file");
        return Problem::Damaged;
    }
    // Only what says the file itself is wrong makes it damaged; the rest (no permission, a
    // full disk, a folder that cannot be written) leaves it be.
    const auto problemOf = [this](int code) {
        const int primary = code & 0xff;
        return primary == SQLITE_NOTADB || primary == SQLITE_CORRUPT ? Problem::Damaged
                                                                     : Problem::Unusable;
    };
    const QByteArray name = QFile::encodeName(m_path);
    const int opened = sqlite3_open_v2(name.constData(), &m_db,
                                       SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    if (opened != SQLITE_OK) {
        *error = QString::fromUtf8(m_db ? sqlite3_errmsg(m_db) : "out of memory");
        return problemOf(opened);
    }
    sqlite3_busy_timeout(m_db, 2000);
    // Durable at every commit, and a reader never waits on a writer.
    if (!exec("PRAGMA journal_mode=WAL; PRAGMA synchronous=FULL; PRAGMA foreign_keys=ON;")) {
        *error = m_error; // "file is not a database" lands here
        return problemOf(sqlite3_extended_errcode(m_db));
    }
    {
        // Ended before the migration: a table is not dropped under an open statement.
        Statement check(m_db, "PRAGMA quick_check");
        const int checked = check.step();
        if (checked != SQLITE_ROW) {
            *error = QString::fromUtf8(sqlite3_errmsg(m_db));
            return problemOf(sqlite3_extended_errcode(m_db));
        }
        if (check.text(0) != QLatin1String("ok")) {
            *error = QStringLiteral("damaged: %1").arg(check.text(0));
            return Problem::Damaged;
        }
    }
    if (!migrate(error))
        return Problem::Damaged;
    noteIdentity();
    return Problem::None;
}

void TuneStore::noteIdentity()
{
#ifdef Q_OS_UNIX
    struct stat info
    {};
    if (::stat(QFile::encodeName(m_path).constData(), &info) == 0) {
        m_device = quint64(info.st_dev);
        m_inode = quint64(info.st_ino);
    }
#endif
}

bool TuneStore::ownFile()
{
#ifdef Q_OS_UNIX
    struct stat info
    {};
    const QByteArray name = QFile::encodeName(m_path);
    if (::lstat(name.constData(), &info) != 0)
        return restore(QStringLiteral("removed"));
    if (!S_ISREG(info.st_mode))
        return restore(S_ISDIR(info.st_mode) ? QStringLiteral("replaced by a folder")
                                             : QStringLiteral("replaced by a link"));
    if (quint64(info.st_dev) != m_device || quint64(info.st_ino) != m_inode)
        return restore(QStringLiteral("replaced by another file"));
#endif
    return true;
}

bool TuneStore::restore(const QString &why)
{
    // The open database still holds everything, whatever became of its name: it is written
    // out whole, and put where the file belongs.
    const QString fresh = m_path + QStringLiteral(".restoring");
    QFile::remove(fresh);
    QByteArray into = "VACUUM INTO '" + QFile::encodeName(fresh).replace('\'', "''") + '\'';
    if (!exec(into.constData())) {
        m_error = QStringLiteral("%1 was %2 and cannot be put back: %3").arg(m_path, why, m_error);
        QFile::remove(fresh);
        return false;
    }
    {
        QFile written(fresh);
#ifdef Q_OS_UNIX
        if (written.open(QIODevice::ReadWrite))
            ::fsync(written.handle());
#endif
    }
    QString aside;
    if (QFileInfo(m_path).exists() || QFileInfo(m_path).isSymLink()) {
        // What stands there now is kept, under another name.
        aside = m_path + QStringLiteral(".set-aside-") +
                QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
        if (!QFile::rename(m_path, aside) && !QDir().rename(m_path, aside)) {
            m_error = QStringLiteral("%1 was %2 and cannot be set aside").arg(m_path, why);
            QFile::remove(fresh);
            return false;
        }
    }
    if (!QFile::rename(fresh, m_path)) {
        m_error = QStringLiteral("%1 was %2 and cannot be put back").arg(m_path, why);
        return false;
    }
    syncFolder(QFileInfo(m_path).absolutePath());
    close();
    QString error;
    if (prepare(&error) != Problem::None) {
        m_error =
            QStringLiteral("%1 was %2; put back, it cannot be opened: %3").arg(m_path, why, error);
        close();
        return false;
    }
    m_notice = aside.isEmpty()
                   ? QStringLiteral("%1 was %2 while the console ran; it is put back whole")
                         .arg(m_path, why)
                   : QStringLiteral("%1 was %2 while the console ran; it is put back whole, and "
                                    "what stood there is kept as %3")
                         .arg(m_path, why, aside);
    return true;
}

bool TuneStore::migrate(QString *error)
{
    // Each read ends before the steps run: a table is not dropped under an open statement.
    const auto single = [this](const char *sql) {
        Statement query(m_db, sql);
        return query.step() == SQLITE_ROW ? query.integer(0) : qint64(-1);
    };
    const qint64 id = single("PRAGMA application_id");
    const qint64 version = single("PRAGMA user_version");
    const qint64 objects = single("SELECT count(*) FROM sqlite_schema");
    if (id != ApplicationId && objects != 0) {
        *error = QStringLiteral("not a frequency memory of this console");
        return false;
    }
    if (version < 0 || version > Version) {
        *error = QStringLiteral("made by a later version (%1)").arg(version);
        return false;
    }
    for (qint64 v = version; v < Version; ++v) {
        const QByteArray step = QByteArray("BEGIN IMMEDIATE;") + Migrations[v] +
                                "PRAGMA application_id=" + QByteArray::number(ApplicationId) +
                                "; PRAGMA user_version=" + QByteArray::number(v + 1) + "; COMMIT;";
        if (!exec(step.constData())) {
            exec("ROLLBACK");
            *error = m_error;
            return false;
        }
    }
    return true;
}

QList<StoredTune> TuneStore::between(int antenna, qint64 from, qint64 to) const
{
    QList<StoredTune> out;
    if (!m_db)
        return out;
    Statement query(m_db, "SELECT hz, c, l, side, swr, stored, source, pinned FROM tunes "
                          "WHERE antenna = ? AND hz >= ? AND hz < ? ORDER BY hz");
    query.bind(1, antenna).bind(2, from).bind(3, to);
    while (query.step() == SQLITE_ROW) {
        StoredTune t;
        t.antenna = antenna;
        t.hz = query.integer(0);
        t.relays = {quint8(query.integer(1)), quint8(query.integer(2)), quint8(query.integer(3))};
        t.swr = query.real(4);
        t.stored = query.integer(5);
        t.source = StoredTune::sourceNamed(query.text(6)).value_or(StoredTune::Source::Save);
        t.pinned = query.integer(7) != 0;
        out << t;
    }
    return out;
}

int TuneStore::count() const
{
    if (!m_db)
        return 0;
    Statement query(m_db, "SELECT count(*) FROM tunes");
    return query.step() == SQLITE_ROW ? int(query.integer(0)) : 0;
}

TuneStore::Put TuneStore::put(const StoredTune &tune, qint64 low, qint64 high, bool overPinned)
{
    if (!m_db || !ownFile() || !exec("BEGIN IMMEDIATE"))
        return Put::Failed;
    const auto pinnedThere = [&] {
        Statement pinned(m_db, "SELECT count(*) FROM tunes WHERE antenna = ? AND hz >= ? AND "
                               "hz < ? AND pinned <> 0");
        pinned.bind(1, tune.antenna).bind(2, low).bind(3, high);
        return pinned.step() == SQLITE_ROW && pinned.integer(0) > 0;
    };
    if (!overPinned && pinnedThere()) {
        exec("ROLLBACK");
        return Put::KeptPinned;
    }
    if (!putAll({{tune, low, high}})) {
        exec("ROLLBACK");
        return Put::Failed;
    }
    return exec("COMMIT") ? Put::Stored : (exec("ROLLBACK"), Put::Failed);
}

bool TuneStore::putAll(const QList<Placed> &tunes)
{
    if (!m_db)
        return false;
    // Inside the caller's transaction when there is one, else in one of its own.
    const bool own = sqlite3_get_autocommit(m_db) != 0;
    if (own && (!ownFile() || !exec("BEGIN IMMEDIATE")))
        return false;
    for (const Placed &p : tunes) {
        Statement clear(m_db, "DELETE FROM tunes WHERE antenna = ? AND hz >= ? AND hz < ?");
        clear.bind(1, p.tune.antenna).bind(2, p.low).bind(3, p.high);
        Statement insert(m_db, "INSERT INTO tunes(antenna, hz, c, l, side, swr, stored, source, "
                               "pinned) VALUES(?, ?, ?, ?, ?, ?, ?, ?, ?)");
        const StoredTune &t = p.tune;
        insert.bind(1, t.antenna)
            .bind(2, t.hz)
            .bind(3, t.relays.codeC)
            .bind(4, t.relays.codeL)
            .bind(5, t.relays.side)
            .bind(6, t.swr)
            .bind(7, t.stored)
            .bind(8, StoredTune::sourceName(t.source))
            .bind(9, t.pinned ? 1 : 0);
        if (clear.step() != SQLITE_DONE || insert.step() != SQLITE_DONE) {
            m_error = QString::fromUtf8(sqlite3_errmsg(m_db));
            if (own)
                exec("ROLLBACK");
            return false;
        }
    }
    return !own || exec("COMMIT");
}

bool TuneStore::forget(int antenna, qint64 low, qint64 high)
{
    if (!m_db || !ownFile())
        return false;
    Statement remove(m_db, "DELETE FROM tunes WHERE antenna = ? AND hz >= ? AND hz < ?");
    remove.bind(1, antenna).bind(2, low).bind(3, high);
    return remove.step() == SQLITE_DONE && sqlite3_changes(m_db) > 0;
}

bool TuneStore::pin(int antenna, qint64 low, qint64 high, bool pinned)
{
    if (!m_db || !ownFile())
        return false;
    Statement update(m_db, "UPDATE tunes SET pinned = ? WHERE antenna = ? AND hz >= ? AND hz < ?");
    update.bind(1, pinned ? 1 : 0).bind(2, antenna).bind(3, low).bind(4, high);
    return update.step() == SQLITE_DONE && sqlite3_changes(m_db) > 0;
}

QString StoredSweep::kindName(Kind kind)
{
    return kind == Kind::Bare    ? QStringLiteral("bare")
           : kind == Kind::Tuned ? QStringLiteral("tuned")
                                 : QStringLiteral("measured");
}

std::optional<StoredSweep::Kind> StoredSweep::kindNamed(const QString &name)
{
    if (name == QLatin1String("bare"))
        return Kind::Bare;
    if (name == QLatin1String("tuned"))
        return Kind::Tuned;
    return std::nullopt;
}

std::optional<qint64> TuneStore::beginSweep(const StoredSweep &sweep)
{
    if (!m_db || !ownFile())
        return std::nullopt;
    Statement insert(m_db, "INSERT INTO sweeps(antenna, band, kind, started, step, dwell, side, "
                           "complete) VALUES(?, ?, ?, ?, ?, ?, ?, 0)");
    insert.bind(1, sweep.antenna)
        .bind(2, sweep.band)
        .bind(3, StoredSweep::kindName(sweep.kind))
        .bind(4, sweep.started)
        .bind(5, sweep.step)
        .bind(6, sweep.dwellMs)
        .bind(7, sweep.side);
    if (insert.step() != SQLITE_DONE) {
        m_error = QString::fromUtf8(sqlite3_errmsg(m_db));
        return std::nullopt;
    }
    return sqlite3_last_insert_rowid(m_db);
}

bool TuneStore::addSweepPoint(qint64 sweep, const StoredSweep::Point &point)
{
    if (!m_db || !ownFile())
        return false;
    Statement insert(m_db, "INSERT INTO sweep_points(sweep, hz, swr, watts) VALUES(?, ?, ?, ?)");
    insert.bind(1, sweep)
        .bind(2, point.hz)
        .bind(3, std::optional<double>(point.swr))
        .bind(4, point.watts);
    if (insert.step() == SQLITE_DONE)
        return true;
    m_error = QString::fromUtf8(sqlite3_errmsg(m_db));
    return false;
}

bool TuneStore::completeSweep(qint64 sweep)
{
    if (!m_db || !ownFile())
        return false;
    Statement update(m_db, "UPDATE sweeps SET complete = 1 WHERE id = ?");
    update.bind(1, sweep);
    if (update.step() == SQLITE_DONE)
        return true;
    m_error = QString::fromUtf8(sqlite3_errmsg(m_db));
    return false;
}

QList<StoredSweep> TuneStore::lastSweeps(int antenna, int band) const
{
    const QList<StoredSweep> kept = sweeps(antenna, band);
    const auto complete =
        std::find_if(kept.begin(), kept.end(), [](const StoredSweep &s) { return s.complete; });
    const qint64 started = complete != kept.end() ? complete->started
                           : kept.isEmpty()       ? 0
                                                  : kept.first().started;
    QList<StoredSweep> out;
    for (const StoredSweep &s : kept) {
        if (s.started == started)
            out << s;
    }
    return out;
}

QList<StoredSweep> TuneStore::sweeps(int antenna, int band) const
{
    QList<StoredSweep> out;
    if (!m_db)
        return out;
    Statement query(m_db, "SELECT id, kind, started, step, dwell, side, complete FROM sweeps "
                          "WHERE antenna = ? AND band = ? ORDER BY started DESC, id");
    query.bind(1, antenna).bind(2, band);
    while (query.step() == SQLITE_ROW) {
        StoredSweep s;
        s.id = query.integer(0);
        s.antenna = antenna;
        s.band = band;
        s.kind = StoredSweep::kindNamed(query.text(1)).value_or(StoredSweep::Kind::Bare);
        s.started = query.integer(2);
        s.step = query.integer(3);
        s.dwellMs = int(query.integer(4));
        s.side = int(query.integer(5));
        s.complete = query.integer(6) != 0;
        out << s;
    }
    return out;
}

std::optional<StoredSweep> TuneStore::sweep(qint64 id) const
{
    if (!m_db)
        return std::nullopt;
    Statement head(m_db, "SELECT antenna, band, kind, started, step, dwell, side, complete "
                         "FROM sweeps WHERE id = ?");
    head.bind(1, id);
    if (head.step() != SQLITE_ROW)
        return std::nullopt;
    StoredSweep s;
    s.id = id;
    s.antenna = int(head.integer(0));
    s.band = int(head.integer(1));
    s.kind = StoredSweep::kindNamed(head.text(2)).value_or(StoredSweep::Kind::Bare);
    s.started = head.integer(3);
    s.step = head.integer(4);
    s.dwellMs = int(head.integer(5));
    s.side = int(head.integer(6));
    s.complete = head.integer(7) != 0;
    Statement points(m_db, "SELECT hz, swr, watts FROM sweep_points WHERE sweep = ? ORDER BY hz");
    points.bind(1, id);
    while (points.step() == SQLITE_ROW)
        s.points << StoredSweep::Point{points.integer(0), points.real(1).value_or(0),
                                       points.real(2)};
    return s;
}

bool TuneStore::forgetSweep(qint64 id)
{
    if (!m_db || !ownFile() || !exec("BEGIN IMMEDIATE"))
        return false;
    Statement points(m_db, "DELETE FROM sweep_points WHERE sweep = ?");
    points.bind(1, id);
    Statement head(m_db, "DELETE FROM sweeps WHERE id = ?");
    head.bind(1, id);
    const bool done =
        points.step() == SQLITE_DONE && head.step() == SQLITE_DONE && sqlite3_changes(m_db) > 0;
    return done ? exec("COMMIT") : (exec("ROLLBACK"), false);
}

bool TuneStore::transaction(const std::function<bool()> &work)
{
    if (!m_db || !ownFile() || !exec("BEGIN IMMEDIATE"))
        return false;
    if (work())
        return exec("COMMIT");
    m_error = QString::fromUtf8(sqlite3_errmsg(m_db));
    exec("ROLLBACK");
    return false;
}

bool TuneStore::putMeasurement(int antenna, const AntennaMeasurement &measurement)
{
    m_measured.remove(antenna);
    return transaction([&] {
        Statement drop(m_db, "DELETE FROM measurements WHERE antenna = ? AND current = 0");
        drop.bind(1, antenna);
        Statement age(m_db, "UPDATE measurements SET current = 0 WHERE antenna = ?");
        age.bind(1, antenna);
        Statement insert(m_db, "INSERT INTO measurements(antenna, current, file, imported, points) "
                               "VALUES(?, 1, ?, ?, ?)");
        insert.bind(1, antenna)
            .bind(2, measurement.file)
            .bind(3, measurement.imported)
            .bind(4, packed(measurement.points));
        return drop.step() == SQLITE_DONE && age.step() == SQLITE_DONE &&
               insert.step() == SQLITE_DONE;
    });
}

std::optional<AntennaMeasurement> TuneStore::measurement(int antenna, bool previous) const
{
    if (!m_db)
        return std::nullopt;
    if (!previous) {
        if (const auto kept = m_measured.constFind(antenna); kept != m_measured.cend())
            return *kept;
    }
    Statement query(m_db, "SELECT file, imported, points FROM measurements "
                          "WHERE antenna = ? AND current = ?");
    query.bind(1, antenna).bind(2, qint64(previous ? 0 : 1));
    std::optional<AntennaMeasurement> m;
    const int step = query.step();
    if (step == SQLITE_ROW) {
        m.emplace();
        m->file = query.text(0);
        m->imported = query.integer(1);
        m->points = unpacked(query.blob(2));
    }
    // A failed read is not remembered as none.
    if (!previous && (step == SQLITE_ROW || step == SQLITE_DONE))
        m_measured.insert(antenna, m);
    return m;
}

bool TuneStore::undoMeasurement(int antenna)
{
    m_measured.remove(antenna);
    return transaction([&] {
        // The previous one comes back; without one the antenna has none again.
        Statement drop(m_db, "DELETE FROM measurements WHERE antenna = ? AND current = 1");
        drop.bind(1, antenna);
        Statement back(m_db, "UPDATE measurements SET current = 1 WHERE antenna = ?");
        back.bind(1, antenna);
        return drop.step() == SQLITE_DONE && sqlite3_changes(m_db) > 0 &&
               back.step() == SQLITE_DONE;
    });
}

bool TuneStore::putComputed(int antenna, const QList<Placed> &tunes)
{
    return transaction([&] {
        // What was computed before goes, unless the operator pinned it.
        Statement clear(m_db, "DELETE FROM tunes WHERE antenna = ? AND source = 'computed' AND "
                              "pinned = 0");
        clear.bind(1, antenna);
        if (clear.step() != SQLITE_DONE)
            return false;
        for (const Placed &p : tunes) {
            // A tune the radio measured, or a pinned one, stays: a prediction never replaces it.
            Statement taken(m_db, "SELECT count(*) FROM tunes WHERE antenna = ? AND hz >= ? AND "
                                  "hz < ?");
            taken.bind(1, antenna).bind(2, p.low).bind(3, p.high);
            if (taken.step() != SQLITE_ROW)
                return false;
            if (taken.integer(0) > 0)
                continue;
            StoredTune t = p.tune;
            t.antenna = antenna;
            t.source = StoredTune::Source::Computed;
            t.pinned = false;
            if (!putAll({{t, p.low, p.high}}))
                return false;
        }
        return true;
    });
}

bool TuneStore::addProbe(const StoredProbe &probe)
{
    if (!m_db || !ownFile())
        return false;
    Statement insert(m_db, "INSERT INTO probes(antenna, hz, c, l, side, swr) "
                           "VALUES(?, ?, ?, ?, ?, ?)");
    insert.bind(1, probe.antenna)
        .bind(2, probe.hz)
        .bind(3, probe.relays.codeC)
        .bind(4, probe.relays.codeL)
        .bind(5, probe.relays.side)
        .bind(6, std::optional<double>(probe.swr));
    Statement trim(m_db, "DELETE FROM probes WHERE id <= (SELECT max(id) FROM probes) - ?");
    trim.bind(1, qint64(MaxProbes));
    return insert.step() == SQLITE_DONE && trim.step() == SQLITE_DONE;
}

QList<StoredProbe> TuneStore::probes(int limit) const
{
    QList<StoredProbe> out;
    if (!m_db)
        return out;
    Statement query(m_db, "SELECT antenna, hz, c, l, side, swr FROM "
                          "(SELECT * FROM probes ORDER BY id DESC LIMIT ?) ORDER BY id");
    query.bind(1, qint64(limit));
    while (query.step() == SQLITE_ROW)
        out << StoredProbe{
            int(query.integer(0)),
            query.integer(1),
            {quint8(query.integer(2)), quint8(query.integer(3)), quint8(query.integer(4))},
            query.real(5).value_or(0)};
    return out;
}
