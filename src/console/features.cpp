#include "features.h"

#include "consolemenu.h"
#include "control/controlport.h"
#include "controlhints.h"
#include "doors/doors.h"
#include "model/bandnames.h"
#include "model/valuetext.h"
#include "panel/panel.h"
#include "rig/following.h"
#include "station/station.h"
#include "statusstrip.h"
#include "tune/tuning.h"
#include "tunes/carrierjob.h"

#include <QAbstractButton>
#include <QEvent>
#include <QFileInfo>
#include <QLabel>
#include <QTimer>
#include <QToolButton>

namespace {

const char *const StepsLink = "steps";

} // namespace

ConsoleFeatures::ConsoleFeatures(Panel &panel, const ConsoleEnvironment &environment,
                                 QWidget *statusArea, QWidget *window)
    : QObject(window)
    , m_panel(panel)
    , m_env(environment)
    , m_window(window)
    , m_station(
          std::make_unique<Station>(panel, environment.userSettings,
                                    Station::Places{QFileInfo(panel.settingsPath()).absolutePath(),
                                                    environment.guardProgram}))
    , m_strip(new StatusStrip(statusArea))
{
    new ControlHints(panel, window);
    // A window closed while a job keys the radio closes once the radio is put back.
    window->installEventFilter(this);
    connect(&following(), &Following::statusChanged, this, &ConsoleFeatures::showRadio);
    connect(&m_panel, &Panel::said, this, [this](const QString &text, Panel::Tone tone) {
        m_strip->say(text, tone != Panel::Tone::Info);
        if (tone == Panel::Tone::Alert)
            m_strip->alert(text);
    });
    connect(&m_panel, &Panel::changed, this, &ConsoleFeatures::showPanelState);
    connect(&m_panel.lineLog(), &LineLog::added, this, [this](const LineLog::Entry &entry) {
        if (entry.kind == LineLog::Entry::Failed)
            m_strip->say(tr("Порт %1 недоступен: %2").arg(entry.port).arg(entry.text), true);
    });
    connect(m_strip, &StatusStrip::hintActivated, this, [this] { m_panel.askSteps(); });
    connect(m_strip->menuButton(), &QToolButton::clicked, this, [this] {
        contextMenu()->exec(
            m_strip->menuButton()->mapToGlobal(QPoint(0, m_strip->menuButton()->height())));
    });

    Doors::Asked asked;
    asked.control = m_env.controlAddress;
    asked.web = m_env.webAddress;
    asked.bus = {m_env.mqttUrl, m_env.mqttCa, m_env.mqttReadOnly, m_env.mqttDiscovery};
    asked.headless = m_env.headless;
    asked.dataDir = m_env.dataDir;
    asked.settings = m_env.userSettings;
    asked.mqttProgram = m_env.mqttProgram;
    m_doors = std::make_unique<Doors>(*m_station, asked);
    m_menu = std::make_unique<ConsoleMenu>(panel, *m_station, *m_doors, environment, window);
    connect(m_menu.get(), &ConsoleMenu::bandsChanged, this, [this] {
        m_subBandsOf = -1;
        showSubBandRanges();
    });
    showPanelState();
    if (!m_env.startLater)
        start();
}

void ConsoleFeatures::start()
{
    if (m_started)
        return;
    m_started = true;
    m_station->follow(m_env.rigAddress);
    m_doors->open();
}

bool ConsoleFeatures::eventFilter(QObject *watched, QEvent *event)
{
    // Started once the window is on the screen: its first paint is behind it.
    if (watched == m_window && event->type() == QEvent::Paint && !m_started)
        QTimer::singleShot(0, this, &ConsoleFeatures::start);
    if (watched != m_window || event->type() != QEvent::Close || !carrierJob().running())
        return QObject::eventFilter(watched, event);
    event->ignore();
    endJobsThen([window = QPointer<QWidget>(m_window)] {
        if (window)
            window->close();
    });
    return true;
}

void ConsoleFeatures::endJobsThen(std::function<void()> then)
{
    m_station->endJobsThen(std::move(then));
}

ControlPort *ConsoleFeatures::controlPort()
{
    return m_doors->controlPort();
}

WebServer *ConsoleFeatures::webServer()
{
    return m_doors->webServer();
}

StationBus &ConsoleFeatures::bus()
{
    return m_doors->bus();
}

const QStringList &ConsoleFeatures::closedDoors() const
{
    return m_doors->closed();
}

Following &ConsoleFeatures::following()
{
    return m_station->following();
}

Tuning &ConsoleFeatures::tuning()
{
    return m_station->tuning();
}

FrequencyMemory &ConsoleFeatures::memory()
{
    return m_station->memory();
}

Trainer &ConsoleFeatures::trainer()
{
    return m_station->trainer();
}

CarrierJob &ConsoleFeatures::carrierJob()
{
    return m_station->carrierJob();
}

Sweeper &ConsoleFeatures::sweeper()
{
    return m_station->sweeper();
}

ConsoleFeatures::~ConsoleFeatures() = default;

QLabel &ConsoleFeatures::rigStatus()
{
    return *m_strip->radio();
}

void ConsoleFeatures::showRadio()
{
    m_strip->setRadio(following().statusText());
    // Before any address is set there is nothing to name.
    m_strip->radio()->setToolTip(
        following().isOn()
            ? QStringLiteral("%1: %2").arg(following().source().name(), following().rig().address())
            : QString());
}

void ConsoleFeatures::showPanelState()
{
    const Panel::State state = m_panel.state();
    m_strip->setTransmitting(state.held);
    // The controller may hold other relays than those shown: the start-up's recall, say, went
    // before the port was open, or a full line dropped a packet.
    m_strip->setUndelivered(!state.delivered);
    m_strip->setHint(
        state.stepC == 0 || state.stepL == 0
            ? tr("Шаги реле не заданы: <a href=\"%1\">задать…</a>").arg(QLatin1String(StepsLink))
            : QString());
    if (state.selection.band != m_subBandsOf)
        showSubBandRanges();
}

void ConsoleFeatures::showSubBandRanges()
{
    const int band = m_panel.state().selection.band;
    m_subBandsOf = band;
    for (int n = 0; n < Slots::SubBands; ++n) {
        auto *option = m_window->findChild<QAbstractButton *>(QStringLiteral("OptSB%1").arg(n + 1));
        if (!option)
            continue;
        const auto [from, to] = following().plan().subBandRange(band, n);
        option->setToolTip(tr("Поддиапазон %1 диапазона %2: %3–%4 МГц")
                               .arg(n + 1)
                               .arg(BandNames::caption(band))
                               .arg(megahertzShown(from), megahertzShown(to)));
    }
}
