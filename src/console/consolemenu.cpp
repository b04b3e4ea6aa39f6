#include "consolemenu.h"

#include "app/dialogs.h"
#include "backup/memorybackup.h"
#include "dialogs/bandsdialog.h"
#include "dialogs/followdialog.h"
#include "dialogs/mqttdialog.h"
#include "dialogs/partsdialog.h"
#include "dialogs/portsdialog.h"
#include "dialogs/sweepdialog.h"
#include "dialogs/tunedialog.h"
#include "doors/doors.h"
#include "panel/panel.h"
#include "rig/following.h"
#include "station/station.h"
#include "tune/tuning.h"
#include "tunes/frequencymemory.h"
#include "tunes/sweeper.h"
#include "tunes/trainer.h"
#include "web/webserver.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QMenu>
#include <QSettings>
#include <QShortcut>
#include <QUrl>

namespace {

// The menu's entries: each with its key, which works from the window as well.
struct Item
{
    const char *name;
    QKeySequence key;
    void (ConsoleMenu::*run)();
};

} // namespace

ConsoleMenu::ConsoleMenu(Panel &panel, Station &station, Doors &doors,
                         const ConsoleEnvironment &environment, QWidget *window)
    : m_panel(panel)
    , m_station(station)
    , m_doors(doors)
    , m_env(environment)
    , m_window(window)
{
    // The keys work with the menu closed too.
    const Item keys[] = {
        {"help", QKeySequence(Qt::Key_F1), &ConsoleMenu::showHelp},
        {"follow", QKeySequence(Qt::CTRL | Qt::Key_F), nullptr},
        {"tune", QKeySequence(Qt::CTRL | Qt::Key_T), &ConsoleMenu::startTuning},
        {"log", QKeySequence(Qt::CTRL | Qt::Key_L), &ConsoleMenu::showLineLog},
        {"memory", QKeySequence(Qt::CTRL | Qt::Key_M), &ConsoleMenu::showFrequencyMemory},
        {"sweep", QKeySequence(Qt::CTRL | Qt::Key_W), &ConsoleMenu::showSweep},
        {"mqtt", QKeySequence(Qt::CTRL | Qt::Key_K), &ConsoleMenu::chooseBus},
        {"web", QKeySequence(Qt::CTRL | Qt::Key_U), &ConsoleMenu::openWebPage},
        {"bands", QKeySequence(Qt::CTRL | Qt::Key_B), &ConsoleMenu::chooseBands},
        {"ports", QKeySequence(Qt::CTRL | Qt::Key_P), &ConsoleMenu::choosePorts},
        {"export", QKeySequence(Qt::CTRL | Qt::Key_E), &ConsoleMenu::exportMemories},
        {"import", QKeySequence(Qt::CTRL | Qt::Key_I), &ConsoleMenu::importMemories}};
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
}

ConsoleMenu::~ConsoleMenu()
{
    delete m_lineLog;
    delete m_memoryWindow;
    delete m_sweepDialog;
}

Following &ConsoleMenu::following()
{
    return m_station.following();
}

void ConsoleMenu::chooseBus()
{
    MqttDialog dialog(m_doors.bus().choice(), m_doors.bus().client(), m_window);
    m_env.dialogs->exec(dialog);
    if (dialog.result() != QDialog::Accepted)
        return;
    if (m_env.userSettings)
        StationBus::keep(dialog.choice(), *m_env.userSettings);
    m_doors.openBus(dialog.choice());
}

void ConsoleMenu::openWebPage()
{
    if (!m_doors.webServer() && !m_doors.openWeb(QString::number(WebServer::DefaultPort)))
        return;
    const QString url = m_doors.webServer()->url();
    if (!QDesktopServices::openUrl(QUrl(url)))
        m_panel.say(tr("Веб-страница: %1").arg(url));
}

void ConsoleMenu::chooseRig(bool on)
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

std::unique_ptr<QMenu> ConsoleMenu::contextMenu()
{
    auto menu = std::make_unique<QMenu>(m_window);
    const auto add = [&](const QString &text, const char *name, QKeySequence key,
                         void (ConsoleMenu::*run)()) {
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
    connect(follow, &QAction::triggered, this, &ConsoleMenu::chooseRig);
    add(tr("Диапазоны…"), "chooseBands", QKeySequence(Qt::CTRL | Qt::Key_B),
        &ConsoleMenu::chooseBands);
    const QString unavailable = m_station.tuning().unavailable();
    const QString why = !unavailable.isEmpty()             ? unavailable
                        : !m_station.tuning().stepsKnown() ? Tuning::stepsMissing()
                                                           : QString();
    QAction *tune = add(
        why.isEmpty() ? tr("Подобрать согласование…") : tr("Подобрать согласование… — %1").arg(why),
        "startTuning", QKeySequence(Qt::CTRL | Qt::Key_T), &ConsoleMenu::startTuning);
    tune->setEnabled(unavailable.isEmpty());
    menu->addSeparator();
    add(tr("Порты…"), "choosePorts", QKeySequence(Qt::CTRL | Qt::Key_P), &ConsoleMenu::choosePorts);
    add(tr("Журнал линии"), "showLineLog", QKeySequence(Qt::CTRL | Qt::Key_L),
        &ConsoleMenu::showLineLog);
    add(tr("Память частот"), "showFrequencyMemory", QKeySequence(Qt::CTRL | Qt::Key_M),
        &ConsoleMenu::showFrequencyMemory);
    add(tr("Обзор КСВ…"), "showSweep", QKeySequence(Qt::CTRL | Qt::Key_W), &ConsoleMenu::showSweep);
    add(tr("MQTT…"), "chooseBus", QKeySequence(Qt::CTRL | Qt::Key_K), &ConsoleMenu::chooseBus);
    QAction *web =
        add(m_doors.webServer() ? tr("Веб-страница (%1)").arg(m_doors.webServer()->url())
                                : tr("Веб-страница в браузере"),
            "openWebPage", QKeySequence(Qt::CTRL | Qt::Key_U), &ConsoleMenu::openWebPage);
    web->setVisible(WebServer::available());
    QAction *save =
        add(tr("Сохранить в ячейку (Save)"), "save", QKeySequence(Qt::CTRL | Qt::Key_S), nullptr);
    connect(save, &QAction::triggered, this, [this] { m_panel.store(Panel::Cause::Operator); });
    menu->addSeparator();
    add(tr("Экспорт памяти…"), "exportMemories", QKeySequence(Qt::CTRL | Qt::Key_E),
        &ConsoleMenu::exportMemories);
    add(tr("Импорт памяти…"), "importMemories", QKeySequence(Qt::CTRL | Qt::Key_I),
        &ConsoleMenu::importMemories);
    menu->addSeparator();
    add(tr("Справка"), "help", QKeySequence(Qt::Key_F1), &ConsoleMenu::showHelp);
    return menu;
}

void ConsoleMenu::chooseBands()
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
    emit bandsChanged();
    m_panel.say(tr("Таблица диапазонов сохранена"));
}

