#include "relaypacer.h"

namespace {

Panel::Outcome worse(Panel::Outcome a, Panel::Outcome b)
{
    // Failed outranks Held, which outranks Done.
    return int(a) > int(b) ? a : b;
}

} // namespace

RelayPacer::RelayPacer(Panel &panel, QObject *parent)
    : QObject(parent)
    , m_panel(panel)
{
    m_turn.setSingleShot(true);
    m_turn.setTimerType(Qt::PreciseTimer);
    connect(&m_turn, &QTimer::timeout, this, &RelayPacer::move);
}

void Panel::report(const QString &text, Tone tone)
{
    say(text, tone);
    LineLog::Entry note;
    note.kind = LineLog::Entry::Note;
    note.text = text;
    lineLog().add(note);
}

RelayPacer &Panel::paced()
{
    if (m_usedPacer)
        return *m_usedPacer;
    if (!m_pacer)
        m_pacer = new RelayPacer(*this, this);
    return *m_pacer;
}

bool RelayPacer::runNow(const std::function<Outcome()> &action, const Done &done)
{
    if (m_waiting || (m_lastMove.isValid() && m_lastMove.elapsed() < MinGapMs))
        return false;
    const Outcome outcome = action();
    if (outcome == Outcome::Done)
        m_lastMove.start();
    if (done)
        done(outcome);
    return true;
}

void RelayPacer::wait(Cause cause, Done done)
{
    m_target.cause = cause;
    if (done)
        m_target.done << std::move(done);
    if (m_waiting)
        return;
    m_waiting = true;
    m_turn.start(std::max<qint64>(0, MinGapMs - m_lastMove.elapsed()));
}

void RelayPacer::recall(const Slots::Selection &slot, Cause cause, Done done)
{
    if (runNow([&] { return m_panel.recall(slot, cause); }, done))
        return;
    // A recall sets everything: what waited before it is replaced.
    m_target.slot = slot;
    m_target.memory.reset();
    m_target.codeC.reset();
    m_target.codeL.reset();
    m_target.side.reset();
    wait(cause, std::move(done));
}

void RelayPacer::recallMemory(const Slots::Selection &slot, const RelaySetting &relays,
                              const Panel::MemoryBin &bin, const QString &note, Cause cause,
                              Done done)
{
    if (runNow([&] { return m_panel.recallMemory(slot, relays, bin, note, cause); }, done))
        return;
    m_target.slot = slot;
    m_target.memory = Memory{relays, bin, note};
    m_target.codeC.reset();
    m_target.codeL.reset();
    m_target.side.reset();
    wait(cause, std::move(done));
}

void RelayPacer::enterCode(Bank bank, quint8 code, Cause cause, Done done)
{
    if (runNow([&] { return m_panel.enterCode(bank, code, cause); }, done))
        return;
    (bank == Bank::C ? m_target.codeC : m_target.codeL) = code;
    wait(cause, std::move(done));
}

void RelayPacer::toggleBit(Bank bank, int bit, Cause cause, Done done)
{
    if (runNow([&] { return m_panel.toggleBit(bank, bit, cause); }, done))
        return;
    // Waiting, a flip becomes the code it leads to.
    (bank == Bank::C ? m_target.codeC : m_target.codeL) =
        static_cast<quint8>(projected(bank) ^ (1u << bit));
    wait(cause, std::move(done));
}

void RelayPacer::chooseSide(quint8 side, Cause cause, Done done)
{
    if (runNow([&] { return m_panel.chooseSide(side, cause); }, done))
        return;
    m_target.side = side;
    wait(cause, std::move(done));
}

void RelayPacer::store(Cause cause, Done done)
{
    if (!m_waiting) {
        const Outcome outcome = m_panel.store(cause);
        if (done)
            done(outcome);
        return;
    }
    m_target.store = true;
    if (done)
        m_target.done << std::move(done);
}

quint8 RelayPacer::projected(Bank bank) const
{
    if (const auto &code = bank == Bank::C ? m_target.codeC : m_target.codeL)
        return *code;
    const RelaySetting relays = m_target.memory ? m_target.memory->relays
                                : m_target.slot ? m_panel.stored(*m_target.slot)
                                                : m_panel.state().relays;
    return bank == Bank::C ? relays.codeC : relays.codeL;
}

void RelayPacer::move()
{
    const Target target = std::exchange(m_target, {});
    m_waiting = false;
    m_lastMove.start();
    Outcome outcome = Outcome::Done;
    if (target.slot && target.memory)
        outcome = worse(outcome, m_panel.recallMemory(*target.slot, target.memory->relays,
                                                      target.memory->bin, target.memory->note,
                                                      target.cause));
    else if (target.slot)
        outcome = worse(outcome, m_panel.recall(*target.slot, target.cause));
    if (target.codeC)
        outcome = worse(outcome, m_panel.enterCode(Bank::C, *target.codeC, target.cause));
    if (target.codeL)
        outcome = worse(outcome, m_panel.enterCode(Bank::L, *target.codeL, target.cause));
    if (target.side)
        outcome = worse(outcome, m_panel.chooseSide(*target.side, target.cause));
    if (target.store)
        outcome = worse(outcome, m_panel.store(target.cause));
    for (const Done &done : target.done)
        done(outcome);
}
