#include "fakebroker.h"

#include <QFile>
#include <QTcpSocket>

FakeBroker::FakeBroker(Script script)
    : m_script(std::move(script))
{
    m_server.listen(QHostAddress::LocalHost);
    connect(&m_server, &QTcpServer::newConnection, this, [this] {
        while (QTcpSocket *client = m_server.nextPendingConnection()) {
            ++m_connections;
            client->setParent(this);
            connect(client, &QTcpSocket::readyRead, client, [this, client] {
                if (client->property("answered").toBool()) {
                    client->readAll();
                    return;
                }
                client->setProperty("answered", true);
                client->readAll();
                m_script(*client);
            });
        }
    });
}

QString FakeBroker::url(const QString &prefix) const
{
    return QStringLiteral("mqtt://127.0.0.1:%1/%2").arg(port()).arg(prefix);
}

QByteArray FakeBroker::connack()
{
    return QByteArray::fromHex("2003000000");
}

namespace {

QByteArray remainingLength(qint64 n)
{
    QByteArray out;
    do {
        char byte = char(n % 128);
        n /= 128;
        if (n > 0)
            byte = char(byte | 0x80);
        out += byte;
    } while (n > 0);
    return out;
}

} // namespace

QByteArray FakeBroker::publish(const QByteArray &topic, const QByteArray &payload, bool retain)
{
    QByteArray body;
    body += char(topic.size() >> 8);
    body += char(topic.size() & 0xff);
    body += topic;
    body += char(0); // no properties
    body += payload;
    return char(0x30 | (retain ? 1 : 0)) + remainingLength(body.size()) + body;
}

qint64 residentKb()
{
    QFile status(QStringLiteral("/proc/self/status"));
    status.open(QIODevice::ReadOnly);
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toLongLong();
    return 0;
}
