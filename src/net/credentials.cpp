#include "credentials.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPasswordDigestor>
#include <QRandomGenerator>
#include <QSettings>
#include <QStringList>

#include <cstdio>
#include <iostream>
#include <string>

#ifdef Q_OS_WIN
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>
#endif

namespace {

constexpr int SaltBytes = 16;
constexpr int HashBytes = 32;
const QLatin1String Scheme("pbkdf2-sha256");

QByteArray derive(const QString &password, const QByteArray &salt, int rounds)
{
    return QPasswordDigestor::deriveKeyPbkdf2(QCryptographicHash::Sha256, password.toUtf8(), salt,
                                              rounds, HashBytes);
}

bool sameBytes(const QByteArray &a, const QByteArray &b)
{
    if (a.size() != b.size())
        return false;
    unsigned char difference = 0;
    for (qsizetype i = 0; i < a.size(); ++i)
        difference |= static_cast<unsigned char>(a[i] ^ b[i]);
    return difference == 0;
}

} // namespace

QString Credentials::hash(const QString &password)
{
    QByteArray salt(SaltBytes, '\0');
    QRandomGenerator::system()->fillRange(reinterpret_cast<quint32 *>(salt.data()),
                                          SaltBytes / sizeof(quint32));
    return QStringList{Scheme, QString::number(Rounds), QString::fromLatin1(salt.toBase64()),
                       QString::fromLatin1(derive(password, salt, Rounds).toBase64())}
        .join(QLatin1Char('$'));
}

bool Credentials::matches(const QString &password, const QString &record)
{
    const QStringList parts = record.split(QLatin1Char('$'));
    bool ok = false;
    const int rounds = parts.value(1).toInt(&ok);
    if (parts.size() != 4 || parts[0] != Scheme || !ok || rounds < 1)
        return false;
    const QByteArray salt = QByteArray::fromBase64(parts[2].toLatin1());
    const QByteArray expected = QByteArray::fromBase64(parts[3].toLatin1());
    return sameBytes(derive(password, salt, rounds), expected);
}

QString Credentials::readSecret(const char *prompt)
{
    // At a terminal the prompt shows and the typing does not.
#ifdef Q_OS_WIN
    const HANDLE input = GetStdHandle(STD_INPUT_HANDLE);
    DWORD before = 0;
    const bool terminal = GetConsoleMode(input, &before);
    if (terminal)
        SetConsoleMode(input, before & ~DWORD(ENABLE_ECHO_INPUT));
#else
    const bool terminal = ::isatty(STDIN_FILENO);
    termios before{};
    if (terminal) {
        ::tcgetattr(STDIN_FILENO, &before);
        termios quiet = before;
        quiet.c_lflag &= ~tcflag_t(ECHO);
        ::tcsetattr(STDIN_FILENO, TCSANOW, &quiet);
    }
#endif
    if (terminal) {
        std::fputs(prompt, stderr);
        std::fflush(stderr);
    }
    std::string line;
    std::getline(std::cin, line);
    if (terminal) {
#ifdef Q_OS_WIN
        SetConsoleMode(input, before);
#else
        ::tcsetattr(STDIN_FILENO, TCSANOW, &before);
#endif
        std::fputs("\n", stderr);
    }
    return QString::fromLocal8Bit(line.c_str()).trimmed();
}

QString Credentials::stored(QSettings &settings, const QString &key)
{
    return settings.value(key).toString();
}

void Credentials::keepPrivate(const QString &path)
{
#ifdef Q_OS_UNIX
    const QByteArray name = QFile::encodeName(path);
    QDir().mkpath(QFileInfo(path).absolutePath());
    const int fd = ::open(name.constData(), O_WRONLY | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd >= 0) {
        ::fchmod(fd, 0600);
        ::close(fd);
    }
#else
    // A Windows profile's folders are the user's own already.
    Q_UNUSED(path);
#endif
}

void Credentials::store(QSettings &settings, const QString &key, const QString &password)
{
    keepPrivate(settings.fileName());
    if (password.isEmpty())
        settings.remove(key);
    else
        settings.setValue(key, hash(password));
    settings.sync();
}

bool Credentials::keepSecret(const QString &path, const QString &secret)
{
    if (secret.isEmpty())
        return !QFile::exists(path) || QFile::remove(path);
    keepPrivate(path);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    const QByteArray bytes = secret.toUtf8();
    return file.write(bytes) == bytes.size() && file.flush();
}

QString Credentials::secretIn(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.read(4096)).trimmed();
}
