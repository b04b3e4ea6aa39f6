#include "matchsearch.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>

namespace {

constexpr int Codes = 256;
// Where the coarse search looks when no model guides it.
constexpr std::array<int, 6> CoarseCodes{0, 8, 24, 56, 120, 248};
// Above this a reading is near the meter's end of scale and tells little about the antenna.
constexpr double InformativeSwr = 50;
// A start that reads under these is refined around in steps of one code, or of four.
constexpr double StartCloseSwr = 1.2;
constexpr double StartNearSwr = 2.0;
// A reading within this of the model's, in log SWR, agrees with it: a meter's two decimals
// at low SWR, some percent higher up.
constexpr double AgreesLog = 0.03;

double logSwr(double swr)
{
    return std::log(std::clamp(swr, 1.0, LNetwork::WorstSwr));
}

} // namespace

MatchSearch::MatchSearch(const Config &config)
    : m_config(config)
    , m_parts(config.parts.value_or(LNetwork::Parts::nominal(config.stepCpF, config.stepLnH)))
    , m_phase(Phase::Coarse)
{
    if (!modelUsable())
        return;
    // The bare antenna, then a coil and a capacitor alone at two sizes each: enough to tell
    // resistance from reactance, and the sign of the reactance.
    if (m_config.load && !m_config.start)
        m_config.start = LNetwork::bestFor(*m_config.load, m_config.hz, m_parts).setting;
    m_phase = m_config.start ? Phase::Start : Phase::Identify;
    m_queue = {Setting{0, 0, 0}, Setting{0, codeForCoil(50), 0}, Setting{0, codeForCoil(200), 0},
               Setting{codeForCapacitor(50), 0, 0}, Setting{codeForCapacitor(200), 0, 0}};
}

bool MatchSearch::modelUsable() const
{
    return m_config.hz > 0 && m_config.stepCpF > 0 && m_config.stepLnH > 0;
}

quint8 MatchSearch::codeForCoil(double ohms) const
{
    const double henries = ohms / (2 * std::numbers::pi * m_config.hz);
    return static_cast<quint8>(
        std::clamp<long>(std::lround(henries / (m_config.stepLnH * 1e-9)), 1, Codes - 1));
}

quint8 MatchSearch::codeForCapacitor(double ohms) const
{
    const double farads = 1 / (2 * std::numbers::pi * m_config.hz * ohms);
    return static_cast<quint8>(
        std::clamp<long>(std::lround(farads / (m_config.stepCpF * 1e-12)), 1, Codes - 1));
}

std::optional<double> MatchSearch::readingAt(const Setting &setting) const
{
    for (const Reading &r : m_readings) {
        if (r.setting == setting)
            return r.swr;
    }
    return std::nullopt;
}

void MatchSearch::measured(const Setting &setting, double swr)
{
    if (!readingAt(setting))
        m_readings << Reading{setting, swr};
}

std::optional<MatchSearch::Setting> MatchSearch::best() const
{
    if (m_readings.isEmpty())
        return std::nullopt;
    return std::min_element(m_readings.begin(), m_readings.end(),
                            [](const Reading &a, const Reading &b) { return a.swr < b.swr; })
        ->setting;
}

double MatchSearch::bestSwr() const
{
    const auto setting = best();
    return setting ? *readingAt(*setting) : LNetwork::WorstSwr;
}

double MatchSearch::fitError(LNetwork::Impedance load) const
{
    double error = 0;
    for (const Reading &r : m_readings) {
        const double model = swrThrough(load, r.setting);
        const double d = logSwr(model) - logSwr(r.swr);
        error += d * d;
    }
    return error;
}

void MatchSearch::fitLoad()
{
    ++m_fits;
    // A coarse grid over resistance (logarithmic) and reactance (finer near zero), then a
    // local descent from its best point.
    const auto load = [](double u, double v) {
        return LNetwork::Impedance(std::exp(u), 20 * std::sinh(v));
    };
    constexpr int Rs = 60;
    constexpr int Xs = 121;
    const double uLow = std::log(1.0);
    const double uHigh = std::log(5000.0);
    const double vEdge = std::asinh(5000.0 / 20);
    double bestU = 0;
    double bestV = 0;
    double bestError = INFINITY;
    for (int i = 0; i < Rs; ++i) {
        const double u = uLow + (uHigh - uLow) * i / (Rs - 1);
        for (int j = 0; j < Xs; ++j) {
            const double v = -vEdge + 2 * vEdge * j / (Xs - 1);
            const double error = fitError(load(u, v));
            if (error < bestError) {
                bestError = error;
                bestU = u;
                bestV = v;
            }
        }
    }
    double du = (uHigh - uLow) / (Rs - 1);
    double dv = 2 * vEdge / (Xs - 1);
    for (int round = 0; round < 200 && (du > 1e-6 || dv > 1e-6); ++round) {
        bool moved = false;
        for (const auto &[su, sv] :
             std::array<std::pair<double, double>, 4>{{{du, 0}, {-du, 0}, {0, dv}, {0, -dv}}}) {
            const double error = fitError(load(bestU + su, bestV + sv));
            if (error < bestError) {
                bestError = error;
                bestU += su;
                bestV += sv;
                moved = true;
            }
        }
        if (!moved) {
            du /= 2;
            dv /= 2;
        }
    }
    m_load = load(bestU, bestV);
}

