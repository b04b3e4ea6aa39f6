#pragma once

#include "tune/partsfit.h"

#include <QObject>
#include <QPointer>
#include <QString>
#include <QThread>

#include <functional>
#include <memory>

class CarrierJob;
class Following;
class FrequencyMemory;
class MemoryBackup;
class Panel;
class QSettings;
class RelayPacer;
class Sweeper;
class Trainer;
class Tuning;

// What the station can do beyond the panel, in one object and without a widget: following the
// radio, the matching search, the frequency memory, the one job that keys the carrier (training
// and the sweep run under it), the memories' backup and the pace of everything that moves the
// relays but the operator's hand. The window, the control port, the web page and the bus all
// reach it; it reaches the console only through the panel.
class Station : public QObject
{
    Q_OBJECT
public:
    struct Places
    {
        // conf.cfg's folder: the carrier's journal lives there, under its lock.
        QString journalFolder;
        // The carrier's guard; without one no job keys the radio.
        QString guardProgram;
    };

    // settings: the user's (band table, poll, carrier limits); may be none.
    Station(Panel &panel, QSettings *settings, const Places &places, QObject *parent = nullptr);
    ~Station() override;

    Panel &panel() const { return m_panel; }
    RelayPacer &pacer() const { return *m_pacer; }
    Following &following() const { return *m_following; }
    Tuning &tuning() const { return *m_tuning; }
    FrequencyMemory &memory() const { return *m_memory; }
    CarrierJob &carrierJob() const { return *m_job; }
    Trainer &trainer() const { return *m_trainer; }
    Sweeper &sweeper() const { return *m_sweeper; }
    MemoryBackup &backup() const { return *m_backup; }

    // The tuner's parts as the console models them (the user's settings, else nominal).
    LNetwork::Parts parts() const;
    // New parts kept, the ones before kept for an undo; every measured antenna's tunes are
    // computed again.
    void setParts(const LNetwork::Parts &parts);
    // The parts before the last change come back; false when there were none.
    bool undoParts();
    // The parts fitted to the readings kept (the latest, against each antenna's measurement
    // where there is one), off the window's thread; nothing is changed. done(result) comes on
    // the window's thread unless context has gone. One fit at a time: asked meanwhile, done
    // has the refusal at once.
    void fitParts(QObject *context, std::function<void(const PartsFit::Result &)> done);
    // Every measured antenna's tunes computed again through the parts in use.
    void recomputeAll();

    // Follows source (FollowSource's text), else the source kept in the settings.
    void follow(const QString &source);
    // The console ends: a job that keys the radio is ended first (unkeyed, the radio put
    // back), then then runs.
    void endJobsThen(std::function<void()> then);

private:
    void recomputeFrom(int antenna);
    // What a fit takes: the latest readings, each with its antenna's measured load there.
    QList<PartsFit::Reading> fitReadings() const;

    Panel &m_panel;
    QSettings *m_settings;
    std::unique_ptr<RelayPacer> m_pacer;
    std::unique_ptr<Following> m_following;
    std::unique_ptr<Tuning> m_tuning;
    std::unique_ptr<FrequencyMemory> m_memory;
    // Outlives training and the sweep, which key the carrier under it.
    std::unique_ptr<CarrierJob> m_job;
    std::unique_ptr<Trainer> m_trainer;
    std::unique_ptr<Sweeper> m_sweeper;
    std::unique_ptr<MemoryBackup> m_backup;
    QPointer<QThread> m_fit;
};
