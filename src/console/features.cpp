#include "features.h"

#include "app/dialogs.h"
#include "backup/memorybackup.h"
#include "control/controlport.h"
#include "controlhints.h"
#include "dialogs/bandsdialog.h"
#include "dialogs/followdialog.h"
#include "dialogs/linelogwindow.h"
#include "dialogs/mqttdialog.h"
#include "dialogs/portsdialog.h"
#include "dialogs/sweepdialog.h"
#include "dialogs/tunedialog.h"
#include "doors/doors.h"
#include "model/bandnames.h"
#include "model/valuetext.h"
#include "panel/panel.h"
#include "rig/following.h"
#include "station/station.h"
#include "statusstrip.h"
#include "tune/tuning.h"
#include "tunes/carrierjob.h"
#include "tunes/frequencymemory.h"
#include "tunes/sweeper.h"
#include "tunes/trainer.h"
#include "web/webserver.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>
#include <QSettings>
#include <QShortcut>
#include <QTimer>
#include <QToolButton>
#include <QUrl>

namespace {

// The menu's entries: each with its key, which works from the window as well.
struct Item
{
    const char *name;
    QKeySequence key;
    void (ConsoleFeatures::*run)();
};

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

    // The keys work with the menu closed too.
    const Item keys[] = {
        {"help", QKeySequence(Qt::Key_F1), &ConsoleFeatures::showHelp},
        {"follow", QKeySequence(Qt::CTRL | Qt::Key_F), nullptr},
        {"tune", QKeySequence(Qt::CTRL | Qt::Key_T), &ConsoleFeatures::startTuning},
        {"log", QKeySequence(Qt::CTRL | Qt::Key_L), &ConsoleFeatures::showLineLog},
        {"memory", QKeySequence(Qt::CTRL | Qt::Key_M), &ConsoleFeatures::showFrequencyMemory},
        {"sweep", QKeySequence(Qt::CTRL | Qt::Key_W), &ConsoleFeatures::showSweep},
        {"mqtt", QKeySequence(Qt::CTRL | Qt::Key_K), &ConsoleFeatures::chooseBus},
        {"web", QKeySequence(Qt::CTRL | Qt::Key_U), &ConsoleFeatures::openWebPage},
        {"bands", QKeySequence(Qt::CTRL | Qt::Key_B), &ConsoleFeatures::chooseBands},
        {"ports", QKeySequence(Qt::CTRL | Qt::Key_P), &ConsoleFeatures::choosePorts},
        {"export", QKeySequence(Qt::CTRL | Qt::Key_E), &ConsoleFeatures::exportMemories},
        {"import", QKeySequence(Qt::CTRL | Qt::Key_I), &ConsoleFeatures::importMemories}};
    for (const Item &item : keys) {
        auto *shortcut = new QShortcut(item.key, m_window);
        if (item.run)
            connect(shortcut, &QShortcut::activated, this, item.run);
        else
            connect(shortcut, &QShortcut::activated, this,
                    [this] { chooseRig(!following().isOn()); });
    }
    // The menu key opens the menu anywhere; Shift+F10 too, as desktops have it.
    auto *menuKey = new QShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F10), m_window);
    connect(menuKey, &QShortcut::activated, this, [this] {
        QWidget *at = QApplication::focusWidget() ? QApplication::focusWidget() : m_window;
        contextMenu()->exec(at->mapToGlobal(at->rect().center()));
    });
    auto *save = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_S), m_window);
    connect(save, &QShortcut::activated, this, [this] { m_panel.store(Panel::Cause::Operator); });

    Doors::Asked asked;
    asked.control = m_env.controlAddress;
    asked.web = m_env.webAddress;
    asked.bus = {m_env.mqttUrl, m_env.mqttCa, m_env.mqttReadOnly, m_env.mqttDiscovery};
    asked.headless = m_env.headless;
    asked.dataDir = m_env.dataDir;
    asked.settings = m_env.userSettings;
    asked.mqttProgram = m_env.mqttProgram;
    m_doors = std::make_unique<Doors>(*m_station, asked);
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

void ConsoleFeatures::chooseBus()
{
    MqttDialog dialog(m_doors->bus().choice(), m_doors->bus().client(), m_window);
    m_env.dialogs->exec(dialog);
    if (dialog.result() != QDialog::Accepted)
        return;
    if (m_env.userSettings)
        StationBus::keep(dialog.choice(), *m_env.userSettings);
    m_doors->openBus(dialog.choice());
}

void ConsoleFeatures::openWebPage()
{
    if (!m_doors->webServer() && !m_doors->openWeb(QString::number(WebServer::DefaultPort)))
        return;
    const QString url = m_doors->webServer()->url();
    if (!QDesktopServices::openUrl(QUrl(url)))
        m_panel.say(tr("Веб-страница: %1").arg(url));
}

