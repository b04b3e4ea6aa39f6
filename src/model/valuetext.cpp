#include "valuetext.h"

#include <QCoreApplication>

#include <cfenv>
#include <cmath>

static double nearestEven(double value)
{
    // nearbyint follows the current rounding mode; the console never changes it from
    // to-nearest-even, but a plug-in might.
    const int saved = std::fegetround();
    std::fesetround(FE_TONEAREST);
    const double rounded = std::nearbyint(value);
    std::fesetround(saved);
    return rounded;
}

int roundHalfEven(double value)
{
    return static_cast<int>(nearestEven(value));
}

QString capacitanceText(int stepC, int code)
{
    return QString::number(stepC * code) + QStringLiteral(" pF");
}

QString inductanceText(qint16 stepL, int code, const QLocale &locale)
{
    // Divide first, then multiply: the order decides the last digit of some values.
    const double microhenries = stepL / 1000.0 * code;
    return generalNumberText(microhenries, locale) + QStringLiteral(" uH");
}

QString generalNumberText(double value, const QLocale &locale)
{
    QLocale plain = locale;
    plain.setNumberOptions(locale.numberOptions() | QLocale::OmitGroupSeparator);
    return plain.toString(value, 'g', 15);
}

int barRight(int left, int width, int code)
{
    return roundHalfEven(static_cast<double>(width) / 255.0 * code + left);
}

std::optional<int> toWholeNumber(const QString &text, int min, int max, const QLocale &locale)
{
    bool ok = false;
    const double value = locale.toDouble(text.trimmed(), &ok);
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    // Compare before converting, so that huge values cannot overflow the int.
    const double rounded = nearestEven(value);
    if (rounded < min || rounded > max)
        return std::nullopt;
    return static_cast<int>(rounded);
}

QString decimalShown(double value, int decimals)
{
    //: The decimal sign of numbers in running text, in this language.
    const QString sign = QCoreApplication::translate("ValueText", ",");
    return QString::number(value, 'f', decimals).replace(QLatin1Char('.'), sign);
}

QString megahertzShown(qint64 hz)
{
    return decimalShown(hz / 1e6, 3);
}
