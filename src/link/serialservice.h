#pragma once

#include "linedevice.h"
#include "linelog.h"
#include "linesettings.h"
#include "portmap.h"

#include <QString>

#include <functional>
#include <memory>

// The console's serial line. It only ever writes; every operation reports failure instead
// of throwing, and none waits on the line: bytes are handed to the operating system or
// dropped.
class SerialService
{
public:
    explicit SerialService(PortMap ports = {});
    ~SerialService();
    SerialService(const SerialService &) = delete;
    SerialService &operator=(const SerialService &) = delete;

    // Where opens, closes and failures are noted.
    void setLog(LineLog *log) { m_log = log; }

    const PortMap &ports() const { return m_ports; }
    // Takes effect at the next open.
    void setPorts(const PortMap &ports) { m_ports = ports; }
    // What a port mapped to the virtual controller starts.
    void setVirtualProgram(const QString &program) { m_virtualProgram = program; }

    int CommPort() const { return m_commPort; }
    // Fails for numbers outside 1–16 and while the port is open.
    bool setCommPort(int number);
    bool setSettings(const QString &settings);
    bool PortOpen() const { return m_line && m_line->isOpen(); }
    // Closing a closed port succeeds; opening fails for an absent or busy device. A network
    // port is open at once and connects in the background; what is written meanwhile waits
    // for the connection, and onOpened tells how it ended.
    bool setPortOpen(bool open);
    bool opening() const { return m_line && m_line->isOpening(); }
    std::function<void(bool opened)> onOpened;
    // The line takes bytes again after it refused a packet for being full.
    std::function<void()> onAccepting;
    // Hands all bytes over or none; fails when closed, when the line takes nothing, or when
    // the device has gone (the port is then closed).
    bool Output(const QByteArray &bytes);

    // The device or HOST:PORT behind the current number.
    QString target() const { return m_ports.device(m_commPort); }
    // Why the last open or write failed.
    const LineProblem &problem() const { return m_problem; }
    // The device and the reason, with advice where there is some; empty when all is well.
    QString problemText() const;

private:
    PortMap m_ports;
    QString m_virtualProgram;
    std::unique_ptr<LineDevice> m_line;
    int m_commPort = 0;
    // The console asks for "9600,n,8,1" everywhere; a port opened before that request
    // uses it too.
    LineSettings m_settings;
    LineProblem m_problem;
    LineLog *m_log = nullptr;

    void note(int kind, const QString &text = {});
};