void ConsoleMenu::startTuning()
{
    if (m_station.tuning().unavailable().isEmpty() && !m_station.tuning().stepsKnown()) {
        if (m_env.dialogs->question(
                m_window, tr("Подбор согласования"),
                tr("Подбор не начнётся: %1. По ним модель цепи предсказывает согласование; "
                   "с нулевыми шагами поиск уходит далеко от него.")
                    .arg(Tuning::stepsMissing()),
                tr("Задать шаги…")))
            m_panel.askSteps();
        return;
    }
    TuneSession *session = m_station.tuning().begin();
    if (!session) {
        m_panel.say(tr("Подбор согласования: %1").arg(m_station.tuning().unavailable()),
                    Panel::Tone::Warning);
        return;
    }
    TuneDialog dialog(*session, m_window);
    m_env.dialogs->exec(dialog);
    m_station.tuning().end(dialog.storeChosen());
}

void ConsoleMenu::choosePorts()
{
    PortsDialog dialog(m_panel.ports(), m_env.userSettings, m_env.serialByIdFolder,
                       QFileInfo::exists(m_env.virtualProgram), m_window);
    m_env.dialogs->exec(dialog);
    if (dialog.result() == QDialog::Accepted)
        m_panel.setPorts(dialog.ports());
}

void ConsoleMenu::showLineLog()
{
    if (!m_lineLog)
        m_lineLog = new LineLogWindow(m_panel.lineLog(), m_env.dialogs, m_window);
    m_lineLog->show();
    m_lineLog->raise();
    m_lineLog->activateWindow();
}

void ConsoleMenu::showParts()
{
    PartsDialog dialog(m_station, m_env.dialogs, m_memoryWindow ? m_memoryWindow : m_window);
    m_env.dialogs->exec(dialog);
}

void ConsoleMenu::showFrequencyMemory()
{
    if (!m_memoryWindow)
        m_memoryWindow = new FrequencyMemoryWindow(
            m_panel, m_station.memory(), m_station.trainer(), m_env.dialogs,
            [this] { return m_station.parts(); }, m_window);
    connect(m_memoryWindow, &FrequencyMemoryWindow::sweepAsked, this, &ConsoleMenu::showSweep,
            Qt::UniqueConnection);
    connect(m_memoryWindow, &FrequencyMemoryWindow::partsAsked, this, &ConsoleMenu::showParts,
            Qt::UniqueConnection);
    m_memoryWindow->refresh();
    m_memoryWindow->show();
    m_memoryWindow->raise();
    m_memoryWindow->activateWindow();
}

void ConsoleMenu::showSweep()
{
    // Made anew each time: it sweeps the antenna selected then.
    if (m_sweepDialog && !m_station.sweeper().running())
        delete m_sweepDialog;
    if (!m_sweepDialog)
        m_sweepDialog = new SweepDialog(m_panel, m_station.sweeper(), m_station.memory(),
                                        m_env.dialogs, m_window);
    m_sweepDialog->show();
    m_sweepDialog->raise();
    m_sweepDialog->activateWindow();
}

void ConsoleMenu::exportMemories()
{
    const QString path = m_env.dialogs->saveFileName(
        m_window, tr("Экспорт памяти"),
        QDir::home().filePath(QStringLiteral("orvane-memories.csv")), tr("Таблицы CSV (*.csv)"));
    if (path.isEmpty())
        return;
    if (const QString error = m_station.backup().exportTo(path); !error.isEmpty())
        m_env.dialogs->message(m_window, QStringLiteral("Orvane"), error);
}

void ConsoleMenu::importMemories()
{
    const QString path = m_env.dialogs->openFileName(m_window, tr("Импорт памяти"),
                                                     tr("Таблицы CSV (*.csv);;Все файлы (*)"));
    if (path.isEmpty())
        return;
    if (const QString error = m_station.backup().importFrom(path); !error.isEmpty())
        m_env.dialogs->message(m_window, QStringLiteral("Orvane"), error);
}

void ConsoleMenu::showHelp()
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
