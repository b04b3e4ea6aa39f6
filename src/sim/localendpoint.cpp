#include "localendpoint.h"

#include <QCoreApplication>
#include <QFile>
#include <QSerialPort>
#include <QSocketNotifier>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

std::unique_ptr<SimEndpoint> localEndpoint(const QString &device, const QString &link, QString *)
{
    if (!device.isEmpty())
        return std::make_unique<DeviceEndpoint>(device);
    return std::make_unique<PtyEndpoint>(link);
}

PtyEndpoint::PtyEndpoint(const QString &link, QObject *parent)
    : SimEndpoint(parent)
    , m_link(link)
{}

PtyEndpoint::~PtyEndpoint()
{
    close();
    if (!m_link.isEmpty())
        QFile::remove(m_link);
}

bool PtyEndpoint::start(QString *error)
{
    m_master = ::posix_openpt(O_RDWR | O_NOCTTY);
    if (m_master < 0 || ::grantpt(m_master) != 0 || ::unlockpt(m_master) != 0) {
        *error = tr("не удалось создать псевдотерминал: %1")
                     .arg(QString::fromLocal8Bit(std::strerror(errno)));
        close();
        return false;
    }
    m_device = QString::fromLocal8Bit(::ptsname(m_master));
    // Our own slave descriptor keeps the line up while the console closes and reopens it, as
    // Refresh does; without it the master would read a hang-up.
    m_slave = ::open(::ptsname(m_master), O_RDWR | O_NOCTTY);
    termios raw{};
    if (m_slave < 0 || ::tcgetattr(m_slave, &raw) != 0) {
        *error = tr("не удалось открыть %1").arg(m_device);
        close();
        return false;
    }
    ::cfmakeraw(&raw);
    ::tcsetattr(m_slave, TCSANOW, &raw);
    ::fcntl(m_master, F_SETFL, ::fcntl(m_master, F_GETFL) | O_NONBLOCK);
    m_readable = std::make_unique<QSocketNotifier>(m_master, QSocketNotifier::Read);
    connect(m_readable.get(), &QSocketNotifier::activated, this, &PtyEndpoint::readAll);

    if (!m_link.isEmpty()) {
        // Replaced in one step, so a console never finds the link missing.
        const QString fresh = m_link + QStringLiteral(".new");
        QFile::remove(fresh);
        if (!QFile::link(m_device, fresh) || ::rename(QFile::encodeName(fresh).constData(),
                                                      QFile::encodeName(m_link).constData()) != 0) {
            *error = tr("не удалось создать ссылку %1").arg(m_link);
            close();
            return false;
        }
    }
    return true;
}

void PtyEndpoint::readAll()
{
    char buffer[4096];
    for (;;) {
        const ssize_t n = ::read(m_master, buffer, sizeof buffer);
        if (n > 0) {
            emit received(QByteArray(buffer, n));
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        break;
    }
}

void PtyEndpoint::close()
{
    m_readable.reset();
    if (m_slave >= 0)
        ::close(m_slave);
    if (m_master >= 0)
        ::close(m_master);
    m_master = m_slave = -1;
}

void PtyEndpoint::unplug()
{
    close();
    comeBack();
}

DeviceEndpoint::DeviceEndpoint(const QString &device, QObject *parent)
    : SimEndpoint(parent)
    , m_device(device)
    , m_port(new QSerialPort(this))
{
    connect(m_port, &QSerialPort::readyRead, this, [this] { emit received(m_port->readAll()); });
}

DeviceEndpoint::~DeviceEndpoint() = default;

bool DeviceEndpoint::start(QString *error)
{
    m_port->setPortName(m_device);
    if (!m_port->open(QIODevice::ReadOnly) || !m_port->setBaudRate(9600) ||
        !m_port->setParity(QSerialPort::NoParity) || !m_port->setDataBits(QSerialPort::Data8) ||
        !m_port->setStopBits(QSerialPort::OneStop)) {
        *error = m_device + QStringLiteral(": ") + m_port->errorString();
        m_port->close();
        return false;
    }
    return true;
}

void DeviceEndpoint::unplug()
{
    m_port->close();
    comeBack();
}
