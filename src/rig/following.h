#pragma once

#include "bandplan.h"
#include "rigctldclient.h"
#include "rigfollower.h"

#include <QObject>

#include <memory>

class Panel;
class QSettings;

// Band following as the console offers it: the radio behind rigctld, its band and sub-band
// recalled through the panel as the operator's click would, its state in words for the
// status strip, and its transmit state told to the panel so that relays hold still under RF.
class Following : public QObject
{
    Q_OBJECT
public:
    static constexpr const char *AddressKey = "rig/address";
    static constexpr const char *LastAddressKey = "rig/last_address";
    static constexpr const char *PollKey = "rig/poll_ms";

    // settings: the user's, for the band table and the poll interval; may be none.
    Following(Panel &panel, QSettings *settings, QObject *parent = nullptr);
    ~Following() override;

    // Follows the radio behind rigctld at the address; an empty one switches following off.
    // False when the text is no address.
    bool follow(const QString &address);
    // The same, kept in the user's settings as the address to follow at the next start.
    bool followAndKeep(const QString &address);
    bool isOn() const { return m_rig->state() != RigControl::State::Off; }
    // The address last followed, to propose the next time.
    QString lastAddress() const;

    RigctldClient &rig() { return *m_rig; }
    const BandPlan &plan() const { return m_plan; }
    void setPlan(const BandPlan &plan);
    // While a matching search runs, the radio's band waits.
    void setPaused(bool paused) { m_follower->setPaused(paused); }

    // "Трансивер: 7.074 МГц, передача", or empty while following is off.
    QString statusText() const;

signals:
    void statusChanged();

private:
    void update();

    Panel &m_panel;
    QSettings *m_settings;
    BandPlan m_plan;
    std::unique_ptr<RigctldClient> m_rig;
    std::unique_ptr<RigFollower> m_follower;
};
