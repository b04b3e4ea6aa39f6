#pragma once

#include "bandplan.h"
#include "rigcontrol.h"

#include <QObject>

#include <functional>
#include <optional>

// Turns a radio's frequency into the console's band and sub-band, and into the frequency
// memory's bin. A new place is applied once, and never while the transmitter is on: relays
// must not switch under RF. The operator's own choices stand until the radio moves again.
//
// Where bins are asked for, a place is a bin, left only once the frequency is a quarter of a
// bin beyond its edges: a VFO resting on an edge does not chatter the relays.
class RigFollower : public QObject
{
    Q_OBJECT
public:
    using Selection = std::function<BandPlan::Position()>;

    // selection tells which band and sub-band the console shows now.
    RigFollower(RigControl &rig, BandPlan plan, Selection selection, QObject *parent = nullptr);

    void setPlan(const BandPlan &plan) { m_plan = plan; }
    // Places by bin (the frequency memory is in use) or by sub-band.
    void setBinned(bool binned) { m_binned = binned; }
    // While paused (a tuning search runs), radio changes wait.
    void setPaused(bool paused);
    // A band change that waits for the transmission (or the search) to end.
    std::optional<BandPlan::Position> pending() const
    {
        return m_pending ? std::optional(m_pending->position) : std::nullopt;
    }

signals:
    // The radio is in a new place: its band and sub-band, and the frequency that took it there.
    void follow(BandPlan::Position position, qint64 hz);

private:
    void take(std::optional<qint64> hz, RigControl::Ptt ptt);
    void applyPending(RigControl::Ptt ptt);

    struct Place
    {
        BandPlan::Position position;
        qint64 hz = 0;
        std::optional<BandPlan::Bin> bin;
    };
    // Whether a frequency has left the place the radio was in.
    bool left(const std::optional<Place> &place, qint64 hz,
              const std::optional<BandPlan::Position> &position) const;

    RigControl &m_rig;
    BandPlan m_plan;
    Selection m_selection;
    bool m_binned = false;
    bool m_seen = false;
    std::optional<Place> m_radio;
    std::optional<Place> m_pending;
    bool m_paused = false;
};
