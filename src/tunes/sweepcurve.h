#pragma once

#include "tunestore.h"

#include <QByteArray>
#include <QList>

#include <optional>

// What an SWR sweep shows: where the curve is lowest, and how wide the stretch around it is
// where it stays under a limit. Between two readings the curve is taken as straight.
namespace SweepCurve {

using Point = StoredSweep::Point;

struct Minimum
{
    qint64 hz = 0;
    double swr = 0;
};
struct Stretch
{
    qint64 low = 0;
    qint64 high = 0;
    // It runs into the first or the last reading: it may go on beyond the sweep.
    bool open = false;
    qint64 width() const { return high - low; }
};
// Every stretch under a limit together.
struct Width
{
    qint64 total = 0;
    int pieces = 0;
    bool open = false; // one of them runs into the sweep's end
};

// The lowest reading (the first of equals); none without readings.
std::optional<Minimum> minimum(const QList<Point> &points);
// The stretch under limit that holds the minimum, its ends where the curve crosses the limit
// (or the first and last reading where it does not); none when the minimum is not under it.
std::optional<Stretch> under(const QList<Point> &points, double limit);

// Every stretch under limit, in order.
QList<Stretch> allUnder(const QList<Point> &points, double limit);
// Their widths together; none when the curve is nowhere under the limit.
std::optional<Width> widthUnder(const QList<Point> &points, double limit);

// The sweeps as a CSV table: one row a reading.
QByteArray table(const QList<StoredSweep> &sweeps);

} // namespace SweepCurve
