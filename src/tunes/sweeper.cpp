#include "sweeper.h"

#include "carrierjob.h"
#include "frequencymemory.h"
#include "panel/panel.h"
#include "panel/relaypacer.h"
#include "rig/rigctldclient.h"

#include <QDateTime>
#include <QPointer>
#include <QTimer>

#include <algorithm>
#include <cmath>

Sweeper::Sweeper(Panel &panel, FrequencyMemory &memory, CarrierJob &job, QObject *parent)
    : QObject(parent)
    , m_panel(panel)
    , m_memory(memory)
    , m_job(job)
{}

// A sweep still under way when this goes is the job's to end: it unkeys and puts back.
Sweeper::~Sweeper() = default;

QString Sweeper::whatName(What what)
{
    switch (what) {
    case What::Bare:
        return QStringLiteral("bare");
    case What::Tuned:
        return QStringLiteral("tuned");
    case What::Both:
        break;
    }
    return QStringLiteral("both");
}

std::optional<Sweeper::What> Sweeper::whatNamed(const QString &name)
{
    for (What what : {What::Bare, What::Tuned, What::Both}) {
        if (name.compare(whatName(what), Qt::CaseInsensitive) == 0)
            return what;
    }
    return std::nullopt;
}

QString Sweeper::unavailable() const
{
    if (m_running)
        return tr("обзор КСВ уже идёт");
    if (const QString why = m_job.unavailable(); !why.isEmpty())
        return why;
    if (!m_memory.store())
        return tr("память частот недоступна");
    return {};
}

bool Sweeper::start(Request request, QString *why)
{
    if (const QString problem = unavailable(); !problem.isEmpty()) {
        *why = problem;
        return false;
    }
    const BandPlan &plan = m_memory.plan();
    if (const QString problem = plan.stretch(request.band, request.from, request.to);
        !problem.isEmpty()) {
        *why = problem;
        return false;
    }
    // A sweep is a curve: one point is none.
    if (request.from == request.to) {
        *why = tr("участок вне диапазона");
        return false;
    }
    if (request.step == 0)
        request.step = plan.binWidth(request.band);
    if (request.step < 100) {
        *why = tr("шаг меньше 100 Гц");
        return false;
    }
    // Counted before anything is made, so that no step, however large, overflows.
    const qint64 span = request.to - request.from;
    if (request.step > span) {
        *why = tr("шаг больше участка");
        return false;
    }
    if (request.dwellMs < MinDwellMs || request.dwellMs > MaxDwellMs) {
        *why = tr("выдержка должна быть от 100 мс до 10 с");
        return false;
    }
    // The last frequency is always swept, where the steps do not land on it.
    const qint64 perPass = span / request.step + 1 + (span % request.step != 0 ? 1 : 0);
    const int passes = request.what == What::Both ? 2 : 1;
    if (perPass * passes > MaxPoints) {
        *why = tr("точек больше %1: увеличьте шаг").arg(MaxPoints);
        return false;
    }

    const Panel::State state = m_panel.state();
    m_sweeps.clear();
    m_steps.clear();
    const qint64 started = QDateTime::currentMSecsSinceEpoch();
    for (Kind kind : {Kind::Bare, Kind::Tuned}) {
        if ((kind == Kind::Bare && request.what == What::Tuned) ||
            (kind == Kind::Tuned && request.what == What::Bare))
            continue;
        StoredSweep sweep;
        sweep.antenna = state.selection.antenna;
        sweep.band = request.band;
        sweep.kind = kind;
        sweep.started = started;
        sweep.step = request.step;
        sweep.dwellMs = request.dwellMs;
        sweep.side = kind == Kind::Bare ? request.side : 0;
        sweep.complete = false;
        m_sweeps << sweep;
        for (qint64 i = 0; i < perPass; ++i)
            m_steps << Step{int(m_sweeps.size() - 1),
                            std::min(request.from + i * request.step, request.to)};
    }
    m_progress = {0, int(m_steps.size()), 0};
    m_dwellMs = request.dwellMs;
    m_running = true;
    m_stopping = false;
    m_finishing = false;
    m_moved = false;
    m_tuned = false;
    m_askWatts = true;
    m_hopelessInARow = 0;
    m_stopReason.clear();
    m_clock.start();
    QPointer<Sweeper> self(this);
    const auto stop = [self](const QString &reason) {
        if (self)
            self->stop(reason);
    };
    const auto ready = [self](const QString &problem) {
        if (!self)
            return;
        if (!problem.isEmpty())
            return self->finish(problem);
        self->next();
    };
    if (!m_job.begin(tr("обзор КСВ"), stop, ready, why)) {
        m_running = false;
        return false;
    }
    emit progressed(m_progress);
    return true;
}

