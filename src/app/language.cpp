#include "language.h"

#include <QCoreApplication>
#include <QLibraryInfo>
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
    // Qt's own dialogs (file choosers, Cancel, About Qt) speak the window's language too:
    // Qt's translation where the system has it, else the one built in.
    static QTranslator qtRussian;
    QCoreApplication::removeTranslator(&english);
    QCoreApplication::removeTranslator(&qtRussian);
    if (language == Language::English &&
        (!english.isEmpty() || english.load(QStringLiteral(":/i18n/orvane_en.qm"))))
        QCoreApplication::installTranslator(&english);
    if (language == Language::Russian &&
        (!qtRussian.isEmpty() ||
         qtRussian.load(QStringLiteral("qtbase_ru"),
                        QLibraryInfo::path(QLibraryInfo::TranslationsPath)) ||
         qtRussian.load(QStringLiteral(":/i18n/qtbase_ru.qm"))))
        QCoreApplication::installTranslator(&qtRussian);
}
