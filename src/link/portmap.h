#pragma once

#include <QMap>
#include <QString>

#include <optional>

class QSettings;

// Which device stands behind each of the sixteen port numbers.
class PortMap
{
public:
    static constexpr int FirstPort = 1;
    static constexpr int LastPort = 16;

    static bool isPortNumber(int n) { return n >= FirstPort && n <= LastPort; }

    // COMn on Windows, /dev/ttyS{n-1} elsewhere, unless mapped to another device.
    QString device(int n) const;
    void map(int n, const QString &device) { m_devices.insert(n, device); }
    bool isMapped(int n) const { return m_devices.contains(n); }

    // "N=DEVICE" as given on the command line.
    struct Assignment
    {
        int port = 0;
        QString device;
    };
    static std::optional<Assignment> parseAssignment(const QString &text, QString *error);

    // The ports/N keys of the user's settings.
    void loadFrom(QSettings &settings);

private:
    QMap<int, QString> m_devices;
};
