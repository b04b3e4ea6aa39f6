#pragma once

#include <QSettings>

#include <algorithm>

// A whole number the user's settings keep under key: the fallback where there is none or it is
// no number (a hand-edited file's typing error is not 0), else brought within min–max.
inline int intSetting(const QSettings *settings, const char *key, int fallback, int min, int max)
{
    bool ok = false;
    const int value = settings ? settings->value(QString::fromLatin1(key)).toInt(&ok) : fallback;
    return ok ? std::clamp(value, min, max) : fallback;
}
