#include "settingsfile.h"

#include "settingslocation.h"
#include "settingslock.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#ifdef Q_OS_WIN
#include <io.h>
#else
#include <cerrno>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>
#endif

// The texts of this file, for translation.
struct SettingsText
{
    Q_DECLARE_TR_FUNCTIONS(SettingsFile)
};

SettingsFile::SettingsFile() = default;

SettingsFile::~SettingsFile()
{
    close();
}

bool SettingsFile::open(const QString &path)
{
    close();
    m_path = path;
    return reopen();
}

bool SettingsFile::openIn(const QString &programDir, const QString &dataDir)
{
    close();
    const SettingsChoice choice = chooseSettingsFile(programDir, dataDir);
    QString error = choice.error;
    if (error.isEmpty() && !choice.seed.isEmpty())
        copySettingsFile(choice.seed, choice.path, &error);
    if (!error.isEmpty()) {
        m_lastError = error;
        return false;
    }
    auto lock = std::make_unique<SettingsLock>(choice.path);
    if (!lock->tryLock()) {
        m_lastError = lock->refusal(choice.path);
        return false;
    }
    m_inDataFolder = choice.inDataFolder;
    if (!open(choice.path))
        return false;
    m_lock = std::move(lock);
    return true;
}

bool SettingsFile::openHandle(const QString &path)
{
    const QFileInfo info(path);
    const QString shown = QDir::toNativeSeparators(path);
    if (info.isSymLink() && !info.exists())
        return fail(SettingsText::tr("%1: ссылка ведёт на несуществующий файл").arg(shown));
    if (info.exists() && !info.isFile())
        return fail(SettingsText::tr("%1: это не файл настроек").arg(shown));
    const bool existed = info.exists();
    m_file.setFileName(path);
    // Unbuffered: a write reaches the operating system before Write returns.
    if (!m_file.open(QIODevice::ReadWrite | QIODevice::Unbuffered))
        return fail(shown + QStringLiteral(": ") + m_file.errorString());
#ifdef Q_OS_UNIX
    struct stat st
    {};
    if (::fstat(m_file.handle(), &st) != 0 || !S_ISREG(st.st_mode)) {
        m_file.close();
        return fail(SettingsText::tr("%1: это не файл настроек").arg(shown));
    }
    m_device = st.st_dev;
    m_inode = st.st_ino;
#endif
    if (!existed)
        syncFolder(info.absolutePath());
    return true;
}

bool SettingsFile::reopen()
{
    m_file.close();
    m_firstError.clear();
    m_lastError.clear();
    if (openHandle(m_path))
        return true;
    m_lastError = m_firstError;
    m_firstError.clear();
    return false;
}

void SettingsFile::close()
{
    if (m_file.isOpen())
        m_file.close();
    m_lock.reset();
}

bool SettingsFile::followPath(bool forWrite)
{
#ifdef Q_OS_UNIX
    struct stat held
    {};
    struct stat named
    {};
    const bool linked = ::fstat(m_file.handle(), &held) == 0 && held.st_nlink > 0;
    const bool present = ::stat(QFile::encodeName(m_path).constData(), &named) == 0;
    if (linked && present && named.st_dev == m_device && named.st_ino == m_inode)
        return true;
    if (present) {
        // Another file stands at the path now: that is the settings file.
        m_file.close();
        return openHandle(m_path);
    }
    if (!forWrite)
        return true; // what the handle holds is still the best answer to a read
    // Nothing is at the path any more: write the file anew from what the handle holds,
    // so that no write goes to a file that no path names.
    const QByteArray bytes = contents();
    const QString copy = m_path + QStringLiteral(".new");
    {
        QFile fresh(copy);
        if (!fresh.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
            fresh.write(bytes) != bytes.size() || !fresh.flush() || ::fsync(fresh.handle()) != 0) {
            const QString why = fresh.errorString();
            fresh.close();
            QFile::remove(copy);
            return fail(SettingsText::tr("%1 удалён, и создать его заново не удалось: %2")
                            .arg(QDir::toNativeSeparators(m_path), why));
        }
    }
    if (::rename(QFile::encodeName(copy).constData(), QFile::encodeName(m_path).constData()) != 0) {
        const QString why = QString::fromLocal8Bit(std::strerror(errno));
        QFile::remove(copy);
        return fail(SettingsText::tr("%1 удалён, и создать его заново не удалось: %2")
                        .arg(QDir::toNativeSeparators(m_path), why));
    }
    syncFolder(QFileInfo(m_path).absolutePath());
    m_file.close();
    return openHandle(m_path);
#else
    Q_UNUSED(forWrite);
    return true;
#endif
}

QByteArray SettingsFile::contents()
{
    if (!m_file.isOpen() || !m_file.seek(0))
        return {};
    return m_file.readAll();
}

int SettingsFile::Read(int position, int width)
{
    if (!m_file.isOpen() || position < 1 || width < 1 || width > 2)
        return 0;
    followPath(false);
    if (!m_file.isOpen())
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
        return fail(SettingsText::tr("файл настроек не открыт"));
    if (position < 1 || width < 1 || width > 2)
        return fail(SettingsText::tr("неверная позиция %1").arg(position));
    if (!followPath(true))
        return false;
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
    if (!m_file.isOpen()) {
        fail(SettingsText::tr("файл настроек не открыт"));
    } else {
#ifdef Q_OS_WIN
        const bool synced = ::_commit(m_file.handle()) == 0;
#else
        const bool synced = ::fsync(m_file.handle()) == 0;
#endif
        if (!synced)
            fail(SettingsText::tr("не удалось сбросить на диск"));
    }
    m_lastError = m_firstError;
    m_firstError.clear();
    return m_lastError.isEmpty();
}

bool SettingsFile::fail(const QString &why)
{
    if (m_firstError.isEmpty())
        m_firstError = why.isEmpty() ? SettingsText::tr("неизвестная ошибка") : why;
    return false;
}
