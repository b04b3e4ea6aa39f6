#include "settingslocation.h"

#include "settingsfile.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

// The texts of this file, for translation.
struct SettingsText
{
    Q_DECLARE_TR_FUNCTIONS(SettingsFile)
};

namespace {

struct Entry
{
    enum State { Missing, Regular, Unusable } state = Missing;
    bool readable = false;
    bool writable = false;
    QDateTime modified;
    QString error;
};

Entry inspect(const QString &path)
{
    Entry e;
    const QFileInfo info(path);
    const QString shown = QDir::toNativeSeparators(path);
    if (info.isSymLink() && !info.exists()) {
        e.state = Entry::Unusable;
        e.error = SettingsText::tr("%1: ссылка ведёт на несуществующий файл").arg(shown);
        return e;
    }
    if (!info.exists())
        return e;
    if (!info.isFile()) {
        e.state = Entry::Unusable;
        e.error = SettingsText::tr("%1: это не файл настроек, а %2")
                      .arg(shown, info.isDir() ? SettingsText::tr("папка")
                                               : SettingsText::tr("файл устройства или канал"));
        return e;
    }
    e.state = Entry::Regular;
    e.readable = info.isReadable();
    e.writable = info.isWritable();
    e.modified = info.lastModified();
    if (!e.readable) {
        e.state = Entry::Unusable;
        e.error = SettingsText::tr("%1: файл есть, но прочитать его нельзя").arg(shown);
    }
    return e;
}

bool folderUsable(const QString &folder)
{
    if (!QDir().mkpath(folder))
        return false;
    return QFileInfo(folder).isWritable();
}

} // namespace

SettingsChoice chooseSettingsFile(const QString &programDir, const QString &dataDir)
{
    const QString name = QString::fromLatin1(SettingsFile::FileName);
    const QString programPath = programDir.isEmpty() ? QString() : QDir(programDir).filePath(name);
    const QString dataPath = dataDir.isEmpty() ? QString() : QDir(dataDir).filePath(name);
    const Entry program = programPath.isEmpty() ? Entry() : inspect(programPath);
    const Entry data = dataPath.isEmpty() ? Entry() : inspect(dataPath);

    SettingsChoice choice;
    // A file that is there but cannot serve is never bypassed: another one would hide it.
    for (const Entry *e : {&program, &data}) {
        if (e->state == Entry::Unusable) {
            choice.error = e->error;
            return choice;
        }
    }
    const bool programUsable =
        !programPath.isEmpty() &&
        (program.state == Entry::Regular ? program.writable : folderUsable(programDir));
    const auto useProgram = [&] {
        choice.path = programPath;
        return choice;
    };
    const auto useData = [&](const QString &seed) {
        choice.path = dataPath;
        choice.seed = seed;
        choice.inDataFolder = true;
        return choice;
    };

    if (data.state == Entry::Regular) {
        // Saves made while the program folder was read-only live here; only a newer program
        // folder copy takes over.
        if (program.state == Entry::Regular && program.modified > data.modified)
            return programUsable ? useProgram() : useData(programPath);
        return useData({});
    }
    if (programUsable)
        return useProgram();
    if (dataPath.isEmpty() || !QDir().mkpath(dataDir)) {
        choice.error =
            SettingsText::tr("%1: папка недоступна для записи")
                .arg(QDir::toNativeSeparators(programPath.isEmpty() ? dataPath : programPath));
        return choice;
    }
    return useData(program.state == Entry::Regular ? programPath : QString());
}

bool syncFolder(const QString &folder)
{
#ifdef Q_OS_UNIX
    const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY);
    if (fd < 0)
        return false;
    const bool synced = ::fsync(fd) == 0;
    ::close(fd);
    return synced;
#else
    Q_UNUSED(folder);
    return true;
#endif
}

bool writeWhole(const QString &path, const QByteArray &bytes, QString *error)
{
    QSaveFile target(path);
    target.setDirectWriteFallback(false);
    bool ok =
        target.open(QIODevice::WriteOnly) && target.write(bytes) == bytes.size() && target.flush();
#ifdef Q_OS_UNIX
    ok = ok && ::fsync(target.handle()) == 0;
#endif
    if (!ok || !target.commit()) {
        *error = QDir::toNativeSeparators(path) + QStringLiteral(": ") + target.errorString();
        target.cancelWriting();
        return false;
    }
    syncFolder(QFileInfo(path).absolutePath());
    return true;
}

bool copySettingsFile(const QString &from, const QString &to, QString *error)
{
    QFile source(from);
    if (!source.open(QIODevice::ReadOnly)) {
        *error = QDir::toNativeSeparators(from) + QStringLiteral(": ") + source.errorString();
        return false;
    }
    if (!writeWhole(to, source.readAll(), error))
        return false;
    QFile::setPermissions(to, QFile::permissions(to) | QFile::ReadOwner | QFile::WriteOwner);
    const QDir fromDir = QFileInfo(from).absoluteDir();
    const QDir toDir = QFileInfo(to).absoluteDir();
    // A memory of its own in the new folder is never overwritten; with none, the old one
    // comes along whole, its log included.
    if (QFileInfo::exists(toDir.filePath(QString::fromLatin1(CompanionFiles[0]))))
        return true;
    for (const char *name : CompanionFiles) {
        QFile companion(fromDir.filePath(QString::fromLatin1(name)));
        if (!companion.exists())
            continue;
        const QString target = toDir.filePath(QString::fromLatin1(name));
        if (!companion.open(QIODevice::ReadOnly) || !writeWhole(target, companion.readAll(), error))
            return false;
        QFile::setPermissions(target,
                              QFile::permissions(target) | QFile::ReadOwner | QFile::WriteOwner);
    }
    return true;
}
