#pragma once

#include "lnetwork.h"

#include <QList>

#include <optional>

// Finds the relay setting with the lowest SWR from SWR readings alone. It first tells the
// antenna's impedance from a few settings chosen to differ, then tries the setting that the
// network's model predicts best for it, and refines around that on readings alone; where the
// model cannot serve (no frequency, a step of 0, readings it does not explain), it searches
// a coarse grid instead. Every probe is one reading; the search never asks for more than
// maxProbes.
class MatchSearch
{
public:
    using Setting = LNetwork::Setting;

    struct Config
    {
        double hz = 0;      // the radio's frequency; 0 when unknown
        double stepCpF = 0; // the console's relay steps
        double stepLnH = 0;
        // The tuner's parts; none: the steps' nominal ones.
        std::optional<LNetwork::Parts> parts = std::nullopt;
        // A setting to read first (a tune computed for this frequency): when it reads well the
        // search only refines around it.
        std::optional<LNetwork::Setting> start = std::nullopt;
        // The antenna as measured at hz: the start is its best under the parts unless given,
        // and when the start reads what the model says, the model is right here and the search
        // ends.
        std::optional<LNetwork::Impedance> load = std::nullopt;
        int maxProbes = 300;
        // Good enough to stop early: no setting can do much better.
        double goodSwr = 1.05;
    };

    explicit MatchSearch(const Config &config);

    // The next setting to read; none when the search is over.
    std::optional<Setting> next();
    void measured(const Setting &setting, double swr);

    int probes() const { return static_cast<int>(m_readings.size()); }
    std::optional<Setting> best() const;
    double bestSwr() const;

    // The impedance the readings so far point to, for whoever wants to see it.
    std::optional<LNetwork::Impedance> estimatedLoad() const { return m_load; }

private:
    struct Reading
    {
        Setting setting;
        double swr;
    };
    enum class Phase { Start, Identify, Predict, Refine, Coarse, Done };

    double swrThrough(LNetwork::Impedance load, const Setting &setting) const
    {
        return LNetwork::swr(load, m_config.hz, m_parts, setting);
    }

    bool modelUsable() const;
    quint8 codeForCoil(double ohms) const;
    quint8 codeForCapacitor(double ohms) const;
    std::optional<double> readingAt(const Setting &setting) const;
    double fitError(LNetwork::Impedance load) const;
    void fitLoad();
    std::optional<Setting> predicted() const;
    std::optional<Setting> refineStep();
    std::optional<Setting> coarseStep();
    std::optional<Setting> take(QList<Setting> &queue);
    int informative() const;

    Config m_config;
    LNetwork::Parts m_parts;
    Phase m_phase;
    QList<Reading> m_readings;
    QList<Setting> m_queue;
    std::optional<LNetwork::Impedance> m_load;
    int m_fits = 0;
    int m_step = 8;
    Setting m_centre;
    bool m_coarseQueued = false;
    bool m_explored = false;
    int m_explore = 0;
};
