#include "serialline.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSocketNotifier>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

std::unique_ptr<LineDevice> LineDevice::serial(const QString &device)
{
    return std::make_unique<SerialLine>(device);
}

SerialLine::SerialLine(const QString &device)
    : m_device(device)
{}

SerialLine::~SerialLine()
{
    close();
}

LineDevice::OpenResult SerialLine::open(const LineSettings &settings)
{
    m_problem = {};
    m_failed = false;
    m_port.setPortName(m_device);
    if (!m_port.open(QIODevice::WriteOnly)) {
        m_problem = diagnose(m_device, m_port.error(), m_port.errorString());
        return OpenResult::Failed;
    }
    if (!applySettings(settings)) {
        m_problem = {LineProblem::Other, m_port.errorString()};
        m_port.close();
        return OpenResult::Failed;
    }
    return OpenResult::Open;
}

void SerialLine::close()
{
    // The rest of a packet the driver took in part still goes out, if the line takes it now.
    sendPending();
    m_writable.reset();
    m_waitingForRoom = false;
    m_pending.clear();
    if (m_port.isOpen())
        m_port.close();
}

bool SerialLine::applySettings(const LineSettings &s)
{
    const auto parity = [](LineSettings::Parity p) {
        switch (p) {
        case LineSettings::Parity::Even:
            return QSerialPort::EvenParity;
        case LineSettings::Parity::Odd:
            return QSerialPort::OddParity;
        case LineSettings::Parity::Mark:
            return QSerialPort::MarkParity;
        case LineSettings::Parity::Space:
            return QSerialPort::SpaceParity;
        case LineSettings::Parity::None:
            break;
        }
        return QSerialPort::NoParity;
    };
    const auto stopBits = [](LineSettings::StopBits b) {
        switch (b) {
        case LineSettings::StopBits::OneAndHalf:
            return QSerialPort::OneAndHalfStop;
        case LineSettings::StopBits::Two:
            return QSerialPort::TwoStop;
        case LineSettings::StopBits::One:
            break;
        }
        return QSerialPort::OneStop;
    };
    return m_port.setBaudRate(s.baudRate) && m_port.setParity(parity(s.parity)) &&
           m_port.setDataBits(QSerialPort::DataBits(s.dataBits)) &&
           m_port.setStopBits(stopBits(s.stopBits));
}

LineDevice::WriteResult SerialLine::lost()
{
    m_writable.reset();
    m_waitingForRoom = false;
    m_pending.clear();
    m_port.close();
    return WriteResult::Gone;
}

namespace {

// The lock file QSerialPort keeps for a device, where one exists.
QString lockFileOf(const QString &device)
{
    QString name = device.startsWith(QLatin1String("/dev/")) ? device.mid(5) : device;
    name.replace(QLatin1Char('/'), QLatin1Char('_'));
    const QStringList folders{QStringLiteral("/var/lock"),
                              QStringLiteral("/etc/locks"),
                              QStringLiteral("/var/spool/locks"),
                              QStringLiteral("/var/spool/uucp"),
                              QStringLiteral("/tmp"),
                              QStringLiteral("/var/tmp"),
                              QStringLiteral("/var/lock/lockdev"),
                              QStringLiteral("/run/lock")};
    for (const QString &folder : folders) {
        const QString path = folder + QStringLiteral("/LCK..") + name;
        if (QFileInfo::exists(path))
            return path;
    }
    return {};
}

bool processRuns(qint64 pid)
{
    return pid > 0 && (::kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM);
}

} // namespace

LineProblem SerialLine::diagnose(const QString &device, QSerialPort::SerialPortError error,
                                 const QString &portError)
{
    const QByteArray path = QFile::encodeName(device);
    struct stat st
    {};
    if (::stat(path.constData(), &st) != 0) {
        if (errno == ENOENT || errno == ENOTDIR)
            return {LineProblem::NotFound, {}};
        return {LineProblem::Other, QString::fromLocal8Bit(std::strerror(errno))};
    }
    if (!S_ISCHR(st.st_mode))
        return {LineProblem::NotSerial, {}};
    if (::access(path.constData(), R_OK | W_OK) != 0 && errno == EACCES)
        return {LineProblem::PermissionDenied, {}};
    if (const QString lock = lockFileOf(device); !lock.isEmpty()) {
        QFile file(lock);
        const qint64 pid =
            file.open(QIODevice::ReadOnly) ? file.readLine().trimmed().toLongLong() : 0;
        if (processRuns(pid))
            return {LineProblem::Busy, {}, pid};
        return {LineProblem::StaleLock, lock, pid};
    }
    // What is left of a refused open: another program holds the device exclusively, or the
    // device answers none of a serial port's requests.
    if (error == QSerialPort::PermissionError)
        return {LineProblem::Busy, {}};
    if (error == QSerialPort::UnsupportedOperationError)
        return {LineProblem::NotSerial, {}};
    return {LineProblem::Other, portError};
}

LineDevice::WriteResult SerialLine::write(const QByteArray &bytes)
{
    if (!m_port.isOpen())
        return WriteResult::Gone;
    if (m_failed) {
        m_problem = {LineProblem::Lost, {}};
        return lost();
    }
    if (!m_pending.isEmpty()) {
        sendPending();
        if (m_failed)
            return lost();
        if (!m_pending.isEmpty())
            return stalled();
    }
    ssize_t n;
    do {
        n = ::write(m_port.handle(), bytes.constData(), static_cast<size_t>(bytes.size()));
    } while (n < 0 && errno == EINTR);
    if (n < 0) {
        if (errno == EAGAIN || errno == EWOULDBLOCK)
            return stalled();
        m_problem = {LineProblem::Lost, QString::fromLocal8Bit(std::strerror(errno))};
        return lost();
    }
    if (n < bytes.size()) {
        m_pending = bytes.mid(n);
        watchForRoom();
    }
    return WriteResult::Accepted;
}

LineDevice::WriteResult SerialLine::stalled()
{
    m_problem = {LineProblem::Stalled, {}};
    m_waitingForRoom = true;
    watchForRoom();
    return WriteResult::Stalled;
}

void SerialLine::watchForRoom()
{
    if (!m_writable) {
        m_writable = std::make_unique<QSocketNotifier>(m_port.handle(), QSocketNotifier::Write);
        QObject::connect(m_writable.get(), &QSocketNotifier::activated, m_writable.get(), [this] {
            sendPending();
            if (m_pending.isEmpty() && m_waitingForRoom && !m_failed) {
                m_waitingForRoom = false;
                m_writable->setEnabled(false);
                if (accepting)
                    accepting();
            }
        });
    }
    m_writable->setEnabled(true);
}

void SerialLine::sendPending()
{
    while (!m_pending.isEmpty() && m_port.isOpen() && !m_failed) {
        const ssize_t n =
            ::write(m_port.handle(), m_pending.constData(), static_cast<size_t>(m_pending.size()));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            m_failed = errno != EAGAIN && errno != EWOULDBLOCK;
            break;
        }
        m_pending.remove(0, n);
    }
    if (m_writable && ((m_pending.isEmpty() && !m_waitingForRoom) || m_failed))
        m_writable->setEnabled(false);
}
