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

bool RigFollower::left(const std::optional<Place> &place, qint64 hz,
                       const std::optional<BandPlan::Position> &position) const
{
    if (!place || !position)
        return bool(place) != bool(position);
    if (!m_binned || !place->bin)
        return place->position != *position;
    const BandPlan::Bin &bin = *place->bin;
    const qint64 margin = (bin.high - bin.low) / 4;
    return hz < bin.low - margin || hz >= bin.high + margin;
}

void RigFollower::take(std::optional<qint64> hz, RigControl::Ptt ptt)
{
    if (!hz)
        return; // no reading: nothing is known about the band
    // While paused the radio goes where the console's own measurement takes it; what counts
    // afterwards is where it is then, against where it was before.
    if (m_paused)
        return;
    const std::optional<BandPlan::Position> position = m_plan.locate(*hz);
    if (!m_seen || left(m_radio, *hz, position)) {
        m_seen = true;
        // Outside every band there is nothing to select.
        m_radio = position ? std::optional(Place{*position, *hz, m_plan.binOf(*hz)}) : std::nullopt;
        m_pending = m_radio;
    }
    applyPending(ptt);
}

void RigFollower::applyPending(RigControl::Ptt ptt)
{
    if (!m_pending || m_paused || ptt == RigControl::Ptt::Transmitting)
        return;
    const Place place = *m_pending;
    m_pending.reset();
    // By sub-band, what the operator chose stands; by bin, the memory decides.
    if (m_binned || place.position != m_selection())
        emit follow(place.position, place.hz);
}
