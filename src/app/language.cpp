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

namespace {

// Qt's own Russian, read from its file only when Qt first asks for one of its texts (a file
// chooser, a standard button): a console that never shows one keeps none of it in memory.
class QtRussian : public QTranslator
{
public:
    QString translate(const char *context, const char *sourceText, const char *disambiguation,
                      int n) const override
    {
        // Qt's classes name their contexts after themselves; the console's never begin with Q.
        // The layout's direction, asked at every change of language, is left to right; Qt
        // Serial Port's words, asked at every open, are not in this file.
        if (!context || context[0] != 'Q' || qstrcmp(sourceText, "QT_LAYOUT_DIRECTION") == 0 ||
            qstrncmp(context, "QSerialPort", 11) == 0)
            return {};
        if (!m_tried) {
            m_tried = true;
            if (!m_texts.load(QStringLiteral("qtbase_ru"),
                              QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
                (void)m_texts.load(QStringLiteral(":/i18n/qtbase_ru.qm"));
        }
        return m_texts.translate(context, sourceText, disambiguation, n);
    }
    bool isEmpty() const override { return false; }

private:
    mutable bool m_tried = false;
    mutable QTranslator m_texts;
};

} // namespace

void useLanguage(Language language)
{
    static QTranslator english;
    // Qt's own dialogs (file choosers, Cancel, About Qt) speak the window's language too: Qt's
    // translation where the system has it, else the one built in.
    static QtRussian qtRussian;
    QCoreApplication::removeTranslator(&english);
    QCoreApplication::removeTranslator(&qtRussian);
    if (language == Language::English &&
        (!english.isEmpty() || english.load(QStringLiteral(":/i18n/orvane_en.qm"))))
        QCoreApplication::installTranslator(&english);
    if (language == Language::Russian)
        QCoreApplication::installTranslator(&qtRussian);
}
