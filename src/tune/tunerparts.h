#pragma once

#include "lnetwork.h"

#include <QString>

#include <optional>

class QSettings;

// The tuner's parts as the user's settings keep them. Nothing kept: the relay steps' nominal
// parts, so a console never told otherwise models its tuner as it always has.
namespace TunerParts {

constexpr const char *CapacitorsKey = "tuner/capacitors_pf";
constexpr const char *CoilsKey = "tuner/coils_nh";
constexpr const char *StrayKey = "tuner/stray_pf";
constexpr const char *CoilQKey = "tuner/coil_q";
// Values beyond these are typing errors, not parts.
constexpr double MaxCapacitorPf = 100000;
constexpr double MaxCoilNh = 1000000;
constexpr double MaxStrayPf = 1000;
constexpr double MaxCoilQ = 10000;

LNetwork::Parts load(const QSettings *settings, double stepCpF, double stepLnH);
void save(QSettings &settings, const LNetwork::Parts &parts);

// "10,20,40,…": eight values, bit 0 first; none with the reason for anything else.
std::optional<LNetwork::Parts::Relays_t> parseValues(const QString &text, double max, QString *why);
QString valuesText(const LNetwork::Parts::Relays_t &values);

} // namespace TunerParts
