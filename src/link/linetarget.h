#pragma once

#include "net/hostport.h"

#include <QString>

#include <optional>

// Where a port number leads: a serial device, or HOST:PORT, a raw TCP byte stream to a
// serial server at the controller's end (ser2net, socat).
struct LineTarget
{
    QString device;                 // empty for a network target
    std::optional<HostPort> server; // none for a device

    bool isNetwork() const { return server.has_value(); }
    // "192.168.1.50:4001", "tuner.lan:4001" and "[::1]:4001" are network targets; paths and
    // names such as COM3 are devices.
    static LineTarget parse(const QString &text);
    QString text() const { return server ? server->text() : device; }
};
