#pragma once

#include "lnetwork.h"

#include <QList>
#include <QString>

#include <array>
#include <optional>

// The tuner's parts fitted to what the radio read through them, by non-linear least squares
// on the reflection's power: against the antenna's measured impedance where it is known,
// elsewhere together with each frequency's unknown load. A part the readings do not determine
// (a relay never switched in, a value they leave free) keeps its value and says why.
namespace PartsFit {

struct Reading
{
    double hz = 0;
    LNetwork::Setting setting;
    double swr = 0;
    // The antenna's impedance there, where a measurement gives it.
    std::optional<LNetwork::Impedance> load;
};

struct Value
{
    double value = 0;       // fitted, or kept
    double uncertainty = 0; // one standard deviation, same unit
    QString refused;        // why it kept its value; empty when it was fitted
};

struct Result
{
    QString error; // why there is no fit at all
    LNetwork::Parts parts;
    std::array<Value, LNetwork::Parts::Relays> capacitors; // pF
    std::array<Value, LNetwork::Parts::Relays> coils;      // nH
    Value stray;                                           // pF
    Value coilQ;
    // The root mean square of |Γ|² read less |Γ|² modelled, over the readings used.
    double residualBefore = 0;
    double residualAfter = 0;
    int readings = 0;
    int unknownLoads = 0; // frequencies fitted with their load
};

// Readings above this say only that the match is far off; they are left out.
constexpr double MaxSwr = 20;
// The most readings one fit takes, the latest.
constexpr int MaxReadings = 4000;

Result fit(const LNetwork::Parts &start, const QList<Reading> &readings);
// "C1 10.21 ± 0.05 pF" (relays from 1), a line a part, then the residuals; for the control port and
// the dialog.
QStringList report(const Result &result);

} // namespace PartsFit
