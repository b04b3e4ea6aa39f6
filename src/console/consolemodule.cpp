#include "consolemodule.h"

#include "link/controllerlink.h"
#include "model/bandnames.h"
#include "settings/conflayout.h"
#include "settings/settingsfile.h"

#include <QAbstractButton>
#include <QLineEdit>

namespace {

// The last selected option of a group wins; a group with none selected counts as 0.
template<std::size_t N> int selectedIndex(const std::array<QAbstractButton *, N> &group)
{
    int index = 0;
    for (std::size_t i = 0; i < N; ++i) {
        if (group[i]->isChecked())
            index = static_cast<int>(i);
    }
    return index;
}

quint8 showCode(const RelayBank &bank)
{
    const quint8 code = composeCode(bank);
    bank.entry->setText(QString::number(code));
    return code;
}

} // namespace

ConsoleModule::ConsoleModule(const RelayBank &c, const RelayBank &l,
                             const SelectorControls &selectors, SettingsFile &file,
                             ControllerLink &link, BankDisplay &display)
    : m_c(c)
    , m_l(l)
    , m_selectors(selectors)
    , m_file(file)
    , m_link(link)
    , m_display(display)
{}

quint8 ConsoleModule::GetC()
{
    return showCode(m_c);
}

quint8 ConsoleModule::GetL()
{
    return showCode(m_l);
}

qint16 ConsoleModule::SelectedSlotBase() const
{
    return ConfLayout::baseOf({selectedIndex(m_selectors.antenna), selectedIndex(m_selectors.band),
                               selectedIndex(m_selectors.subBand)});
}

void ConsoleModule::RecallSelectedSlot()
{
    SlotBase = SelectedSlotBase();
    RecallSlot(SlotBase);
}

void ConsoleModule::RecallSlot(qint16 base)
{
    const auto codeC = static_cast<quint8>(m_file.Read(base + ConfLayout::CodeCAt, 1));
    const auto codeL = static_cast<quint8>(m_file.Read(base + ConfLayout::CodeLAt, 1));
    const auto side = static_cast<quint8>(m_file.Read(base + ConfLayout::SideAt, 1));

    ShowSlotSelection(base);
    SetC(codeC);
    m_display.FillC();
    SetL(codeL);
    m_display.FillL();
    // Any side byte but 1 shows as "Ant"; the controller still gets the byte as stored.
    (side == 1 ? m_selectors.tx : m_selectors.ant)->setChecked(true);
    Ant3Flag = base >= ConfLayout::Antenna3Base ? 1 : 0;
    const Slots::Selection shown = ConfLayout::selectionOf(base);
    m_link.noteRecall(BandNames::slotText(shown.antenna, shown.band, shown.subBand));

    m_link.SendC(codeC, Ant3Flag);
    m_link.SendL(codeL, Ant3Flag);
    m_link.SendNetworkSide(side, Ant3Flag);
}

void ConsoleModule::ShowSlotSelection(qint16 base)
{
    const Slots::Selection s = ConfLayout::selectionOf(base);
    m_selectors.antenna[qBound(0, s.antenna, Slots::Antennas - 1)]->setChecked(true);
    if (s.band >= 0 && s.band < Slots::Bands)
        m_selectors.band[s.band]->setChecked(true);
    m_selectors.subBand[qBound(0, s.subBand, Slots::SubBands - 1)]->setChecked(true);
}

bool ConsoleModule::StoreSlot(qint16 base)
{
    const quint8 codeC = GetC();
    const quint8 codeL = GetL();
    const int side = m_selectors.tx->isChecked() ? 1 : 0;
    // The first failed write ends the store: the saved base may only ever name a slot whose
    // three bytes all reached the file.
    const bool written = m_file.Write(base + ConfLayout::CodeCAt, 1, codeC) &&
                         m_file.Write(base + ConfLayout::CodeLAt, 1, codeL) &&
                         m_file.Write(base + ConfLayout::SideAt, 1, side) &&
                         m_file.Write(ConfLayout::LastSavedBase, 2, base);
    return m_file.Sync() && written;
}
