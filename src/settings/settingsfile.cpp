#include "settingsfile.h"

#include <QDir>
#include <QFileInfo>

#ifdef Q_OS_WIN
#include <io.h>
#else
#include <unistd.h>
#endif

SettingsFile::~SettingsFile()
{
    close();
}

bool SettingsFile::open(const QString &path)
{
    close();
    m_file.setFileName(path);
    // Unbuffered: a write reaches the operating system before Write returns.
    if (!m_file.open(QIODevice::ReadWrite | QIODevice::Unbuffered))
        return fail(m_file.errorString());
    m_lastError.clear();
    return true;
}

bool SettingsFile::openInFirstUsable(const QStringList &folders)
{
    QString seed;
    QStringList failures;
    for (const QString &folder : folders) {
        const QString path = QDir(folder).filePath(QString::fromLatin1(FileName));
        QDir().mkpath(folder);
        if (!seed.isEmpty() && !QFileInfo::exists(path))
            QFile::copy(seed, path);
        if (open(path))
            return true;
        failures << path + QStringLiteral(": ") + m_lastError;
        if (seed.isEmpty() && QFileInfo(path).isReadable())
            seed = path;
    }
    m_lastError = failures.join(QLatin1Char('\n'));
    return false;
}

void SettingsFile::close()
{
    if (m_file.isOpen())
        m_file.close();
}

int SettingsFile::Read(int position, int width)
{
    if (!m_file.isOpen() || position < 1 || width < 1 || width > 2)
        return 0;
    unsigned value = 0;
    for (int i = 0; i < width; ++i) {
        char byte = 0;
        if (!m_file.seek(position - 1 + i) || m_file.read(&byte, 1) != 1)
            byte = 0;
        value |= static_cast<unsigned>(static_cast<quint8>(byte)) << (8 * i);
    }
    if (width == 2)
        return static_cast<qint16>(value);
    return static_cast<int>(value);
}

bool SettingsFile::Write(int position, int width, int value)
{
    if (!m_file.isOpen())
        return fail(QStringLiteral("file not open"));
    if (position < 1 || width < 1 || width > 2)
        return fail(QStringLiteral("bad position"));
    const qint64 offset = position - 1;
    const qint64 size = m_file.size();
    if (offset > size) {
        // Fill the gap explicitly: what a sparse extension holds is up to the platform.
        if (!m_file.seek(size) || m_file.write(QByteArray(offset - size, '\0')) != offset - size)
            return fail(m_file.errorString());
    }
    char bytes[2] = {static_cast<char>(value & 0xFF), static_cast<char>((value >> 8) & 0xFF)};
    if (!m_file.seek(offset) || m_file.write(bytes, width) != width)
        return fail(m_file.errorString());
    return true;
}

bool SettingsFile::Sync()
{
    if (!m_file.isOpen())
        return fail(QStringLiteral("file not open"));
#ifdef Q_OS_WIN
    const bool synced = ::_commit(m_file.handle()) == 0;
#else
    const bool synced = ::fsync(m_file.handle()) == 0;
#endif
    return synced || fail(QStringLiteral("cannot flush to disk"));
}

bool SettingsFile::fail(const QString &why)
{
    m_lastError = why;
    return false;
}