ConsoleFeatures::~ConsoleFeatures()
{
    delete m_lineLog;
    delete m_memoryWindow;
    delete m_sweepDialog;
}

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

void ConsoleFeatures::chooseRig(bool on)
{
    if (!on) {
        following().followAndKeep({});
        return;
    }
    QSettings *settings = m_env.userSettings;
    const auto kept = [settings](const char *key) {
        return settings ? settings->value(QString::fromLatin1(key)) : QVariant();
    };
    FollowDialog dialog(following().lastAddress(), kept(Following::RadioKey).toInt(),
                        kept(Following::ProgramKey).toString(), m_window);
    QString status = following().statusText();
    if (following().transmitUnknown())
        status += QStringLiteral("\n") + Following::transmitUnknownText();
    dialog.setStatus(status);
    m_env.dialogs->exec(dialog);
    if (dialog.result() != QDialog::Accepted)
        return;
    if (settings) {
        settings->setValue(QString::fromLatin1(Following::RadioKey), dialog.radio());
        settings->setValue(QString::fromLatin1(Following::ProgramKey), dialog.program());
    }
    following().followAndKeep(dialog.source());
}

std::unique_ptr<QMenu> ConsoleFeatures::contextMenu()
{
    auto menu = std::make_unique<QMenu>(m_window);
    const auto add = [&](const QString &text, const char *name, QKeySequence key,
                         void (ConsoleFeatures::*run)()) {
        QAction *action = menu->addAction(text);
        action->setObjectName(QString::fromLatin1(name));
        action->setShortcut(key);
        if (run)
            connect(action, &QAction::triggered, this, run);
        return action;
    };
    QAction *follow = add(tr("Следить за трансивером…"), "followRig",
                          QKeySequence(Qt::CTRL | Qt::Key_F), nullptr);
    follow->setCheckable(true);
    follow->setChecked(following().isOn());
    connect(follow, &QAction::triggered, this, &ConsoleFeatures::chooseRig);
    add(tr("Диапазоны…"), "chooseBands", QKeySequence(Qt::CTRL | Qt::Key_B),
        &ConsoleFeatures::chooseBands);
    const QString unavailable = tuning().unavailable();
    const QString why = !unavailable.isEmpty()   ? unavailable
                        : !tuning().stepsKnown() ? Tuning::stepsMissing()
                                                 : QString();
    QAction *tune = add(
        why.isEmpty() ? tr("Подобрать согласование…") : tr("Подобрать согласование… — %1").arg(why),
        "startTuning", QKeySequence(Qt::CTRL | Qt::Key_T), &ConsoleFeatures::startTuning);
    tune->setEnabled(unavailable.isEmpty());
    menu->addSeparator();
    add(tr("Порты…"), "choosePorts", QKeySequence(Qt::CTRL | Qt::Key_P),
        &ConsoleFeatures::choosePorts);
    add(tr("Журнал линии"), "showLineLog", QKeySequence(Qt::CTRL | Qt::Key_L),
        &ConsoleFeatures::showLineLog);
    add(tr("Память частот"), "showFrequencyMemory", QKeySequence(Qt::CTRL | Qt::Key_M),
        &ConsoleFeatures::showFrequencyMemory);
    add(tr("Обзор КСВ…"), "showSweep", QKeySequence(Qt::CTRL | Qt::Key_W),
        &ConsoleFeatures::showSweep);
    add(tr("MQTT…"), "chooseBus", QKeySequence(Qt::CTRL | Qt::Key_K), &ConsoleFeatures::chooseBus);
    QAction *web =
        add(m_doors->webServer() ? tr("Веб-страница (%1)").arg(m_doors->webServer()->url())
                                 : tr("Веб-страница в браузере"),
            "openWebPage", QKeySequence(Qt::CTRL | Qt::Key_U), &ConsoleFeatures::openWebPage);
    web->setVisible(WebServer::available());
    QAction *save =
        add(tr("Сохранить в ячейку (Save)"), "save", QKeySequence(Qt::CTRL | Qt::Key_S), nullptr);
    connect(save, &QAction::triggered, this, [this] { m_panel.store(Panel::Cause::Operator); });
    menu->addSeparator();
    add(tr("Экспорт памяти…"), "exportMemories", QKeySequence(Qt::CTRL | Qt::Key_E),
        &ConsoleFeatures::exportMemories);
    add(tr("Импорт памяти…"), "importMemories", QKeySequence(Qt::CTRL | Qt::Key_I),
        &ConsoleFeatures::importMemories);
    menu->addSeparator();
    add(tr("Справка"), "help", QKeySequence(Qt::Key_F1), &ConsoleFeatures::showHelp);
    return menu;
}

