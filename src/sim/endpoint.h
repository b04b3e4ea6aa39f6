#pragma once

#include "net/listener.h"

#include <QByteArray>
#include <QObject>
#include <QString>

#include <memory>

class QTcpSocket;

// Where the virtual controller listens: the far end of the console's line. It only reads.
class SimEndpoint : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;

    // Starts listening; false with the reason when that is impossible.
    virtual bool start(QString *error) = 0;
    // What the console must open: a device path, or HOST:PORT.
    virtual QString where() const = 0;
    // Pulls the plug: the console sees its adapter vanish. Listening goes on where it can.
    virtual void unplug() = 0;

protected:
    // After the line was closed: listen again, and say where.
    void comeBack();

signals:
    void received(const QByteArray &bytes);
    // Listening at a new place (a new pseudo-terminal after an unplug).
    void moved(const QString &where);
    // Something worth a line in the log that is not a packet: a connection came or went.
    void note(const QString &text);
};

// A TCP listener taking one connection at a time, as a serial server in raw mode would; a
// new connection replaces the one before. It listens on the addresses its host names only.
class TcpEndpoint : public SimEndpoint
{
    Q_OBJECT
public:
    explicit TcpEndpoint(const HostPort &where, QObject *parent = nullptr);

    bool start(QString *error) override;
    QString where() const override { return m_listener.address().text(); }
    void unplug() override;

private:
    void accept(QTcpSocket *socket);

    HostPort m_where;
    Listener m_listener;
    QTcpSocket *m_client = nullptr;
};

// Where the controller listens on this computer when no TCP address is named: a device of its
// own, or one it reads. Each platform has what it can offer; an error says what it cannot.
std::unique_ptr<SimEndpoint> localEndpoint(const QString &device, const QString &link,
                                           QString *error);
