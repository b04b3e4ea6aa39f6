#include "pty.h"

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

PseudoTerminal::PseudoTerminal()
{
    termios raw{};
    cfmakeraw(&raw);
    char name[256] = {};
    if (openpty(&m_master, &m_slave, name, &raw, nullptr) != 0) {
        m_master = m_slave = -1;
        return;
    }
    // Our own slave descriptor keeps the line up while the console closes and reopens it.
    fcntl(m_master, F_SETFL, fcntl(m_master, F_GETFL) | O_NONBLOCK);
    m_device = QString::fromLocal8Bit(name);
}

bool PseudoTerminal::isValid() const
{
    return m_master >= 0;
}

PseudoTerminal::~PseudoTerminal()
{
    hangUp();
}

QByteArray PseudoTerminal::read(int waitMs)
{
    QByteArray data;
    if (m_master < 0)
        return data;
    // The kernel hands bytes to the master side asynchronously; once some arrived, a short
    // quiet spell means the writer is done.
    int timeout = waitMs;
    pollfd fd{m_master, POLLIN, 0};
    while (::poll(&fd, 1, timeout) > 0 && (fd.revents & POLLIN)) {
        char buffer[512];
        const ssize_t n = ::read(m_master, buffer, sizeof buffer);
        if (n <= 0)
            break;
        data.append(buffer, n);
        timeout = 30;
    }
    return data;
}

void PseudoTerminal::stall()
{
    if (m_slave < 0)
        return;
    const int flags = fcntl(m_slave, F_GETFL);
    fcntl(m_slave, F_SETFL, flags | O_NONBLOCK);
    // The kernel moves bytes between the pseudo-terminal's buffers in the background, so
    // the line only counts as full once it has taken nothing for a while.
    char filler[256] = {};
    for (int quiet = 0; quiet < 3;) {
        bool took = false;
        while (::write(m_slave, filler, sizeof filler) > 0)
            took = true;
        while (::write(m_slave, filler, 1) > 0)
            took = true;
        quiet = took ? 0 : quiet + 1;
        ::usleep(20000);
    }
    fcntl(m_slave, F_SETFL, flags);
}

void PseudoTerminal::hangUp()
{
    if (m_slave >= 0)
        ::close(m_slave);
    if (m_master >= 0)
        ::close(m_master);
    m_master = m_slave = -1;
}
