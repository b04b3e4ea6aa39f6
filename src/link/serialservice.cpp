#include "serialservice.h"

#include <QDeadlineTimer>
#include <QStringList>

namespace {
// A packet is 9 bytes; if the driver cannot take them within this time the device is stuck.
constexpr int OutputTimeoutMs = 1000;
} // namespace

std::optional<LineSettings> LineSettings::parse(const QString &text)
{
    const QStringList parts = text.split(QLatin1Char(','));
    if (parts.size() != 4)
        return std::nullopt;
    LineSettings s;
    bool ok = false;
    s.baudRate = parts[0].trimmed().toInt(&ok);
    if (!ok || s.baudRate <= 0)
        return std::nullopt;

    const QString parity = parts[1].trimmed().toLower();
    if (parity == QLatin1String("n"))
        s.parity = QSerialPort::NoParity;
    else if (parity == QLatin1String("e"))
        s.parity = QSerialPort::EvenParity;
    else if (parity == QLatin1String("o"))
        s.parity = QSerialPort::OddParity;
    else if (parity == QLatin1String("m"))
        s.parity = QSerialPort::MarkParity;
    else if (parity == QLatin1String("s"))
        s.parity = QSerialPort::SpaceParity;
    else
        return std::nullopt;

    const int dataBits = parts[2].trimmed().toInt(&ok);
    if (!ok || dataBits < 5 || dataBits > 8)
        return std::nullopt;
    s.dataBits = static_cast<QSerialPort::DataBits>(dataBits);

    const QString stop = parts[3].trimmed();
    if (stop == QLatin1String("1"))
        s.stopBits = QSerialPort::OneStop;
    else if (stop == QLatin1String("1.5"))
        s.stopBits = QSerialPort::OneAndHalfStop;
    else if (stop == QLatin1String("2"))
        s.stopBits = QSerialPort::TwoStop;
    else
        return std::nullopt;
    return s;
}

SerialService::SerialService(PortMap ports)
    : m_ports(std::move(ports))
{}

bool SerialService::setCommPort(int number)
{
    if (!PortMap::isPortNumber(number) || m_port.isOpen())
        return false;
    m_commPort = number;
    return true;
}

bool SerialService::setSettings(const QString &settings)
{
    const std::optional<LineSettings> parsed = LineSettings::parse(settings);
    if (!parsed)
        return false;
    m_settings = *parsed;
    return !m_port.isOpen() || applySettings();
}

bool SerialService::setPortOpen(bool open)
{
    if (!open) {
        if (m_port.isOpen())
            m_port.close();
        return true;
    }
    if (m_port.isOpen() || !PortMap::isPortNumber(m_commPort))
        return false;
    m_port.setPortName(m_ports.device(m_commPort));
    if (!m_port.open(QIODevice::WriteOnly))
        return false;
    if (!applySettings()) {
        m_port.close();
        return false;
    }
    return true;
}

bool SerialService::Output(const QByteArray &bytes)
{
    if (!m_port.isOpen())
        return false;
    bool ok = m_port.write(bytes) == bytes.size();
    const QDeadlineTimer deadline(OutputTimeoutMs);
    while (ok && m_port.bytesToWrite() > 0) {
        if (m_port.flush())
            continue;
        ok = m_port.error() == QSerialPort::NoError &&
             m_port.waitForBytesWritten(static_cast<int>(deadline.remainingTime()));
    }
    if (ok)
        return true;
    // Drop what is left, so a later packet never goes out behind half of this one.
    const bool gone = m_port.error() == QSerialPort::ResourceError;
    m_port.clear(QSerialPort::Output);
    m_port.clearError();
    if (gone)
        m_port.close();
    return false;
}

bool SerialService::applySettings()
{
    return m_port.setBaudRate(m_settings.baudRate) && m_port.setParity(m_settings.parity) &&
           m_port.setDataBits(m_settings.dataBits) && m_port.setStopBits(m_settings.stopBits);
}
