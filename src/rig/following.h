#pragma once

#include "bandplan.h"
#include "followsource.h"
#include "rigcontrol.h"
#include "rigfollower.h"

#include <QObject>

#include <memory>

class AnnouncedRadio;
class Panel;
class TuneLookup;
class QSettings;
class RigctldClient;

// Band following as the console offers it: the radio behind rigctld or announced by another
// program, its band and sub-band recalled through the panel as the operator's click would,
// its state in words for the status strip, and its transmit state told to the panel so that
// relays hold still under RF.
class Following : public QObject
{
    Q_OBJECT
public:
    static constexpr const char *AddressKey = "rig/address";
    static constexpr const char *LastAddressKey = "rig/last_address";
    static constexpr const char *PollKey = "rig/poll_ms";
    // RadioInfo: 0 the active radio, 1 or 2 that one. WSJT-X: the program's id, or empty.
    static constexpr const char *RadioKey = "rig/radio";
    static constexpr const char *ProgramKey = "rig/program";

    // settings: the user's, for the band table and the poll interval; may be none.
    Following(Panel &panel, QSettings *settings, QObject *parent = nullptr);
    ~Following() override;

    // Follows the source (FollowSource's text: rigctld's address, or an announcement); an
    // empty one switches following off. False when the text is no source.
    bool follow(const QString &source);
    // The same, kept in the user's settings as the source to follow at the next start.
    bool followAndKeep(const QString &source);
    bool isOn() const { return m_rig->state() != RigControl::State::Off; }
    // The source last followed, to propose the next time.
    QString lastAddress() const;
    const FollowSource &source() const { return m_source; }

    RigControl &rig() { return *m_rig; }
    // The announcing source's listener while one is followed.
    AnnouncedRadio *announced() const;
    const BandPlan &plan() const { return m_plan; }
    void setPlan(const BandPlan &plan);
    // While a matching search runs, the radio's band waits.
    void setPaused(bool paused);
    // The frequency memory, asked at every new bin while following; none: slots alone.
    void setLookup(TuneLookup *lookup);
    // After something of the console's own moved the relays (training, a sweep, a search
    // that ended without its match): what following would recall for the radio at hz, its
    // bin's memory, else the nearest, else its band's slot, recalled once. Under the
    // operator's carrier it waits for the unkey, unless underCarrier (the search's own end).
    void recallAt(qint64 hz, bool underCarrier = false);

    // "Трансивер: 7.074 МГц, передача", "RadioInfo: 14.074 МГц, радио 1", or empty while
    // following is off.
    QString statusText() const;
    // The radio answers but cannot say whether it transmits: nothing holds the relays then.
    bool transmitUnknown() const;
    static QString transmitUnknownText();

signals:
    void statusChanged();

private:
    void use(std::unique_ptr<RigControl> rig);
    // The radio is in a new place: its bin's memory, or its band's slot, is recalled. force:
    // even where the slot shown is the one that would be.
    void moved(BandPlan::Position position, qint64 hz, bool force = false);
    // The slot shown, or the one a recall that waits its turn is headed for, and whether its
    // relays are a frequency memory's.
    std::pair<Slots::Selection, bool> shown() const;
    void update();
    QString announcedStatus() const;

    Panel &m_panel;
    QSettings *m_settings;
    BandPlan m_plan;
    FollowSource m_source;
    std::unique_ptr<RigControl> m_rig;
    std::unique_ptr<RigFollower> m_follower;
    bool m_paused = false;
    TuneLookup *m_lookup = nullptr;
    // The notice that the interlock is off was given for this connection.
    bool m_toldUnknown = false;
    // A recallAt() that waits for the operator's unkey.
    std::optional<qint64> m_recallAfterUnkey;
};
