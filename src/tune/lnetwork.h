#pragma once

#include "model/relaysetting.h"

#include <QList>
#include <QtGlobal>

#include <array>
#include <complex>
#include <functional>
#include <vector>

// The tuner's L-network as circuit theory has it: by default C = step × code picofarads,
// L = step × code nanohenries (else the parts' sums), the capacitors across the transmitter side
// (side 1) or the antenna side (any other side byte), and the coil in series. Code 0 means no
// capacitor (open) and no coil (short).
namespace LNetwork {

using Impedance = std::complex<double>;
constexpr double ReferenceOhms = 50.0;
// What a radio reports for a hopeless match.
constexpr double WorstSwr = 99.0;

using Setting = RelaySetting;

// The tuner's parts as the console models them: each relay's own capacitor and coil (bit 0
// first), a stray capacitance across the bank wherever the side relay puts it (at code 0 too),
// and the coils' loss, a series resistance of ωL/Q.
struct Parts
{
    static constexpr int Relays = 8;
    using Relays_t = std::array<double, Relays>;
    Relays_t capacitorsPf{};
    Relays_t coilsNh{};
    double strayPf = 0;
    double coilQ = 0; // 0: lossless

    // The relay steps' binary multiples, no stray, no loss: what the steps alone describe.
    static Parts nominal(double stepCpF, double stepLnH);
    double capacitancePf(quint8 code) const;
    double inductanceNh(quint8 code) const;
    friend bool operator==(const Parts &, const Parts &) = default;
};

// What the transmitter sees through the network.
Impedance inputImpedance(Impedance load, double hz, double stepCpF, double stepLnH,
                         const Setting &setting);
Impedance inputImpedance(Impedance load, double hz, const Parts &parts, const Setting &setting);
// The standing wave ratio of an impedance on a 50 Ω line, capped at 99.
double swrOf(Impedance z);
// Both at once.
double swr(Impedance load, double hz, double stepCpF, double stepLnH, const Setting &setting);
double swr(Impedance load, double hz, const Parts &parts, const Setting &setting);

// What a lossless network takes to match the load exactly at hz, on each side that can: the
// coil and the capacitance across (its stray included). None for a load no side matches.
struct ExactMatch
{
    double henries = 0;
    double farads = 0;
};
QList<ExactMatch> exactMatches(Impedance load, double hz);

// The setting with the lowest SWR of all 2 × 256 × 256, and that SWR.
struct Best
{
    Setting setting;
    double swr = WorstSwr;
};
Best bestOf(const std::function<double(const Setting &)> &swrAt);
// The same for a known load through the parts, exhaustively but without a call a setting; of
// equal settings the one bestOf would find.
Best bestFor(Impedance load, double hz, const Parts &parts);

// Which loads some setting of the parts brings under swrLimit at hz: a cells × cells raster of the
// reflection plane (row 0 at Γ = +j, column 0 at Γ = −1), each cell judged at its centre.
std::vector<bool> reachMap(double hz, const Parts &parts, int cells, double swrLimit = 2.0);

} // namespace LNetwork
