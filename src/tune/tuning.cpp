#include "tuning.h"

#include "tunerparts.h"

#include "model/valuetext.h"
#include "panel/panel.h"
#include "rig/following.h"
#include "settings/usersettings.h"

#include <QSettings>

#include <algorithm>

Tuning::Tuning(Panel &panel, Following &following, QSettings *settings, QObject *parent)
    : QObject(parent)
    , m_panel(panel)
    , m_following(following)
    , m_settings(settings)
{}

Tuning::~Tuning()
{
    if (m_session)
        end(false);
}

bool Tuning::stepsKnown() const
{
    const Panel::State state = m_panel.state();
    return state.stepC > 0 && state.stepL > 0;
}

QString Tuning::unavailable() const
{
    const RigControl &rig = m_following.rig();
    switch (rig.state()) {
    case RigControl::State::Off:
        return tr("сначала включите слежение за трансивером");
    case RigControl::State::Connecting:
    case RigControl::State::Lost:
        return tr("нет связи с трансивером");
    case RigControl::State::Connected:
        break;
    }
    if (!rig.reportsSwr())
        return tr("трансивер не сообщает КСВ");
    if (rig.ptt() == RigControl::Ptt::Unknown)
        return tr("трансивер не сообщает, передаёт ли он");
    if (m_session)
        return tr("поиск уже идёт");
    return m_busy ? m_busy() : QString();
}

QString Tuning::stepsMissing()
{
    return tr("не заданы шаги реле (пФ и нГн)");
}

TuneSession *Tuning::begin()
{
    // Without the steps every prediction of the network's model is wrong, and the search
    // ends far from the match it would otherwise find.
    if (!unavailable().isEmpty() || !stepsKnown())
        return nullptr;
    const Panel::State state = m_panel.state();
    m_before = state.relays;
    const MatchSearch::Config config =
        searchConfig(double(m_following.rig().frequency().value_or(0)));
    const int settle = settleMs();
    // The radio's band must not move the relays while the search moves them.
    m_following.setPaused(true);
    m_session = std::make_unique<TuneSession>(
        m_following.rig(), config,
        [this](const RelaySetting &setting) { m_panel.setRelays(setting, false); }, settle);
    TuneSession *session = m_session.get();
    connect(session, &TuneSession::ended, this, [this, session] {
        if (session->state() == TuneSession::State::Stopped)
            putBack();
        const bool good =
            session->state() == TuneSession::State::Found && session->bestSwr() <= GoodSwr;
        m_panel.say(resultText(*session), good ? Panel::Tone::Info : Panel::Tone::Warning);
    });
    emit begun(m_session.get());
    return m_session.get();
}

MatchSearch::Config Tuning::searchConfig(double hz) const
{
    const Panel::State state = m_panel.state();
    MatchSearch::Config config;
    config.hz = hz;
    config.stepCpF = state.stepC;
    config.stepLnH = state.stepL;
    config.parts = TunerParts::load(m_settings, state.stepC, state.stepL);
    if (hz > 0 && m_measured)
        config.load = m_measured(hz);
    return config;
}

int Tuning::settleMs() const
{
    return intSetting(m_settings, SettleKey, TuneSession::DefaultSettleMs, 0, 2000);
}

void Tuning::end(bool store)
{
    if (!m_session)
        return;
    const std::unique_ptr<TuneSession> session = std::move(m_session);
    if (session->state() != TuneSession::State::Found &&
        session->state() != TuneSession::State::Stopped)
        session->cancel(); // the relays go back with the three packets of a recall
    else if (store && session->state() == TuneSession::State::Found &&
             m_panel.store(Panel::Cause::Search) == Panel::Outcome::Done && session->best())
        emit stored(*session->best(), session->bestSwr());
    else if (session->state() == TuneSession::State::Found)
        putBack();
    m_following.setPaused(false);
    emit ended(resultText(*session));
}

void Tuning::putBack()
{
    // What following would have on for the radio's frequency; without one, what was on.
    if (const std::optional<qint64> hz = m_following.rig().frequency())
        m_following.recallAt(*hz, true);
    else
        m_panel.setRelays(m_before, true);
}

QString Tuning::resultText(const TuneSession &session)
{
    using State = TuneSession::State;
    const std::optional<RelaySetting> best = session.best();
    if (session.state() != State::Found || !best)
        return tr("Подбор остановлен, реле вернулись как были.");
    const QString found = tr("КСВ %1 при C %2, L %3, %4")
                              .arg(decimalShown(session.bestSwr(), 2))
                              .arg(best->codeC)
                              .arg(best->codeL)
                              .arg(sideText(best->side));
    return session.bestSwr() <= GoodSwr
               ? tr("%1: хорошее согласование.").arg(found)
               : tr("%1: лучшее, что удалось; согласование плохое (КСВ выше %2).")
                     .arg(found)
                     .arg(decimalShown(GoodSwr, 1));
}
