#pragma once

#include "link/linelog.h"
#include "news.h"
#include "panel/panel.h"
#include "tunes/tunestore.h"

#include <QByteArray>
#include <QObject>

#include <functional>

class Station;
class TuneSession;
class Tuning;

// The control port's language, in rigctld's manner: one command a line, short letters or
// \long_names; a set answers RPRT n, a get its values one a line; a leading "+" asks for the
// extended form (the command's name and ":", Key: value lines, RPRT n). Every request goes
// through the panel, so it does what the same action in the window does.
class ControlCommands
{
public:
    static constexpr int Protocol = 1;
    // Hamlib's return codes.
    enum Code {
        Ok = 0,
        Invalid = -1,
        Io = -6,
        NotImplemented = -4,
        Refused = -9,
        NotAvailable = -11,
        Security = -19
    };

    struct Reply
    {
        QByteArray text;
        // WatchSweep: the client that started a sweep is told its points, subscribed or not.
        enum class Effect { None, Subscribe, Unsubscribe, Quit, WatchSweep } effect = Effect::None;
    };
    // Runs at once, or once the relays have had their turn (RelayPacer).
    using Answer = std::function<void(const Reply &)>;

    // station: the panel, and the search, the frequency memory, training and the sweep.
    // cause: whose requests these are, for the line log.
    explicit ControlCommands(Station &station, Panel::Cause cause = Panel::Cause::Remote);

    void run(const QByteArray &line, const Answer &answer);

    // The state's fields, the same in \get_state and in the pushed line.
    static QList<std::pair<QByteArray, QByteArray>> stateFields(const Panel::State &state);
    // What a subscribed client is told: the whole state, one line.
    static QByteArray stateLine(const Panel::State &state);
    static QByteArray logLine(const LineLog::Entry &entry);
    // "open", "opening", "failed", "closed".
    static QByteArray portState(const Panel::Port &port);
    // Whether relays hold still while the radio transmits: "on", "off" for a radio that
    // cannot say when it transmits, "none" while no radio is followed.
    static QByteArray interlock(const Panel::Radio &radio);
    static QByteArray tuneLine(const TuneSession &session);
    // "!sweep F=7100000 SWR=1.02 Kind=bare", and at the end "!sweep Done=41" or
    // "!sweep Stopped=остановлено" (spaces written %20).
    static QByteArray sweepLine(StoredSweep::Kind kind, const StoredSweep::Point &point);
    static QByteArray sweepEnd(int points, const QString &stopped);
    // Whether a command only reads: all a client allowed to watch may send.
    static bool readsOnly(const QByteArray &line);
    // A relay code as every door takes it: a whole number 0–255, nothing else.
    static std::optional<quint8> codeOf(const QByteArray &word);

private:
    Panel &m_panel;
    Station &m_station;
    Tuning *m_tuning;
    Panel::Cause m_cause;
    // Lives as long as the commands: an answer that comes from another thread goes with it.
    QObject m_answers;
};
