#pragma once

#include <QFile>
#include <QString>

#include <memory>

class SettingsLock;

// The fixed-layout settings file (its layout: conflayout.h). Positions count from 1; two-byte
// values are signed 16-bit little-endian. Nothing is cached: every read goes to the file, every
// write to the operating system before it returns.
class SettingsFile
{
public:
    static constexpr const char *FileName = "conf.cfg";

    SettingsFile();
    SettingsFile(const SettingsFile &) = delete;
    SettingsFile &operator=(const SettingsFile &) = delete;
    virtual ~SettingsFile();

    // Opens for reading and writing, creating an empty file when none exists. Only a regular
    // file, or a link to one, is a settings file.
    bool open(const QString &path);
    // Opens the program folder's conf.cfg, or the data folder's when the program folder
    // cannot hold one (see chooseSettingsFile), and holds it against a second console.
    bool openIn(const QString &programDir, const QString &dataDir);
    void close();
    // Opens the file at the path again, keeping the lock: another file was put there whole.
    bool reopen();
    bool isOpen() const { return m_file.isOpen(); }
    QString path() const { return m_path; }
    bool inDataFolder() const { return m_inDataFolder; }
    // Why the last open, or the last command ended by Sync, failed: the first error met.
    QString errorString() const { return m_lastError; }

    // 0 for anything at or past the end of the file, or when the file is not open.
    int Read(int position, int width);
    // Extends a short file with zero bytes up to the position.
    virtual bool Write(int position, int width, int value);
    // Ends a command: puts what was written on disk, so a power cut cannot take it. False
    // when any write since the last Sync failed, or the sync itself.
    bool Sync();

    // The whole file as it is now.
    QByteArray contents();

private:
    bool fail(const QString &why);
    bool openHandle(const QString &path);
    // The open file must still be the one its path names: a file replaced meanwhile is
    // reopened, and one deleted is written anew from what the handle still holds.
    bool followPath(bool forWrite);

    QFile m_file;
    std::unique_ptr<SettingsLock> m_lock;
    QString m_path;
    QString m_firstError;
    QString m_lastError;
    bool m_inDataFolder = false;
    quint64 m_device = 0;
    quint64 m_inode = 0;
};
