#include "station.h"

#include "backup/memorybackup.h"
#include "panel/panel.h"
#include "panel/relaypacer.h"
#include "rig/following.h"
#include "tune/tunerparts.h"
#include "tune/tuning.h"
#include "tunes/carrierjob.h"
#include "tunes/frequencymemory.h"
#include "tunes/sweeper.h"
#include "tunes/trainer.h"

#include <QCoreApplication>
#include <QSettings>
#include <QTimer>

#include <array>
#include <cmath>

Station::Station(Panel &panel, QSettings *settings, const Places &places, QObject *parent)
    : QObject(parent)
    , m_panel(panel)
    , m_settings(settings)
    , m_pacer(std::make_unique<RelayPacer>(panel, nullptr))
    , m_following(std::make_unique<Following>(panel, settings))
    , m_tuning(std::make_unique<Tuning>(panel, *m_following, settings))
    , m_memory(std::make_unique<FrequencyMemory>(panel, *m_following, m_tuning.get()))
    , m_job(std::make_unique<CarrierJob>(
          panel, *m_following, *m_tuning, settings,
          CarrierJob::Places{places.journalFolder, places.guardProgram}))
    , m_trainer(std::make_unique<Trainer>(panel, *m_tuning, *m_memory, *m_job, settings))
    , m_sweeper(std::make_unique<Sweeper>(panel, *m_memory, *m_job))
    , m_backup(std::make_unique<MemoryBackup>(panel))
{
    m_panel.usePacer(m_pacer.get());
    // One use of the carrier at a time: a search waits while a job keys it.
    m_tuning->setBusy([this] { return m_job->busy(); });
    m_tuning->setMeasured([this](double hz) {
        return m_memory->measuredLoad(m_panel.state().selection.antenna, std::llround(hz));
    });
}

Station::~Station()
{
    // A fit still running is let finish: its thread may not outlive the station.
    if (m_fit)
        m_fit->wait();
    // What goes last may still pace a recall (a job ending puts the relays as following
    // would): the pacer outlives them all.
    m_backup.reset();
    m_sweeper.reset();
    m_trainer.reset();
    m_job.reset();
    m_memory.reset();
    m_tuning.reset();
    m_following.reset();
    m_panel.usePacer(nullptr);
}

namespace {

constexpr const char *PreviousPrefix = "tuner/previous_";

} // namespace

LNetwork::Parts Station::parts() const
{
    const Panel::State state = m_panel.state();
    return TunerParts::load(m_settings, state.stepC, state.stepL);
}

void Station::setParts(const LNetwork::Parts &parts)
{
    if (!m_settings)
        return;
    const LNetwork::Parts before = this->parts();
    for (const char *key : {TunerParts::CapacitorsKey, TunerParts::CoilsKey, TunerParts::StrayKey,
                            TunerParts::CoilQKey}) {
        const QString name = QString::fromLatin1(key);
        m_settings->setValue(QString::fromLatin1(PreviousPrefix) +
                                 name.section(QLatin1Char('/'), 1),
                             m_settings->value(name, QStringLiteral("nominal")));
    }
    TunerParts::save(*m_settings, parts);
    if (!(before == parts))
        recomputeAll();
}

bool Station::undoParts()
{
    if (!m_settings)
        return false;
    bool any = false;
    for (const char *key : {TunerParts::CapacitorsKey, TunerParts::CoilsKey, TunerParts::StrayKey,
                            TunerParts::CoilQKey}) {
        const QString name = QString::fromLatin1(key);
        const QString previous =
            QString::fromLatin1(PreviousPrefix) + name.section(QLatin1Char('/'), 1);
        if (!m_settings->contains(previous))
            continue;
        any = true;
        const QVariant value = m_settings->value(previous);
        // "nominal": there was nothing kept, and the steps' parts were in use.
        if (value.toString() == QLatin1String("nominal"))
            m_settings->remove(name);
        else
            m_settings->setValue(name, value);
        m_settings->remove(previous);
    }
    if (any)
        recomputeAll();
    return any;
}

void Station::fitParts(QObject *context, std::function<void(const PartsFit::Result &)> done)
{
    if (m_fit) {
        PartsFit::Result busy;
        busy.error = tr("уточнение деталей уже идёт");
        return done(busy);
    }
    auto result = std::make_shared<PartsFit::Result>();
    m_fit = QThread::create([start = parts(), readings = fitReadings(), result] {
        *result = PartsFit::fit(start, readings);
    });
    m_fit->setParent(this);
    connect(m_fit, &QThread::finished, context, [result, done] { done(*result); });
    connect(m_fit, &QThread::finished, m_fit, &QObject::deleteLater);
    m_fit->start();
}

QList<PartsFit::Reading> Station::fitReadings() const
{
    TuneStore *store = m_memory->store();
    QList<PartsFit::Reading> readings;
    if (store) {
        std::array<std::optional<AntennaMeasurement>, Slots::Antennas> measured;
        for (int a = 0; a < Slots::Antennas; ++a)
            measured[size_t(a)] = store->measurement(a);
        for (const StoredProbe &p : store->probes(PartsFit::MaxReadings)) {
            PartsFit::Reading r{double(p.hz), p.relays, p.swr, std::nullopt};
            if (const auto &m = measured[size_t(std::clamp(p.antenna, 0, Slots::Antennas - 1))])
                r.load = m->at(p.hz);
            readings << r;
        }
    }
    return readings;
}

void Station::recomputeAll()
{
    recomputeFrom(0);
}

void Station::recomputeFrom(int antenna)
{
    if (antenna >= Slots::Antennas)
        return;
    // One antenna after another: the memory computes one at a time.
    m_memory->recompute(antenna, parts(), [this, antenna](const QString &, const QStringList &) {
        QTimer::singleShot(0, this, [this, antenna] { recomputeFrom(antenna + 1); });
    });
}

void Station::follow(const QString &source)
{
    QString address = source;
    if (address.isEmpty() && m_settings)
        address = m_settings->value(QString::fromLatin1(Following::AddressKey)).toString();
    m_following->follow(address);
}

void Station::endJobsThen(std::function<void()> then)
{
    m_job->finishThen(QCoreApplication::translate("ConsoleFeatures", "консоль закрывается"),
                      std::move(then));
}
