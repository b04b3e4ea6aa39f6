#include "following.h"

#include "announcedradio.h"
#include "model/bandnames.h"
#include "model/valuetext.h"
#include "panel/panel.h"
#include "panel/relaypacer.h"
#include "rigctldclient.h"
#include "settings/usersettings.h"
#include "tunelookup.h"

#include <QPointer>
#include <QSettings>

Following::Following(Panel &panel, QSettings *settings, QObject *parent)
    : QObject(parent)
    , m_panel(panel)
    , m_settings(settings)
{
    if (m_settings)
        m_plan.loadFrom(*m_settings);
    use(std::make_unique<RigctldClient>());
}

Following::~Following()
{
    m_rig->disconnect(this);
}

void Following::use(std::unique_ptr<RigControl> rig)
{
    m_follower.reset();
    if (m_rig)
        m_rig->disconnect(this);
    m_rig = std::move(rig);
    // The panel learns the radio's state before the follower acts on it: a band change that
    // comes with the end of a transmission must find the relays free.
    connect(m_rig.get(), &RigControl::stateChanged, this, &Following::update);
    connect(m_rig.get(), &RigControl::polled, this, &Following::update);
    m_follower = std::make_unique<RigFollower>(*m_rig, m_plan, [this] {
        const Slots::Selection s = shown().first;
        return BandPlan::Position{s.band, s.subBand};
    });
    m_follower->setPaused(m_paused);
    m_follower->setBinned(m_lookup != nullptr);
    connect(m_follower.get(), &RigFollower::follow, this,
            [this](BandPlan::Position p, qint64 hz) { moved(p, hz); });
}

std::pair<Slots::Selection, bool> Following::shown() const
{
    if (const auto heading = m_panel.paced().heading())
        return *heading;
    const Panel::State state = m_panel.state();
    return {state.selection, state.memory.has_value()};
}

void Following::recallAt(qint64 hz, bool underCarrier)
{
    const std::optional<BandPlan::Position> p = m_plan.locate(hz);
    if (!p)
        return;
    if (!m_panel.state().held) {
        m_recallAfterUnkey.reset();
        return moved(*p, hz, true);
    }
    if (!underCarrier) {
        m_recallAfterUnkey = hz;
        return;
    }
    // The search's own end: its relays go where following would have them, carrier or not.
    Slots::Selection s = m_panel.state().selection;
    s.band = p->band;
    s.subBand = p->subBand;
    const std::optional<TuneLookup::Found> found =
        m_lookup ? m_lookup->find(s.antenna, hz) : std::nullopt;
    m_panel.setRelays(found ? found->relays : m_panel.stored(s), true);
}

void Following::moved(BandPlan::Position p, qint64 hz, bool force)
{
    const auto [selection, fromMemory] = shown();
    Slots::Selection s = selection;
    s.band = p.band;
    s.subBand = p.subBand;
    // A radio that flaps between bands moves the relays a few times a second at most.
    const auto told = [self = QPointer<Following>(this)](const QString &text) {
        return [self, text](Panel::Outcome outcome) {
            if (!self)
                return;
            if (outcome == Panel::Outcome::Done)
                self->m_panel.say(text);
            emit self->statusChanged();
        };
    };
    if (m_lookup) {
        if (const std::optional<TuneLookup::Found> found = m_lookup->find(s.antenna, hz)) {
            const QString note = tr("%1 МГц: память частоты %2–%3")
                                     .arg(megahertzShown(hz), megahertzShown(found->bin.low),
                                          megahertzShown(found->bin.high));
            m_panel.paced().recallMemory(s, found->relays, {found->bin.low, found->bin.high}, note,
                                         Panel::Cause::Radio, told(note));
            return;
        }
        // No memory near: the slot, where the radio's band or sub-band is not the one shown
        // or the relays shown are a memory's.
        if (s == selection && !fromMemory && !force)
            return;
    }
    m_panel.paced().recall(s, Panel::Cause::Radio,
                           told(tr("Трансивер на %1: ячейка %2")
                                    .arg(BandNames::caption(p.band),
                                         BandNames::slotText(s.antenna, s.band, s.subBand))));
}

bool Following::follow(const QString &text)
{
    if (text.trimmed().isEmpty()) {
        if (auto *rigctld = qobject_cast<RigctldClient *>(m_rig.get()))
            rigctld->stop();
        else
            use(std::make_unique<RigctldClient>());
        update();
        if (m_lookup)
            m_lookup->following(false);
        return true;
    }
    const std::optional<FollowSource> source = FollowSource::parse(text);
    if (!source)
        return false;
    m_source = *source;
    if (!source->announced()) {
        auto rigctld = std::make_unique<RigctldClient>();
        if (m_settings)
            rigctld->setPollInterval(
                intSetting(m_settings, PollKey, RigctldClient::DefaultPollMs, 100, 5000));
        rigctld->setAddress(source->where);
        RigctldClient *started = rigctld.get();
        use(std::move(rigctld));
        started->start();
    } else {
        auto announced = std::make_unique<AnnouncedRadio>(*source);
        if (m_settings) {
            announced->setRadio(intSetting(m_settings, RadioKey, 0, 0, 2));
            announced->setProgram(m_settings->value(QString::fromLatin1(ProgramKey)).toString());
        }
        AnnouncedRadio *started = announced.get();
        use(std::move(announced));
        started->start();
    }
    update();
    if (m_lookup)
        m_lookup->following(isOn());
    return true;
}

