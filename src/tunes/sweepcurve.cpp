#include "sweepcurve.h"

#include "backup/csv.h"

#include <QDateTime>

namespace SweepCurve {

std::optional<Minimum> minimum(const QList<Point> &points)
{
    std::optional<Minimum> best;
    for (const Point &p : points) {
        if (!best || p.swr < best->swr)
            best = Minimum{p.hz, p.swr};
    }
    return best;
}

std::optional<Stretch> under(const QList<Point> &points, double limit)
{
    qsizetype at = -1;
    for (qsizetype i = 0; i < points.size(); ++i) {
        if (at < 0 || points[i].swr < points[at].swr)
            at = i;
    }
    if (at < 0 || points[at].swr >= limit)
        return std::nullopt;
    // Where the straight line between a reading under the limit and one over it crosses it.
    const auto crossing = [&](qsizetype inside, qsizetype outside) {
        const Point &a = points[inside];
        const Point &b = points[outside];
        const double t = (limit - a.swr) / (b.swr - a.swr);
        return a.hz + qRound64(t * double(b.hz - a.hz));
    };
    qsizetype low = at;
    while (low > 0 && points[low - 1].swr < limit)
        --low;
    qsizetype high = at;
    while (high + 1 < points.size() && points[high + 1].swr < limit)
        ++high;
    return Stretch{low > 0 ? crossing(low, low - 1) : points[low].hz,
                   high + 1 < points.size() ? crossing(high, high + 1) : points[high].hz};
}

QByteArray table(const QList<StoredSweep> &sweeps)
{
    QByteArray out =
        Csv::row({QStringLiteral("antenna"), QStringLiteral("started"), QStringLiteral("kind"),
                  QStringLiteral("frequency Hz"), QStringLiteral("SWR"), QStringLiteral("W")});
    for (const StoredSweep &s : sweeps) {
        const QString started =
            QDateTime::fromMSecsSinceEpoch(s.started, Qt::UTC).toString(Qt::ISODate);
        for (const Point &p : s.points)
            out += Csv::row({QString::number(s.antenna + 1), started, StoredSweep::kindName(s.kind),
                             QString::number(p.hz), QString::number(p.swr, 'f', 3),
                             p.watts ? QString::number(*p.watts, 'f', 1) : QString()});
    }
    return out;
}

} // namespace SweepCurve
