#pragma once

#include <QString>

// Where a port number leads: a serial device, or HOST:PORT, a raw TCP byte stream to a
// serial server at the controller's end (ser2net, socat).
struct LineTarget
{
    QString device; // empty for a network target
    QString host;   // empty for a device
    quint16 port = 0;

    bool isNetwork() const { return !host.isEmpty(); }
    // "192.168.1.50:4001", "tuner.lan:4001" and "[::1]:4001" are network targets; paths and
    // names such as COM3 are devices.
    static LineTarget parse(const QString &text);
    QString text() const;
};
