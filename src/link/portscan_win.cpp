#include "portscan.h"

#include <QCollator>

#include <algorithm>

#include <windows.h>

// Windows lists its COM ports under one registry key: the driver's device as the name, the
// port as the value. There is no by-id name; a port keeps its number across replugging.
QList<SerialDevice> scanSerialDevices(const QString &)
{
    QList<SerialDevice> devices;
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"HARDWARE\\DEVICEMAP\\SERIALCOMM", 0, KEY_READ, &key) !=
        ERROR_SUCCESS)
        return devices;
    for (DWORD index = 0;; ++index) {
        wchar_t name[256];
        DWORD nameSize = DWORD(std::size(name));
        wchar_t port[64];
        DWORD portBytes = sizeof(port) - sizeof(wchar_t);
        DWORD type = 0;
        const LONG status = RegEnumValueW(key, index, name, &nameSize, nullptr, &type,
                                          reinterpret_cast<BYTE *>(port), &portBytes);
        if (status == ERROR_MORE_DATA)
            continue;
        if (status != ERROR_SUCCESS)
            break;
        if (type != REG_SZ)
            continue;
        port[portBytes / sizeof(wchar_t)] = L'\0';
        devices << SerialDevice{QString::fromWCharArray(port),
                                {},
                                QString::fromWCharArray(name, int(nameSize)),
                                {},
                                {}};
    }
    RegCloseKey(key);
    // COM2 before COM10.
    QCollator order;
    order.setNumericMode(true);
    std::sort(devices.begin(), devices.end(), [&](const SerialDevice &a, const SerialDevice &b) {
        return order.compare(a.device, b.device) < 0;
    });
    return devices;
}
