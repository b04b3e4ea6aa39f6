#include "frequencymemory.h"

#include "computedtunes.h"
#include "panel/panel.h"
#include "rig/following.h"
#include "rig/rigcontrol.h"
#include "tune/tunesession.h"
#include "tune/tuning.h"
#include "tunetable.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QTimer>

#include <algorithm>
#include <cmath>

FrequencyMemory::FrequencyMemory(Panel &panel, Following &following, Tuning *tuning,
                                 QObject *parent)
    : QObject(parent)
    , m_panel(panel)
    , m_following(following)
{
    connect(&m_panel, &Panel::slotStored, this,
            [this](Panel::Cause cause) { learnSaved(int(cause)); });
    if (tuning) {
        connect(tuning, &Tuning::begun, this,
                [this](TuneSession *session) { logProbes(*session); });
        connect(tuning, &Tuning::stored, this, [this](const RelaySetting &relays, double swr) {
            const std::optional<qint64> hz = m_panel.state().radio.hz;
            if (hz)
                keep(m_panel.state().selection.antenna, *hz, relays, swr,
                     StoredTune::Source::Search, false);
        });
    }
    m_following.setLookup(this);
    // A computed tune is a prediction: the first time the operator's carrier goes through it,
    // the radio's SWR is asked once, and a poor one is said with the search offered.
    connect(&m_panel, &Panel::changed, this, [this] {
        const Panel::State state = m_panel.state();
        const bool keyed = state.radio.transmitting.value_or(false);
        const bool keyedNow = keyed && !m_wasKeyed;
        m_wasKeyed = keyed;
        if (!keyedNow || !state.memory || !m_following.rig().reportsSwr())
            return;
        for (const StoredTune &t : ofBand(state.selection.antenna, state.selection.band)) {
            if (t.hz >= state.memory->low && t.hz < state.memory->high &&
                t.source == StoredTune::Source::Computed && t.relays == state.relays &&
                !m_checked.contains(t.hz)) {
                m_checked.insert(t.hz);
                RigControl &rig = m_following.rig();
                connect(
                    &rig, &RigControl::probed, this,
                    [this](RigControl::Ptt, std::optional<double> swr) {
                        if (swr && *swr > ComputedCheckSwr)
                            m_panel.report(
                                tr("КСВ %1 на расчётной настройке: подберите её (Ctrl+T)")
                                    .arg(QLocale().toString(*swr, 'f', 2)),
                                Panel::Tone::Warning);
                    },
                    Qt::SingleShotConnection);
                rig.probe();
            }
        }
    });
}

FrequencyMemory::~FrequencyMemory()
{
    // A table being read is read to its end: its thread may not outlive this.
    if (m_import)
        m_import->wait();
    m_following.setLookup(nullptr);
}

const BandPlan &FrequencyMemory::plan() const
{
    return m_following.plan();
}

void FrequencyMemory::following(bool on)
{
    if (on)
        store();
    else
        m_failed = false;
}

std::optional<LNetwork::Impedance> FrequencyMemory::measuredLoad(int antenna, qint64 hz)
{
    TuneStore *tunes = store();
    const std::optional<AntennaMeasurement> measured =
        tunes ? tunes->measurement(antenna) : std::nullopt;
    return measured ? measured->at(hz) : std::nullopt;
}

TuneStore *FrequencyMemory::store()
{
    if (m_store && m_store->isOpen())
        return m_store.get();
    if (m_failed)
        return nullptr;
    m_store = std::make_unique<TuneStore>();
    QString setAside;
    QString error;
    // Said once the window can show it: this may run while it is being made.
    const auto tell = [this](const QString &text) {
        QTimer::singleShot(0, this, [this, text] { m_panel.report(text, Panel::Tone::Alert); });
    };
    // Beside conf.cfg, under the lock that keeps a second console from its folder.
    if (!m_store->open(QFileInfo(m_panel.settingsPath()).absolutePath(), &setAside, &error)) {
        m_failed = true;
        m_store.reset();
        tell(tr("Память частот недоступна, консоль работает без неё: %1").arg(error));
        return nullptr;
    }
    if (!setAside.isEmpty())
        tell(tr("Память частот: файл отложен как %1, начата новая").arg(setAside));
    return m_store.get();
}

std::optional<TuneLookup::Found> FrequencyMemory::find(int antenna, qint64 hz)
{
    const std::optional<BandPlan::Bin> bin = plan().binOf(hz);
    TuneStore *tunes = store();
    if (!bin || !tunes)
        return std::nullopt;
    const qint64 width = bin->high - bin->low;
    const QList<StoredTune> near = tunes->between(antenna, bin->low - NeighbourBins * width,
                                                  bin->high + NeighbourBins * width);
    const BandPlan::Band &band = plan().band(bin->band);
    // Its own bin first; else the neighbour whose own frequency is nearest in Hz, the lower
    // SWR where two are as near.
    const StoredTune *best = nullptr;
    qint64 bestDistance = 0;
    for (const StoredTune &t : near) {
        if (t.hz < band.low || t.hz > band.high)
            continue; // another band's
        const qint64 distance = t.hz >= bin->low && t.hz < bin->high ? 0 : 1 + qAbs(t.hz - hz);
        const bool better =
            !best || distance < bestDistance ||
            (distance == bestDistance && t.swr.value_or(INFINITY) < best->swr.value_or(INFINITY));
        if (better) {
            best = &t;
            bestDistance = distance;
        }
    }
    if (!best)
        return std::nullopt;
    const std::optional<BandPlan::Bin> own = plan().binOf(best->hz);
    return Found{best->relays, own.value_or(*bin)};
}

