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

Best bestOf(const std::function<double(const Setting &)> &swrAt)
{
    Best best;
    best.swr = INFINITY;
    for (int side = 0; side < 2; ++side) {
        for (int c = 0; c < 256; ++c) {
            for (int l = 0; l < 256; ++l) {
                const Setting s{static_cast<quint8>(c), static_cast<quint8>(l),
                                static_cast<quint8>(side)};
                const double swr = swrAt(s);
                if (swr < best.swr)
                    best = {s, swr};
            }
        }
    }
    return best;
}

} // namespace LNetwork
