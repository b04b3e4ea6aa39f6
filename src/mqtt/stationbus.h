#pragma once

#include "mqttbridge.h"
#include "mqttclient.h"

#include <QObject>

#include <memory>

class Following;
class Station;
class QSettings;

// The console's place on the station's broker: the connection, what goes over it, and the
// radio followed from a topic there. Off until started.
class StationBus : public QObject
{
    Q_OBJECT
public:
    struct Choice
    {
        QString url; // empty or "off": none
        QString caFile;
        bool readOnly = false;
        bool discovery = false;
        friend bool operator==(const Choice &, const Choice &) = default;
    };

    // helper: the program that holds the connection (orvane-mqtt).
    StationBus(Station &station, const QString &helper, QObject *parent = nullptr);
    ~StationBus() override;

    // The command line's choice over mqtt/url, mqtt/ca, mqtt/read_only, mqtt/discovery.
    static Choice chosen(const Choice &commandLine, QSettings *settings);
    static void keep(const Choice &choice, QSettings &settings);

    // Connects (and keeps connecting) with the password kept in passwordFile, if any. False
    // with the reason when the choice cannot work at all.
    bool start(const Choice &choice, const QString &passwordFile, QString *error);
    void stop();

    bool running() const { return m_client != nullptr; }
    const Choice &choice() const { return m_choice; }
    MqttClient *client() const { return m_client.get(); }
    MqttBridge *bridge() const { return m_bridge.get(); }

private:
    Panel &m_panel;
    Station &m_station;
    Following &m_following;
    QString m_helper;
    Choice m_choice;
    std::unique_ptr<MqttClient> m_client;
    std::unique_ptr<MqttBridge> m_bridge;
};
