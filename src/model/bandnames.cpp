#include "bandnames.h"

#include "slots.h"

#include <QCoreApplication>
#include <QStringList>

namespace BandNames {

namespace {

const QStringList &keys()
{
    static const QStringList names{"160m", "80m", "40m", "30m", "20m",
                                   "17m",  "15m", "12m", "10m", "ext"};
    return names;
}

// Lower case, no spaces, the Cyrillic "м" as the Latin "m" it looks like.
QString plain(const QString &name)
{
    QString out = name.toLower();
    out.remove(QLatin1Char(' '));
    out.remove(QChar(0x00A0));
    out.replace(QChar(0x043C), QLatin1Char('m'));
    return out;
}

} // namespace

QString caption(int band)
{
    if (band == Slots::Bands - 1)
        return QCoreApplication::translate("BandNames", "Д");
    return QCoreApplication::translate("BandNames", "%1 м").arg(keys().value(band).chopped(1));
}

QString key(int band)
{
    return keys().value(band);
}

QString slotText(int antenna, int band, int subBand)
{
    return QCoreApplication::translate("BandNames", "антенна %1, %2, %3")
        .arg(antenna + 1)
        .arg(caption(band))
        .arg(subBand + 1);
}

std::optional<int> find(const QString &name, bool numbers)
{
    const QString wanted = plain(name);
    if (wanted.isEmpty())
        return std::nullopt;
    if (numbers) {
        // A band's wavelength alone names it ("40", "10"); any other number is a place.
        for (int band = 0; band + 1 < Slots::Bands; ++band) {
            if (wanted + QLatin1Char('m') == keys()[band])
                return band;
        }
        bool ok = false;
        const int number = wanted.toInt(&ok);
        if (ok)
            return number >= 1 && number <= Slots::Bands ? std::optional<int>(number - 1)
                                                         : std::nullopt;
    }
    for (int band = 0; band < Slots::Bands; ++band) {
        if (wanted == keys()[band])
            return band;
    }
    if (wanted == plain(QStringLiteral("Д")) || wanted == QLatin1String("extra"))
        return Slots::Bands - 1;
    return std::nullopt;
}

} // namespace BandNames
