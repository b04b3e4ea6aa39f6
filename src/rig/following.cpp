#include "following.h"

#include "model/bandnames.h"
#include "panel/panel.h"

#include <QSettings>

Following::Following(Panel &panel, QSettings *settings, QObject *parent)
    : QObject(parent)
    , m_panel(panel)
    , m_settings(settings)
    , m_rig(std::make_unique<RigctldClient>())
{
    if (m_settings) {
        m_plan.loadFrom(*m_settings);
        m_rig->setPollInterval(
            m_settings->value(QString::fromLatin1(PollKey), RigctldClient::DefaultPollMs).toInt());
    }
    // The panel learns the radio's state before the follower acts on it: a band change that
    // comes with the end of a transmission must find the relays free.
    connect(m_rig.get(), &RigControl::stateChanged, this, &Following::update);
    connect(m_rig.get(), &RigControl::polled, this, &Following::update);
    m_follower = std::make_unique<RigFollower>(*m_rig, m_plan, [this] {
        const Slots::Selection s = m_panel.state().selection;
        return BandPlan::Position{s.band, s.subBand};
    });
    connect(m_follower.get(), &RigFollower::follow, this, [this](BandPlan::Position p) {
        Slots::Selection s = m_panel.state().selection;
        s.band = p.band;
        s.subBand = p.subBand;
        if (m_panel.recall(s, Panel::Cause::Radio) == Panel::Outcome::Done)
            m_panel.say(tr("Трансивер на %1: ячейка %2")
                            .arg(BandNames::caption(p.band),
                                 BandNames::slotText(s.antenna, s.band, s.subBand)));
        emit statusChanged();
    });
}

Following::~Following()
{
    m_rig->disconnect(this);
}

bool Following::follow(const QString &address)
{
    if (address.trimmed().isEmpty()) {
        m_rig->stop();
        update();
        return true;
    }
    const std::optional<HostPort> where = RigctldClient::parseAddress(address);
    if (!where)
        return false;
    m_rig->setAddress(*where);
    m_rig->start();
    update();
    return true;
}

bool Following::followAndKeep(const QString &address)
{
    if (!follow(address))
        return false;
    if (m_settings) {
        const QString trimmed = address.trimmed();
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

void Following::setPlan(const BandPlan &plan)
{
    m_plan = plan;
    m_follower->setPlan(plan);
}

QString Following::statusText() const
{
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
    QString text = hz ? tr("Трансивер: %1 МГц").arg(QString::number(*hz / 1e6, 'f', 3))
                      : tr("Трансивер: на связи");
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

void Following::update()
{
    Panel::Radio radio;
    radio.following = isOn();
    radio.connected = m_rig->state() == RigControl::State::Connected;
    radio.hz = m_rig->frequency();
    if (m_rig->ptt() != RigControl::Ptt::Unknown)
        radio.transmitting = m_rig->ptt() == RigControl::Ptt::Transmitting;
    m_panel.setRadio(radio);
    emit statusChanged();
}
