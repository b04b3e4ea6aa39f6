#pragma once

#include "matchsearch.h"
#include "rig/rigcontrol.h"

#include <QObject>
#include <QTimer>

#include <functional>

// One search at the radio. It waits for the carrier, moves the relays a probe at a time,
// reads the SWR once they have settled, and stops the moment the radio stops transmitting,
// the operator cancels, or the time is up. What happens to the relays afterwards is the
// owner's to decide: the best setting found, or the setting from before.
class TuneSession : public QObject
{
    Q_OBJECT
public:
    enum class State { WaitingForCarrier, Searching, Found, Stopped };
    enum class Stop { None, Cancelled, CarrierGone, TimedOut, RadioLost, NoReading };

    static constexpr int TimeLimitMs = 60000;
    static constexpr int DefaultSettleMs = 60;
    // How often the transmit state is asked for while waiting for the carrier.
    static constexpr int ListenMs = 250;

    // Moves the relays to a setting, sending only what changed.
    using Apply = std::function<void(const LNetwork::Setting &)>;

    TuneSession(RigControl &rig, const MatchSearch::Config &config, Apply apply, int settleMs,
                QObject *parent = nullptr);

    void start();
    void cancel();

    State state() const { return m_state; }
    Stop stopReason() const { return m_stop; }
    int probes() const { return m_search.probes(); }
    std::optional<LNetwork::Setting> current() const { return m_current; }
    std::optional<LNetwork::Setting> best() const { return m_search.best(); }
    double bestSwr() const { return m_search.bestSwr(); }

signals:
    void changed();
    void ended();
    // The radio read swr with the relays at setting, at the search's frequency (Hz).
    void read(double hz, const LNetwork::Setting &setting, double swr);

private:
    void probed(RigControl::Ptt ptt, std::optional<double> swr);
    void probeNext();
    void stop(Stop reason);

    RigControl &m_rig;
    MatchSearch m_search;
    double m_hz;
    Apply m_apply;
    int m_settleMs;
    State m_state = State::WaitingForCarrier;
    Stop m_stop = Stop::None;
    std::optional<LNetwork::Setting> m_current;
    int m_missing = 0;
    bool m_asking = false;
    QTimer m_limit;
    QTimer m_settle;
    QTimer m_listen;
};
