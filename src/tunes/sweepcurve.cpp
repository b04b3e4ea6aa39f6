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

namespace {

// Where the straight line between a reading under the limit and one over it crosses it.
qint64 crossing(const Point &inside, const Point &outside, double limit)
{
    const double t = (limit - inside.swr) / (outside.swr - inside.swr);
    return inside.hz + qRound64(t * double(outside.hz - inside.hz));
}

// The stretch under limit through the reading at, which is under it.
Stretch stretchAround(const QList<Point> &points, qsizetype at, double limit)
{
    qsizetype low = at;
    while (low > 0 && points[low - 1].swr < limit)
        --low;
    qsizetype high = at;
    while (high + 1 < points.size() && points[high + 1].swr < limit)
        ++high;
    const bool first = low == 0;
    const bool last = high + 1 == points.size();
    return Stretch{first ? points[low].hz : crossing(points[low], points[low - 1], limit),
                   last ? points[high].hz : crossing(points[high], points[high + 1], limit),
                   first || last};
}

} // namespace

std::optional<Stretch> under(const QList<Point> &points, double limit)
{
    qsizetype at = -1;
    for (qsizetype i = 0; i < points.size(); ++i) {
        if (at < 0 || points[i].swr < points[at].swr)
            at = i;
    }
    if (at < 0 || points[at].swr >= limit)
        return std::nullopt;
    return stretchAround(points, at, limit);
}

QList<Stretch> allUnder(const QList<Point> &points, double limit)
{
    QList<Stretch> out;
    for (qsizetype i = 0; i < points.size(); ++i) {
        if (points[i].swr >= limit || (i > 0 && points[i - 1].swr < limit))
            continue;
        out << stretchAround(points, i, limit);
    }
    return out;
}

std::optional<Width> widthUnder(const QList<Point> &points, double limit)
{
    const QList<Stretch> pieces = allUnder(points, limit);
    if (pieces.isEmpty())
        return std::nullopt;
    Width out;
    for (const Stretch &s : pieces) {
        out.total += s.width();
        ++out.pieces;
        out.open = out.open || s.open;
    }
    return out;
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
