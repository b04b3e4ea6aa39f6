#include "computedtunes.h"

#include "model/bandnames.h"

#include <QCoreApplication>
#include <QLocale>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <numbers>
#include <thread>
#include <vector>

namespace ComputedTunes {

namespace {

QString tr(const char *text)
{
    return QCoreApplication::translate("ComputedTunes", text);
}

QString valueText(double value)
{
    return QLocale().toString(value, 'g', 4);
}

} // namespace

namespace {

QList<Bin> binsOf(const AntennaMeasurement &measurement, const BandPlan &plan)
{
    QList<Bin> all;
    for (int b = 0; b < BandPlan::Bands; ++b) {
        const qint64 width = plan.binWidth(b);
        for (qint64 low = plan.band(b).low; low < plan.band(b).high; low += width) {
            const std::optional<BandPlan::Bin> bin = plan.binOf(low);
            if (!bin || bin->band != b)
                break;
            all << Bin{*bin, measurement.at(bin->middle()), {}, {}};
            low = bin->low;
        }
    }
    return all;
}

QList<Band> byBand(const QList<Bin> &all)
{
    QList<Band> bands;
    for (int b = 0; b < BandPlan::Bands; ++b)
        bands << Band{b, {}};
    for (const Bin &bin : all)
        bands[bin.bin.band].bins << bin;
    return bands;
}

} // namespace

QList<Band> fromStored(const AntennaMeasurement &measurement, const BandPlan &plan,
                       const LNetwork::Parts &parts, const QList<StoredTune> &stored)
{
    QList<Bin> all = binsOf(measurement, plan);
    for (Bin &bin : all) {
        if (!bin.load)
            continue;
        const double hz = double(bin.bin.middle());
        const auto kept = std::find_if(stored.cbegin(), stored.cend(), [&](const StoredTune &t) {
            return t.hz >= bin.bin.low && t.hz < bin.bin.high && t.swr;
        });
        bin.best = kept != stored.cend() ? LNetwork::Best{kept->relays, *kept->swr}
                                         : LNetwork::bestFor(*bin.load, hz, parts);
        if (bin.best.swr > ReachSwr)
            bin.outOfReach = reachProblem(*bin.load, hz, parts);
    }
    return byBand(all);
}

QList<Band> compute(const AntennaMeasurement &measurement, const BandPlan &plan,
                    const LNetwork::Parts &parts)
{
    QList<Bin> all = binsOf(measurement, plan);
    // Each bin is independent: every core takes the next one free.
    std::atomic<qsizetype> next = 0;
    Bin *const bins = all.data();
    const qsizetype count = all.size();
    const auto work = [&] {
        for (qsizetype i = next++; i < count; i = next++) {
            Bin &bin = bins[i];
            if (!bin.load)
                continue;
            const double hz = double(bin.bin.middle());
            bin.best = LNetwork::bestFor(*bin.load, hz, parts);
            if (bin.best.swr > ReachSwr)
                bin.outOfReach = reachProblem(*bin.load, hz, parts);
        }
    };
    std::vector<std::thread> helpers;
    for (unsigned i = 1; i < std::max(1u, std::thread::hardware_concurrency()); ++i)
        helpers.emplace_back(work);
    work();
    for (std::thread &helper : helpers)
        helper.join();
    return byBand(all);
}

QString reachProblem(LNetwork::Impedance load, double hz, const LNetwork::Parts &parts)
{
    const double omega = 2 * std::numbers::pi * hz;
    const double coils = parts.inductanceNh(255) * 1e-9;
    const double bank = (parts.capacitancePf(255) + parts.strayPf) * 1e-12;
    using Need = LNetwork::ExactMatch;
    const QList<Need> needs = LNetwork::exactMatches(load, hz);
    const double r = load.real();
    if (needs.isEmpty())
        return tr("сопротивление слишком мало для этой схемы");
    const Need least = *std::min_element(needs.cbegin(), needs.cend(),
                                         [](Need a, Need b) { return a.henries < b.henries; });
    for (const Need &need : std::as_const(needs)) {
        if (need.henries > coils || need.farads > bank)
            continue;
        // The values are there: either the coils' loss swamps the load's resistance, or the
        // nearest settings lie too far either side.
        const double loss = parts.coilQ > 0 ? omega * need.henries / parts.coilQ : 0;
        if (r < 5 * loss || r < 1)
            return tr("сопротивление слишком мало для этой схемы");
        return tr("нужно %1 мкГн и %2 пФ, между шагами реле")
            .arg(valueText(need.henries * 1e6), valueText(need.farads * 1e12));
    }
    if (least.henries > coils)
        return tr("нужно %1 мкГн, катушки дают %2 мкГн")
            .arg(valueText(least.henries * 1e6), valueText(coils * 1e6));
    const Need smallest = *std::min_element(needs.cbegin(), needs.cend(),
                                            [](Need a, Need b) { return a.farads < b.farads; });
    return tr("нужно %1 пФ, конденсаторы дают %2 пФ")
        .arg(valueText(smallest.farads * 1e12), valueText(bank * 1e12));
}

QString summary(const Band &band)
{
    const QString name = BandNames::caption(band.band);
    int measured = 0;
    int good = 0;
    int reached = 0;
    QString reason;
    for (const Bin &bin : band.bins) {
        if (!bin.load)
            continue;
        ++measured;
        good += bin.best.swr <= GoodSwr ? 1 : 0;
        reached += bin.best.swr <= ReachSwr ? 1 : 0;
        if (reason.isEmpty())
            reason = bin.outOfReach;
    }
    if (measured == 0)
        return tr("%1: не измерен").arg(name);
    if (reached == 0)
        return tr("%1: вне досягаемости — %2").arg(name, reason);
    QString text =
        good == measured ? tr("%1: бинов %2, все ниже 1,5").arg(name).arg(measured)
        : reached == measured
            ? tr("%1: бинов %2, %3 ниже 1,5, все ниже 2,0").arg(name).arg(measured).arg(good)
            : tr("%1: бинов %2, %3 ниже 2,0, %4 вне досягаемости — %5")
                  .arg(name)
                  .arg(measured)
                  .arg(reached)
                  .arg(measured - reached)
                  .arg(reason);
    if (measured < band.bins.size())
        text += tr(" (%1 не измерено)").arg(band.bins.size() - measured);
    return text;
}

StoredSweep measuredCurve(const AntennaMeasurement &measurement, qint64 low, qint64 high)
{
    StoredSweep curve;
    curve.kind = StoredSweep::Kind::Measured;
    curve.started = measurement.imported;
    const auto add = [&](qint64 hz) {
        if (const auto z = measurement.at(hz))
            curve.points << StoredSweep::Point{hz, LNetwork::swrOf(*z), std::nullopt};
    };
    add(low);
    for (const AntennaMeasurement::Point &p : measurement.points) {
        if (p.hz > low && p.hz < high)
            add(p.hz);
    }
    add(high);
    return curve;
}

QList<TuneStore::Placed> placed(const QList<Band> &bands, qint64 now)
{
    QList<TuneStore::Placed> out;
    for (const Band &band : bands) {
        for (const Bin &bin : band.bins) {
            if (!bin.load)
                continue;
            StoredTune t;
            t.hz = bin.bin.middle();
            t.relays = bin.best.setting;
            t.swr = bin.best.swr;
            t.stored = now;
            t.source = StoredTune::Source::Computed;
            out << TuneStore::Placed{t, bin.bin.low, bin.bin.high};
        }
    }
    return out;
}

} // namespace ComputedTunes
