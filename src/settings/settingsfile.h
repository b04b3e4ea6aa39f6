#pragma once

#include <QFile>
#include <QString>

// The fixed-layout settings file. Positions count from 1; two-byte values are signed 16-bit
// little-endian. Nothing is cached: every read goes to the file, every write to the
// operating system before it returns.
class SettingsFile
{
public:
    // Positions of the values outside the slot area.
    static constexpr int LastSavedBase = 451; // 2 bytes
    static constexpr int PortNumber = 455;    // 1 byte
    static constexpr int StepC = 456;         // 1 byte
    static constexpr int StepL = 457;         // 2 bytes
    static constexpr const char *FileName = "conf.cfg";

    SettingsFile() = default;
    SettingsFile(const SettingsFile &) = delete;
    SettingsFile &operator=(const SettingsFile &) = delete;
    ~SettingsFile();

    // Opens for reading and writing, creating an empty file when none exists.
    bool open(const QString &path);
    // Opens conf.cfg in the first folder where that works. A file that exists in an earlier
    // folder but cannot be written there seeds the new one, so no stored slot is lost.
    bool openInFirstUsable(const QStringList &folders);
    void close();
    bool isOpen() const { return m_file.isOpen(); }
    QString path() const { return m_file.fileName(); }
    QString errorString() const { return m_lastError; }

    // 0 for anything at or past the end of the file, or when the file is not open.
    int Read(int position, int width);
    // Extends a short file with zero bytes up to the position.
    bool Write(int position, int width, int value);
    // Puts what was written on disk, so a power cut cannot take it.
    bool Sync();

private:
    bool fail(const QString &why);

    QFile m_file;
    QString m_lastError;
};
