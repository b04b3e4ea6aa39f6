#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>

#include <functional>
#include <optional>

class RigctldClient;
class QSettings;

// The followed radio as the console's own measurements use it: a low-power carrier keyed on
// a frequency of their choosing, never above the operator's limit, and the radio put back as
// it was (frequency, mode, power) at the end. Every step asks rigctld and waits for its
// answer; a step the radio refuses ends the run with the radio's reason.
class Carrier : public QObject
{
    Q_OBJECT
public:
    static constexpr double DefaultWatts = 10;
    static constexpr const char *WattsKey = "tune/carrier_watts";
    // A mode whose key-down is a steady carrier on every HF radio.
    static constexpr const char *DefaultMode = "AM";
    static constexpr const char *ModeKey = "tune/carrier_mode";

    // Empty when all went well, else why not.
    using Done = std::function<void(const QString &problem)>;

    Carrier(RigctldClient &rig, QSettings *settings, QObject *parent = nullptr);
    // The operator's limit as kept in the settings.
    static double wattsIn(QSettings *settings);

    double limitWatts() const { return m_watts; }

    // Keeps the radio's frequency, mode and power, and works out the power that stays within
    // the limit.
    void prepare(Done done);
    // The frequency, the carrier's mode and its power.
    void tuneTo(qint64 hz, Done done);
    // Only the frequency, once tuneTo has set the rest.
    void moveTo(qint64 hz, Done done);
    void key(bool on, Done done);
    // Unkeys now, ahead of anything that waits (as far as one command in flight allows).
    void unkeyNow();
    // Unkeyed, the frequency, mode and power as they were.
    void restore(Done done);

private:
    struct Saved
    {
        qint64 hz = 0;
        QByteArray mode;
        QByteArray passband;
        QByteArray power;
    };
    // Runs the commands in order, each after the one before was answered RPRT 0.
    void run(QList<QByteArray> commands, Done done);

    RigctldClient &m_rig;
    double m_watts;
    QByteArray m_mode;
    std::optional<Saved> m_saved;
    QByteArray m_power; // the carrier's RFPOWER
};