RelaySetting Sweeper::relaysFor(const Step &step)
{
    const StoredSweep &sweep = m_sweeps.at(step.sweep);
    if (sweep.kind == Kind::Bare)
        return {0, 0, quint8(sweep.side)};
    // What the console would recall there: the frequency memory, else the slot.
    if (const auto found = m_memory.find(sweep.antenna, step.hz))
        return found->relays;
    const std::optional<BandPlan::Position> at = m_memory.plan().locate(step.hz);
    return m_panel.stored({sweep.antenna, at ? at->band : sweep.band, at ? at->subBand : 0});
}

void Sweeper::after(int ms, std::function<void()> then)
{
    // A wait that Stop cuts short is forgotten: its token is no longer the last.
    const quint64 token = ++m_token;
    m_waiting = true;
    QTimer::singleShot(ms, this, [this, token, then = std::move(then)] {
        if (token != m_token)
            return;
        m_waiting = false;
        then();
    });
}

void Sweeper::next()
{
    if (m_stopping)
        return finish(m_stopReason);
    if (m_progress.done >= m_progress.total)
        return finish({});
    const Step step = m_steps.at(m_progress.done);
    const RelaySetting relays = relaysFor(step);
    if (relays == m_panel.state().relays && m_moved)
        return measure(step);
    // The relays move only while the carrier is off, and no faster than anything else that
    // moves them.
    const qint64 wait =
        m_lastMove.isValid() ? RelayPacer::MinGapMs - m_lastMove.elapsed() : qint64(0);
    if (wait > 0)
        return after(int(wait), [this] { next(); });
    m_panel.setRelays(relays, !m_moved);
    m_moved = true;
    m_lastMove.start();
    measure(step);
}

void Sweeper::measure(const Step &step)
{
    QPointer<Sweeper> self(this);
    const auto keyed = [self, step](const QString &problem) {
        if (!self)
            return;
        if (!problem.isEmpty())
            return self->finish(problem);
        if (self->m_stopping)
            return self->next();
        self->after(self->m_dwellMs, [self, step] { self->read(step); });
    };
    const auto tuned = [self, keyed](const QString &problem) {
        if (!self)
            return;
        if (!problem.isEmpty())
            return self->finish(problem);
        if (self->m_stopping)
            return self->next();
        self->m_tuned = true;
        self->m_job.keyDown(keyed);
    };
    if (m_tuned)
        m_job.moveTo(step.hz, tuned);
    else
        m_job.tuneTo(step.hz, tuned);
}

