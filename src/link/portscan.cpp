#include "portscan.h"

#include <QDir>
#include <QFileInfo>
#include <QSerialPortInfo>

QList<SerialDevice> scanSerialDevices(const QString &byIdFolder)
{
    QList<SerialDevice> devices;
    const auto find = [&](const QString &device) -> SerialDevice * {
        for (SerialDevice &d : devices) {
            if (QFileInfo(d.device).canonicalFilePath() == QFileInfo(device).canonicalFilePath())
                return &d;
        }
        return nullptr;
    };
    for (const QSerialPortInfo &info : QSerialPortInfo::availablePorts())
        devices << SerialDevice{info.systemLocation(),
                                {},
                                info.description(),
                                info.manufacturer(),
                                info.serialNumber()};
    const QFileInfoList links =
        QDir(byIdFolder)
            .entryInfoList(QDir::System | QDir::Files | QDir::NoDotAndDotDot, QDir::Name);
    for (const QFileInfo &link : links) {
        const QString target = link.canonicalFilePath();
        if (target.isEmpty())
            continue; // a link to a device that is gone
        SerialDevice *known = find(target);
        if (!known) {
            devices << SerialDevice{target, {}, {}, {}, {}};
            known = &devices.last();
        }
        known->byId = link.absoluteFilePath();
    }
    return devices;
}
