#include "language.h"

#include <QCoreApplication>
#include <QTranslator>

std::optional<Language> languageNamed(const QString &name)
{
    if (name.compare(QLatin1String("ru"), Qt::CaseInsensitive) == 0)
        return Language::Russian;
    if (name.compare(QLatin1String("en"), Qt::CaseInsensitive) == 0)
        return Language::English;
    return std::nullopt;
}

Language languageFor(const QLocale &system)
{
    if (system.language() == QLocale::C || system.language() == QLocale::Russian)
        return Language::Russian;
    const QStringList preferred = system.uiLanguages();
    if (!preferred.isEmpty() && preferred.first().startsWith(QLatin1String("ru")))
        return Language::Russian;
    return Language::English;
}

void useLanguage(Language language)
{
    static QTranslator english;
    QCoreApplication::removeTranslator(&english);
    if (language == Language::English &&
        (!english.isEmpty() || english.load(QStringLiteral(":/i18n/orvane_en.qm"))))
        QCoreApplication::installTranslator(&english);
}
