#pragma once

#include "bandplan.h"
#include "rigcontrol.h"

#include <QObject>

#include <functional>
#include <optional>

// Turns a radio's frequency into the console's band and sub-band. A new radio position is
// applied once, and never while the transmitter is on: relays must not switch under RF. The
// operator's own choices stand until the radio moves again.
class RigFollower : public QObject
{
    Q_OBJECT
public:
    using Selection = std::function<BandPlan::Position()>;

    // selection tells which band and sub-band the console shows now.
    RigFollower(RigControl &rig, BandPlan plan, Selection selection, QObject *parent = nullptr);

    void setPlan(const BandPlan &plan) { m_plan = plan; }
    // While paused (a tuning search runs), radio changes wait.
    void setPaused(bool paused);
    // A band change that waits for the transmission (or the search) to end.
    std::optional<BandPlan::Position> pending() const { return m_pending; }

signals:
    // Select this band and sub-band as the operator's click would, recalling the slot.
    void follow(BandPlan::Position position);

private:
    void take(std::optional<qint64> hz, RigControl::Ptt ptt);
    void applyPending(RigControl::Ptt ptt);

    RigControl &m_rig;
    BandPlan m_plan;
    Selection m_selection;
    bool m_seen = false;
    std::optional<BandPlan::Position> m_radio;
    std::optional<BandPlan::Position> m_pending;
    bool m_paused = false;
};