std::optional<MatchSearch::Setting> MatchSearch::predicted() const
{
    if (!m_load)
        return std::nullopt;
    return LNetwork::bestOf([this](const Setting &s) { return swrThrough(*m_load, s); }).setting;
}

int MatchSearch::informative() const
{
    return static_cast<int>(std::count_if(m_readings.begin(), m_readings.end(),
                                          [](const Reading &r) { return r.swr < InformativeSwr; }));
}

std::optional<MatchSearch::Setting> MatchSearch::take(QList<Setting> &queue)
{
    while (!queue.isEmpty()) {
        const Setting s = queue.takeFirst();
        if (!readingAt(s))
            return s;
    }
    return std::nullopt;
}

std::optional<MatchSearch::Setting> MatchSearch::refineStep()
{
    // A pattern search on the two codes at the side of the best reading: try the four
    // neighbours at the current step, move to a better one, halve the step when none is.
    while (m_step > 0) {
        const Setting centre = *best();
        QList<Setting> around;
        const int s = m_step;
        for (const auto &[dc, dl] :
             std::array<std::pair<int, int>, 4>{{{s, 0}, {-s, 0}, {0, s}, {0, -s}}}) {
            const int c = centre.codeC + dc;
            const int l = centre.codeL + dl;
            if (c >= 0 && c < Codes && l >= 0 && l < Codes)
                around << Setting{static_cast<quint8>(c), static_cast<quint8>(l), centre.side};
        }
        if (auto s = take(around))
            return s;
        if (best() == m_centre)
            m_step /= 2; // every neighbour read, none better
        m_centre = *best();
    }
    return std::nullopt;
}

std::optional<MatchSearch::Setting> MatchSearch::coarseStep()
{
    if (!m_coarseQueued) {
        m_coarseQueued = true;
        for (int side : {1, 0}) {
            for (int c : CoarseCodes) {
                for (int l : CoarseCodes)
                    m_queue << Setting{static_cast<quint8>(c), static_cast<quint8>(l),
                                       static_cast<quint8>(side)};
            }
        }
    }
    return take(m_queue);
}

std::optional<MatchSearch::Setting> MatchSearch::next()
{
    for (;;) {
        if (probes() >= m_config.maxProbes || m_phase == Phase::Done ||
            (probes() > 0 && bestSwr() <= m_config.goodSwr)) {
            m_phase = Phase::Done;
            return std::nullopt;
        }
        switch (m_phase) {
        case Phase::Start: {
            const std::optional<double> read = readingAt(*m_config.start);
            if (!read)
                return m_config.start;
            // Read as predicted: the measurement and the parts describe the station here, and
            // what they call the best is.
            if (m_config.load && *read <= StartNearSwr &&
                std::abs(logSwr(*read) - logSwr(swrThrough(*m_config.load, *m_config.start))) <
                    AgreesLog) {
                m_phase = Phase::Done;
                break;
            }
            // Read well: the computed tune is near, and only its neighbours are tried.
            if (*read <= StartNearSwr) {
                m_phase = Phase::Refine;
                m_step = *read <= StartCloseSwr ? 1 : 4;
                m_centre = *best();
            } else {
                m_phase = Phase::Identify;
            }
            break;
        }
        case Phase::Identify:
            if (informative() < 3 || m_queue.size() > m_explore) {
                if (auto s = take(m_queue))
                    return s;
            }
            // Readings at the meter's end of scale say little; until three say more, look
            // around with coils and capacitors of other sizes on both sides.
            if (informative() < 3 && !m_explored) {
                m_explored = true;
                for (int side : {1, 0}) {
                    for (double coil : {12.0, 50.0, 200.0, 800.0}) {
                        for (double capacitor : {12.0, 50.0, 200.0, 800.0})
                            m_queue << Setting{codeForCapacitor(capacitor), codeForCoil(coil),
                                               static_cast<quint8>(side)};
                    }
                }
                m_explore = static_cast<int>(m_queue.size());
                break;
            }
            m_queue.clear();
            fitLoad();
            m_phase = Phase::Predict;
            break;
        case Phase::Predict: {
            const std::optional<Setting> p = predicted();
            if (p && !readingAt(*p))
                return p;
            // Readings the model does not explain teach it more: fit again with them.
            const double model = p ? swrThrough(*m_load, *p) : LNetwork::WorstSwr;
            const bool agrees = p && std::abs(logSwr(model) - logSwr(*readingAt(*p))) < 0.05;
            if (!agrees && m_fits < 4) {
                fitLoad();
                const std::optional<Setting> again = predicted();
                if (again && !readingAt(*again))
                    return again;
            }
            // A model far from the readings is no guide: search on readings alone.
            m_phase = agrees || bestSwr() < 2.0 ? Phase::Refine : Phase::Coarse;
            m_step = agrees ? 1 : 4;
            m_centre = *best();
            break;
        }
        case Phase::Refine:
            if (auto s = refineStep())
                return s;
            m_phase = Phase::Done;
            break;
        case Phase::Coarse:
            if (auto s = coarseStep())
                return s;
            m_phase = Phase::Refine;
            m_step = 8;
            m_centre = *best();
            break;
        case Phase::Done:
            break;
        }
    }
}
