#include "tunesession.h"

namespace {
// Readings the radio did not give in a row before the search gives up.
constexpr int MissingReadings = 3;
} // namespace

TuneSession::TuneSession(RigControl &rig, const MatchSearch::Config &config, Apply apply,
                         int settleMs, QObject *parent)
    : QObject(parent)
    , m_rig(rig)
    , m_search(config)
    , m_hz(config.hz)
    , m_apply(std::move(apply))
    , m_settleMs(settleMs)
{
    m_limit.setSingleShot(true);
    m_settle.setSingleShot(true);
    m_listen.setSingleShot(true);
    connect(&m_limit, &QTimer::timeout, this, [this] { stop(Stop::TimedOut); });
    const auto ask = [this] {
        m_asking = true;
        m_rig.probe();
    };
    connect(&m_settle, &QTimer::timeout, this, ask);
    connect(&m_listen, &QTimer::timeout, this, ask);
    connect(&rig, &RigControl::probed, this, &TuneSession::probed);
    connect(&rig, &RigControl::stateChanged, this, [this] {
        if (m_rig.state() != RigControl::State::Connected)
            stop(Stop::RadioLost);
    });
}

void TuneSession::start()
{
    m_limit.start(TimeLimitMs);
    m_listen.start(0);
}

void TuneSession::cancel()
{
    stop(Stop::Cancelled);
}

void TuneSession::probed(RigControl::Ptt ptt, std::optional<double> swr)
{
    if (!m_asking)
        return; // an answer to somebody else
    m_asking = false;
    if (m_state == State::WaitingForCarrier) {
        if (ptt != RigControl::Ptt::Transmitting) {
            m_listen.start(ListenMs);
            return;
        }
        // The first probe tells the change, as every later one does.
        m_state = State::Searching;
        probeNext();
        return;
    }
    if (m_state != State::Searching)
        return;
    if (ptt != RigControl::Ptt::Transmitting) {
        stop(Stop::CarrierGone);
        return;
    }
    if (!swr) {
        if (++m_missing >= MissingReadings)
            stop(Stop::NoReading);
        else
            m_settle.start(m_settleMs);
        return;
    }
    m_missing = 0;
    emit read(m_hz, *m_current, *swr);
    m_search.measured(*m_current, *swr);
    probeNext();
}

void TuneSession::probeNext()
{
    const std::optional<LNetwork::Setting> next = m_search.next();
    if (!next) {
        // Done: the relays end on the best setting found.
        const std::optional<LNetwork::Setting> best = m_search.best();
        if (best && best != m_current) {
            m_apply(*best);
            m_current = best;
        }
        m_limit.stop();
        m_state = State::Found;
        emit changed();
        emit ended();
        return;
    }
    m_apply(*next);
    m_current = next;
    emit changed();
    m_settle.start(m_settleMs);
}

void TuneSession::stop(Stop reason)
{
    if (m_state == State::Found || m_state == State::Stopped)
        return;
    m_limit.stop();
    m_settle.stop();
    m_listen.stop();
    m_asking = false;
    m_state = State::Stopped;
    m_stop = reason;
    emit changed();
    emit ended();
}