bool FrequencyMemory::keep(int antenna, qint64 hz, const RelaySetting &relays,
                           std::optional<double> swr, StoredTune::Source source, bool overPinned,
                           QString *why)
{
    const std::optional<BandPlan::Bin> bin = plan().binOf(hz);
    TuneStore *tunes = store();
    if (!bin || !tunes) {
        if (why)
            *why = !bin ? tr("частота вне таблицы диапазонов") : tr("память частот недоступна");
        // A tune the operator asked to keep that has nowhere to go is a failure too.
        if (bin)
            ++m_failures;
        return false;
    }
    StoredTune tune;
    tune.antenna = antenna;
    tune.hz = bin->middle();
    tune.relays = relays;
    tune.swr = swr;
    tune.stored = QDateTime::currentMSecsSinceEpoch();
    tune.source = source;
    // The operator's own Save over a pinned entry keeps the pin: the bin stays theirs.
    const QList<StoredTune> there = tunes->between(antenna, bin->low, bin->high);
    tune.pinned = overPinned && std::any_of(there.begin(), there.end(),
                                            [](const StoredTune &t) { return t.pinned; });
    const TuneStore::Put put = tunes->put(tune, bin->low, bin->high, overPinned);
    wrote(put != TuneStore::Put::Failed);
    switch (put) {
    case TuneStore::Put::Stored:
        emit changed();
        return true;
    case TuneStore::Put::KeptPinned:
        if (why)
            *why = tr("в этой ячейке закреплённая настройка");
        return false;
    case TuneStore::Put::Failed:
        break;
    }
    if (why)
        *why = tunes->error();
    return false;
}

bool FrequencyMemory::wrote(bool ok)
{
    if (!m_store)
        return ok;
    if (const QString notice = m_store->takeNotice(); !notice.isEmpty())
        m_panel.report(tr("Память частот: %1").arg(notice), Panel::Tone::Alert);
    if (!ok) {
        ++m_failures;
        m_panel.report(tr("Память частот: не записано: %1").arg(m_store->error()),
                       Panel::Tone::Alert);
    }
    return ok;
}

void FrequencyMemory::learnSaved(int cause)
{
    // The search's result comes with its SWR through its own signal.
    if (Panel::Cause(cause) == Panel::Cause::Search || !m_following.isOn())
        return;
    const Panel::State state = m_panel.state();
    if (!state.radio.hz)
        return;
    keep(state.selection.antenna, *state.radio.hz, state.relays, std::nullopt,
         StoredTune::Source::Save, Panel::Cause(cause) == Panel::Cause::Operator);
}

bool FrequencyMemory::forget(int antenna, qint64 hz)
{
    const std::optional<BandPlan::Bin> bin = plan().binOf(hz);
    TuneStore *tunes = store();
    if (!bin || !tunes || !tunes->forget(antenna, bin->low, bin->high))
        return false;
    emit changed();
    return true;
}

bool FrequencyMemory::pin(int antenna, qint64 hz, bool pinned)
{
    const std::optional<BandPlan::Bin> bin = plan().binOf(hz);
    TuneStore *tunes = store();
    if (!bin || !tunes || !tunes->pin(antenna, bin->low, bin->high, pinned))
        return false;
    emit changed();
    return true;
}

QByteArray FrequencyMemory::table()
{
    QList<StoredTune> all;
    if (TuneStore *tunes = store()) {
        for (int antenna = 0; antenna < Slots::Antennas; ++antenna)
            all += tunes->between(antenna, BandPlan::MinHz, BandPlan::MaxHz + 1);
    }
    return TuneTable::write(all);
}

void FrequencyMemory::importFile(const QString &path, Imported done)
{
    if (m_import)
        return done(tr("импорт уже идёт"), 0);
    struct Parsed
    {
        std::optional<QList<TuneStore::Placed>> rows;
        QString error;
    };
    auto parsed = std::make_shared<Parsed>();
    const BandPlan plan = m_following.plan();
    // Reading and checking a table of up to 16 MiB takes a while: not on the window's thread.
    QThread *worker = QThread::create([path, plan, parsed] {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly)) {
            parsed->error = file.errorString();
            return;
        }
        if (file.size() > MaxImportBytes) {
            parsed->error = tr("файл больше 16 МиБ");
            return;
        }
        parsed->rows = TuneTable::read(file.readAll(), plan, &parsed->error);
    });
    m_import = worker;
    worker->setParent(this);
    connect(worker, &QThread::finished, this, [this, worker, parsed, done] {
        worker->deleteLater();
        m_import = nullptr;
        if (!parsed->rows)
            return done(parsed->error, 0);
        // The database is the window thread's: the rows are stored here, all or none.
        TuneStore *tunes = store();
        if (!tunes)
            return done(tr("память частот недоступна"), 0);
        if (!wrote(tunes->putAll(*parsed->rows)))
            return done(tunes->error(), 0);
        emit changed();
        done({}, int(parsed->rows->size()));
    });
    worker->start();
}

