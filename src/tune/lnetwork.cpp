#include "lnetwork.h"

#include <cmath>
#include <numbers>
#include <tuple>

namespace LNetwork {

Parts Parts::nominal(double stepCpF, double stepLnH)
{
    Parts parts;
    for (int bit = 0; bit < Relays; ++bit) {
        parts.capacitorsPf[bit] = stepCpF * (1 << bit);
        parts.coilsNh[bit] = stepLnH * (1 << bit);
    }
    return parts;
}

namespace {

// The parts a code switches in, added up.
double sumOf(const Parts::Relays_t &values, quint8 code)
{
    double sum = 0;
    for (int bit = 0; bit < Parts::Relays; ++bit)
        if (code & (1 << bit))
            sum += values[bit];
    return sum;
}

Impedance coilAt(double omega, double nanohenries, double q)
{
    const double reactance = omega * nanohenries * 1e-9;
    return {q > 0 ? reactance / q : 0.0, reactance};
}

// At every code: the bank's susceptance with its stray (siemens), the coils' impedance.
struct Codes
{
    std::array<double, 256> susceptance;
    std::array<Impedance, 256> coil;
};

Codes codesAt(double omega, const Parts &parts)
{
    Codes codes;
    for (int code = 0; code < 256; ++code) {
        codes.susceptance[size_t(code)] =
            omega * (parts.capacitancePf(quint8(code)) + parts.strayPf) * 1e-12;
        codes.coil[size_t(code)] = coilAt(omega, parts.inductanceNh(quint8(code)), parts.coilQ);
    }
    return codes;
}

} // namespace

double Parts::capacitancePf(quint8 code) const
{
    return sumOf(capacitorsPf, code);
}

double Parts::inductanceNh(quint8 code) const
{
    return sumOf(coilsNh, code);
}

QList<ExactMatch> exactMatches(Impedance load, double hz)
{
    const double omega = 2 * std::numbers::pi * hz;
    constexpr double Z0 = ReferenceOhms;
    QList<ExactMatch> out;
    const double r = load.real();
    const double x = load.imag();
    if (r > 0 && r <= Z0) {
        // The coil in series with the load, the bank across both.
        const double x1 = std::sqrt(r * (Z0 - r));
        if (x1 - x >= 0)
            out << ExactMatch{(x1 - x) / omega, x1 / (Z0 * r) / omega};
    }
    const Impedance y = 1.0 / load;
    const double g = y.real();
    if (g > 0 && g <= 1 / Z0) {
        // The bank across the load, the coil towards the transmitter.
        const double bt = std::sqrt(g / Z0 - g * g);
        if (bt - y.imag() >= 0)
            out << ExactMatch{Z0 * bt / g / omega, (bt - y.imag()) / omega};
    }
    return out;
}

Impedance inputImpedance(Impedance load, double hz, double stepCpF, double stepLnH,
                         const Setting &setting)
{
    return inputImpedance(load, hz, Parts::nominal(stepCpF, stepLnH), setting);
}

Impedance inputImpedance(Impedance load, double hz, const Parts &parts, const Setting &setting)
{
    const double omega = 2 * std::numbers::pi * hz;
    const Impedance coil = coilAt(omega, parts.inductanceNh(setting.codeL), parts.coilQ);
    const double farads = (parts.capacitancePf(setting.codeC) + parts.strayPf) * 1e-12;
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

double swr(Impedance load, double hz, const Parts &parts, const Setting &setting)
{
    return swrOf(inputImpedance(load, hz, parts, setting));
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

Best bestFor(Impedance load, double hz, const Parts &parts)
{
    const Codes codes = codesAt(2 * std::numbers::pi * hz, parts);
    const auto &susceptance = codes.susceptance;
    const auto &coil = codes.coil;
    // |Γ|² compared, each setting a handful of multiplications: the order of bestOf (side, C,
    // L) is kept for equal ones by taking only a strictly lower one.
    constexpr double Z0 = ReferenceOhms;
    constexpr double Y0 = 1 / ReferenceOhms;
    double lowest = INFINITY;
    Setting found;
    const auto consider = [&](double g2, int side, int c, int l) {
        if (g2 < lowest ||
            (g2 == lowest && std::tuple(side, c, l) <
                                 std::tuple(int(found.side), int(found.codeC), int(found.codeL)))) {
            lowest = g2;
            found = {quint8(c), quint8(l), quint8(side)};
        }
    };
    // Side 0: the bank across the load, the coil towards the transmitter.
    const Impedance loadAdmittance = 1.0 / load;
    for (int c = 0; c < 256; ++c) {
        const Impedance shunted =
            susceptance[c] > 0 ? 1.0 / (loadAdmittance + Impedance(0, susceptance[c])) : load;
        for (int l = 0; l < 256; ++l) {
            const double r = shunted.real() + coil[l].real();
            const double x = shunted.imag() + coil[l].imag();
            const double g2 = ((r - Z0) * (r - Z0) + x * x) / ((r + Z0) * (r + Z0) + x * x);
            consider(g2, 0, c, l);
        }
    }
    // Side 1: the coil in series with the load, the bank across both.
    for (int l = 0; l < 256; ++l) {
        const Impedance series = 1.0 / (load + coil[l]);
        for (int c = 0; c < 256; ++c) {
            const double g = series.real();
            const double b = series.imag() + susceptance[c];
            const double g2 = ((Y0 - g) * (Y0 - g) + b * b) / ((Y0 + g) * (Y0 + g) + b * b);
            consider(g2, 1, c, l);
        }
    }
    return {found, swr(load, hz, parts, found)};
}

std::vector<bool> reachMap(double hz, const Parts &parts, int cells, double swrLimit)
{
    std::vector<bool> reached(size_t(cells) * size_t(cells), false);
    if (cells <= 0 || hz <= 0 || swrLimit <= 1)
        return reached;
    const double rho2 = std::pow((swrLimit - 1) / (swrLimit + 1), 2);
    constexpr double Z0 = ReferenceOhms;
    const double step = 2.0 / cells;
    const auto centreOf = [&](int i) {
        return -1 + (i + 0.5) * step;
    };
    // Each setting is a two-port, so Γin = (pΓ + q) / (rΓ + s) in the load's Γ, and
    // |Γin|² ≤ ρ² is α|Γ|² + 2 Re(wΓ) + γ ≤ 0: a disc when α > 0, whose cells alone are tried.
    const auto mark = [&](Impedance a, Impedance b, Impedance c, Impedance d) {
        // Z = Z0 (1 + Γ) / (1 − Γ), through the chain matrix, then Γin from Zin.
        const Impedance a1 = Z0 * (a - b / Z0), b1 = Z0 * (a + b / Z0);
        const Impedance c1 = Z0 * c - d, d1 = Z0 * c + d;
        const Impedance p = a1 - Z0 * c1, q = b1 - Z0 * d1;
        const Impedance r = a1 + Z0 * c1, s = b1 + Z0 * d1;
        const double alpha = std::norm(p) - rho2 * std::norm(r);
        const Impedance w = p * std::conj(q) - rho2 * r * std::conj(s);
        const double gamma = std::norm(q) - rho2 * std::norm(s);
        int iLow = 0, iHigh = cells - 1, jLow = 0, jHigh = cells - 1;
        if (alpha > 0) {
            const Impedance centre = -std::conj(w) / alpha;
            const double radius2 = (std::norm(w) - alpha * gamma) / (alpha * alpha);
            if (radius2 < 0)
                return;
            const double radius = std::sqrt(radius2);
            const auto column = [&](double x) {
                return int(std::floor((x + 1) / step));
            };
            iLow = std::max(iLow, column(centre.real() - radius));
            iHigh = std::min(iHigh, column(centre.real() + radius));
            jLow = std::max(jLow, column(-centre.imag() - radius));
            jHigh = std::min(jHigh, column(-centre.imag() + radius));
        }
        for (int j = jLow; j <= jHigh; ++j) {
            const double y = -centreOf(j);
            for (int i = iLow; i <= iHigh; ++i) {
                const double x = centreOf(i);
                if (x * x + y * y >= 1)
                    continue;
                const Impedance g(x, y);
                if (alpha * std::norm(g) + 2 * (w * g).real() + gamma <= 0)
                    reached[size_t(j) * size_t(cells) + size_t(i)] = true;
            }
        }
    };
    const Codes codes = codesAt(2 * std::numbers::pi * hz, parts);
    for (int c = 0; c < 256; ++c) {
        const Impedance bank(0, codes.susceptance[size_t(c)]);
        for (int l = 0; l < 256; ++l) {
            const Impedance coil = codes.coil[size_t(l)];
            // Side 0: the coil towards the transmitter, the bank across the load.
            mark(1.0 + coil * bank, coil, bank, 1.0);
            // Side 1: the bank across the transmitter, the coil in series with the load.
            mark(1.0, coil, bank, bank * coil + 1.0);
        }
    }
    return reached;
}

} // namespace LNetwork
