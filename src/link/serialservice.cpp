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
        s.parity = LineSettings::Parity::None;
    else if (parity == QLatin1String("e"))
        s.parity = LineSettings::Parity::Even;
    else if (parity == QLatin1String("o"))
        s.parity = LineSettings::Parity::Odd;
    else if (parity == QLatin1String("m"))
        s.parity = LineSettings::Parity::Mark;
    else if (parity == QLatin1String("s"))
        s.parity = LineSettings::Parity::Space;
    else
        return std::nullopt;

    const int dataBits = parts[2].trimmed().toInt(&ok);
    if (!ok || dataBits < 5 || dataBits > 8)
        return std::nullopt;
    s.dataBits = dataBits;

    const QString stop = parts[3].trimmed();
    if (stop == QLatin1String("1"))
        s.stopBits = LineSettings::StopBits::One;
    else if (stop == QLatin1String("1.5"))
        s.stopBits = LineSettings::StopBits::OneAndHalf;
    else if (stop == QLatin1String("2"))
        s.stopBits = LineSettings::StopBits::Two;
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

void SerialService::note(int kind, const QString &text)
{
    if (!m_log)
        return;
    LineLog::Entry entry;
    entry.kind = static_cast<LineLog::Entry::Kind>(kind);
    entry.port = m_commPort;
    entry.text = text;
    m_log->add(std::move(entry));
}

bool SerialService::setPortOpen(bool open)
{
    if (!open) {
        if (PortOpen())
            note(LineLog::Entry::Closed);
        if (m_line)
            m_line->close();
        m_line.reset();
        return true;
    }
    if (PortOpen() || !PortMap::isPortNumber(m_commPort))
        return false;
    m_line = LineDevice::create(LineTarget::parse(target()), m_virtualProgram);
    const LineDevice *line = m_line.get();
    m_line->accepting = [this, line] {
        if (m_line.get() == line && onAccepting)
            onAccepting();
    };
    m_line->opened = [this, line](bool opened) {
        if (m_line.get() != line)
            return;
        // A line that failed stays until the next open: it is inside its own call now.
        m_problem = opened ? LineProblem{} : m_line->problem();
        note(opened ? LineLog::Entry::Opened : LineLog::Entry::Failed,
             opened ? target() : problemText());
        if (onOpened)
            onOpened(opened);
    };
    const LineDevice::OpenResult result = m_line->open(m_settings);
    if (result == LineDevice::OpenResult::Failed) {
        m_problem = m_line->problem();
        m_line.reset();
        note(LineLog::Entry::Failed, problemText());
        return false;
    }
    m_problem = {};
    if (result == LineDevice::OpenResult::Open)
        note(LineLog::Entry::Opened, target());
    return true;
}

QString SerialService::problemText() const
{
    if (m_problem.kind == LineProblem::None)
        return {};
    QString why = target() + QStringLiteral(": ") + m_problem.text();
    if (const QString advice = m_problem.advice(); !advice.isEmpty())
        why += QLatin1Char('\n') + advice;
    return why;
}

bool SerialService::Output(const QByteArray &bytes)
{
    if (!PortOpen())
        return false;
    if (m_line->write(bytes) == LineDevice::WriteResult::Accepted)
        return true;
    m_problem = m_line->problem();
    if (!PortOpen())
        note(LineLog::Entry::Failed, problemText());
    return false;
}
