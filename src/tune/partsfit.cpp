#include "partsfit.h"

#include <QCoreApplication>
#include <QHash>

#include <Eigen/Dense>
#include <unsupported/Eigen/NonLinearOptimization>
#include <unsupported/Eigen/NumericalDiff>

#include <cmath>

namespace PartsFit {

namespace {

using Impedance = LNetwork::Impedance;
constexpr int Relays = LNetwork::Parts::Relays;

// |Γ|², not |Γ|: smooth where the match passes through nothing, as a fit needs.
double gammaOf(double swr)
{
    const double g = (swr - 1) / (swr + 1);
    return g * g;
}

double gammaThrough(Impedance load, double hz, const LNetwork::Parts &parts,
                    const LNetwork::Setting &s)
{
    const Impedance z = LNetwork::inputImpedance(load, hz, parts, s);
    const double g = std::norm((z - LNetwork::ReferenceOhms) / (z + LNetwork::ReferenceOhms));
    return std::isfinite(g) ? std::min(g, 1.0) : 1.0;
}

// Where each unknown sits in the parameter vector: the parts' relative factors, the stray in
// units of 10 pF, the coils' loss 1/Q in hundredths, then each unknown load's log R and X/100.
struct Layout
{
    std::array<int, Relays> c{};
    std::array<int, Relays> l{};
    int stray = -1;
    int loss = -1;
    int loads = 0; // first load's index
    int size = 0;
};

// What a part is before any reading: within about this of its value (relative), the stray
// within this of nothing, the coils' loss near this; a reading is good to about ReadingSigma
// of |Γ|. The readings move a part as far as they say; a part they say nothing of stays.
constexpr double PartSigma = 0.1;
constexpr double StraySigmaPf = 30;
constexpr double LossPrior = 0.01;
constexpr double LossSigma = 0.02;
constexpr double ReadingSigma = 0.01;

struct Problem
{
    LNetwork::Parts start;
    Layout layout;
    // The first pass: the relays' parts held at their start, what all settings share (the
    // stray, the loss) and the loads free.
    bool partsHeld = false;
    QList<Reading> readings;
    QList<int> group; // the unknown load each reading uses, or -1

    LNetwork::Parts partsOf(const Eigen::VectorXd &x) const
    {
        LNetwork::Parts p = start;
        for (int i = 0; i < Relays && !partsHeld; ++i) {
            if (layout.c[i] >= 0)
                p.capacitorsPf[i] = start.capacitorsPf[i] * x[layout.c[i]];
            if (layout.l[i] >= 0)
                p.coilsNh[i] = start.coilsNh[i] * x[layout.l[i]];
        }
        if (layout.stray >= 0)
            p.strayPf = std::max(0.0, 10 * x[layout.stray]);
        if (layout.loss >= 0) {
            const double loss = x[layout.loss] / 100;
            p.coilQ = loss > 1e-6 ? 1 / loss : 0;
        }
        return p;
    }
    Impedance loadOf(const Eigen::VectorXd &x, int g) const
    {
        const int at = layout.loads + 2 * g;
        return {std::exp(std::clamp(x[at], -5.0, 12.0)), 100 * x[at + 1]};
    }
    void residuals(const Eigen::VectorXd &x, Eigen::VectorXd &out) const
    {
        const LNetwork::Parts p = partsOf(x);
        for (qsizetype i = 0; i < readings.size(); ++i) {
            const Reading &r = readings[i];
            const Impedance load = group[i] >= 0 ? loadOf(x, group[i]) : *r.load;
            out[i] = gammaThrough(load, r.hz, p, r.setting) - gammaOf(r.swr);
        }
        qsizetype at = readings.size();
        for (int i = 0; i < Relays; ++i) {
            for (const int index : {layout.c[i], layout.l[i]}) {
                if (index >= 0)
                    out[at++] = ReadingSigma * (x[index] - 1) / PartSigma;
            }
        }
        out[at++] = ReadingSigma * 10 * x[layout.stray] / StraySigmaPf;
        if (layout.loss >= 0)
            out[at++] = ReadingSigma * (x[layout.loss] / 100 - LossPrior) / LossSigma;
    }
    // The readings and one term for each part's prior.
    int values() const
    {
        int priors = 1 + (layout.loss >= 0 ? 1 : 0);
        for (int i = 0; i < Relays; ++i)
            priors += (layout.c[i] >= 0 ? 1 : 0) + (layout.l[i] >= 0 ? 1 : 0);
        return int(readings.size()) + priors;
    }
};

struct Functor
{
    using Scalar = double;
    enum { InputsAtCompileTime = Eigen::Dynamic, ValuesAtCompileTime = Eigen::Dynamic };
    using InputType = Eigen::VectorXd;
    using ValueType = Eigen::VectorXd;
    using JacobianType = Eigen::MatrixXd;

