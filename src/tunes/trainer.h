#pragma once

#include "rig/bandplan.h"

#include <QElapsedTimer>
#include <QObject>

#include <memory>

class CarrierJob;
class FrequencyMemory;
class Panel;
class QSettings;
class TuneSession;
class Tuning;

// Trains a band unattended: for every bin of a range, the radio goes to the bin's middle,
// keys a low-power carrier, the matching search finds the match, the frequency memory keeps
// it with its SWR, and the carrier goes off; bins already known are skipped unless asked
// again. A point has TuneSession's time limit; three failures in a row end the training;
// Stop unkeys at once. The carrier is the job's: it puts the radio back at the end.
class Trainer : public QObject
{
    Q_OBJECT
public:
    static constexpr int FailuresInARow = 3;

    struct Progress
    {
        int done = 0;
        int total = 0;
        int stored = 0;
        int failed = 0;
        int skipped = 0;
        qint64 msLeft = 0; // at the pace so far
    };

    Trainer(Panel &panel, Tuning &tuning, FrequencyMemory &memory, CarrierJob &job,
            QSettings *settings, QObject *parent = nullptr);
    ~Trainer() override;

    // Why training cannot start now (no radio through rigctld, no SWR, a search under way…),
    // or empty.
    QString unavailable() const;
    // Trains the band's bins from–to (the whole band when both are 0). False with the reason
    // when it cannot start; what goes on is told by progress() and finished().
    bool start(int band, qint64 from, qint64 to, bool again, QString *why);
    void stop();
    bool running() const { return m_running; }
    const Progress &progress() const { return m_progress; }
    // The carrier's limit in watts, as the operator set it (tune/carrier_watts).
    double carrierWatts() const;
    // The search at the current point, while there is one.
    TuneSession *session() const { return m_session.get(); }

signals:
    void progressed(const Trainer::Progress &progress);
    // A point ended: its frequency, whether a match was stored, its SWR and probes.
    void point(qint64 hz, bool stored, double swr, int probes);
    // The training ended: a summary for the operator, and whether it ran to its end.
    void finished(const QString &summary, bool complete);

private:
    void next();
    void searched();
    void finish(const QString &why);

    Panel &m_panel;
    Tuning &m_tuning;
    FrequencyMemory &m_memory;
    CarrierJob &m_job;
    QSettings *m_settings;
    std::unique_ptr<TuneSession> m_session;
    QList<BandPlan::Bin> m_bins;
    int m_antenna = 0;
    int m_failuresInARow = 0;
    bool m_running = false;
    bool m_stopping = false;
    bool m_finishing = false;
    Progress m_progress;
    QElapsedTimer m_clock;
    QElapsedTimer m_pointClock;
};
