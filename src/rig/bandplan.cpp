#include "bandplan.h"

#include <algorithm>

#include "model/bandnames.h"

#include <QCoreApplication>
#include <QSettings>
#include <QStringList>

#include <cmath>

namespace {

qint64 hertz(double megahertz)
{
    return std::llround(megahertz * 1e6);
}

std::optional<qint64> megahertzText(const QString &text)
{
    bool ok = false;
    const double value = text.trimmed().toDouble(&ok);
    return ok ? BandPlan::hertzOf(value * 1e6) : std::nullopt;
}

} // namespace

std::optional<qint64> BandPlan::hertzOf(double hz)
{
    if (!std::isfinite(hz) || hz < double(MinHz) || hz > double(MaxHz))
        return std::nullopt;
    return std::llround(hz);
}

BandPlan::BandPlan()
{
    const std::array<std::pair<double, double>, Bands> edges{{{1.810, 2.000},
                                                              {3.500, 3.800},
                                                              {7.000, 7.200},
                                                              {10.100, 10.150},
                                                              {14.000, 14.350},
                                                              {18.068, 18.168},
                                                              {21.000, 21.450},
                                                              {24.890, 24.990},
                                                              {28.000, 29.700},
                                                              {50.000, 54.000}}};
    for (int i = 0; i < Bands; ++i)
        m_bands[static_cast<size_t>(i)] = evenly(hertz(edges[i].first), hertz(edges[i].second));
}

BandPlan::Band BandPlan::evenly(qint64 low, qint64 high)
{
    Band band{low, high, {}};
    for (int i = 1; i < SubBands; ++i)
        band.splits[static_cast<size_t>(i - 1)] = low + (high - low) * i / SubBands;
    return band;
}

QString BandPlan::keyOf(int band)
{
    // The settings have always named the additional band "extra".
    return band == Bands - 1 ? QStringLiteral("extra") : BandNames::key(band);
}

QStringList BandPlan::loadFrom(QSettings &settings)
{
    QStringList problems;
    settings.beginGroup(QStringLiteral("bands"));
    for (int i = 0; i < Bands; ++i) {
        Band &band = m_bands[static_cast<size_t>(i)];
        const QString key = keyOf(i);
        if (settings.contains(key)) {
            const QStringList range = settings.value(key).toString().split(QLatin1Char('-'));
            const auto low = range.size() == 2 ? megahertzText(range[0]) : std::nullopt;
            const auto high = range.size() == 2 ? megahertzText(range[1]) : std::nullopt;
            if (low && high && *low < *high)
                band = evenly(*low, *high);
            else
                problems << QStringLiteral("bands/%1: expected LOW-HIGH in MHz").arg(key);
        }
        const QString splitKey = key + QStringLiteral("_split");
        if (settings.contains(splitKey)) {
            const QStringList values = settings.value(splitKey).toStringList().join(',').split(',');
            Band split = band;
            bool ok = values.size() == SubBands - 1;
            qint64 previous = band.low;
            for (int n = 0; ok && n < SubBands - 1; ++n) {
                const auto edge = megahertzText(values[n]);
                ok = edge && *edge > previous && *edge < band.high;
                if (ok)
                    split.splits[static_cast<size_t>(n)] = previous = *edge;
            }
            if (ok)
                band = split;
            else
                problems << QStringLiteral("bands/%1: expected four rising edges inside the band")
                                .arg(splitKey);
        }
        const QString binKey = key + QStringLiteral("_bin");
        if (settings.contains(binKey)) {
            bool ok = false;
            const double khz = settings.value(binKey).toString().toDouble(&ok);
            if (ok && khz >= 0.1 && khz <= 1000)
                band.binWidth = qRound64(khz * 1000);
            else
                problems
                    << QStringLiteral("bands/%1: expected a width in kHz, 0.1–1000").arg(binKey);
        }
    }
    settings.endGroup();
    return problems;
}