    const Problem *problem = nullptr;
    int inputs() const { return problem->layout.size; }
    int values() const { return problem->values(); }
    int operator()(const Eigen::VectorXd &x, Eigen::VectorXd &out) const
    {
        problem->residuals(x, out);
        return 0;
    }
};

double rms(const Eigen::VectorXd &v)
{
    return v.size() ? std::sqrt(v.squaredNorm() / double(v.size())) : 0;
}

} // namespace

Result fit(const LNetwork::Parts &start, const QList<Reading> &all)
{
    Result result;
    result.parts = start;
    Problem problem;
    problem.start = start;
    for (const Reading &r : all) {
        if (r.swr >= 1 && r.swr < MaxSwr && r.hz > 0)
            problem.readings << r;
    }
    if (problem.readings.size() > MaxReadings)
        problem.readings = problem.readings.mid(problem.readings.size() - MaxReadings);

    // Which relays the readings ever switched in.
    std::array<bool, Relays> cUsed{};
    std::array<bool, Relays> lUsed{};
    bool anyL = false;
    for (const Reading &r : std::as_const(problem.readings)) {
        for (int i = 0; i < Relays; ++i) {
            cUsed[i] = cUsed[i] || (r.setting.codeC & (1 << i));
            lUsed[i] = lUsed[i] || (r.setting.codeL & (1 << i));
        }
        anyL = anyL || r.setting.codeL != 0;
    }
    Layout &layout = problem.layout;
    int n = 0;
    for (int i = 0; i < Relays; ++i) {
        layout.c[i] = cUsed[i] ? n++ : -1;
        layout.l[i] = lUsed[i] ? n++ : -1;
    }
    layout.stray = n++;
    layout.loss = anyL ? n++ : -1;
    layout.loads = n;
    // Each frequency (of an antenna) without a measured load gets one of its own.
    QHash<qint64, int> groups;
    for (const Reading &r : std::as_const(problem.readings)) {
        if (r.load) {
            problem.group << -1;
            continue;
        }
        const qint64 key = std::llround(r.hz);
        if (!groups.contains(key))
            groups.insert(key, int(groups.size()));
        problem.group << groups.value(key);
    }
    layout.size = n + 2 * int(groups.size());
    result.readings = int(problem.readings.size());
    result.unknownLoads = int(groups.size());
    if (result.readings < layout.size + 2) {
        result.error =
            QCoreApplication::translate("PartsFit", "по %1 показаниям не определить %2 неизвестных")
                .arg(result.readings)
                .arg(layout.size);
        return result;
    }

    Eigen::VectorXd x = Eigen::VectorXd::Zero(layout.size);
    for (int i = 0; i < Relays; ++i) {
        if (layout.c[i] >= 0)
            x[layout.c[i]] = 1;
        if (layout.l[i] >= 0)
            x[layout.l[i]] = 1;
    }
    x[layout.stray] = start.strayPf / 10;
    if (layout.loss >= 0)
        x[layout.loss] = start.coilQ > 0 ? 100 / start.coilQ : 0.5;
    // Each unknown load starts where the readings at its frequency, through the parts as they
    // are, point: the best of a coarse grid.
    for (auto it = groups.cbegin(); it != groups.cend(); ++it) {
        double lowest = INFINITY;
        for (double u = std::log(2.0); u < std::log(5000.0); u += 0.25) {
            for (double v = -30; v <= 30; v += 0.5) {
                double sum = 0;
                for (qsizetype i = 0; i < problem.readings.size(); ++i) {
                    if (problem.group[i] != it.value())
                        continue;
                    const Reading &r = problem.readings[i];
                    const double d = gammaThrough({std::exp(u), 100 * v}, r.hz, start, r.setting) -
                                     gammaOf(r.swr);
                    sum += d * d;
                }
                if (sum < lowest) {
                    lowest = sum;
                    x[layout.loads + 2 * it.value()] = u;
                    x[layout.loads + 2 * it.value() + 1] = v;
                }
            }
        }
    }
    Eigen::VectorXd r(problem.values());
    problem.residuals(x, r);
    // Before: the parts as they are, each load at its best for them.
    result.residualBefore = rms(r.head(problem.readings.size()));

    Functor functor;
    functor.problem = &problem;
    Eigen::NumericalDiff<Functor> numeric(functor);
    // A stray of tens of picofarads moves every setting at once, and from the start values a
    // fit of all parts at once finds a wrong minimum: first the stray and the loss, from the
    // best of a coarse grid, with the parts held; then everything.
    problem.partsHeld = true;
    {
        double lowest = INFINITY;
        Eigen::VectorXd best = x;
        for (double stray = 0; stray <= 60; stray += 5) {
            for (const double loss : {0.002, 0.008, 0.02}) {
                Eigen::VectorXd trial = x;
                trial[layout.stray] = stray / 10;
                if (layout.loss >= 0)
                    trial[layout.loss] = loss * 100;
                problem.residuals(trial, r);
                if (r.squaredNorm() < lowest) {
                    lowest = r.squaredNorm();
                    best = trial;
                }
            }
        }
        x = best;
        Eigen::LevenbergMarquardt<Eigen::NumericalDiff<Functor>> shared(numeric);
        shared.parameters.maxfev = 100 * (layout.size + 1);
        shared.minimize(x);
    }
    problem.partsHeld = false;
    Eigen::LevenbergMarquardt<Eigen::NumericalDiff<Functor>> solver(numeric);
    solver.parameters.maxfev = 200 * (layout.size + 1);
    solver.minimize(x);
    problem.residuals(x, r);
    result.residualAfter = rms(r.head(problem.readings.size()));

    // Uncertainties from the Jacobian at the fit: σ² (JᵀJ)⁻¹.
    Eigen::MatrixXd jacobian(problem.values(), layout.size);
    numeric.df(x, jacobian);
    const double dof = double(problem.readings.size() - layout.size);
    const double variance =
        std::max(ReadingSigma * ReadingSigma,
                 r.head(problem.readings.size()).squaredNorm() / std::max(1.0, dof));
    const Eigen::MatrixXd normal = jacobian.transpose() * jacobian;
    const Eigen::MatrixXd covariance =
        normal.completeOrthogonalDecomposition().pseudoInverse() * variance;
    const auto sigma = [&](int at) {
        return std::sqrt(std::max(0.0, covariance(at, at)));
    };

    const LNetwork::Parts fitted = problem.partsOf(x);
    const auto take = [&](int at, double before, double after, double scale, Value &value,
                          double &into, const QString &unused) {
        value.value = before;
        if (at < 0) {
            value.refused = unused;
            return;
        }
        const double uncertainty = sigma(at) * scale;
        // A value the readings leave free (known no better than before them), or one that
        // went where no part can be.
        if (!std::isfinite(after) || after <= 0 || !std::isfinite(uncertainty) ||
            uncertainty > 0.7 * PartSigma * scale) {
            value.refused = QCoreApplication::translate("PartsFit", "показания её не определяют");
            value.uncertainty = uncertainty;
            return;
        }
        value.value = after;
        value.uncertainty = uncertainty;
        into = after;
    };
    for (int i = 0; i < Relays; ++i) {
        take(layout.c[i], start.capacitorsPf[i], fitted.capacitorsPf[i], start.capacitorsPf[i],
             result.capacitors[i], result.parts.capacitorsPf[i],
             QCoreApplication::translate("PartsFit", "ни разу не включалась"));
        take(layout.l[i], start.coilsNh[i], fitted.coilsNh[i], start.coilsNh[i], result.coils[i],
             result.parts.coilsNh[i],
             QCoreApplication::translate("PartsFit", "ни разу не включалась"));
    }
    // The stray may be near nothing: it is refused only when it is left wholly free.
    result.stray.value = fitted.strayPf;
    result.stray.uncertainty = sigma(layout.stray) * 10;
    if (std::isfinite(result.stray.uncertainty) && result.stray.uncertainty < 0.7 * StraySigmaPf)
        result.parts.strayPf = fitted.strayPf;
    else
        result.stray = {start.strayPf, result.stray.uncertainty,
                        QCoreApplication::translate("PartsFit", "показания её не определяют")};
    if (layout.loss >= 0) {
        const double loss = x[layout.loss] / 100;
        const double lossSigma = sigma(layout.loss) / 100;
        if (loss > 1e-4 && lossSigma < 0.7 * LossSigma) {
            result.coilQ = {1 / loss, lossSigma / (loss * loss), {}};
            result.parts.coilQ = 1 / loss;
        } else {
            result.coilQ = {start.coilQ, 0,
                            QCoreApplication::translate("PartsFit", "показания её не определяют")};
        }
    } else {
        result.coilQ = {start.coilQ, 0,
                        QCoreApplication::translate("PartsFit", "ни одна катушка не включалась")};
    }
    return result;
}

QStringList report(const Result &result)
{
    if (!result.error.isEmpty())
        return {result.error};
    QStringList lines;
    const auto line = [&](const QString &name, const Value &v, const QString &unit) {
        lines << (v.refused.isEmpty()
                      ? QStringLiteral("%1 %2 ± %3 %4")
                            .arg(name, QString::number(v.value, 'f', 2),
                                 QString::number(v.uncertainty, 'f', 2), unit)
                      : QCoreApplication::translate("PartsFit", "%1 %2 %3 оставлено: %4")
                            .arg(name, QString::number(v.value, 'f', 2), unit, v.refused));
    };
    const QString pf = QCoreApplication::translate("PartsFit", "пФ");
    const QString nh = QCoreApplication::translate("PartsFit", "нГн");
    // Relays numbered from 1, as the parts dialog shows them.
    for (int i = 0; i < Relays; ++i)
        line(QStringLiteral("C%1").arg(i + 1), result.capacitors[i], pf);
    for (int i = 0; i < Relays; ++i)
        line(QStringLiteral("L%1").arg(i + 1), result.coils[i], nh);
    line(QCoreApplication::translate("PartsFit", "Паразитная"), result.stray, pf);
    line(QStringLiteral("Q"), result.coilQ, QString());
    lines << QCoreApplication::translate(
                 "PartsFit", "Невязка %1 до, %2 после; показаний: %3, неизвестных нагрузок: %4")
                 .arg(QString::number(result.residualBefore, 'f', 4),
                      QString::number(result.residualAfter, 'f', 4))
                 .arg(result.readings)
                 .arg(result.unknownLoads);
    return lines;
}

} // namespace PartsFit
