#pragma once

#include "model/consolestate.h"
#include "model/slots.h"
#include "relaycodes.h"

#include <array>

class ControllerLink;
class SettingsFile;

// Refreshes a bank's entry box and bar from its toggles; the window provides it.
class BankDisplay
{
public:
    virtual ~BankDisplay() = default;
    virtual void FillC() = 0;
    virtual void FillL() = 0;
};

// The option buttons that address a slot, and the network-side pair.
struct SelectorControls
{
    std::array<QAbstractButton *, Slots::Antennas> antenna{};
    std::array<QAbstractButton *, Slots::Bands> band{};
    std::array<QAbstractButton *, Slots::SubBands> subBand{};
    QAbstractButton *tx = nullptr;  // capacitors on the transmitter side
    QAbstractButton *ant = nullptr; // capacitors on the antenna side
};

// The console's shared state and the procedures that move relay codes between the toggles,
// the memory slots in the settings file and the controller.
class ConsoleModule : public ConsoleState
{
public:
    ConsoleModule(const RelayBank &c, const RelayBank &l, const SelectorControls &selectors,
                  SettingsFile &file, ControllerLink &link, BankDisplay &display);

    // Compose a bank's code from its toggles and show it in the entry box.
    quint8 GetC();
    quint8 GetL();
    // Put a code on a bank's toggles; nothing else.
    void SetC(quint8 code) { putCode(m_c, code); }
    void SetL(quint8 code) { putCode(m_l, code); }

    qint16 SelectedSlotBase() const;
    void RecallSelectedSlot();
    // Shows the slot and sends it as three packets: C, L, network side.
    void RecallSlot(qint16 base);
    void ShowSlotSelection(qint16 base);
    // Writes the toggles and the network side into the slot and records the slot as the one
    // saved last. False when the file did not take it.
    bool StoreSlot(qint16 base);

private:
    RelayBank m_c;
    RelayBank m_l;
    SelectorControls m_selectors;
    SettingsFile &m_file;
    ControllerLink &m_link;
    BankDisplay &m_display;
};
