#pragma once

#include <QByteArray>
#include <QString>
#include <QtGlobal>

class QTcpServer;
class QTcpSocket;

// A pseudo-terminal: the console opens its device as a serial port, the test reads what
// arrives at the other end. Windows has none: there it is a serial server on loopback, which
// the console opens as a network controller.
class PseudoTerminal
{
public:
    PseudoTerminal();
    ~PseudoTerminal();
    PseudoTerminal(const PseudoTerminal &) = delete;
    PseudoTerminal &operator=(const PseudoTerminal &) = delete;

    bool isValid() const;
    QString device() const { return m_device; }

    // Everything that arrived so far; waits up to waitMs for the first byte.
    QByteArray read(int waitMs = 500);
    // Drops what arrived so far.
    void drain() { read(50); }
    // Pulls the plug: writes on the device fail from now on.
    void hangUp();
    // Fills the line until it takes no more bytes, as a stuck adapter does; read() frees it.
    void stall();

private:
#ifdef Q_OS_WIN
    QTcpServer *m_server = nullptr;
    QTcpSocket *m_peer = nullptr;
#else
    int m_master = -1;
    int m_slave = -1;
#endif
    QString m_device;
};
