#include "rigserver.h"

#include "link/linetarget.h"
#include "virtualcontroller.h"

#include <QHostAddress>
#include <QTcpSocket>

#include <cmath>

RigServer::RigServer(const VirtualController &controller, const LoadModel &model, double hz,
                     QObject *parent)
    : QObject(parent)
    , m_controller(controller)
    , m_model(model)
    , m_hz(hz)
{
    connect(&m_server, &QTcpServer::newConnection, this, [this] {
        while (QTcpSocket *socket = m_server.nextPendingConnection()) {
            connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
            connect(socket, &QIODevice::readyRead, socket, [this, socket] {
                while (socket->canReadLine()) {
                    const QByteArray line = socket->readLine().trimmed();
                    if (line == "q" || line == "Q" || line == "\\quit") {
                        socket->disconnectFromHost();
                        return;
                    }
                    socket->write(answer(line));
                }
            });
        }
    });
}

bool RigServer::listen(const QString &host, quint16 port, QString *error)
{
    QHostAddress address(host);
    if (host == QLatin1String("localhost"))
        address = QHostAddress::LocalHost;
    if (!m_server.listen(address, port)) {
        *error = host + QLatin1Char(':') + QString::number(port) + QStringLiteral(": ") +
                 m_server.errorString();
        return false;
    }
    return true;
}

QString RigServer::where() const
{
    LineTarget target;
    target.host = m_server.serverAddress().toString();
    target.port = m_server.serverPort();
    return target.text();
}

double RigServer::swr() const
{
    if (!m_transmitting)
        return 1.0;
    return m_model.swr(m_hz, m_controller.steps(), m_controller.state());
}

QByteArray RigServer::answer(const QByteArray &received)
{
    QByteArray line = received;
    const bool extended = line.startsWith('+');
    if (extended)
        line.remove(0, 1);
    const QList<QByteArray> words = line.simplified().split(' ');
    const QByteArray command = words.value(0);
    const QByteArray argument = words.value(1);
    const auto reply = [&](const QByteArray &name, const QByteArray &key, const QByteArray &value) {
        if (!extended)
            return value + '\n';
        return name + ":\n" + (key.isEmpty() ? QByteArray() : key + ": ") + value + "\nRPRT 0\n";
    };
    const auto done = [&](const QByteArray &name) {
        return extended ? name + ": " + argument + "\nRPRT 0\n" : QByteArray("RPRT 0\n");
    };
    const auto refused = [&](int code) {
        return "RPRT " + QByteArray::number(code) + '\n';
    };

    if (command == "f" || command == "\\get_freq")
        return reply("get_freq", "Frequency", QByteArray::number(std::llround(m_hz)));
    if (command == "t" || command == "\\get_ptt")
        return reply("get_ptt", "PTT", m_transmitting ? "1" : "0");
    if (command == "F" || command == "\\set_freq") {
        bool ok = false;
        const double hz = argument.toDouble(&ok);
        if (!ok || !(hz > 0))
            return refused(-1);
        m_hz = hz;
        emit changed();
        return done("set_freq");
    }
    if (command == "T" || command == "\\set_ptt") {
        bool ok = false;
        const int ptt = argument.toInt(&ok);
        if (!ok)
            return refused(-1);
        m_transmitting = ptt != 0;
        emit changed();
        return done("set_ptt");
    }
    if (command == "l" || command == "\\get_level") {
        if (argument != "SWR")
            return refused(-11); // this radio reports no other level
        const QByteArray value = QByteArray::number(swr(), 'f', 6);
        return extended ? "get_level: SWR\n" + value + "\nRPRT 0\n" : value + '\n';
    }
    return refused(-4);
}
