#pragma once

#include <QByteArray>
#include <QList>
#include <QTcpServer>

#include <functional>

// A broker of the test's own making on loopback: it answers a client's first bytes (its
// CONNECT) with what the test scripts, byte for byte, however wrong.
class FakeBroker : public QObject
{
public:
    // What to do with a client once its CONNECT has come; the socket is the test's.
    using Script = std::function<void(QTcpSocket &client)>;

    explicit FakeBroker(Script script);
    quint16 port() const { return m_server.serverPort(); }
    QString url(const QString &prefix) const;
    int connections() const { return m_connections; }
    // The bytes of a CONNACK that accepts an MQTT 5 client.
    static QByteArray connack();
    // A PUBLISH of QoS 0 as a broker delivers it.
    static QByteArray publish(const QByteArray &topic, const QByteArray &payload,
                              bool retain = false);

private:
    QTcpServer m_server;
    Script m_script;
    int m_connections = 0;
};

// The resident memory of this process, in kB.
qint64 residentKb();
