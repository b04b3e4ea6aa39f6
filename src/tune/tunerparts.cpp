#include "tunerparts.h"

#include <QSettings>
#include <QStringList>

#include <cmath>

namespace TunerParts {

namespace {

double number(const QSettings *settings, const char *key, double fallback, double max)
{
    bool ok = false;
    const double value = settings->value(QString::fromLatin1(key)).toDouble(&ok);
    return ok && std::isfinite(value) && value >= 0 && value <= max ? value : fallback;
}

} // namespace

LNetwork::Parts load(const QSettings *settings, double stepCpF, double stepLnH)
{
    LNetwork::Parts parts = LNetwork::Parts::nominal(stepCpF, stepLnH);
    if (!settings)
        return parts;
    // A damaged entry falls back to the nominal values rather than to nothing.
    if (const auto c = parseValues(settings->value(QString::fromLatin1(CapacitorsKey)).toString(),
                                   MaxCapacitorPf, nullptr))
        parts.capacitorsPf = *c;
    if (const auto l = parseValues(settings->value(QString::fromLatin1(CoilsKey)).toString(),
                                   MaxCoilNh, nullptr))
        parts.coilsNh = *l;
    parts.strayPf = number(settings, StrayKey, 0, MaxStrayPf);
    parts.coilQ = number(settings, CoilQKey, 0, MaxCoilQ);
    return parts;
}

void save(QSettings &settings, const LNetwork::Parts &parts)
{
    settings.setValue(QString::fromLatin1(CapacitorsKey), valuesText(parts.capacitorsPf));
    settings.setValue(QString::fromLatin1(CoilsKey), valuesText(parts.coilsNh));
    settings.setValue(QString::fromLatin1(StrayKey), parts.strayPf);
    settings.setValue(QString::fromLatin1(CoilQKey), parts.coilQ);
}

std::optional<LNetwork::Parts::Relays_t> parseValues(const QString &text, double max, QString *why)
{
    const QStringList words = text.split(QLatin1Char(','), Qt::SkipEmptyParts);
    if (words.size() != LNetwork::Parts::Relays) {
        if (why)
            *why = QStringLiteral("expected %1 values, bit 0 first, not %2")
                       .arg(LNetwork::Parts::Relays)
                       .arg(words.size());
        return std::nullopt;
    }
    LNetwork::Parts::Relays_t values{};
    for (int i = 0; i < LNetwork::Parts::Relays; ++i) {
        bool ok = false;
        values[i] = words[i].trimmed().toDouble(&ok);
        if (!ok || !std::isfinite(values[i]) || values[i] <= 0 || values[i] > max) {
            if (why)
                *why = QStringLiteral("\"%1\" is no value above 0 and up to %2")
                           .arg(words[i].trimmed())
                           .arg(max);
            return std::nullopt;
        }
    }
    return values;
}

QString valuesText(const LNetwork::Parts::Relays_t &values)
{
    QStringList words;
    for (const double v : values)
        words << QString::number(v, 'g', 8);
    return words.join(QLatin1Char(','));
}

} // namespace TunerParts
