#pragma once

#include <QLocale>
#include <QString>

#include <optional>

// The console speaks Russian, its own language, and English. Russian where the system's
// language is Russian and in the C or POSIX locale, as the console has always been; English
// everywhere else. --lang ru|en overrides.
enum class Language { Russian, English };

std::optional<Language> languageNamed(const QString &name);
Language languageFor(const QLocale &system);

// Puts the language's texts into the running application (Russian needs none); call it
// again for a new application object.
void useLanguage(Language language);
