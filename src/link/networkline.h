#pragma once

#include "linedevice.h"

#include <QPointer>
#include <QTcpSocket>

// A raw TCP byte stream to the controller's serial line, as a serial server in raw mode
// offers it. It stands in for a serial device in every way: connecting is opening, and a
// dropped connection is an unplugged adapter.
class NetworkLine : public LineDevice
{
public:
    // Connecting may hold the window this long; a controller that does not answer by then
    // counts as absent.
    static constexpr int ConnectTimeoutMs = 2000;

    NetworkLine(const QString &host, quint16 port);
    ~NetworkLine() override;

    bool open(const LineSettings &settings) override;
    void close() override;
    bool isOpen() const override { return m_socket != nullptr; }
    // The serial server keeps the line settings at its end.
    bool applySettings(const LineSettings &) override { return true; }
    WriteResult write(const QByteArray &bytes) override;

private:
    WriteResult lost();

    QString m_host;
    quint16 m_port;
    QPointer<QTcpSocket> m_socket;
};
