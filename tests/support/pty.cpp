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

void PseudoTerminal::hangUp()
{
    if (m_slave >= 0)
        ::close(m_slave);
    if (m_master >= 0)
        ::close(m_master);
    m_master = m_slave = -1;
}
