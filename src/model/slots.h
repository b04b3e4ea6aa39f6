#pragma once

// Memory slots: one for each antenna, band and sub-band the window can select.
namespace Slots {

constexpr int Antennas = 3;
constexpr int Bands = 10;
constexpr int SubBands = 5;
constexpr int Count = Antennas * Bands * SubBands;

// Which slot, all counted from 0: the options selected in the three groups.
struct Selection
{
    int antenna = 0;
    int band = 0;
    int subBand = 0;
    friend bool operator==(const Selection &, const Selection &) = default;
};

// The slot's number, 0–149: antennas in order, bands within each, sub-bands within each.
constexpr int numberOf(const Selection &s)
{
    return Bands * SubBands * s.antenna + SubBands * s.band + s.subBand;
}

} // namespace Slots
