#pragma once

#include "link/controllerlink.h"
#include "link/serialservice.h"
#include "panel/panel.h"
#include "settings/settingsfile.h"

#include <optional>

// The console without its window: conf.cfg and the controller's line behind the panel, a slot
// recalled as three packets with the antenna's flag, the relays held while the followed radio
// transmits. Enough for the station's capabilities to run against the simulator alone.
class LinePanel : public Panel
{
    Q_OBJECT
public:
    explicit LinePanel(const PortMap &ports);

    // Opens conf.cfg and the port it names, and recalls the slot saved last.
    bool open(const QString &confPath);

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
    void askSteps() override {}
    QString settingsPath() const override { return m_file.path(); }
    bool settingsReplaced() override;
    void setPorts(const PortMap &ports) override { m_port.setPorts(ports); }
    const PortMap &ports() const override { return m_port.ports(); }
    LineLog &lineLog() override { return m_link.log(); }
    void setRadio(const Radio &radio) override;

private:
    bool held() const { return m_radio.following && m_radio.transmitting.value_or(false); }
    quint8 flag() const { return m_selection.antenna == Slots::Antennas - 1 ? 1 : 0; }
    void put(const RelaySetting &relays, bool all);

    mutable SettingsFile m_file;
    SerialService m_port;
    ControllerLink m_link;
    Slots::Selection m_selection;
    RelaySetting m_relays;
    std::optional<MemoryBin> m_memory;
    Radio m_radio;
};
