#pragma once

#include "linedevice.h"

#include <QSerialPort>

#include <memory>

class QSocketNotifier;

// A serial device at the console's line settings, through Qt Serial Port and the POSIX
// descriptor beneath it. Bytes go straight to the operating system without waiting: a line
// that takes nothing drops the packet, and the rare packet the driver takes only in part is
// finished in the background before anything else is sent.
class SerialLine : public LineDevice
{
public:
    explicit SerialLine(const QString &device);
    ~SerialLine() override;

    OpenResult open(const LineSettings &settings) override;
    void close() override;
    bool isOpen() const override { return m_port.isOpen(); }
    bool applySettings(const LineSettings &settings) override;
    WriteResult write(const QByteArray &bytes) override;

    // Why a device cannot be opened, found from the file system and the port's lock file.
    static LineProblem diagnose(const QString &device, QSerialPort::SerialPortError error,
                                const QString &portError);

private:
    WriteResult lost();
    void sendPending();
    // Watches for room on the line: for the rest of a packet, or to say it takes bytes again.
    void watchForRoom();
    WriteResult stalled();

    QString m_device;
    QSerialPort m_port;
    QByteArray m_pending;
    std::unique_ptr<QSocketNotifier> m_writable;
    bool m_failed = false;
    // A write was refused for a full line: say when it has room again.
    bool m_waitingForRoom = false;
};
