#pragma once

#include "tune/lnetwork.h"
#include "tunes/measurement.h"

#include <QList>

#include <utility>

// Antennas computed by Debian's nec2c, 1.7–30 MHz in 100 kHz steps, all over real ground: a
// half-wave 40 m dipole at 10 m; a 31 m doublet at 12 m on 12 m of 450 Ω line; an inverted L
// (10 m up, 20 m across) over four radials raised 3 m. Empty points when nec2c fails.
QList<std::pair<const char *, QList<AntennaMeasurement::Point>>> necAntennas();

// The simulated tuner the tests fit: every relay's part drawn within ±8 % of its nominal value
// (10 pF, 500 nH steps) from a fixed seed, a 15 pF stray, coils of Q 120.
LNetwork::Parts offNominalParts();