void ConsoleFeatures::chooseBands()
{
    BandsDialog dialog(following().plan(), m_window);
    m_env.dialogs->exec(dialog);
    if (dialog.result() != QDialog::Accepted)
        return;
    const BandPlan plan = *dialog.plan();
    if (m_env.userSettings) {
        plan.saveTo(*m_env.userSettings);
        m_env.userSettings->sync();
    }
    following().setPlan(plan);
    m_subBandsOf = -1;
    showSubBandRanges();
    m_panel.say(tr("Таблица диапазонов сохранена"));
}

void ConsoleFeatures::startTuning()
{
    if (tuning().unavailable().isEmpty() && !tuning().stepsKnown()) {
        if (m_env.dialogs->question(
                m_window, tr("Подбор согласования"),
                tr("Подбор не начнётся: %1. По ним модель цепи предсказывает согласование; "
                   "с нулевыми шагами поиск уходит далеко от него.")
                    .arg(Tuning::stepsMissing()),
                tr("Задать шаги…")))
            m_panel.askSteps();
        return;
    }
    TuneSession *session = tuning().begin();
    if (!session) {
        m_panel.say(tr("Подбор согласования: %1").arg(tuning().unavailable()),
                    Panel::Tone::Warning);
        return;
    }
    TuneDialog dialog(*session, m_window);
    m_env.dialogs->exec(dialog);
    tuning().end(dialog.storeChosen());
}

void ConsoleFeatures::choosePorts()
{
    PortsDialog dialog(m_panel.ports(), m_env.userSettings, m_env.serialByIdFolder,
                       QFileInfo::exists(m_env.virtualProgram), m_window);
    m_env.dialogs->exec(dialog);
    if (dialog.result() == QDialog::Accepted)
        m_panel.setPorts(dialog.ports());
}

void ConsoleFeatures::showLineLog()
{
    if (!m_lineLog)
        m_lineLog = new LineLogWindow(m_panel.lineLog(), m_env.dialogs, m_window);
    m_lineLog->show();
    m_lineLog->raise();
    m_lineLog->activateWindow();
}

void ConsoleFeatures::showFrequencyMemory()
{
    if (!m_memoryWindow)
        m_memoryWindow =
            new FrequencyMemoryWindow(m_panel, memory(), trainer(), m_env.dialogs, m_window);
    connect(m_memoryWindow, &FrequencyMemoryWindow::sweepAsked, this, &ConsoleFeatures::showSweep,
            Qt::UniqueConnection);
    m_memoryWindow->refresh();
    m_memoryWindow->show();
    m_memoryWindow->raise();
    m_memoryWindow->activateWindow();
}

void ConsoleFeatures::showSweep()
{
    // Made anew each time: it sweeps the antenna selected then.
    if (m_sweepDialog && !sweeper().running())
        delete m_sweepDialog;
    if (!m_sweepDialog)
        m_sweepDialog = new SweepDialog(m_panel, sweeper(), memory(), m_env.dialogs, m_window);
    m_sweepDialog->show();
    m_sweepDialog->raise();
    m_sweepDialog->activateWindow();
}

void ConsoleFeatures::exportMemories()
{
    const QString path = m_env.dialogs->saveFileName(
        m_window, tr("Экспорт памяти"),
        QDir::home().filePath(QStringLiteral("orvane-memories.csv")), tr("Таблицы CSV (*.csv)"));
    if (path.isEmpty())
        return;
    if (const QString error = m_station->backup().exportTo(path); !error.isEmpty())
        m_env.dialogs->message(m_window, QStringLiteral("Orvane"), error);
}

void ConsoleFeatures::importMemories()
{
    const QString path = m_env.dialogs->openFileName(m_window, tr("Импорт памяти"),
                                                     tr("Таблицы CSV (*.csv);;Все файлы (*)"));
    if (path.isEmpty())
        return;
    if (const QString error = m_station->backup().importFrom(path); !error.isEmpty())
        m_env.dialogs->message(m_window, QStringLiteral("Orvane"), error);
}

void ConsoleFeatures::showHelp()
{
    // The operator's guide in the window's language, installed with the package or beside a
    // program folder.
    const QDir here(QCoreApplication::applicationDirPath());
    //: The operator's guide in this language: guide.html for English.
    const QString name = tr("guide.ru.html");
    for (const QString &guide :
         {here.filePath(QStringLiteral("../share/doc/orvane/") + name), here.filePath(name)}) {
        if (QFileInfo::exists(guide) &&
            QDesktopServices::openUrl(QUrl::fromLocalFile(QFileInfo(guide).absoluteFilePath())))
            return;
    }
    m_panel.say(tr("Справка: man orvane, или README.md в исходниках"));
}
