#include "signals.h"

#include <QCoreApplication>
#include <QSocketNotifier>

#ifdef Q_OS_UNIX
#include <csignal>
#include <sys/socket.h>
#include <unistd.h>
#endif

namespace {
#ifdef Q_OS_UNIX
int g_pipe[2] = {-1, -1};

void arrived(int signal)
{
    const char byte = static_cast<char>(signal);
    [[maybe_unused]] const ssize_t n = ::write(g_pipe[1], &byte, 1);
}
#endif
} // namespace

void ignoreBrokenPipes()
{
#ifdef Q_OS_UNIX
    ::signal(SIGPIPE, SIG_IGN);
#endif
}

void handleSignals(std::initializer_list<int> numbers, std::function<void(int)> handler)
{
#ifdef Q_OS_UNIX
    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, g_pipe) != 0)
        return;
    auto *arrivals =
        new QSocketNotifier(g_pipe[0], QSocketNotifier::Read, QCoreApplication::instance());
    QObject::connect(arrivals, &QSocketNotifier::activated, arrivals,
                     [handler = std::move(handler)] {
                         char byte = 0;
                         if (::read(g_pipe[0], &byte, 1) == 1)
                             handler(byte);
                     });
    struct sigaction action
    {};
    action.sa_handler = arrived;
    action.sa_flags = SA_RESTART;
    for (int signal : numbers)
        ::sigaction(signal, &action, nullptr);
#else
    Q_UNUSED(numbers);
    Q_UNUSED(handler);
#endif
}
