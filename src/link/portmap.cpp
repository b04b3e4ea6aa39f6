#include "portmap.h"

#include <QCoreApplication>

#include <QSettings>

QString PortMap::device(int n) const
{
    if (const auto it = m_devices.constFind(n); it != m_devices.constEnd())
        return *it;
#ifdef Q_OS_WIN
    return QStringLiteral("COM%1").arg(n);
#else
    return QStringLiteral("/dev/ttyS%1").arg(n - 1);
#endif
}

std::optional<PortMap::Assignment> PortMap::parseAssignment(const QString &text, QString *error)
{
    const qsizetype eq = text.indexOf(QLatin1Char('='));
    bool ok = false;
    const int port = eq > 0 ? text.left(eq).trimmed().toInt(&ok) : 0;
    const QString device = eq > 0 ? text.mid(eq + 1).trimmed() : QString();
    if (!ok || !isPortNumber(port) || device.isEmpty()) {
        if (error) {
            *error = QCoreApplication::translate(
                         "CommandLine", "неверное назначение порта «%1»: нужно N=УСТРОЙСТВО, N от "
                                        "%2 до %3")
                         .arg(text)
                         .arg(FirstPort)
                         .arg(LastPort);
        }
        return std::nullopt;
    }
    return Assignment{port, device};
}

void PortMap::loadFrom(QSettings &settings)
{
    settings.beginGroup(QStringLiteral("ports"));
    for (int n = FirstPort; n <= LastPort; ++n) {
        const QString device = settings.value(QString::number(n)).toString().trimmed();
        if (!device.isEmpty())
            map(n, device);
    }
    settings.endGroup();
}
