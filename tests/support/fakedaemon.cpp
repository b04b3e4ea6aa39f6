#include "fakedaemon.h"

#include <QTcpSocket>
#include <QTimer>

FakeDaemon::FakeDaemon()
{
    server.listen(QHostAddress::LocalHost);
    QObject::connect(&server, &QTcpServer::newConnection, &server, [this] {
        QTcpSocket *socket = server.nextPendingConnection();
        ++connections;
        QObject::connect(socket, &QTcpSocket::readyRead, socket, [this, socket] {
            while (socket->canReadLine()) {
                const QByteArray line = socket->readLine().trimmed();
                const QByteArray reply = answer ? answer(line) : QByteArray();
                if (!split) {
                    socket->write(reply);
                    continue;
                }
                socket->write(reply.left(reply.size() / 2));
                socket->flush();
                QTimer::singleShot(30, socket, [socket, rest = reply.mid(reply.size() / 2)] {
                    socket->write(rest);
                });
            }
        });
    });
}
