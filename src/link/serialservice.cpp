#include "serialservice.h"

#include <QStringList>

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

SerialService::~SerialService() = default;

bool SerialService::setCommPort(int number)
{
    if (!PortMap::isPortNumber(number) || PortOpen())
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
    return !PortOpen() || m_line->applySettings(m_settings);
}

bool SerialService::setPortOpen(bool open)
{
    if (!open) {
        if (m_line)
            m_line->close();
        m_line.reset();
        return true;
    }
    if (PortOpen() || !PortMap::isPortNumber(m_commPort))
        return false;
    m_line = LineDevice::create(LineTarget::parse(target()));
    if (!m_line->open(m_settings)) {
        m_problem = m_line->problem();
        m_line.reset();
        return false;
    }
    m_problem = {};
    return true;
}

bool SerialService::Output(const QByteArray &bytes)
{
    if (!PortOpen())
        return false;
    if (m_line->write(bytes) == LineDevice::WriteResult::Accepted)
        return true;
    m_problem = m_line->problem();
    return false;
}