void Sweeper::read(const Step &step)
{
    QPointer<Sweeper> self(this);
    auto point = std::make_shared<StoredSweep::Point>();
    point->hz = step.hz;
    const auto unkeyed = [self, step, point](const QString &problem) {
        if (!self)
            return;
        if (!problem.isEmpty())
            return self->finish(problem);
        // A point with no reading is no point: the step is done all the same.
        const bool read = point->swr >= 1.0;
        StoredSweep &sweep = self->m_sweeps[step.sweep];
        if (read) {
            TuneStore *store = self->m_memory.store();
            if (store && sweep.id == 0)
                sweep.id = store->beginSweep(sweep).value_or(0);
            if (store)
                self->m_memory.wrote(sweep.id != 0 && store->addSweepPoint(sweep.id, *point));
            sweep.points << *point;
        }
        ++self->m_progress.done;
        self->m_progress.msLeft = self->m_clock.elapsed() / self->m_progress.done *
                                  (self->m_progress.total - self->m_progress.done);
        if (read)
            emit self->measured(sweep.kind, *point);
        emit self->progressed(self->m_progress);
        // Steps in a row with nothing read, or nothing but a hopeless reading: the carrier goes
        // into the antenna for nothing, and the sweep ends.
        self->m_hopelessInARow = read && point->swr < HopelessSwr ? 0 : self->m_hopelessInARow + 1;
        if (self->m_hopelessInARow >= HopelessInARow)
            return self->finish(
                read ? tr("КСВ %1 и выше на %2 шагах подряд: здесь антенну не "
                          "согласовать")
                           .arg(HopelessSwr)
                           .arg(HopelessInARow)
                     : tr("трансивер не сообщил КСВ на %1 шагах подряд").arg(HopelessInARow));
        self->next();
    };
    const auto unkey = [self, unkeyed] {
        if (self)
            self->m_job.keyUp(unkeyed);
    };
    m_job.ask(
        "\\get_level SWR",
        [self, point, unkey, step](const QStringList &values) {
            if (!self)
                return;
            bool ok = false;
            const double swr = values.value(0).toDouble(&ok);
            // Below 1 is no reading: a radio without a bridge answers 0.
            if (!ok || !std::isfinite(swr) || swr < 1.0)
                return unkey();
            point->swr = swr;
            const StoredSweep &sweep = self->m_sweeps[step.sweep];
            // A tuned step is one more reading for the parts' fit.
            if (sweep.kind == Kind::Tuned)
                self->m_memory.logProbe(sweep.antenna, step.hz, self->m_panel.state().relays, swr);
            if (!self->m_askWatts || self->m_stopping)
                return unkey();
            self->m_job.ask(
                "\\get_level RFPOWER_METER_WATTS",
                [self, point, unkey](const QStringList &values) {
                    if (!self)
                        return;
                    bool ok = false;
                    const double watts = values.value(0).toDouble(&ok);
                    if (ok && std::isfinite(watts) && watts >= 0)
                        point->watts = watts;
                    else
                        self->m_askWatts = false;
                    unkey();
                },
                [self, unkey](const QString &) {
                    // This radio has no such meter: the SWR alone is the reading.
                    if (self)
                        self->m_askWatts = false;
                    unkey();
                });
        },
        // Unread: a radio that stopped answering is the job's to unkey.
        [unkey](const QString &) { unkey(); });
}

void Sweeper::stop(const QString &reason)
{
    if (!m_running || m_stopping || m_finishing)
        return;
    m_stopping = true;
    m_stopReason = reason.isEmpty() ? tr("остановлено") : reason;
    // The carrier goes off at once, whatever waits.
    m_job.unkeyNow();
    if (m_waiting) {
        ++m_token;
        m_waiting = false;
        QMetaObject::invokeMethod(this, &Sweeper::next, Qt::QueuedConnection);
    }
}

void Sweeper::finish(const QString &why)
{
    if (!m_running || m_finishing)
        return;
    m_finishing = true;
    ++m_token;
    m_waiting = false;
    int points = 0;
    for (const StoredSweep &sweep : std::as_const(m_sweeps))
        points += int(sweep.points.size());
    // A sweep that ran to its end is the one "the last sweep" means.
    if (why.isEmpty()) {
        if (TuneStore *store = m_memory.store()) {
            for (StoredSweep &sweep : m_sweeps) {
                if (sweep.id != 0)
                    m_memory.wrote(store->completeSweep(sweep.id));
                sweep.complete = true;
            }
        }
    }
    QString summary = tr("Обзор КСВ: точек %1 из %2").arg(points).arg(m_progress.total);
    if (!why.isEmpty())
        summary += tr("; прервано: %1").arg(why);
    m_job.end([self = QPointer<Sweeper>(this), summary, why, points](const QString &problem) {
        if (!self)
            return;
        self->m_running = false;
        const QString said =
            problem.isEmpty() ? summary : summary + tr("; трансивер не возвращён: %1").arg(problem);
        self->m_panel.say(said, why.isEmpty() && problem.isEmpty() ? Panel::Tone::Info
                                                                   : Panel::Tone::Warning);
        emit self->finished(points, why, said);
    });
}
