#pragma once

#include "relaystate.h"
#include "tune/lnetwork.h"
#include "tunes/measurement.h"

#include <QList>
#include <QString>

#include <optional>

// The antenna on the tuner's output, as the simulated station has it: one load for every
// band, or one for the band of a given frequency.
class LoadModel
{
public:
    struct Entry
    {
        std::optional<double> megahertz; // the band it is for; none: every band
        LNetwork::Impedance load{50, 0};
    };

    // An antenna resonant at F0 whose reactance grows away from it: Z(f) = R + j·R·Q·(f/F0 −
    // F0/f). A trained band gets a tune of its own for every bin of it.
    struct Resonant
    {
        double f0 = 0; // Hz
        double r = 50;
        double q = 1;
        LNetwork::Impedance at(double hz) const { return {r, r * q * (hz / f0 - f0 / hz)}; }
    };

    // "R,X" or "F:R,X" (F in MHz), as given with --load.
    static std::optional<Entry> parse(const QString &text);
    // "F0,R,Q" (F0 in MHz), as given with --antenna.
    static std::optional<Resonant> parseResonant(const QString &text);
    void add(const Entry &entry) { m_entries << entry; }
    void setResonant(const Resonant &antenna) { m_resonant = antenna; }
    // A measured antenna, between its points linearly, its end points beyond them.
    void setMeasurement(const AntennaMeasurement &measured) { m_measured = measured; }

    // The tuner's own parts where they differ from the steps' nominal ones.
    struct Parts
    {
        std::optional<LNetwork::Parts::Relays_t> capacitorsPf;
        std::optional<LNetwork::Parts::Relays_t> coilsNh;
        double strayPf = 0;
        double coilQ = 0;
    };
    void setParts(const Parts &parts) { m_parts = parts; }
    // Every part given.
    void setParts(const LNetwork::Parts &parts)
    {
        m_parts = {parts.capacitorsPf, parts.coilsNh, parts.strayPf, parts.coilQ};
    }
    LNetwork::Parts partsFor(const RelaySteps &steps) const;

    // The load at a radio frequency: the entry for its band, else the measured antenna, else
    // the resonant one, else the entry for every band, else a matched 50 Ω.
    LNetwork::Impedance loadAt(double hz) const;
    // The SWR the radio sees through the relays as they are, or as a setting would put them.
    double swr(double hz, const RelaySteps &steps, const RelayState &relays) const;
    double swr(double hz, const RelaySteps &steps, const LNetwork::Setting &setting) const;

private:
    QList<Entry> m_entries;
    std::optional<Resonant> m_resonant;
    std::optional<AntennaMeasurement> m_measured;
    Parts m_parts;
};
