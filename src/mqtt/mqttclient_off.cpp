#include "mqttclient.h"

#include <QCoreApplication>
#include <QSocketNotifier>

// A console built without Mosquitto's library: the bus is refused with that reason.

MqttClient::MqttClient(QObject *parent)
    : QObject(parent)
{}

MqttClient::~MqttClient() = default;

bool MqttClient::start(const Options &, QString *error)
{
    *error = QCoreApplication::translate("MqttClient", "эта сборка консоли без MQTT");
    return false;
}

void MqttClient::stop() {}

bool MqttClient::publish(const QByteArray &, const QByteArray &, bool, int, Priority,
                         const QByteArray &)
{
    return false;
}

void MqttClient::subscribe(const QByteArray &) {}
