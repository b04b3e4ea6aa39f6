#pragma once

#include <QList>
#include <QString>

// A serial device present on the system, as the port list shows it.
struct SerialDevice
{
    QString device; // /dev/ttyUSB0
    QString byId;   // /dev/serial/by-id/usb-FTDI_…-port0, when udev made one
    QString description;
    QString manufacturer;
    QString serialNumber;

    // What to store for a port: the by-id name survives replugging, the device name may not.
    QString preferred() const { return byId.isEmpty() ? device : byId; }
};

// Qt's list of serial ports, each with its by-id name where the folder has one; devices known
// only by their by-id link are listed too.
QList<SerialDevice>
scanSerialDevices(const QString &byIdFolder = QStringLiteral("/dev/serial/by-id"));
