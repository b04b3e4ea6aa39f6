#include "station.h"

#include "backup/memorybackup.h"
#include "panel/panel.h"
#include "panel/relaypacer.h"
#include "rig/following.h"
#include "tune/tuning.h"
#include "tunes/carrierjob.h"
#include "tunes/frequencymemory.h"
#include "tunes/sweeper.h"
#include "tunes/trainer.h"

#include <QCoreApplication>
#include <QSettings>

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
}

Station::~Station()
{
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
