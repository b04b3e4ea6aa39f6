#pragma once

#include "panel.h"

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

#include <functional>

// The relays are mechanical: whatever moves them but the operator's own hand (band following,
// the control port, the web page, the bus) does so at most once every MinGapMs. A request
// that finds the relays moved less than that ago waits, gathered with whatever else arrives
// meanwhile into the next move: a recall replaces all that waits before it, a code replaces
// the same bank's, and the last request always goes out. A request that waits for nothing
// runs at once, as the same action in the window does.
class RelayPacer : public QObject
{
    Q_OBJECT
public:
    static constexpr int MinGapMs = 250;
    using Bank = Panel::Bank;
    using Cause = Panel::Cause;
    using Outcome = Panel::Outcome;
    // How the request ended; runs at once or when its move is made.
    using Done = std::function<void(Outcome)>;

    // parent: the owner; none where the owner holds it otherwise.
    RelayPacer(Panel &panel, QObject *parent);

    void recall(const Slots::Selection &slot, Cause cause, Done done = {});
    void recallMemory(const Slots::Selection &slot, const RelaySetting &relays,
                      const Panel::MemoryBin &bin, const QString &note, Cause cause,
                      Done done = {});
    void enterCode(Bank bank, quint8 code, Cause cause, Done done = {});
    void toggleBit(Bank bank, int bit, Cause cause, Done done = {});
    void chooseSide(quint8 side, Cause cause, Done done = {});
    // Stores after whatever waits has moved the relays, so that the slot holds what was asked.
    void store(Cause cause, Done done = {});

    // Whether a move waits for its turn.
    bool waiting() const { return m_waiting; }
    // The slot the relays are headed for once what waits has moved, and whether a frequency
    // memory's relays come with it; none when no recall waits.
    std::optional<std::pair<Slots::Selection, bool>> heading() const
    {
        return m_waiting && m_target.slot
                   ? std::optional(std::pair(*m_target.slot, m_target.memory.has_value()))
                   : std::nullopt;
    }

private:
    struct Memory
    {
        RelaySetting relays;
        Panel::MemoryBin bin;
        QString note;
    };
    struct Target
    {
        std::optional<Slots::Selection> slot;
        // With the slot: a frequency memory's relays instead of the slot's.
        std::optional<Memory> memory;
        std::optional<quint8> codeC;
        std::optional<quint8> codeL;
        std::optional<quint8> side;
        bool store = false;
        Cause cause = Cause::Remote;
        QList<Done> done;
    };
    // Runs the action now when the relays have been still long enough and nothing waits.
    bool runNow(const std::function<Outcome()> &action, const Done &done);
    void wait(Cause cause, Done done);
    void move();
    // The bank's code once what waits has moved.
    quint8 projected(Bank bank) const;

    Panel &m_panel;
    QElapsedTimer m_lastMove;
    QTimer m_turn;
    Target m_target;
    bool m_waiting = false;
};
