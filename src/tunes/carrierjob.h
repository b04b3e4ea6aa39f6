#pragma once

#include "rig/carrierjournal.h"

#include <QObject>
#include <QPointer>
#include <QString>
#include <QTimer>

#include <functional>
#include <memory>
#include <optional>

class CarrierGuard;
class Following;
class Panel;
class QSettings;
class RigRescue;
class RigctldClient;
class Tuning;

// The one job that keys the radio on the console's own account (training, a sweep), and a
// transaction around the carrier: it starts only while the radio says it is not transmitting,
// keeps the radio's frequency, mode and power, writes the journal and starts the guard before
// the first key-down, sets and reads back the power so that the carrier never exceeds the
// operator's limit, and unkeys and puts the radio back on every path: done, Stop, an error, a
// radio that stops answering (a rescue on connections of its own, until it answers), the
// console ending (in order, or from its destructor), and the console's death (the guard; the
// journal at the next start). One job at a time; the search, which waits for the operator's
// own carrier, shares that rule.
class CarrierJob : public QObject
{
    Q_OBJECT
public:
    static constexpr double DefaultWatts = 10;
    static constexpr const char *WattsKey = "tune/carrier_watts";
    // A mode whose key-down is a steady carrier on every HF radio.
    static constexpr const char *DefaultMode = "AM";
    static constexpr const char *ModeKey = "tune/carrier_mode";
    // What each command to the radio may take; past it the radio counts as not answering.
    // An orderly end waits this long for T 0's answer.
    static constexpr int StepMs = 2000;
    // How long the console's end waits for a job to unkey and put the radio back.
    static constexpr int EndingMs = 8000;

    // Empty when all went well, else why not.
    using Done = std::function<void(const QString &problem)>;

    struct Places
    {
        // Holds the journal: conf.cfg's folder, under its lock.
        QString journalFolder;
        // The guard's program; a job does not start without one.
        QString guardProgram;
    };

    CarrierJob(Panel &panel, Following &following, Tuning &tuning, QSettings *settings,
               const Places &places, QObject *parent = nullptr);
    // Unkeys and puts back, waiting for it, whatever runs; what cannot be done by then is
    // left to the guard.
    ~CarrierJob() override;

    // The operator's limit as kept in the settings.
    static double wattsIn(QSettings *settings);
    double limitWatts() const { return m_watts; }

    // Why a job that keys the carrier cannot start now, or empty.
    QString unavailable() const;
    // The job under way ("обучение"), or empty: what a search waits for.
    QString busy() const;
    bool running() const { return m_active; }
    // A radio left keyed by a console before this one is being unkeyed and put back.
    bool recovering() const;

    // Begins a job named name. ready(problem) once the radio's state is kept, the journal
    // written and the guard watching; with a problem nothing was keyed and the job is over.
    // stop: how the job's owner is asked to stop (the console ends). False with the reason
    // when it cannot start at all.
    bool begin(const QString &name, std::function<void(const QString &reason)> stop, Done ready,
               QString *why);
    // The frequency, the carrier's mode and its power.
    void tuneTo(qint64 hz, Done done);
    // Only the frequency, once tuneTo has set the rest.
    void moveTo(qint64 hz, Done done);
    // Keys, only while the radio says it is not transmitting (never over the operator), and
    // only once the power it holds is read back within the limit.
    void keyDown(Done done);
    void keyUp(Done done);
    // Unkeys now, ahead of anything that waits.
    void unkeyNow();
    // Ends the job: unkeyed (its answer awaited StepMs), the radio put back, the journal
    // cleared, the guard released, following free again.
    void end(Done done);
    // Asks the job under way to stop and waits for its end (EndingMs at most); then runs
    // then. At once when none runs.
    void finishThen(const QString &reason, std::function<void()> then);

    // One command with the job's deadline: its values on RPRT 0, else why not; a radio that
    // does not answer in time is unkeyed on connections of the job's own.
    void ask(const QByteArray &line, std::function<void(const QStringList &)> then,
             std::function<void(const QString &)> failed, bool urgent = false);
    RigctldClient &rig() const;
    // Where the last job put the radio back, when it did.
    std::optional<qint64> putBackHz() const { return m_putBackHz; }

signals:
    // A job ended, whatever way.
    void ended();

private:
    void runAll(QList<QByteArray> commands, Done done);
    void prepare(Done done);
    void readBackPower(qint64 hz, Done done);
    void radioLost(const QString &why);
    void putBack();
    void finish(const QString &problem);
    void releaseGuard();
    void recoverJournal();
    // Said in the strip, the line log and !log.
    void report(const QString &text, bool warning);

    Panel &m_panel;
    Following &m_following;
    Tuning &m_tuning;
    Places m_places;
    double m_watts;
    QByteArray m_mode;

    bool m_active = false;
    QString m_name;
    std::function<void(const QString &)> m_stop;
    std::optional<RadioSnapshot> m_saved;
    HostPort m_rigAddress;
    QString m_journalJob;
    QByteArray m_power; // the carrier's RFPOWER
    qint64 m_hz = 0;    // where the radio was last sent
    // T 1 was sent and no T 0 answered since: the carrier may be on.
    bool m_keyed = false;
    bool m_ending = false;
    Done m_endDone;
    QString m_problem;
    std::unique_ptr<CarrierGuard> m_guard;
    // The radio stopped answering: unkeyed on connections of its own.
    std::unique_ptr<RigRescue> m_rescue;
    // A journal left by an earlier console, being acted on.
    std::unique_ptr<RigRescue> m_recovery;
    std::optional<CarrierJournal::Record> m_recovered;
    std::optional<qint64> m_putBackHz;
    quint64 m_asked = 0; // numbers the commands, so that a late answer is known
};
