#pragma once

#include "model/slots.h"

#include <QList>
#include <QString>

#include <array>
#include <optional>

class QSettings;

// Which band and sub-band of the console a radio frequency falls in: the ten bands of the
// band frame in their order, each split into five sub-bands.
class BandPlan
{
public:
    static constexpr int Bands = Slots::Bands;
    static constexpr int SubBands = Slots::SubBands;
    // What a radio of the station can tune; a reading outside is no reading (an overflow in
    // the sender's arithmetic, a unit mistaken).
    static constexpr qint64 MinHz = 100'000;
    static constexpr qint64 MaxHz = 3'000'000'000;

    // A frequency a radio can have, in whole hertz; none for NaN, infinity, or outside
    // MinHz–MaxHz.
    static std::optional<qint64> hertzOf(double hz);

    struct Position
    {
        int band = 0;
        int subBand = 0;
        friend bool operator==(const Position &, const Position &) = default;
    };

    struct Band
    {
        qint64 low = 0; // Hz
        qint64 high = 0;
        // Where sub-bands 2 to 5 begin; equal parts unless set.
        std::array<qint64, SubBands - 1> splits{};
        // The frequency memory's bins, Hz; 0: 0.1 % of the lower edge, in whole kHz.
        qint64 binWidth = 0;
        // low, the four inner edges, high: every line a picture of the band draws.
        QList<qint64> edges() const
        {
            QList<qint64> all{low};
            for (const qint64 split : splits)
                all << split;
            all << high;
            return all;
        }
    };

    // A stretch of a band the frequency memory keeps one tune for, [low, high).
    struct Bin
    {
        int band = 0;
        qint64 low = 0;
        qint64 high = 0;
        qint64 middle() const { return (low + high) / 2; }
        friend bool operator==(const Bin &, const Bin &) = default;
    };

    // 160 m to 10 m at their usual edges, the additional band at 50–54 MHz, five equal
    // sub-bands each.
    BandPlan();

    // The bands/<name> keys of the user's settings ("bands/40m=7.000-7.200", MHz), and
    // bands/<name>_split for the four inner sub-band edges ("7.040,7.080,7.120,7.160"), and
    // bands/<name>_bin for the frequency memory's bin width in kHz.
    // A key that does not read as a range keeps the default; problems are listed.
    QStringList loadFrom(QSettings &settings);

    // Writes every band and its sub-band edges to those keys.
    void saveTo(QSettings &settings) const;

    // Why the table cannot serve, or empty: each band's edges rise (low, the four inner
    // edges, high), every band lies within 1–60 MHz, and no two overlap.
    QString problem() const;

    std::optional<Position> locate(qint64 hz) const;
    // The memory's bin a frequency falls in, bins counted from the band's lower edge.
    std::optional<Bin> binOf(qint64 hz) const;
    // A stretch of a band asked for, from–to in Hz, both 0 for the whole band: why it is
    // none (no such band, outside it, backwards), or empty with from and to filled in.
    QString stretch(int band, qint64 &from, qint64 &to) const;
    // The bin width in use for a band, Hz, and its usual one.
    qint64 binWidth(int band) const;
    // The bins of every band together.
    qint64 binCount() const;
    static qint64 usualBinWidth(qint64 low);
    const Band &band(int index) const { return m_bands[static_cast<size_t>(index)]; }
    void setBand(int index, const Band &band) { m_bands[static_cast<size_t>(index)] = band; }
    // Where a sub-band begins and ends, Hz.
    std::pair<qint64, qint64> subBandRange(int band, int subBand) const;
    // The settings name of a band: "160m" … "10m", "extra".
    static QString keyOf(int band);

    static Band evenly(qint64 low, qint64 high);

private:
    std::array<Band, Bands> m_bands;
};
