#include "endpoint.h"

#include <QCoreApplication>
#include <QTcpSocket>

void SimEndpoint::comeBack()
{
    emit note(tr("отключено: %1").arg(where()));
    QString error;
    if (start(&error))
        emit moved(where());
    else
        emit note(error);
}

TcpEndpoint::TcpEndpoint(const HostPort &where, QObject *parent)
    : SimEndpoint(parent)
    , m_where(where)
{
    connect(&m_listener, &Listener::connected, this, &TcpEndpoint::accept);
}

bool TcpEndpoint::start(QString *error)
{
    return m_listener.listen(m_where, error);
}

void TcpEndpoint::accept(QTcpSocket *socket)
{
    socket->setParent(this);
    // One line has one console at a time, and the newest is the one that counts: a console
    // reopening its port may connect again before its old connection's end has been read
    // here.
    if (QTcpSocket *old = m_client) {
        m_client = nullptr;
        emit note(tr("прежнее соединение закрыто: %1").arg(old->peerAddress().toString()));
        old->abort();
        old->deleteLater();
    }
    m_client = socket;
    emit note(tr("подключено: %1").arg(socket->peerAddress().toString()));
    connect(socket, &QIODevice::readyRead, this,
            [this, socket] { emit received(socket->readAll()); });
    connect(socket, &QAbstractSocket::disconnected, this, [this, socket] {
        if (m_client == socket) {
            m_client = nullptr;
            emit note(tr("соединение закрыто"));
        }
        socket->deleteLater();
    });
}

void TcpEndpoint::unplug()
{
    if (!m_client)
        return;
    QTcpSocket *socket = m_client;
    m_client = nullptr;
    socket->abort();
    socket->deleteLater();
    emit note(tr("отключено: %1").arg(where()));
}
