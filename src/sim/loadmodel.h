#pragma once

#include "relaystate.h"
#include "tune/lnetwork.h"

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

    // "R,X" or "F:R,X" (F in MHz), as given with --load.
    static std::optional<Entry> parse(const QString &text);
    void add(const Entry &entry) { m_entries << entry; }

    // The load at a radio frequency: the entry for its band, else the one for every band,
    // else a matched 50 Ω.
    LNetwork::Impedance loadAt(double hz) const;
    // The SWR the radio sees through the relays as they are.
    double swr(double hz, const RelaySteps &steps, const RelayState &relays) const;

private:
    QList<Entry> m_entries;
};
