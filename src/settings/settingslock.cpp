#include "settingslock.h"

#include <QCoreApplication>
#include <QDir>
#include <QThread>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {
// A console that has just created its lock file writes its process into it at once; an
// unreadable lock file that stays so this long was left behind.
constexpr int SettleMs = 100;
} // namespace

SettingsLock::SettingsLock(const QString &settingsPath)
    : m_path(settingsPath + QStringLiteral(".lock"))
    , m_lock(m_path)
{
    // Stale only when its process is gone, never by age: a console may run for weeks.
    m_lock.setStaleLockTime(0);
}

bool SettingsLock::tryLock()
{
    if (m_lock.tryLock(0))
        return true;
    // QLockFile takes over a lock whose process is gone; one that names no process it would
    // keep refusing for ever.
    return m_lock.error() == QLockFile::LockFailedError && removeUnreadable() && m_lock.tryLock(0);
}

qint64 SettingsLock::holder() const
{
    qint64 pid = 0;
    QString host;
    QString application;
    return m_lock.getLockInfo(&pid, &host, &application) ? pid : 0;
}

bool SettingsLock::removeUnreadable()
{
#ifdef Q_OS_UNIX
    if (holder() > 0)
        return false; // a process is named: QLockFile has judged it running
    const QByteArray name = QFile::encodeName(m_path);
    struct stat st
    {};
    if (::lstat(name.constData(), &st) != 0)
        return true; // gone meanwhile
    if (S_ISLNK(st.st_mode)) {
        struct stat target
        {};
        // A link QLockFile never makes; one that leads nowhere holds nothing.
        return ::stat(name.constData(), &target) != 0 && ::unlink(name.constData()) == 0;
    }
    if (S_ISDIR(st.st_mode))
        return ::rmdir(name.constData()) == 0;
    // A console holds its lock file's flock for as long as it runs.
    const int fd = ::open(name.constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    bool removed = false;
    if (::flock(fd, LOCK_EX | LOCK_NB) == 0) {
        // Between creating the file and taking its flock a console is a moment away from
        // writing its process: look again after a while.
        QThread::msleep(SettleMs);
        struct stat now
        {};
        removed = holder() <= 0 && ::stat(name.constData(), &now) == 0 && now.st_ino == st.st_ino &&
                  now.st_dev == st.st_dev && now.st_size == st.st_size &&
                  ::unlink(name.constData()) == 0;
    }
    ::close(fd);
    return removed;
#else
    return false;
#endif
}

QString SettingsLock::refusal(const QString &settingsPath) const
{
    const QString shown = QDir::toNativeSeparators(settingsPath);
    if (m_lock.error() == QLockFile::LockFailedError) {
        const qint64 pid = holder();
        if (pid <= 0)
            return QCoreApplication::translate("SettingsFile",
                                               "%1 уже открыт другой консолью (файл %2)")
                .arg(shown, QDir::toNativeSeparators(m_path));
        return QCoreApplication::translate("SettingsFile",
                                           "%1 уже открыт другой консолью (процесс %2)")
            .arg(shown)
            .arg(pid);
    }
    return QCoreApplication::translate("SettingsFile", "%1: не удалось создать файл блокировки %2")
        .arg(shown, QDir::toNativeSeparators(m_path));
}

std::unique_ptr<SettingsLock> holdSettingsFile(const SettingsChoice &choice, QString *error)
{
    if (!choice.error.isEmpty()) {
        *error = choice.error;
        return nullptr;
    }
    auto lock = std::make_unique<SettingsLock>(choice.path);
    if (!lock->tryLock()) {
        *error = lock->refusal(choice.path);
        return nullptr;
    }
    return lock;
}
