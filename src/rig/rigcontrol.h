#pragma once

#include <QObject>
#include <QString>

#include <optional>

// A radio the console can follow: its frequency and transmit state arrive by polling, and
// its SWR on request. The rigctld client is one such radio.
class RigControl : public QObject
{
    Q_OBJECT
public:
    enum class State { Off, Connecting, Connected, Lost };
    // A radio that cannot say counts as receiving wherever that matters.
    enum class Ptt { Receiving, Transmitting, Unknown };

    using QObject::QObject;

    virtual State state() const = 0;
    // Where the radio is reached, for the operator.
    virtual QString address() const = 0;
    // The last frequency read, in Hz.
    virtual std::optional<qint64> frequency() const = 0;
    virtual Ptt ptt() const = 0;
    // False once the radio failed to say whether it transmits: its "receiving" may then be a
    // guess (Hamlib's dummy and some backends answer an error first, a cached 0 after).
    virtual bool pttReliable() const { return true; }
    // Whether the radio answers for its SWR at all; asked once a connection.
    virtual bool reportsSwr() const = 0;
    // Asks for the transmit state and the SWR now, ahead of the next poll; answered once by
    // probed().
    virtual void probe() = 0;

signals:
    void stateChanged();
    // One poll's result: the frequency, when the radio gave one, and the transmit state.
    void polled(std::optional<qint64> hz, RigControl::Ptt ptt);
    void probed(RigControl::Ptt ptt, std::optional<double> swr);
};
