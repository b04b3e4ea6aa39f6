#include "networkline.h"

#include <QTimer>

namespace {
// A closed connection is given this long to deliver what it accepted.
constexpr int LingerMs = 5000;
} // namespace

NetworkLine::NetworkLine(const QString &host, quint16 port)
    : m_host(host)
    , m_port(port)
{}

NetworkLine::~NetworkLine()
{
    close();
}

bool NetworkLine::open(const LineSettings &)
{
    m_problem = {};
    auto *socket = new QTcpSocket;
    socket->connectToHost(m_host, m_port);
    if (!socket->waitForConnected(ConnectTimeoutMs)) {
        m_problem = {LineProblem::Refused, socket->errorString()};
        delete socket;
        return false;
    }
    socket->setSocketOption(QAbstractSocket::LowDelayOption, 1);
    // The controller's replies are not for the console; nothing may pile up unread.
    QObject::connect(socket, &QIODevice::readyRead, socket, [socket] { socket->readAll(); });
    m_socket = socket;
    return true;
}

void NetworkLine::close()
{
    QTcpSocket *socket = m_socket;
    m_socket = nullptr;
    if (!socket)
        return;
    socket->flush();
    socket->disconnectFromHost();
    if (socket->state() == QAbstractSocket::UnconnectedState) {
        delete socket;
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
    if (m_socket->state() != QAbstractSocket::ConnectedState)
        return lost();
    if (m_socket->bytesToWrite() > 0)
        m_socket->flush();
    if (m_socket->bytesToWrite() > 0) {
        m_problem = {LineProblem::Stalled, {}};
        return WriteResult::Stalled;
    }
    if (m_socket->write(bytes) != bytes.size())
        return lost();
    m_socket->flush();
    if (m_socket->state() != QAbstractSocket::ConnectedState)
        return lost();
    return WriteResult::Accepted;
}
