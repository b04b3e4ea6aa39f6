#pragma once

#include "bandplan.h"
#include "model/relaysetting.h"

#include <optional>

// What following asks of the frequency memory when the radio moves into another bin: the
// relays to recall there, if it knows any. The memory lives above following; this is the
// one thing following needs of it.
class TuneLookup
{
public:
    struct Found
    {
        RelaySetting relays;
        // The bin the entry was found in (its own, or a neighbour's).
        BandPlan::Bin bin;
    };

    virtual ~TuneLookup() = default;
    virtual std::optional<Found> find(int antenna, qint64 hz) = 0;
    // Following has begun (true) or ended: the memory opens its store, or may let it go.
    virtual void following(bool on) = 0;
};
