#include "linepanel.h"

#include "settings/conflayout.h"

LinePanel::LinePanel(const PortMap &ports)
    : m_port(ports)
    , m_link(m_port)
{
    m_port.setLog(&m_link.log());
}

bool LinePanel::open(const QString &confPath)
{
    if (!m_file.open(confPath))
        return false;
    m_port.setSettings(QStringLiteral("9600,n,8,1"));
    if (!m_port.setCommPort(m_file.Read(ConfLayout::PortNumber, 1)) || !m_port.setPortOpen(true))
        return false;
    const int last = qint16(m_file.Read(ConfLayout::LastSavedBase, 2));
    return recall(ConfLayout::selectionOf(qint16(ConfLayout::isStoredBase(last) ? last : 0)),
                  Cause::Operator) == Outcome::Done;
}

Panel::State LinePanel::state() const
{
    State s;
    s.selection = m_selection;
    s.relays = m_relays;
    s.memory = m_memory;
    s.saved = stored(m_selection) == m_relays;
    s.delivered = m_link.delivered();
    s.stepC = m_file.Read(ConfLayout::StepC, 1);
    s.stepL = m_file.Read(ConfLayout::StepL, 2);
    s.port.number = m_port.CommPort();
    s.port.device = m_port.target();
    s.port.state = m_port.PortOpen() ? Port::State::Open : Port::State::Closed;
    s.radio = m_radio;
    s.held = held();
    return s;
}

RelaySetting LinePanel::stored(const Slots::Selection &slot) const
{
    const int base = ConfLayout::baseOf(slot);
    return {quint8(m_file.Read(base + ConfLayout::CodeCAt, 1)),
            quint8(m_file.Read(base + ConfLayout::CodeLAt, 1)),
            quint8(m_file.Read(base + ConfLayout::SideAt, 1))};
}

Panel::Outcome LinePanel::recall(const Slots::Selection &slot, Cause cause)
{
    if (held())
        return Outcome::Held;
    const ControllerLink::CauseScope scope(m_link, cause);
    m_selection = slot;
    m_memory.reset();
    put(stored(slot), true);
    return Outcome::Done;
}

Panel::Outcome LinePanel::recallMemory(const Slots::Selection &slot, const RelaySetting &relays,
                                       const MemoryBin &bin, const QString &note, Cause cause)
{
    if (held())
        return Outcome::Held;
    const ControllerLink::CauseScope scope(m_link, cause);
    m_selection = slot;
    m_link.noteRecall(note);
    put(relays, true);
    m_memory = bin;
    return Outcome::Done;
}

Panel::Outcome LinePanel::enterCode(Bank bank, quint8 code, Cause cause)
{
    if (held())
        return Outcome::Held;
    const ControllerLink::CauseScope scope(m_link, cause);
    RelaySetting relays = m_relays;
    (bank == Bank::C ? relays.codeC : relays.codeL) = code;
    put(relays, false);
    return Outcome::Done;
}

Panel::Outcome LinePanel::toggleBit(Bank bank, int bit, Cause cause)
{
    const quint8 code = bank == Bank::C ? m_relays.codeC : m_relays.codeL;
    return enterCode(bank, quint8(code ^ (1u << bit)), cause);
}

Panel::Outcome LinePanel::chooseSide(quint8 side, Cause cause)
{
    if (held())
        return Outcome::Held;
    const ControllerLink::CauseScope scope(m_link, cause);
    m_relays.side = side;
    m_link.SendNetworkSide(side, flag());
    emit changed();
    return Outcome::Done;
}

Panel::Outcome LinePanel::store(Cause cause)
{
    const int base = ConfLayout::baseOf(m_selection);
    if (!m_file.Write(base + ConfLayout::CodeCAt, 1, m_relays.codeC) ||
        !m_file.Write(base + ConfLayout::CodeLAt, 1, m_relays.codeL) ||
        !m_file.Write(base + ConfLayout::SideAt, 1, m_relays.side) ||
        !m_file.Write(ConfLayout::LastSavedBase, 2, base) || !m_file.Sync())
        return Outcome::Failed;
    emit changed();
    emit slotStored(cause);
    return Outcome::Done;
}

void LinePanel::setRelays(const RelaySetting &setting, bool sendAll)
{
    put(setting, sendAll);
}

bool LinePanel::settingsReplaced()
{
    if (!m_file.reopen())
        return false;
    return recall(m_selection, Cause::Import) == Outcome::Done;
}

void LinePanel::setRadio(const Radio &radio)
{
    if (radio == m_radio)
        return;
    m_radio = radio;
    emit changed();
}

void LinePanel::put(const RelaySetting &relays, bool all)
{
    if (all || relays.codeC != m_relays.codeC)
        m_link.SendC(relays.codeC, flag());
    if (all || relays.codeL != m_relays.codeL)
        m_link.SendL(relays.codeL, flag());
    if (all || relays.side != m_relays.side)
        m_link.SendNetworkSide(relays.side, flag());
    m_relays = relays;
    if (m_memory && !all)
        m_memory.reset();
    emit changed();
}
