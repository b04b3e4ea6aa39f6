#include "pty.h"

#include <QDeadlineTimer>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>

PseudoTerminal::PseudoTerminal()
    : m_server(new QTcpServer)
{
    if (!m_server->listen(QHostAddress::LocalHost, 0)) {
        delete m_server;
        m_server = nullptr;
        return;
    }
    m_device = QStringLiteral("127.0.0.1:%1").arg(m_server->serverPort());
}

PseudoTerminal::~PseudoTerminal()
{
    hangUp();
}

bool PseudoTerminal::isValid() const
{
    return m_server != nullptr;
}

QByteArray PseudoTerminal::read(int waitMs)
{
    QByteArray data;
    if (!m_server)
        return data;
    // The console writes from the same event loop, so waiting means running it; once some
    // bytes arrived, a short quiet spell means the writer is done.
    QDeadlineTimer deadline(waitMs);
    for (;;) {
        QTest::qWait(10);
        // The newest connection is the console's current one, as a serial server has it.
        while (QTcpSocket *next = m_server->nextPendingConnection()) {
            delete m_peer;
            m_peer = next;
        }
        const QByteArray more = m_peer ? m_peer->readAll() : QByteArray();
        data += more;
        if (!data.isEmpty() && more.isEmpty())
            break;
        if (data.isEmpty() && deadline.hasExpired())
            break;
        if (!data.isEmpty())
            QTest::qWait(30);
    }
    return data;
}

void PseudoTerminal::stall()
{
    // A serial server's buffers take what a test could write; there is no stall to make.
    QFAIL("a loopback serial server cannot be stalled");
}

void PseudoTerminal::hangUp()
{
    delete m_peer;
    m_peer = nullptr;
    delete m_server;
    m_server = nullptr;
}
