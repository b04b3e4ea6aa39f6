#include "networkline.h"

namespace {
// A closed connection is given this long to deliver what it accepted.
constexpr int LingerMs = 5000;
} // namespace

NetworkLine::NetworkLine(const HostPort &server)
    : m_server(server)
{
    m_deadline.setSingleShot(true);
    QObject::connect(&m_deadline, &QTimer::timeout, &m_deadline, [this] {
        connectionFailed(QCoreApplication::translate("LineProblem", "нет ответа за %1 с")
                             .arg(ConnectTimeoutMs / 1000));
    });
}

NetworkLine::~NetworkLine()
{
    close();
}

LineDevice::OpenResult NetworkLine::open(const LineSettings &)
{
    m_problem = {};
    m_connected = false;
    m_backlog.clear();
    auto *socket = new QTcpSocket;
    m_socket = socket;
    QObject::connect(socket, &QTcpSocket::connected, socket, [this, socket] {
        if (socket != m_socket)
            return;
        m_deadline.stop();
        m_connected = true;
        socket->setSocketOption(QAbstractSocket::LowDelayOption, 1);
        socket->write(std::exchange(m_backlog, {}));
        socket->flush();
        if (opened)
            opened(true);
    });
    QObject::connect(socket, &QAbstractSocket::errorOccurred, socket, [this, socket] {
        if (socket == m_socket && !m_connected)
            connectionFailed(socket->errorString());
    });
    QObject::connect(socket, &QIODevice::bytesWritten, socket, [this, socket] {
        if (socket == m_socket && m_waitingForRoom && socket->bytesToWrite() == 0) {
            m_waitingForRoom = false;
            if (accepting)
                accepting();
        }
    });
    // The controller's replies are not for the console; nothing may pile up unread.
    QObject::connect(socket, &QIODevice::readyRead, socket, [socket] { socket->readAll(); });
    m_deadline.start(ConnectTimeoutMs);
    socket->connectToHost(m_server.host, m_server.port);
    return OpenResult::Pending;
}

void NetworkLine::connectionFailed(const QString &why)
{
    m_deadline.stop();
    m_problem = {LineProblem::Refused, why};
    m_backlog.clear();
    if (QTcpSocket *socket = m_socket) {
        m_socket = nullptr;
        socket->abort();
        socket->deleteLater();
    }
    if (opened)
        opened(false);
}

void NetworkLine::close()
{
    m_deadline.stop();
    m_backlog.clear();
    QTcpSocket *socket = m_socket;
    m_socket = nullptr;
    if (!socket)
        return;
    if (!m_connected) {
        socket->abort();
        socket->deleteLater();
        return;
    }
    socket->flush();
    socket->disconnectFromHost();
    if (socket->state() == QAbstractSocket::UnconnectedState) {
        socket->deleteLater();
        return;
    }
    // What was accepted still goes out; the socket goes once the far end has it.
    QObject::connect(socket, &QAbstractSocket::disconnected, socket, &QObject::deleteLater);
    QTimer::singleShot(LingerMs, socket, [socket] {
        socket->abort();
        socket->deleteLater();
    });
}

LineDevice::WriteResult NetworkLine::lost()
{
    m_problem = {LineProblem::Lost, m_socket ? m_socket->errorString() : QString()};
    if (m_socket) {
        m_socket->abort();
        m_socket->deleteLater();
    }
    m_socket = nullptr;
    return WriteResult::Gone;
}

LineDevice::WriteResult NetworkLine::write(const QByteArray &bytes)
{
    if (!m_socket)
        return WriteResult::Gone;
    if (!m_connected) {
        if (m_backlog.size() + bytes.size() > MaxBacklog) {
            m_problem = {LineProblem::Stalled, {}};
            return WriteResult::Stalled;
        }
        m_backlog += bytes;
        return WriteResult::Accepted;
    }
    if (m_socket->state() != QAbstractSocket::ConnectedState)
        return lost();
    if (m_socket->bytesToWrite() > 0)
        m_socket->flush();
    if (m_socket->bytesToWrite() > 0) {
        m_problem = {LineProblem::Stalled, {}};
        m_waitingForRoom = true;
        return WriteResult::Stalled;
    }
    if (m_socket->write(bytes) != bytes.size())
        return lost();
    m_socket->flush();
    if (m_socket->state() != QAbstractSocket::ConnectedState)
        return lost();
    return WriteResult::Accepted;
}
