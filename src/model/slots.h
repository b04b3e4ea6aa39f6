#pragma once

#include <QtGlobal>

// Memory slots: 3 antennas × 10 bands × 5 sub-bands, three bytes each in the settings file.
namespace Slots {

constexpr int Antennas = 3;
constexpr int Bands = 10;
constexpr int SubBands = 5;
constexpr int Count = Antennas * Bands * SubBands;
constexpr int LastBase = 3 * (Count - 1); // 447
// Bases from here on belong to antenna 3; their packets carry the flag 1.
constexpr int Antenna3Base = 300;

constexpr qint16 baseOf(int antenna, int band, int subBand)
{
    return static_cast<qint16>(3 * (50 * antenna + 5 * band + subBand));
}

struct Selection
{
    int antenna = 0;
    int band = 0;
    int subBand = 0;
};

// The antenna, band and sub-band of a base (slot = base / 3, rounded half to even).
Selection selectionOf(qint16 base);

// True for the 150 bases the console itself writes: 0, 3, …, 447.
constexpr bool isStoredBase(int base)
{
    return base >= 0 && base <= LastBase && base % 3 == 0;
}

} // namespace Slots