bool Following::followAndKeep(const QString &text)
{
    if (!follow(text))
        return false;
    if (m_settings) {
        const QString trimmed = text.trimmed();
        if (trimmed.isEmpty()) {
            m_settings->remove(QString::fromLatin1(AddressKey));
        } else {
            m_settings->setValue(QString::fromLatin1(AddressKey), trimmed);
            m_settings->setValue(QString::fromLatin1(LastAddressKey), trimmed);
        }
    }
    return true;
}

QString Following::lastAddress() const
{
    return m_settings
               ? m_settings->value(QString::fromLatin1(LastAddressKey), QStringLiteral("localhost"))
                     .toString()
               : QStringLiteral("localhost");
}

AnnouncedRadio *Following::announced() const
{
    return qobject_cast<AnnouncedRadio *>(m_rig.get());
}

void Following::setPlan(const BandPlan &plan)
{
    m_plan = plan;
    m_follower->setPlan(plan);
}

void Following::setLookup(TuneLookup *lookup)
{
    m_lookup = lookup;
    m_follower->setBinned(lookup != nullptr);
    if (m_lookup)
        m_lookup->following(isOn());
}

void Following::setPaused(bool paused)
{
    m_paused = paused;
    m_follower->setPaused(paused);
}

QString Following::announcedStatus() const
{
    const AnnouncedRadio &radio = *announced();
    const QString name = radio.source().name();
    switch (radio.state()) {
    case RigControl::State::Off:
        return {};
    case RigControl::State::Connecting:
        return tr("%1: ждём объявлений (%2)").arg(name, radio.address());
    case RigControl::State::Lost:
        return radio.problem().isEmpty() ? tr("%1: нет объявлений").arg(name)
                                         : tr("%1: порт не открыт: %2").arg(name, radio.problem());
    case RigControl::State::Connected:
        break;
    }
    const std::optional<qint64> hz = radio.frequency();
    QString text =
        hz ? tr("%1: %2 МГц").arg(name, megahertzShown(*hz)) : tr("%1: на связи").arg(name);
    if (!radio.who().isEmpty())
        text += radio.source().kind == FollowSource::Kind::RadioInfo
                    ? tr(", радио %1").arg(radio.who())
                    : QStringLiteral(", %1").arg(radio.who());
    return text;
}

QString Following::statusText() const
{
    QString text;
    if (announced()) {
        text = announcedStatus();
        if (m_rig->state() != RigControl::State::Connected)
            return text;
    } else {
        switch (m_rig->state()) {
        case RigControl::State::Off:
            return {};
        case RigControl::State::Connecting:
            return tr("Трансивер: подключение…");
        case RigControl::State::Lost:
            return tr("Трансивер: нет связи, повтор…");
        case RigControl::State::Connected:
            break;
        }
        const std::optional<qint64> hz = m_rig->frequency();
        text = hz ? tr("Трансивер: %1 МГц").arg(megahertzShown(*hz)) : tr("Трансивер: на связи");
    }
    const std::optional<qint64> hz = m_rig->frequency();
    if (hz && !m_plan.locate(*hz))
        text += tr(": вне таблицы диапазонов");
    if (m_rig->ptt() == RigControl::Ptt::Transmitting)
        text += tr(", передача");
    if (const std::optional<BandPlan::Position> next = m_follower->pending())
        text += tr("; после передачи: %1, %2")
                    .arg(BandNames::caption(next->band))
                    .arg(next->subBand + 1);
    return text;
}

bool Following::transmitUnknown() const
{
    return m_rig->state() == RigControl::State::Connected && m_rig->frequency() &&
           (m_rig->ptt() == RigControl::Ptt::Unknown || !m_rig->pttReliable());
}

QString Following::transmitUnknownText()
{
    return tr("передача не определяется: реле не блокируются");
}

void Following::update()
{
    // Said once a connection, where the operator looks and in the line log.
    if (m_rig->state() != RigControl::State::Connected) {
        m_toldUnknown = false;
    } else if (transmitUnknown() && !m_toldUnknown) {
        m_toldUnknown = true;
        m_panel.report(transmitUnknownText(), Panel::Tone::Warning);
    }
    Panel::Radio radio;
    radio.following = isOn();
    radio.connected = m_rig->state() == RigControl::State::Connected;
    radio.hz = m_rig->frequency();
    // A radio that cannot say is believed only when it says it transmits.
    if (m_rig->ptt() == RigControl::Ptt::Transmitting)
        radio.transmitting = true;
    else if (m_rig->ptt() == RigControl::Ptt::Receiving && m_rig->pttReliable())
        radio.transmitting = false;
    m_panel.setRadio(radio);
    if (m_recallAfterUnkey && !m_panel.state().held)
        recallAt(*std::exchange(m_recallAfterUnkey, std::nullopt));
    emit statusChanged();
}
