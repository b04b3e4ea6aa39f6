#include "fitbench.h"

#include "rig/bandplan.h"
#include "sim/loadmodel.h"
#include "support/necantennas.h"
#include "tune/matchsearch.h"
#include "tune/partsfit.h"
#include "tunes/computedtunes.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {

// Over the points that the true parts bring under 2.0: a search's probes, and whether it found
// the true best within 0.1.
struct Probes
{
    QList<int> counts;
    int within = 0;

    void print(const char *what) const
    {
        if (counts.isEmpty())
            return;
        QList<int> sorted = counts;
        std::sort(sorted.begin(), sorted.end());
        std::printf("%-42s median %d, worst %d; within 0.1 of the best: %d of %lld\n", what,
                    sorted[sorted.size() / 2], sorted.last(), within,
                    static_cast<long long>(sorted.size()));
    }
};

} // namespace

void benchPartsFit()
{
    const auto antennas = necAntennas();
    if (antennas.isEmpty() || antennas.first().second.isEmpty()) {
        std::printf("%-42s %s\n", "the tuner's parts fitted", "no nec2c");
        return;
    }
    // The simulated station: its tuner's parts off what the console assumes.
    const LNetwork::Parts truth = offNominalParts();
    const LNetwork::Parts nominal = LNetwork::Parts::nominal(10, 500);
    const RelaySteps steps{10, 500};
    const BandPlan plan;

    Probes exact;
    Probes before;
    Probes measuredAfter;
    Probes jointAfter;
    int computedEligible = 0;
    int computedBefore = 0;
    int computedAfter = 0;
    for (const auto &[name, points] : antennas) {
        if (std::string_view(name) == "inverted-l")
            continue; // two antennas as in the figures of today
        AntennaMeasurement measured;
        measured.points = points;
        LoadModel station;
        station.setMeasurement(measured);
        station.setParts(truth);
        // The radio's meter: two decimals.
        const auto read = [&](double hz, const LNetwork::Setting &s) {
            return std::round(station.swr(hz, steps, s) * 100) / 100;
        };
        const auto search = [&](double hz, MatchSearch::Config config, Probes &into,
                                QList<PartsFit::Reading> *log) {
            config.hz = hz;
            config.stepCpF = 10;
            config.stepLnH = 500;
            MatchSearch s(config);
            while (const auto setting = s.next()) {
                const double swr = read(hz, *setting);
                s.measured(*setting, swr);
                if (log)
                    *log << PartsFit::Reading{hz, *setting, swr, station.loadAt(hz)};
            }
            const double best = LNetwork::bestFor(station.loadAt(hz), hz, truth).swr;
            if (best > 2.0)
                return;
            into.counts << s.probes();
            into.within += s.bestSwr() <= best + 0.1 ? 1 : 0;
        };
        // Every band's middle up to 30 MHz, searched as today with the nominal model; the
        // searches of at most ten frequencies are what the fit learns from.
        QList<double> middles;
        for (int band = 0; band < BandPlan::Bands; ++band) {
            const BandPlan::Band &edges = plan.band(band);
            if (edges.high <= 30'000'000)
                middles << double(edges.low + edges.high) / 2;
        }
        QList<PartsFit::Reading> readings;
        for (qsizetype i = 0; i < middles.size(); ++i) {
            search(middles[i], {}, before, i < 10 ? &readings : nullptr);
            MatchSearch::Config modelled;
            modelled.parts = truth;
            search(middles[i], modelled, exact, nullptr);
        }
        const PartsFit::Result withMeasurement = PartsFit::fit(nominal, readings);
        QList<PartsFit::Reading> unknown = readings;
        for (PartsFit::Reading &r : unknown)
            r.load.reset();
        const PartsFit::Result joint = PartsFit::fit(nominal, unknown);

        // The computed tunes through the true parts, no probe taken.
        const auto good = [&](const LNetwork::Parts &model, int *eligible) {
            int count = 0;
            for (const ComputedTunes::Band &band : ComputedTunes::compute(measured, plan, model)) {
                for (const ComputedTunes::Bin &bin : band.bins) {
                    const double hz = double(bin.bin.middle());
                    if (!bin.load || hz > 30e6)
                        continue;
                    const double best = LNetwork::bestFor(*bin.load, hz, truth).swr;
                    if (best > 2.0)
                        continue;
                    if (eligible)
                        ++*eligible;
                    const double got = LNetwork::swr(*bin.load, hz, truth, bin.best.setting);
                    count += got <= best + 0.1 || got <= 1.5 ? 1 : 0;
                }
            }
            return count;
        };
        computedBefore += good(nominal, &computedEligible);
        computedAfter += good(withMeasurement.parts, nullptr);

        for (const double hz : std::as_const(middles)) {
            MatchSearch::Config config;
            config.parts = withMeasurement.parts;
            config.load = measured.at(std::llround(hz));
            search(hz, config, measuredAfter, nullptr);
            MatchSearch::Config blind;
            blind.parts = joint.parts;
            search(hz, blind, jointAfter, nullptr);
        }
    }
    std::printf("\nThe tuner's parts, ±8 %% a relay, 15 pF stray, Q 120; a dipole and a doublet "
                "(nec2c), every band's middle the true parts bring under 2.0:\n");
    exact.print("search, the true parts known");
    before.print("search, nominal parts (today)");
    measuredAfter.print("search after the fit, measured antenna");
    jointAfter.print("search after the fit, no measurement");
    std::printf("%-42s %d of %d before the fit (%.0f %%), %d after (%.0f %%)\n",
                "computed tunes within 0.1 (or under 1.5)", computedBefore, computedEligible,
                100.0 * computedBefore / std::max(1, computedEligible), computedAfter,
                100.0 * computedAfter / std::max(1, computedEligible));
    std::printf("\n");
}
