#include "memorycommands.h"

#include "memorytable.h"
#include "settings/settingslocation.h"
#include "settings/settingslock.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include <cstdio>

namespace {

int failed(const QString &why)
{
    std::fprintf(stderr, "orvane: %s\n", qPrintable(why));
    return 1;
}

} // namespace

int exportMemories(const QString &csvPath, const QString &programDir, const QString &dataDir)
{
    const SettingsChoice choice = chooseSettingsFile(programDir, dataDir);
    if (!choice.error.isEmpty())
        return failed(choice.error);
    // Where the console would copy a read-only program folder's file, that file is the one.
    const QString source = choice.seed.isEmpty() ? choice.path : choice.seed;
    if (!QFileInfo::exists(source))
        return failed(QCoreApplication::translate("MemoryTable", "файла настроек %1 ещё нет")
                          .arg(QDir::toNativeSeparators(source)));
    QString error;
    return MemoryFiles::exportTo(source, csvPath, &error) ? 0 : failed(error);
}

int importMemories(const QString &csvPath, const QString &programDir, const QString &dataDir)
{
    const SettingsChoice choice = chooseSettingsFile(programDir, dataDir);
    QString error;
    const std::unique_ptr<SettingsLock> lock = holdSettingsFile(choice, &error);
    if (!lock)
        return failed(error);
    if (!choice.seed.isEmpty() && !copySettingsFile(choice.seed, choice.path, &error))
        return failed(error);
    return MemoryFiles::importFrom(csvPath, choice.path, &error) ? 0 : failed(error);
}
