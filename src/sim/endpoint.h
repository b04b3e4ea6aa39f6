#pragma once

#include "net/listener.h"

#include <QByteArray>
#include <QObject>
#include <QString>

#include <memory>

class QSocketNotifier;
class QSerialPort;
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

// A pseudo-terminal pair: the console opens the slave side like any serial device. With a
// link path, a symbolic link always points at the current slave, so a console mapped to the
// link finds the new one after an unplug.
class PtyEndpoint : public SimEndpoint
{
    Q_OBJECT
public:
    explicit PtyEndpoint(const QString &link = {}, QObject *parent = nullptr);
    ~PtyEndpoint() override;

    bool start(QString *error) override;
    QString where() const override { return m_device; }
    void unplug() override;

private:
    void close();
    void readAll();

    QString m_link;
    QString m_device;
    int m_master = -1;
    int m_slave = -1;
    std::unique_ptr<QSocketNotifier> m_readable;
};

// An existing serial device at 9600,n,8,1, read only: a monitor on a second adapter wired
// to the real line.
class DeviceEndpoint : public SimEndpoint
{
    Q_OBJECT
public:
    explicit DeviceEndpoint(const QString &device, QObject *parent = nullptr);
    ~DeviceEndpoint() override;

    bool start(QString *error) override;
    QString where() const override { return m_device; }
    void unplug() override;

private:
    QString m_device;
    QSerialPort *m_port;
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
