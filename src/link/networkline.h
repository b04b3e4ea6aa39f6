#pragma once

#include "linedevice.h"
#include "net/hostport.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QPointer>
#include <QTcpSocket>
#include <QTimer>

// A raw TCP byte stream to the controller's serial line, as a serial server in raw mode
// offers it. It stands in for a serial device in every way: connecting is opening, and a
// dropped connection is an unplugged adapter. Connecting happens in the background; what is
// written meanwhile goes out once the connection stands.
class NetworkLine : public LineDevice
{
public:
    // A controller that does not answer by then counts as absent.
    static constexpr int ConnectTimeoutMs = 2000;
    // Written while connecting, kept for the connection; more is a line that takes nothing.
    static constexpr qsizetype MaxBacklog = 64 * 1024;

    explicit NetworkLine(const HostPort &server);
    ~NetworkLine() override;

    OpenResult open(const LineSettings &settings) override;
    void close() override;
    bool isOpen() const override { return m_socket != nullptr; }
    bool isOpening() const override { return m_socket && !m_connected; }
    // The serial server keeps the line settings at its end.
    bool applySettings(const LineSettings &) override { return true; }
    WriteResult write(const QByteArray &bytes) override;

private:
    WriteResult lost();
    void connectionFailed(const QString &why);

    HostPort m_server;
    QPointer<QTcpSocket> m_socket;
    QTimer m_deadline;
    QByteArray m_backlog;
    bool m_connected = false;
    // A write was refused for a full line: say when it empties.
    bool m_waitingForRoom = false;
};
