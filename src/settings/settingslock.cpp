#include "settingslock.h"

#include <QCoreApplication>
#include <QDir>

SettingsLock::SettingsLock(const QString &settingsPath)
    : m_lock(settingsPath + QStringLiteral(".lock"))
{
    // Stale only when its process is gone, never by age: a console may run for weeks.
    m_lock.setStaleLockTime(0);
}

bool SettingsLock::tryLock()
{
    return m_lock.tryLock(0);
}

qint64 SettingsLock::holder() const
{
    qint64 pid = 0;
    QString host;
    QString application;
    return m_lock.getLockInfo(&pid, &host, &application) ? pid : 0;
}

QString SettingsLock::refusal(const QString &settingsPath) const
{
    const QString shown = QDir::toNativeSeparators(settingsPath);
    if (m_lock.error() == QLockFile::LockFailedError)
        return QCoreApplication::translate("SettingsFile",
                                           "%1 уже открыт другой консолью (процесс %2)")
            .arg(shown)
            .arg(holder());
    return QCoreApplication::translate("SettingsFile", "%1: не удалось создать файл блокировки %2")
        .arg(shown, QDir::toNativeSeparators(settingsPath + QStringLiteral(".lock")));
}
