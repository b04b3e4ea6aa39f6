#pragma once

#include "portmap.h"

#include <QSerialPort>
#include <QString>

#include <optional>

// Baud rate, parity, data bits and stop bits, as in "9600,n,8,1".
struct LineSettings
{
    qint32 baudRate = 9600;
    QSerialPort::Parity parity = QSerialPort::NoParity;
    QSerialPort::DataBits dataBits = QSerialPort::Data8;
    QSerialPort::StopBits stopBits = QSerialPort::OneStop;

    static std::optional<LineSettings> parse(const QString &text);
};

// The console's serial line. It only ever writes; every operation reports failure instead
// of throwing, and none blocks longer than it takes to hand bytes to the operating system.
class SerialService
{
public:
    explicit SerialService(PortMap ports = {});

    const PortMap &ports() const { return m_ports; }

    int CommPort() const { return m_commPort; }
    // Fails for numbers outside 1–16 and while the port is open.
    bool setCommPort(int number);
    bool setSettings(const QString &settings);
    bool PortOpen() const { return m_port.isOpen(); }
    // Closing a closed port succeeds; opening fails for an absent or busy device.
    bool setPortOpen(bool open);
    // Writes all bytes and hands them to the operating system; fails when closed.
    bool Output(const QByteArray &bytes);

    QString errorString() const { return m_port.errorString(); }

private:
    bool applySettings();

    PortMap m_ports;
    QSerialPort m_port;
    int m_commPort = 0;
    // The console asks for "9600,n,8,1" everywhere; a port opened before that request
    // uses it too.
    LineSettings m_settings;
};
