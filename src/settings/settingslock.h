#pragma once

#include "settingslocation.h"

#include <QLockFile>
#include <QString>

#include <memory>

// One console per settings file: a lock file beside conf.cfg, held while a console has it
// open. A console killed outright leaves a stale lock that the next one takes over; so does a
// power cut, which may leave the lock file empty or half written.
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
    // Removes a lock file that names no process (empty, garbage, a folder, a dangling link)
    // once it is certain that no console holds it. True when it was removed.
    bool removeUnreadable();

    QString m_path;
    QLockFile m_lock;
};

// The settings file a command of the command line changes (an import), held against a console
// while it does; none, with the reason, when no file can be chosen or a console holds it.
std::unique_ptr<SettingsLock> holdSettingsFile(const SettingsChoice &choice, QString *error);
