#pragma once

#include "panel/panel.h"

#include <QTimer>

class Form1;

// The panel of the window: every request runs the window's own handlers, as the operator's
// action would, and the state is read from its controls, where the console keeps it.
class FormPanel : public Panel
{
    Q_OBJECT
public:
    explicit FormPanel(Form1 &form);

    State state() const override;
    RelaySetting stored(const Slots::Selection &slot) const override;

    Outcome recall(const Slots::Selection &slot, Cause cause) override;
    Outcome recallMemory(const Slots::Selection &slot, const RelaySetting &relays,
                         const MemoryBin &bin, const QString &note, Cause cause) override;
    Outcome enterCode(Bank bank, quint8 code, Cause cause) override;
    Outcome toggleBit(Bank bank, int bit, Cause cause) override;
    Outcome chooseSide(quint8 side, Cause cause) override;
    Outcome store(Cause cause) override;
    void setRelays(const RelaySetting &setting, bool sendAll) override;

    void askSteps() override;
    QString settingsPath() const override;
    bool settingsReplaced() override;
    void setPorts(const PortMap &ports) override;
    const PortMap &ports() const override;
    LineLog &lineLog() override;
    void setRadio(const Radio &radio) override;

    // Says why a press on a relay control did nothing.
    void refuseWhileHeld();
    // The radio transmits: no relay moves but for the search.
    bool held() const { return m_radio.following && m_radio.transmitting.value_or(false); }

    // Refresh: relays a frequency memory put on, still shown, go out again as a recall of
    // them; false when the slot is what is shown, which Refresh recalls as it always has.
    bool refreshMemory();

protected:
    // The bars from the keyboard, the wheel and a screen reader.
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // Moves a bar to a code as a press and release there do: the specified packet.
    void moveBar(int bank, int code);
    // State changes come in bursts (a recall flips many options): one check after the burst.
    void touch() { m_check.start(); }
    void check();
    void sayStored();
    // What the radio or a client asked for, dropped by a line that was full, goes out again
    // once the line takes bytes and the radio does not transmit.
    void redeliver();

    Form1 &m_form;
    Radio m_radio;
    State m_last;
    // The frequency memory recalled last, while the window still shows it.
    struct Recalled
    {
        Slots::Selection selection;
        RelaySetting relays;
        MemoryBin bin;
        QString note;
    };
    std::optional<Recalled> m_memory;
    bool m_redeliver = false;
    QTimer m_check;
};
