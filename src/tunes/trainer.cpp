#include "trainer.h"

#include "carrierjob.h"
#include "frequencymemory.h"
#include "panel/panel.h"
#include "rig/rigctldclient.h"
#include "tune/tuning.h"

#include <QPointer>
#include <QSettings>

#include <algorithm>

Trainer::Trainer(Panel &panel, Tuning &tuning, FrequencyMemory &memory, CarrierJob &job,
                 QSettings *settings, QObject *parent)
    : QObject(parent)
    , m_panel(panel)
    , m_tuning(tuning)
    , m_memory(memory)
    , m_job(job)
    , m_settings(settings)
{}

// A training still under way when this goes is the job's to end: it unkeys and puts back.
Trainer::~Trainer() = default;

QString Trainer::unavailable() const
{
    if (m_running)
        return tr("обучение уже идёт");
    if (const QString why = m_job.unavailable(); !why.isEmpty())
        return why;
    if (!m_tuning.stepsKnown())
        return Tuning::stepsMissing();
    if (!m_memory.store())
        return tr("память частот недоступна");
    return {};
}

bool Trainer::start(int band, qint64 from, qint64 to, bool again, QString *why)
{
    if (const QString problem = unavailable(); !problem.isEmpty()) {
        *why = problem;
        return false;
    }
    const BandPlan &plan = m_memory.plan();
    if (const QString problem = plan.stretch(band, from, to); !problem.isEmpty()) {
        *why = problem;
        return false;
    }
    m_antenna = m_panel.state().selection.antenna;
    m_bins.clear();
    m_progress = {};
    for (qint64 hz = from; hz <= to;) {
        const std::optional<BandPlan::Bin> bin = plan.binOf(hz);
        if (!bin || bin->band != band)
            break;
        // A pinned bin is the operator's: nothing keys the radio for it, asked again or not.
        const QList<StoredTune> there = m_memory.store()->between(m_antenna, bin->low, bin->high);
        const bool pinned =
            std::any_of(there.begin(), there.end(), [](const StoredTune &t) { return t.pinned; });
        if (!pinned && (again || there.isEmpty()))
            m_bins << *bin;
        else
            ++m_progress.skipped;
        hz = bin->high;
    }
    m_progress.total = int(m_bins.size());
    m_running = true;
    m_stopping = false;
    m_finishing = false;
    m_failuresInARow = 0;
    m_clock.start();
    QPointer<Trainer> self(this);
    const auto stop = [self](const QString &) {
        if (self)
            self->stop();
    };
    const auto ready = [self](const QString &problem) {
        if (!self)
            return;
        if (!problem.isEmpty())
            return self->finish(problem);
        self->next();
    };
    if (!m_job.begin(tr("обучение"), stop, ready, why)) {
        m_running = false;
        return false;
    }
    emit progressed(m_progress);
    return true;
}

void Trainer::next()
{
    if (m_stopping)
        return finish(tr("остановлено"));
    if (m_failuresInARow >= FailuresInARow)
        return finish(tr("%n неудач подряд", nullptr, m_failuresInARow));
    if (m_progress.done >= m_progress.total)
        return finish({});
    const BandPlan::Bin bin = m_bins.at(m_progress.done);
    m_pointClock.start();
    // The carrier's mode and power are set and read back once; after that only the frequency
    // moves.
    const auto tuned = [self = QPointer<Trainer>(this), bin](const QString &problem) {
        if (!self)
            return;
        if (!problem.isEmpty())
            return self->finish(problem);
        if (self->m_stopping)
            return self->finish(tr("остановлено"));
        MatchSearch::Config config = self->m_tuning.searchConfig(double(bin.middle()));
        // A tune computed from the antenna's measurement is where the search begins.
        for (const StoredTune &t :
             self->m_memory.ofBand(self->m_panel.state().selection.antenna, bin.band)) {
            if (t.hz >= bin.low && t.hz < bin.high && t.source == StoredTune::Source::Computed)
                config.start = t.relays;
        }
        const int settle = self->m_tuning.settleMs();
        Panel &panel = self->m_panel;
        self->m_session = std::make_unique<TuneSession>(
            self->m_job.rig(), config,
            [&panel](const RelaySetting &setting) { panel.setRelays(setting, false); }, settle);
        connect(self->m_session.get(), &TuneSession::ended, self, &Trainer::searched,
                Qt::QueuedConnection);
        self->m_memory.logProbes(*self->m_session);
        self->m_session->start();
        self->m_job.keyDown([self](const QString &problem) {
            if (self && !problem.isEmpty() && self->m_session)
                self->m_session->cancel();
        });
    };
    if (m_progress.done == 0)
        m_job.tuneTo(bin.middle(), tuned);
    else
        m_job.moveTo(bin.middle(), tuned);
}

void Trainer::searched()
{
    const std::unique_ptr<TuneSession> session = std::move(m_session);
    if (!session)
        return;
    const BandPlan::Bin bin = m_bins.at(m_progress.done);
    const bool found = session->state() == TuneSession::State::Found && session->best();
    // The carrier goes off before anything else.
    m_job.unkeyNow();
    bool stored = false;
    if (found)
        stored = m_memory.keep(m_antenna, bin.middle(), *session->best(), session->bestSwr(),
                               StoredTune::Source::Training, false);
    ++m_progress.done;
    stored ? ++m_progress.stored : ++m_progress.failed;
    m_failuresInARow = stored ? 0 : m_failuresInARow + 1;
    const qint64 perPoint = m_clock.elapsed() / std::max(1, m_progress.done);
    m_progress.msLeft = perPoint * (m_progress.total - m_progress.done);
    emit point(bin.middle(), stored, found ? session->bestSwr() : 0, session->probes());
    emit progressed(m_progress);
    m_job.keyUp([self = QPointer<Trainer>(this)](const QString &problem) {
        if (!self)
            return;
        if (!problem.isEmpty())
            return self->finish(problem);
        self->next();
    });
}

double Trainer::carrierWatts() const
{
    return CarrierJob::wattsIn(m_settings);
}

void Trainer::stop()
{
    if (!m_running || m_stopping)
        return;
    m_stopping = true;
    // The carrier goes off at once; the search in progress ends as cancelled.
    m_job.unkeyNow();
    if (m_session)
        m_session->cancel();
}

void Trainer::finish(const QString &why)
{
    if (!m_running || m_finishing)
        return;
    m_finishing = true;
    m_session.reset();
    const bool complete = why.isEmpty();
    const Progress p = m_progress;
    const QString summary = tr("Обучение: %1 из %2 ячеек сохранено, %3 пропущено")
                                .arg(p.stored)
                                .arg(p.total)
                                .arg(p.skipped) +
                            (complete ? QString() : tr("; прервано: %1").arg(why));
    m_job.end([self = QPointer<Trainer>(this), summary, complete](const QString &problem) {
        if (!self)
            return;
        self->m_running = false;
        const QString said =
            problem.isEmpty() ? summary : summary + tr("; трансивер не возвращён: %1").arg(problem);
        self->m_panel.say(said,
                          complete && problem.isEmpty() ? Panel::Tone::Info : Panel::Tone::Warning);
        emit self->finished(said, complete);
    });
}
