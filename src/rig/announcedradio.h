#pragma once

#include "announcement.h"
#include "followsource.h"
#include "rigcontrol.h"

#include <QTimer>
#include <QUdpSocket>

// A radio followed through what another program announces about it over UDP: a logger's
// RadioInfo, WSJT-X's status, Hamlib's multicast. Nothing is asked of it; it says what it
// says, datagram by datagram, and falls silent when it goes. Whatever else arrives on the
// port is counted and dropped, never waited on.
class AnnouncedRadio : public RigControl
{
    Q_OBJECT
public:
    // A longer datagram is dropped unread: the longest of these formats (Hamlib's, with a
    // spectrum line) stays well under it.
    static constexpr qint64 MaxDatagram = 16 * 1024;
    // So long without a word from the source and it counts as gone.
    static constexpr int SilenceMs = 30000;
    // Datagrams read in one go before the window has its turn.
    static constexpr int Burst = 64;

    struct Counts
    {
        quint64 taken = 0;
        // Another radio's, another program's, messages of no interest.
        quint64 ignored = 0;
        // Not the format, cut short, of a future version, too long, from another computer.
        quint64 dropped = 0;
    };

    explicit AnnouncedRadio(const FollowSource &source, QObject *parent = nullptr);

    // RadioInfo: 0 follows the active radio, 1 or 2 that radio.
    void setRadio(int radio) { m_radio = radio; }
    // WSJT-X: the id of the program to follow; empty follows the first one heard.
    void setProgram(const QString &program) { m_program = program; }
    void setSilence(int ms) { m_silence.setInterval(ms); }

    void start();
    void stop();
    // What the followed MQTT topic carried; a published state is kept by the broker, so
    // silence there is no absence.
    void hear(const QByteArray &payload);

    State state() const override { return m_state; }
    QString address() const override;
    std::optional<qint64> frequency() const override { return m_frequency; }
    Ptt ptt() const override { return m_ptt; }
    bool reportsSwr() const override { return false; }
    void probe() override;

    const FollowSource &source() const { return m_source; }
    // The radio or program followed: "1", "WSJT-X", the rig's name; empty before one spoke.
    QString who() const { return m_who; }
    // Why nothing can be heard (the port is taken), or empty.
    QString problem() const { return m_problem; }
    Counts counts() const { return m_counts; }

private:
    void readSome();
    void take(const QByteArray &datagram);
    void setState(State state);

    FollowSource m_source;
    QUdpSocket m_socket;
    QTimer m_silence;
    State m_state = State::Off;
    std::optional<qint64> m_frequency;
    Ptt m_ptt = Ptt::Unknown;
    int m_radio = 0;
    QString m_program;
    QString m_who;
    QString m_problem;
    Counts m_counts;
    // This computer's addresses, whose senders a group's socket hears.
    QList<QHostAddress> m_own;
};
