#pragma once

#include "measurement.h"
#include "rig/bandplan.h"
#include "tune/lnetwork.h"
#include "tunestore.h"

#include <QList>
#include <QString>

#include <optional>

// Every bin of every band, tuned on paper: the antenna's measured impedance at the bin's
// middle through the console's model of its tuner, the best of all 2 × 256 × 256 settings.
namespace ComputedTunes {

// Under this a bin is within the tuner's reach.
constexpr double ReachSwr = 2.0;
constexpr double GoodSwr = 1.5;

struct Bin
{
    BandPlan::Bin bin;
    std::optional<LNetwork::Impedance> load; // none: outside the measurement
    LNetwork::Best best;
    // Why no setting brings it under ReachSwr; empty when one does or it is not measured.
    QString outOfReach;
};

struct Band
{
    int band = 0;
    QList<Bin> bins;
};

// The bands in the plan's order, each with all its bins.
QList<Band> compute(const AntennaMeasurement &measurement, const BandPlan &plan,
                    const LNetwork::Parts &parts);
// The bands as the frequency memory holds them: each measured bin's SWR that of the tune kept
// there (computed or read on the radio), computed afresh only where none says one.
QList<Band> fromStored(const AntennaMeasurement &measurement, const BandPlan &plan,
                       const LNetwork::Parts &parts, const QList<StoredTune> &stored);
// Why the load cannot be brought under ReachSwr at hz: more inductance than the coils' sum,
// more capacitance than the bank, a resistance too low for the network (its coils' loss), or
// values that lie between the relays' steps.
QString reachProblem(LNetwork::Impedance load, double hz, const LNetwork::Parts &parts);
// "40 m: 29 bins, all under 1.5"; "160 m: out of reach — needs 25 µH, the coils give
// 12.75 µH".
QString summary(const Band &band);
// The measurement across [low, high] as a curve beside the sweeps: the bare antenna's SWR on
// 50 Ω at each measured point, and at the two ends.
StoredSweep measuredCurve(const AntennaMeasurement &measurement, qint64 low, qint64 high);
// The tunes to keep, one for each measured bin, stored at now.
QList<TuneStore::Placed> placed(const QList<Band> &bands, qint64 now);

} // namespace ComputedTunes
