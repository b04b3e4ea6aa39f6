#include "features.h"

#include "app/dialogs.h"
#include "backup/memorybackup.h"
#include "dialogs/portsdialog.h"
#include "dialogs/tunedialog.h"
#include "panel/panel.h"
#include "rig/following.h"
#include "tune/tuning.h"
#include "widgets/consolefont.h"

#include <QDir>
#include <QLabel>
#include <QMenu>
#include <QSettings>
#include <QVBoxLayout>

ConsoleFeatures::ConsoleFeatures(Panel &panel, const ConsoleEnvironment &environment,
                                 QWidget *statusArea, QWidget *window)
    : QObject(window)
    , m_panel(panel)
    , m_env(environment)
    , m_window(window)
    , m_following(std::make_unique<Following>(panel, environment.userSettings))
    , m_tuning(std::make_unique<Tuning>(panel, *m_following, environment.userSettings))
    , m_backup(std::make_unique<MemoryBackup>(panel))
    , m_rigStatus(new QLabel(statusArea))
{
    auto *layout = new QVBoxLayout(statusArea);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_rigStatus);
    m_rigStatus->setFont(consoleFont(9));
    m_rigStatus->setWordWrap(true);
    m_rigStatus->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    m_rigStatus->hide();
    connect(m_following.get(), &Following::statusChanged, this, &ConsoleFeatures::showRigState);

    QString address = m_env.rigAddress;
    if (address.isEmpty() && m_env.userSettings)
        address = m_env.userSettings->value(QString::fromLatin1(Following::AddressKey)).toString();
    m_following->follow(address);
}

ConsoleFeatures::~ConsoleFeatures() = default;

void ConsoleFeatures::showRigState()
{
    const QString text = m_following->statusText();
    m_rigStatus->setVisible(m_following->isOn());
    m_rigStatus->setToolTip(tr("rigctld: %1").arg(m_following->rig().address()));
    m_rigStatus->setText(text);
}

void ConsoleFeatures::chooseRig(bool on)
{
    if (!on) {
        m_following->followAndKeep({});
        return;
    }
    const QString address =
        m_env.dialogs->input(m_window, tr("Следить за трансивером"),
                             tr("Адрес rigctld (узел или узел:порт, порт по умолчанию 4532):"),
                             m_following->lastAddress());
    if (address.trimmed().isEmpty())
        return;
    if (!m_following->followAndKeep(address))
        m_env.dialogs->message(m_window, QStringLiteral("Orvane"),
                               tr("Адрес «%1» не похож на узел или узел:порт.").arg(address));
}

std::unique_ptr<QMenu> ConsoleFeatures::contextMenu()
{
    auto menu = std::make_unique<QMenu>(m_window);
    QAction *follow = menu->addAction(tr("Следить за трансивером…"));
    follow->setObjectName(QStringLiteral("followRig"));
    follow->setCheckable(true);
    follow->setChecked(m_following->isOn());
    connect(follow, &QAction::triggered, this, &ConsoleFeatures::chooseRig);
    const QString unavailable = m_tuning->unavailable();
    const QString why = !unavailable.isEmpty()    ? unavailable
                        : !m_tuning->stepsKnown() ? Tuning::stepsMissing()
                                                  : QString();
    QAction *tune = menu->addAction(why.isEmpty() ? tr("Подобрать согласование…")
                                                  : tr("Подобрать согласование… — %1").arg(why));
    tune->setObjectName(QStringLiteral("startTuning"));
    tune->setEnabled(unavailable.isEmpty());
    connect(tune, &QAction::triggered, this, &ConsoleFeatures::startTuning);
    QAction *ports = menu->addAction(tr("Порты…"));
    ports->setObjectName(QStringLiteral("choosePorts"));
    connect(ports, &QAction::triggered, this, &ConsoleFeatures::choosePorts);
    menu->addSeparator();
    QAction *exporting = menu->addAction(tr("Экспорт памяти…"));
    exporting->setObjectName(QStringLiteral("exportMemories"));
    connect(exporting, &QAction::triggered, this, &ConsoleFeatures::exportMemories);
    QAction *importing = menu->addAction(tr("Импорт памяти…"));
    importing->setObjectName(QStringLiteral("importMemories"));
    connect(importing, &QAction::triggered, this, &ConsoleFeatures::importMemories);
    return menu;
}

void ConsoleFeatures::startTuning()
{
    if (m_tuning->unavailable().isEmpty() && !m_tuning->stepsKnown()) {
        if (m_env.dialogs->question(
                m_window, tr("Подбор согласования"),
                tr("Подбор не начнётся: %1. По ним модель цепи предсказывает согласование; "
                   "с нулевыми шагами поиск уходит далеко от него.")
                    .arg(Tuning::stepsMissing()),
                tr("Задать шаги…")))
            m_panel.askSteps();
        return;
    }
    TuneSession *session = m_tuning->begin();
    if (!session)
        return;
    TuneDialog dialog(*session, m_window);
    m_env.dialogs->exec(dialog);
    m_tuning->end(dialog.storeChosen());
}

void ConsoleFeatures::choosePorts()
{
    PortsDialog dialog(m_panel.ports(), m_env.userSettings, m_env.serialByIdFolder, m_window);
    m_env.dialogs->exec(dialog);
    if (dialog.result() == QDialog::Accepted)
        m_panel.setPorts(dialog.ports());
}

void ConsoleFeatures::exportMemories()
{
    const QString path = m_env.dialogs->saveFileName(
        m_window, tr("Экспорт памяти"),
        QDir::home().filePath(QStringLiteral("orvane-memories.csv")), tr("Таблицы CSV (*.csv)"));
    if (path.isEmpty())
        return;
    if (const QString error = m_backup->exportTo(path); !error.isEmpty())
        m_env.dialogs->message(m_window, QStringLiteral("Orvane"), error);
}

void ConsoleFeatures::importMemories()
{
    const QString path = m_env.dialogs->openFileName(m_window, tr("Импорт памяти"),
                                                     tr("Таблицы CSV (*.csv);;Все файлы (*)"));
    if (path.isEmpty())
        return;
    if (const QString error = m_backup->importFrom(path); !error.isEmpty())
        m_env.dialogs->message(m_window, QStringLiteral("Orvane"), error);
}
