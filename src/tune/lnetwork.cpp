#include "lnetwork.h"

#include <cmath>
#include <numbers>

namespace LNetwork {

Impedance inputImpedance(Impedance load, double hz, double stepCpF, double stepLnH,
                         const Setting &setting)
{
    const double omega = 2 * std::numbers::pi * hz;
    const Impedance coil(0, omega * stepLnH * 1e-9 * setting.codeL);
    const double farads = stepCpF * 1e-12 * setting.codeC;
    // A capacitor in parallel, by admittance: no capacitor adds nothing.
    const auto across = [&](Impedance z) {
        if (farads <= 0)
            return z;
        const Impedance admittance = 1.0 / z + Impedance(0, omega * farads);
        return 1.0 / admittance;
    };
    if (setting.side == 1)
        return across(coil + load);
    return coil + across(load);
}

double swrOf(Impedance z)
{
    const double gamma = std::abs((z - ReferenceOhms) / (z + ReferenceOhms));
    if (!std::isfinite(gamma) || gamma >= 1.0)
        return WorstSwr;
    return std::min(WorstSwr, (1 + gamma) / (1 - gamma));
}

double swr(Impedance load, double hz, double stepCpF, double stepLnH, const Setting &setting)
{
    return swrOf(inputImpedance(load, hz, stepCpF, stepLnH, setting));
}

} // namespace LNetwork
