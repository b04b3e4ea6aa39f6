#pragma once

#include "model/relaysetting.h"

#include <QtGlobal>

#include <complex>
#include <functional>

// The tuner's L-network as circuit theory has it: C = step × code picofarads, L = step × code
// nanohenries, the capacitors across the transmitter side (side 1) or the antenna side (any
// other side byte), and the coil in series. Code 0 means no capacitor (open) and no coil
// (short).
namespace LNetwork {

using Impedance = std::complex<double>;
constexpr double ReferenceOhms = 50.0;
// What a radio reports for a hopeless match.
constexpr double WorstSwr = 99.0;

using Setting = RelaySetting;

// What the transmitter sees through the network.
Impedance inputImpedance(Impedance load, double hz, double stepCpF, double stepLnH,
                         const Setting &setting);
// The standing wave ratio of an impedance on a 50 Ω line, capped at 99.
double swrOf(Impedance z);
// Both at once.
double swr(Impedance load, double hz, double stepCpF, double stepLnH, const Setting &setting);

// The setting with the lowest SWR of all 2 × 256 × 256, and that SWR.
struct Best
{
    Setting setting;
    double swr = WorstSwr;
};
Best bestOf(const std::function<double(const Setting &)> &swrAt);

} // namespace LNetwork