bool FrequencyMemory::importTable(const QByteArray &csv, QString *error, int *count)
{
    const std::optional<QList<TuneStore::Placed>> rows = TuneTable::read(csv, plan(), error);
    if (!rows)
        return false;
    TuneStore *tunes = store();
    if (!tunes) {
        *error = tr("память частот недоступна");
        return false;
    }
    if (!wrote(tunes->putAll(*rows))) {
        *error = tunes->error();
        return false;
    }
    if (count)
        *count = int(rows->size());
    emit changed();
    return true;
}

QList<StoredTune> FrequencyMemory::ofBand(int antenna, int band)
{
    TuneStore *tunes = store();
    if (!tunes || band < 0 || band >= BandPlan::Bands)
        return {};
    const BandPlan::Band &b = plan().band(band);
    return tunes->between(antenna, b.low, b.high + 1);
}

void FrequencyMemory::logProbes(TuneSession &session)
{
    connect(&session, &TuneSession::read, this,
            [this](double hz, const LNetwork::Setting &setting, double swr) {
                logProbe(m_panel.state().selection.antenna, std::llround(hz), setting, swr);
            });
}

void FrequencyMemory::logProbe(int antenna, qint64 hz, const RelaySetting &relays, double swr)
{
    if (TuneStore *tunes = store())
        wrote(tunes->addProbe({antenna, hz, relays, swr}));
}

void FrequencyMemory::importMeasurement(int antenna, const QString &path,
                                        const LNetwork::Parts &parts, Computed done)
{
    compute(antenna, parts, done, [path](QString *error) {
        std::optional<AntennaMeasurement> read = AntennaMeasurement::readFile(path, error);
        if (read)
            read->imported = QDateTime::currentMSecsSinceEpoch();
        return read;
    });
}

void FrequencyMemory::undoMeasurement(int antenna, const LNetwork::Parts &parts, Computed done)
{
    TuneStore *tunes = store();
    if (!tunes)
        return done(tr("память частот недоступна"), {});
    if (!tunes->undoMeasurement(antenna))
        return done(tr("отменять нечего"), {});
    recompute(antenna, parts, std::move(done));
}

void FrequencyMemory::recompute(int antenna, const LNetwork::Parts &parts, Computed done)
{
    TuneStore *tunes = store();
    std::optional<AntennaMeasurement> kept = tunes ? tunes->measurement(antenna) : std::nullopt;
    if (!kept) {
        // Without a measurement nothing is computed: what was computed before goes.
        if (tunes && wrote(tunes->putComputed(antenna, {})))
            emit changed();
        return done({}, {});
    }
    compute(
        antenna, parts, done, [kept](QString *) { return kept; }, false);
}

void FrequencyMemory::compute(int antenna, const LNetwork::Parts &parts, Computed done,
                              std::function<std::optional<AntennaMeasurement>(QString *)> read,
                              bool keepMeasurement)
{
    if (m_import)
        return done(tr("импорт уже идёт"), {});
    struct Result
    {
        std::optional<AntennaMeasurement> measurement;
        QList<ComputedTunes::Band> bands;
        QString error;
    };
    auto result = std::make_shared<Result>();
    const BandPlan plan = m_following.plan();
    // Reading a file of up to 16 MiB and every bin's exhaustive search take a while.
    QThread *worker = QThread::create([read, plan, parts, result] {
        result->measurement = read(&result->error);
        if (result->measurement && parts.capacitancePf(255) > 0 && parts.inductanceNh(255) > 0)
            result->bands = ComputedTunes::compute(*result->measurement, plan, parts);
    });
    m_import = worker;
    worker->setParent(this);
    connect(worker, &QThread::finished, this,
            [this, worker, result, done, antenna, keepMeasurement] {
                worker->deleteLater();
                m_import = nullptr;
                if (!result->measurement)
                    return done(result->error, {});
                TuneStore *tunes = store();
                if (!tunes)
                    return done(tr("память частот недоступна"), {});
                if (keepMeasurement && !wrote(tunes->putMeasurement(antenna, *result->measurement)))
                    return done(tunes->error(), {});
                if (!wrote(tunes->putComputed(
                        antenna,
                        ComputedTunes::placed(result->bands, QDateTime::currentMSecsSinceEpoch()))))
                    return done(tunes->error(), {});
                emit changed();
                QStringList lines;
                for (const ComputedTunes::Band &band : std::as_const(result->bands))
                    lines << ComputedTunes::summary(band);
                done({}, lines);
            });
    worker->start();
}
