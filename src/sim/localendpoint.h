#pragma once

#include "endpoint.h"

#include <memory>

class QSerialPort;
class QSocketNotifier;

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
