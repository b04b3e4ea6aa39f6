#pragma once

#include <QLocale>
#include <QString>

#include <optional>

// Rounds to the nearest whole number, halves to the even neighbour (12.5 → 12, 13.5 → 14).
int roundHalfEven(double value);

// "370 pF" for StepC 10 and code 37.
QString capacitanceText(int stepC, int code);

// "0.15 uH" for StepL 50 and code 3, in the locale's notation without digit grouping.
QString inductanceText(qint16 stepL, int code, const QLocale &locale = QLocale());

// The locale's general number format: up to 15 significant digits, no trailing zeros,
// no grouping.
QString generalNumberText(double value, const QLocale &locale = QLocale());

// "1,50" in Russian, "1.50" in English: a number with its decimals in the window's language.
QString decimalShown(double value, int decimals);
// "7,074" in Russian, "7.074" in English: MHz with three decimals in the window's language.
QString megahertzShown(qint64 hz);

// Right edge of a bar whose full width stands for code 255.
int barRight(int left, int width, int code);

// Typed text to a whole number: optional blanks and sign, the locale's decimal separator,
// fractions rounded half to even. Empty when the text is no number or the result is
// outside [min, max].
std::optional<int> toWholeNumber(const QString &text, int min, int max,
                                 const QLocale &locale = QLocale());
