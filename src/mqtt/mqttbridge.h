#pragma once

#include "control/commands.h"
#include "mqttclient.h"

class Station;

#include <QElapsedTimer>
#include <QJsonObject>
#include <QObject>
#include <QTimer>

#include <deque>

// The console on the station's broker: its state retained under PREFIX (the whole of it as
// JSON, and a topic per field), its line log as it happens, and PREFIX/cmd taking the control
// port's commands through the same panel, answered on the sender's MQTT 5 response topic or
// PREFIX/reply. PREFIX/status says online, and the broker says offline for it.
class MqttBridge : public QObject
{
    Q_OBJECT
public:
    static constexpr int CommandsPerSecond = 20;
    static constexpr qsizetype MaxPayload = 1024;
    // Changes within this are one publication.
    static constexpr int GatherMs = 20;

    struct Options
    {
        QString prefix;
        // Publishes, takes no command.
        bool readOnly = false;
        // Home Assistant's discovery documents under homeassistant/.
        bool discovery = false;
        // Discovery was on and is switched off: its documents are removed.
        bool forgetDiscovery = false;
        // A radio's state another program publishes, followed (see AnnouncedRadio).
        QString radioTopic;
    };

    struct Counts
    {
        quint64 commands = 0;
        quint64 refused = 0;       // over the rate
        quint64 dropped = 0;       // over the size
        quint64 statesSkipped = 0; // a full queue
        quint64 retained = 0;      // commands that came retained: never run
        quint64 answerRefused = 0; // an answer asked for on a topic it may not go to
    };

    MqttBridge(Station &station, MqttClient &client, const Options &options,
               QObject *parent = nullptr);

    // The followed radio's topic, when following turns to one (empty: none).
    void setRadioTopic(const QString &topic);

    // The topic a field of the state goes to, and the state as the bus sees it.
    QByteArray topic(const char *leaf) const;
    static QJsonObject stateObject(const Panel::State &state);
    // Home Assistant's node id for a prefix: only [a-zA-Z0-9_-], one for each prefix.
    static QString nodeId(const QString &prefix);
    Counts counts() const { return m_counts; }

signals:
    // What the followed radio's topic carried.
    void radioHeard(const QByteArray &payload);

private:
    // In the strip and the line log.
    void say(const QString &text, Panel::Tone tone = Panel::Tone::Info);
    void online();
    void publishState();
    void take(const MqttClient::Message &message);
    void answer(const MqttClient::Message &to, const QByteArray &text);
    // A set/… topic of Home Assistant's entities, as the command it stands for; empty, with
    // the reason, for a value the control port would not take.
    QByteArray commandFor(const QByteArray &leaf, const QByteArray &value, QByteArray *why) const;
    // Whether an answer may go to a sender's response topic: not under this console's prefix
    // (its own commands), not a pattern, not the broker's own.
    bool answerable(const QByteArray &topic) const;
    void publishDiscovery();

    Panel &m_panel;
    MqttClient &m_client;
    Options m_options;
    ControlCommands m_commands;
    QTimer m_gather;
    QJsonObject m_published;
    std::deque<qint64> m_recent; // when the last commands came, ms
    QElapsedTimer m_clock;
    Counts m_counts;
    // What was last said of a lost connection, and whether "connected" is owed since: a broker
    // that drops the console again and again is said once, not at every attempt.
    QString m_lastLoss;
    bool m_lossSaid = false;
    bool m_onlineSaid = false;
    QTimer m_stable;
    bool m_retainedSaid = false;
};
