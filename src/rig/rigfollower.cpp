#include "rigfollower.h"

RigFollower::RigFollower(RigControl &rig, BandPlan plan, Selection selection, QObject *parent)
    : QObject(parent)
    , m_rig(rig)
    , m_plan(std::move(plan))
    , m_selection(std::move(selection))
{
    connect(&rig, &RigControl::polled, this, &RigFollower::take);
    connect(&rig, &RigControl::stateChanged, this, [this] {
        // A new connection starts afresh: the radio's band then is a change to follow.
        if (m_rig.state() != RigControl::State::Connected) {
            m_seen = false;
            m_radio.reset();
            m_pending.reset();
        }
    });
}

void RigFollower::setPaused(bool paused)
{
    m_paused = paused;
    if (!paused)
        applyPending(m_rig.ptt());
}

void RigFollower::take(std::optional<qint64> hz, RigControl::Ptt ptt)
{
    if (!hz)
        return; // no reading: nothing is known about the band
    const std::optional<BandPlan::Position> position = m_plan.locate(*hz);
    if (!m_seen || position != m_radio) {
        m_seen = true;
        m_radio = position;
        m_pending = position; // outside every band there is nothing to select
    }
    applyPending(ptt);
}

void RigFollower::applyPending(RigControl::Ptt ptt)
{
    if (!m_pending || m_paused || ptt == RigControl::Ptt::Transmitting)
        return;
    const BandPlan::Position position = *m_pending;
    m_pending.reset();
    if (position != m_selection())
        emit follow(position);
}
