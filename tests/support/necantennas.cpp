#include "necantennas.h"

#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <cmath>
#include <random>

using Point = AntennaMeasurement::Point;

namespace {

// 1.7–30 MHz in 100 kHz steps, with every card of the deck but the frequencies given.
QList<Point> nec(const QString &geometry, const QString &excitation)
{
    QTemporaryDir dir;
    const QString deck = dir.filePath(QStringLiteral("a.nec"));
    const QString out = dir.filePath(QStringLiteral("a.out"));
    QFile file(deck);
    file.open(QIODevice::WriteOnly);
    file.write(("CM orvane\nCE\n" + geometry + "GE 1\nGN 0 0 0 0 13 0.005\n" + excitation +
                "FR 0 284 0 0 1.7 0.1\nXQ\nEN\n")
                   .toLatin1());
    file.close();
    QProcess process;
    process.start(QStringLiteral("nec2c"), {QStringLiteral("-i"), deck, QStringLiteral("-o"), out});
    process.waitForFinished(60000);
    QFile result(out);
    result.open(QIODevice::ReadOnly);
    const QStringList lines = QString::fromLatin1(result.readAll()).split(QLatin1Char('\n'));
    static const QRegularExpression frequency(QStringLiteral("FREQUENCY : *(\\S+) MHz"));
    QList<Point> points;
    double hz = 0;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (const auto m = frequency.match(lines[i]); m.hasMatch())
            hz = m.captured(1).toDouble() * 1e6;
        if (lines[i].contains(QLatin1String("ANTENNA INPUT PARAMETERS")) && i + 3 < lines.size()) {
            const QStringList w = lines[i + 3].split(QLatin1Char(' '), Qt::SkipEmptyParts);
            points << Point{std::llround(hz), {w.value(6).toDouble(), w.value(7).toDouble()}};
        }
    }
    return points;
}

} // namespace

QList<std::pair<const char *, QList<Point>>> necAntennas()
{
    return {
        {"dipole", nec(QStringLiteral("GW 1 41 0 -10.1 10 0 10.1 10 0.001\n"),
                       QStringLiteral("EX 0 1 21 0 1 0\n"))},
        {"doublet",
         nec(QStringLiteral("GW 1 31 0 -15.5 12 0 15.5 12 0.001\nGW 2 1 0 0 1 0 0 1.2 0.001\n"),
             QStringLiteral("TL 1 16 2 1 450 12 0 0 0 0\nEX 0 2 1 0 1 0\n"))},
        {"inverted-l",
         nec(QStringLiteral("GW 1 10 0 0 3 0 0 13 0.001\nGW 2 20 0 0 13 20 0 13 0.001\n"
                            "GW 3 10 0 0 3 10 0 3 0.001\nGW 4 10 0 0 3 -10 0 3 0.001\n"
                            "GW 5 10 0 0 3 0 10 3 0.001\nGW 6 10 0 0 3 0 -10 3 0.001\n"),
             QStringLiteral("EX 0 1 1 0 1 0\n"))},
    };
}

LNetwork::Parts offNominalParts()
{
    LNetwork::Parts parts = LNetwork::Parts::nominal(10, 500);
    std::mt19937 random(37);
    std::uniform_real_distribution<double> spread(0.92, 1.08);
    for (int bit = 0; bit < 8; ++bit) {
        parts.capacitorsPf[bit] *= spread(random);
        parts.coilsNh[bit] *= spread(random);
    }
    parts.strayPf = 15;
    parts.coilQ = 120;
    return parts;
}
