#include "loadmodel.h"

#include <algorithm>

#include "rig/bandplan.h"

#include <QStringList>

#include <cmath>

std::optional<LoadModel::Entry> LoadModel::parse(const QString &text)
{
    Entry entry;
    QString impedance = text.trimmed();
    if (const qsizetype colon = impedance.indexOf(QLatin1Char(':')); colon >= 0) {
        bool ok = false;
        const double mhz = impedance.left(colon).toDouble(&ok);
        if (!ok || !BandPlan::hertzOf(mhz * 1e6))
            return std::nullopt;
        entry.megahertz = mhz;
        impedance = impedance.mid(colon + 1);
    }
    const QStringList parts = impedance.split(QLatin1Char(','));
    bool okR = false;
    bool okX = false;
    const double r = parts.size() == 2 ? parts[0].toDouble(&okR) : 0;
    const double x = parts.size() == 2 ? parts[1].toDouble(&okX) : 0;
    // Ohms an antenna can show; beyond them the model's numbers would be meaningless.
    constexpr double MaxOhms = 1e6;
    if (!okR || !okX || !(r > 0) || !(r <= MaxOhms) || !(std::abs(x) <= MaxOhms))
        return std::nullopt;
    entry.load = {r, x};
    return entry;
}

std::optional<LoadModel::Resonant> LoadModel::parseResonant(const QString &text)
{
    const QStringList parts = text.trimmed().split(QLatin1Char(','));
    if (parts.size() != 3)
        return std::nullopt;
    bool okF = false;
    bool okR = false;
    bool okQ = false;
    const double mhz = parts[0].toDouble(&okF);
    const double r = parts[1].toDouble(&okR);
    const double q = parts[2].toDouble(&okQ);
    if (!okF || !okR || !okQ || !BandPlan::hertzOf(mhz * 1e6) || !(r > 0) || !(r <= 1e6) ||
        !(q >= 0) || !(q <= 1e4))
        return std::nullopt;
    return Resonant{mhz * 1e6, r, q};
}

LNetwork::Impedance LoadModel::loadAt(double hz) const
{
    const BandPlan plan;
    const auto band = plan.locate(std::llround(hz));
    std::optional<LNetwork::Impedance> everywhere;
    for (const Entry &e : m_entries) {
        if (!e.megahertz) {
            everywhere = e.load;
            continue;
        }
        const auto other = plan.locate(std::llround(*e.megahertz * 1e6));
        if (band && other && band->band == other->band)
            return e.load;
    }
    if (m_measured && !m_measured->points.isEmpty()) {
        const qint64 at = std::clamp(std::llround(hz), m_measured->points.first().hz,
                                     m_measured->points.last().hz);
        return *m_measured->at(at);
    }
    if (m_resonant)
        return m_resonant->at(hz);
    return everywhere.value_or(LNetwork::Impedance(LNetwork::ReferenceOhms, 0));
}

double LoadModel::swr(double hz, const RelaySteps &steps, const RelayState &relays) const
{
    return swr(hz, steps, LNetwork::Setting{relays.codeC, relays.codeL, relays.side});
}

double LoadModel::swr(double hz, const RelaySteps &steps, const LNetwork::Setting &setting) const
{
    return LNetwork::swr(loadAt(hz), hz, partsFor(steps), setting);
}

LNetwork::Parts LoadModel::partsFor(const RelaySteps &steps) const
{
    LNetwork::Parts parts = LNetwork::Parts::nominal(steps.stepC, steps.stepL);
    if (m_parts.capacitorsPf)
        parts.capacitorsPf = *m_parts.capacitorsPf;
    if (m_parts.coilsNh)
        parts.coilsNh = *m_parts.coilsNh;
    parts.strayPf = m_parts.strayPf;
    parts.coilQ = m_parts.coilQ;
    return parts;
}
