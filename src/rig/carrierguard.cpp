#include "carrierguard.h"

#include <QDir>
#include <QFile>

#ifdef Q_OS_WIN
#include <windows.h>
#else
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>
extern char **environ;
#endif

CarrierGuard::CarrierGuard(QObject *parent)
    : QObject(parent)
{
    m_beat.setInterval(BeatMs);
    connect(&m_beat, &QTimer::timeout, this, &CarrierGuard::beat);
}

CarrierGuard::~CarrierGuard()
{
    m_beat.stop();
    closePipe();
    reap();
#ifdef Q_OS_WIN
    if (m_process)
        CloseHandle(m_process);
#endif
}

bool CarrierGuard::running() const
{
    return m_beat.isActive();
}

void CarrierGuard::beat()
{
    reap();
    if (m_ended || !send(Beat)) {
        m_beat.stop();
        closePipe();
        emit lost();
    }
}

void CarrierGuard::release()
{
    m_beat.stop();
    send(Done);
    closePipe();
    reap();
}

#ifdef Q_OS_WIN

bool CarrierGuard::start(const QString &program, const QStringList &arguments, QString *error)
{
    SECURITY_ATTRIBUTES inherit{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    HANDLE read = nullptr;
    HANDLE write = nullptr;
    if (!CreatePipe(&read, &write, &inherit, 0)) {
        *error = QStringLiteral("CreatePipe %1").arg(GetLastError());
        return false;
    }
    // Only the guard's end goes to the guard.
    SetHandleInformation(write, HANDLE_FLAG_INHERIT, 0);
    QString line = QLatin1Char('"') + QDir::toNativeSeparators(program) + QLatin1Char('"');
    for (const QString &argument : arguments)
        line += QStringLiteral(" \"") + argument + QLatin1Char('"');
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = read;
    startup.hStdOutput = nullptr;
    startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    PROCESS_INFORMATION info{};
    std::wstring command = line.toStdWString();
    // A process group of its own: a Ctrl+C or Ctrl+Break meant for the console misses it.
    const DWORD flags = CREATE_NEW_PROCESS_GROUP | CREATE_NO_WINDOW;
    const bool started = CreateProcessW(nullptr, command.data(), nullptr, nullptr, TRUE, flags,
                                        nullptr, nullptr, &startup, &info);
    CloseHandle(read);
    if (!started) {
        *error = QStringLiteral("CreateProcess %1").arg(GetLastError());
        CloseHandle(write);
        return false;
    }
    CloseHandle(info.hThread);
    m_process = info.hProcess;
    m_pid = info.dwProcessId;
    m_pipe = write;
    m_beat.start();
    return send(Beat);
}

bool CarrierGuard::send(char byte)
{
    DWORD written = 0;
    return m_pipe && WriteFile(m_pipe, &byte, 1, &written, nullptr) && written == 1;
}

void CarrierGuard::closePipe()
{
    if (m_pipe)
        CloseHandle(m_pipe);
    m_pipe = nullptr;
}

void CarrierGuard::reap()
{
    if (m_process && !m_ended && WaitForSingleObject(m_process, 0) == WAIT_OBJECT_0)
        m_ended = true;
}

#else

bool CarrierGuard::start(const QString &program, const QStringList &arguments, QString *error)
{
    int ends[2];
    if (::pipe2(ends, O_CLOEXEC) != 0) {
        *error = QString::fromLocal8Bit(std::strerror(errno));
        return false;
    }
    QList<QByteArray> words{QFile::encodeName(program)};
    for (const QString &argument : arguments)
        words << argument.toLocal8Bit();
    QList<char *> argv;
    for (QByteArray &word : words)
        argv << word.data();
    argv << nullptr;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, ends[0], 0);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    // Nothing of the console's but the pipe and standard error: no serial line, no socket.
    posix_spawn_file_actions_addclosefrom_np(&actions, 3);
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    // A session of its own: a signal to the console's process group or terminal misses it.
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSID | POSIX_SPAWN_SETSIGDEF);
    sigset_t all;
    sigfillset(&all);
    posix_spawnattr_setsigdefault(&attributes, &all);
    pid_t pid = 0;
    const int failed =
        ::posix_spawn(&pid, argv.first(), &actions, &attributes, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attributes);
    ::close(ends[0]);
    if (failed != 0) {
        *error = QString::fromLocal8Bit(std::strerror(failed));
        ::close(ends[1]);
        return false;
    }
    // A beat that cannot be written now is never waited for.
    ::fcntl(ends[1], F_SETFL, ::fcntl(ends[1], F_GETFL) | O_NONBLOCK);
    m_pipe = ends[1];
    m_pid = pid;
    m_beat.start();
    return send(Beat);
}

bool CarrierGuard::send(char byte)
{
    if (m_pipe < 0)
        return false;
    const ssize_t n = ::write(m_pipe, &byte, 1);
    // A full pipe is a guard that reads slowly, not a guard gone.
    return n == 1 || (n < 0 && errno == EAGAIN);
}

void CarrierGuard::closePipe()
{
    if (m_pipe >= 0)
        ::close(m_pipe);
    m_pipe = -1;
}

void CarrierGuard::reap()
{
    // The guard is the console's child: one that ended is not left a zombie.
    if (m_pid > 0 && !m_ended && ::waitpid(pid_t(m_pid), nullptr, WNOHANG) == m_pid)
        m_ended = true;
}

#endif
