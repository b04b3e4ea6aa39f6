#pragma once

#include "link/linelog.h"
#include "link/portmap.h"
#include "model/relaysetting.h"
#include "model/slots.h"

#include <QObject>
#include <QString>

#include <optional>

class RelayPacer;

// The one way into the console for everything outside its window: the window's own helpers
// (band following, the matching search, backup, the ports), the control port and the web
// page. What they may read, and what they may ask; every request runs the handlers the
// operator's own action runs, so it puts the same packets on the line and the same bytes in
// conf.cfg.
class Panel : public QObject
{
    Q_OBJECT
public:
    using Cause = LineLog::Cause;
    enum class Bank { C, L };
    // How a request ended.
    enum class Outcome {
        Done,
        Held,   // the radio transmits: relays hold still
        Failed, // the settings file or the port would not
    };
    // How the status strip shows a message. An alert stays until the operator has seen it.
    enum class Tone { Info, Warning, Alert };

    struct Port
    {
        enum class State { Closed, Opening, Open, Failed };
        int number = 0; // 1–16; 0 before one was chosen
        QString device;
        State state = State::Closed;
        QString problem; // why it failed, in the operator's words
        friend bool operator==(const Port &, const Port &) = default;
    };

    // What the radio is doing, as band following sees it.
    struct Radio
    {
        bool following = false;
        bool connected = false;
        std::optional<qint64> hz;
        std::optional<bool> transmitting; // none: the radio cannot say
        friend bool operator==(const Radio &, const Radio &) = default;
    };

    // A stretch of a band the frequency memory recalled the relays for, [low, high) Hz.
    struct MemoryBin
    {
        qint64 low = 0;
        qint64 high = 0;
        friend bool operator==(const MemoryBin &, const MemoryBin &) = default;
    };

    struct State
    {
        Slots::Selection selection;
        RelaySetting relays;
        // Where the relays came from a frequency memory, its bin; none for a slot's or a
        // hand's.
        std::optional<MemoryBin> memory;
        // Whether the relays are what the selected slot holds in conf.cfg.
        bool saved = false;
        // Whether the controller has had the relays shown: no packet of theirs was dropped,
        // and none was left unsent since the port last opened.
        bool delivered = false;
        int stepC = 0; // pF
        int stepL = 0; // nH
        Port port;
        Radio radio;
        bool held = false;
        friend bool operator==(const State &, const State &) = default;
    };

    using QObject::QObject;

    virtual State state() const = 0;
    // What conf.cfg holds for a slot.
    virtual RelaySetting stored(const Slots::Selection &slot) const = 0;

    // Selects the slot as a click on its options does, recalling it: three packets.
    virtual Outcome recall(const Slots::Selection &slot, Cause cause) = 0;
    // Selects the slot and puts a frequency memory's relays on, as a recall does: three
    // packets, the memory's instead of the slot's. note: what the line log says of it.
    virtual Outcome recallMemory(const Slots::Selection &slot, const RelaySetting &relays,
                                 const MemoryBin &bin, const QString &note, Cause cause) = 0;
    // Puts a code on a bank as its entry command does, and sends it.
    virtual Outcome enterCode(Bank bank, quint8 code, Cause cause) = 0;
    // Flips one relay as a click on its toggle does, and sends the bank.
    virtual Outcome toggleBit(Bank bank, int bit, Cause cause) = 0;
    // Chooses the network side as a click on "Tx" (1) or "Ant" (0) does.
    virtual Outcome chooseSide(quint8 side, Cause cause) = 0;
    // Stores the relays in the selected slot as Save does.
    virtual Outcome store(Cause cause) = 0;
    // Moves the relays for the matching search, which keys the carrier for exactly this, so
    // nothing holds it: only what changed, or all three packets as a recall sends them.
    virtual void setRelays(const RelaySetting &setting, bool sendAll) = 0;

    // Asks for the relay steps as the "..." button does.
    virtual void askSteps() = 0;
    virtual QString settingsPath() const = 0;
    // conf.cfg was replaced whole (an import): the steps are read again and the selected slot
    // recalled. False when the new file cannot be opened.
    virtual bool settingsReplaced() = 0;
    // New devices behind the port numbers; a port in use moves to its new device at once.
    virtual void setPorts(const PortMap &ports) = 0;
    virtual const PortMap &ports() const = 0;
    virtual LineLog &lineLog() = 0;

    // Band following tells what the radio does. While it transmits, no action of the
    // operator or of a client moves a relay.
    virtual void setRadio(const Radio &radio) = 0;

    // A short message for the status strip, and for whoever else shows what the console did.
    void say(const QString &text, Tone tone = Tone::Info) { emit said(text, tone); }
    // Said, and kept in the line log as a note (so every subscribed client hears it too).
    void report(const QString &text, Tone tone = Tone::Info);

    // The way in for whatever moves relays but the operator's own hand: at most four moves a
    // second, the latest request winning.
    RelayPacer &paced();
    // The pacer the station keeps; none: the panel's own, made when first asked for.
    void usePacer(RelayPacer *pacer) { m_usedPacer = pacer; }

signals:
    // Something of state() changed: sent once for a burst of changes.
    void changed();
    void said(const QString &text, Panel::Tone tone);
    // The relays were stored in the selected slot, as Save does, at the cause's asking.
    void slotStored(Panel::Cause cause);

private:
    RelayPacer *m_pacer = nullptr;
    RelayPacer *m_usedPacer = nullptr;
};