void BandPlan::saveTo(QSettings &settings) const
{
    const auto mhz = [](qint64 hz) {
        return QString::number(hz / 1e6, 'f', 3);
    };
    settings.beginGroup(QStringLiteral("bands"));
    for (int i = 0; i < Bands; ++i) {
        const Band &b = band(i);
        settings.setValue(keyOf(i), mhz(b.low) + QLatin1Char('-') + mhz(b.high));
        QStringList edges;
        for (const qint64 edge : b.splits)
            edges << mhz(edge);
        settings.setValue(keyOf(i) + QStringLiteral("_split"), edges.join(QLatin1Char(',')));
        if (b.binWidth > 0)
            settings.setValue(keyOf(i) + QStringLiteral("_bin"), QString::number(b.binWidth / 1e3));
        else
            settings.remove(keyOf(i) + QStringLiteral("_bin"));
    }
    settings.endGroup();
}

QString BandPlan::problem() const
{
    constexpr qint64 Lowest = 1'000'000;
    constexpr qint64 Highest = 60'000'000;
    for (int i = 0; i < Bands; ++i) {
        const Band &b = band(i);
        const QString name = BandNames::caption(i);
        if (b.low < Lowest || b.high > Highest)
            return QCoreApplication::translate("BandPlan", "%1: края вне 1–60 МГц").arg(name);
        qint64 previous = b.low;
        for (const qint64 edge : b.splits) {
            if (edge <= previous)
                return QCoreApplication::translate("BandPlan", "%1: края должны возрастать")
                    .arg(name);
            previous = edge;
        }
        if (b.high <= previous)
            return QCoreApplication::translate("BandPlan", "%1: края должны возрастать").arg(name);
        for (int j = 0; j < i; ++j) {
            if (b.low <= band(j).high && band(j).low <= b.high)
                return QCoreApplication::translate("BandPlan", "%1 и %2 перекрываются")
                    .arg(BandNames::caption(j), name);
        }
    }
    return {};
}

std::pair<qint64, qint64> BandPlan::subBandRange(int index, int subBand) const
{
    const Band &b = band(index);
    const qint64 from = subBand == 0 ? b.low : b.splits[size_t(subBand - 1)];
    const qint64 to = subBand == SubBands - 1 ? b.high : b.splits[size_t(subBand)];
    return {from, to};
}

qint64 BandPlan::usualBinWidth(qint64 low)
{
    // 0.1 % of the lower edge in whole kHz: 2 kHz on 160 m … 28 kHz on 10 m.
    return std::max<qint64>(1, (low + 500'000) / 1'000'000) * 1000;
}

qint64 BandPlan::binWidth(int index) const
{
    const Band &b = band(index);
    return b.binWidth > 0 ? b.binWidth : usualBinWidth(b.low);
}

std::optional<BandPlan::Bin> BandPlan::binOf(qint64 hz) const
{
    const std::optional<Position> at = locate(hz);
    if (!at)
        return std::nullopt;
    const Band &b = band(at->band);
    const qint64 width = binWidth(at->band);
    const qint64 low = b.low + (hz - b.low) / width * width;
    return Bin{at->band, low, low + width};
}

std::optional<BandPlan::Position> BandPlan::locate(qint64 hz) const
{
    for (int i = 0; i < Bands; ++i) {
        const Band &band = m_bands[static_cast<size_t>(i)];
        if (hz < band.low || hz > band.high)
            continue;
        int sub = 0;
        while (sub < SubBands - 1 && hz >= band.splits[static_cast<size_t>(sub)])
            ++sub;
        return Position{i, sub};
    }
    return std::nullopt;
}

QString BandPlan::stretch(int band, qint64 &from, qint64 &to) const
{
    if (band < 0 || band >= Bands)
        return QCoreApplication::translate("BandPlan", "нет такого диапазона");
    const Band &edges = this->band(band);
    if (from == 0 && to == 0) {
        from = edges.low;
        to = edges.high;
    }
    if (from > to || from < edges.low || to > edges.high)
        return QCoreApplication::translate("BandPlan", "участок вне диапазона");
    return {};
}

qint64 BandPlan::binCount() const
{
    qint64 count = 0;
    for (int b = 0; b < Bands; ++b) {
        const qint64 width = std::max<qint64>(1, binWidth(b));
        count += (band(b).high - band(b).low + width - 1) / width;
    }
    return count;
}
