#pragma once

#include "model/relaysetting.h"
#include "tunestore.h"

#include <QElapsedTimer>
#include <QObject>

#include <functional>
#include <memory>

class CarrierJob;
class FrequencyMemory;
class Panel;

// Sweeps a band's SWR: at each step the relays are set (C and L at 0 for the bare antenna, the
// tune the console would recall there for the tuned band) while the radio is unkeyed, then the
// radio goes to the step's frequency, keys the low-power carrier, waits the dwell, reads the
// SWR and unkeys. Every point is kept in the frequency memory's database as it is read. The
// carrier is the job's, which puts the radio back at the end; the relays go back too. Stop
// unkeys at once.
class Sweeper : public QObject
{
    Q_OBJECT
public:
    static constexpr int MinDwellMs = 100;
    static constexpr int MaxDwellMs = 10000;
    static constexpr int DefaultDwellMs = 300;
    static constexpr int MaxPoints = 2000;
    // A reading this high says only that the antenna is beyond the tuner here; so many such
    // steps in a row, or steps with no reading, end the sweep.
    static constexpr int HopelessSwr = 25;
    static constexpr int HopelessInARow = 3;

    enum class What { Bare, Tuned, Both };
    using Kind = StoredSweep::Kind;

    struct Request
    {
        int band = 0;
        qint64 from = 0; // Hz; both 0: the whole band
        qint64 to = 0;
        qint64 step = 0; // Hz; 0: the band's bin width
        int dwellMs = DefaultDwellMs;
        What what = What::Both;
        quint8 side = 1; // of the bare antenna's pass
    };
    struct Progress
    {
        int done = 0;
        int total = 0;
        qint64 msLeft = 0;
    };

    Sweeper(Panel &panel, FrequencyMemory &memory, CarrierJob &job, QObject *parent = nullptr);
    ~Sweeper() override;

    // Why a sweep cannot start now, or empty.
    QString unavailable() const;
    bool start(Request request, QString *why);
    void stop(const QString &reason = {});
    bool running() const { return m_running; }
    const Progress &progress() const { return m_progress; }
    // The sweeps of this run so far, with their points.
    const QList<StoredSweep> &current() const { return m_sweeps; }

    static QString whatName(What what); // "bare", "tuned", "both"
    static std::optional<What> whatNamed(const QString &name);

signals:
    void measured(Sweeper::Kind kind, const StoredSweep::Point &point);
    void progressed(const Sweeper::Progress &progress);
    // The run ended: its points, why it stopped (empty when it ran to its end), and what the
    // operator is told.
    void finished(int points, const QString &stopped, const QString &summary);

private:
    struct Step
    {
        int sweep = 0; // in m_sweeps
        qint64 hz = 0;
    };
    // Runs then after ms, unless Stop or the end comes first.
    void after(int ms, std::function<void()> then);
    void next();
    void measure(const Step &step);
    void read(const Step &step);
    void finish(const QString &why);
    RelaySetting relaysFor(const Step &step);

    Panel &m_panel;
    FrequencyMemory &m_memory;
    CarrierJob &m_job;
    QList<StoredSweep> m_sweeps;
    QList<Step> m_steps;
    Progress m_progress;
    bool m_moved = false;
    bool m_tuned = false; // the carrier's mode and power are on the radio
    bool m_askWatts = true;
    int m_hopelessInARow = 0;
    int m_dwellMs = DefaultDwellMs;
    bool m_running = false;
    bool m_stopping = false;
    bool m_finishing = false;
    QString m_stopReason;
    quint64 m_token = 0;
    bool m_waiting = false;
    QElapsedTimer m_clock;
    QElapsedTimer m_lastMove;
};
