#pragma once

#include <QLockFile>
#include <QString>

// One console per settings file: a lock file beside conf.cfg, held while a console has it
// open. A console killed outright leaves a stale lock that the next one takes over.
class SettingsLock
{
public:
    explicit SettingsLock(const QString &settingsPath);

    bool tryLock();
    void unlock() { m_lock.unlock(); }
    // The process that holds the lock, when another one does.
    qint64 holder() const;
    // "… is open in another console (process N)", or why the lock could not be made.
    QString refusal(const QString &settingsPath) const;

private:
    QLockFile m_lock;
};
