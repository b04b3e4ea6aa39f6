#include "additions.h"

#include "backup/memorytable.h"
#include "dialogs.h"
#include "form1.h"
#include "ports/portsdialog.h"
#include "rig/rigctldclient.h"
#include "rig/rigfollower.h"
#include "tune/tunedialog.h"
#include "widgets/consolefont.h"

#include <QDir>
#include <QLabel>
#include <QMenu>
#include <QSettings>

namespace {

const char *const RigAddressKey = "rig/address";
const char *const RigLastAddressKey = "rig/last_address";
const char *const RigPollKey = "rig/poll_ms";
const char *const SettleKey = "tune/settle_ms";

// The free strip right of the network-side frame and above the antenna frame.
const QRect RigStatusArea(184, 212, 172, 48);

} // namespace

ConsoleAdditions::ConsoleAdditions(Form1 &form, const ConsoleEnvironment &environment)
    : QObject(&form)
    , m_form(form)
    , m_env(environment)
    , m_rig(std::make_unique<RigctldClient>())
    , m_rigStatus(new QLabel(&form))
{
    BandPlan plan;
    if (m_env.userSettings) {
        plan.loadFrom(*m_env.userSettings);
        m_rig->setPollInterval(
            m_env.userSettings->value(QString::fromLatin1(RigPollKey), RigctldClient::DefaultPollMs)
                .toInt());
    }
    m_follower =
        std::make_unique<RigFollower>(*m_rig, plan, [this] { return m_form.selectedBand(); });
    connect(m_follower.get(), &RigFollower::follow, &m_form,
            [this](BandPlan::Position p) { m_form.followRadio(p.band, p.subBand); });

    m_rigStatus->setObjectName(QStringLiteral("rigStatus"));
    m_rigStatus->setGeometry(RigStatusArea);
    m_rigStatus->setFont(consoleFont(9));
    m_rigStatus->setWordWrap(true);
    m_rigStatus->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    m_rigStatus->hide();
    connect(m_rig.get(), &RigControl::stateChanged, this, &ConsoleAdditions::showRigState);
    connect(m_rig.get(), &RigControl::polled, this, &ConsoleAdditions::showRigState);

    QString address = m_env.rigAddress;
    if (address.isEmpty() && m_env.userSettings)
        address = m_env.userSettings->value(QString::fromLatin1(RigAddressKey)).toString();
    followRig(address);
}

ConsoleAdditions::~ConsoleAdditions() = default;

bool ConsoleAdditions::followRig(const QString &address)
{
    if (address.trimmed().isEmpty()) {
        m_rig->stop();
        showRigState();
        return true;
    }
    QString host;
    quint16 port = 0;
    if (!RigctldClient::parseAddress(address, &host, &port))
        return false;
    m_rig->setAddress(host, port);
    m_rig->start();
    showRigState();
    return true;
}

void ConsoleAdditions::chooseRig(bool on)
{
    QSettings *settings = m_env.userSettings;
    if (!on) {
        followRig({});
        if (settings)
            settings->remove(QString::fromLatin1(RigAddressKey));
        return;
    }
    const QString last =
        settings
            ? settings->value(QString::fromLatin1(RigLastAddressKey), QStringLiteral("localhost"))
                  .toString()
            : QStringLiteral("localhost");
    const QString address = m_env.dialogs->input(
        &m_form, tr("Следить за трансивером"),
        tr("Адрес rigctld (узел или узел:порт, порт по умолчанию 4532):"), last);
    if (address.trimmed().isEmpty())
        return;
    if (!followRig(address)) {
        m_env.dialogs->message(&m_form, QStringLiteral("Orvane"),
                               tr("Адрес «%1» не похож на узел или узел:порт.").arg(address));
        return;
    }
    if (settings) {
        settings->setValue(QString::fromLatin1(RigAddressKey), address.trimmed());
        settings->setValue(QString::fromLatin1(RigLastAddressKey), address.trimmed());
    }
}

void ConsoleAdditions::showRigState()
{
    using State = RigControl::State;
    const State state = m_rig->state();
    m_rigStatus->setVisible(state != State::Off);
    m_rigStatus->setToolTip(tr("rigctld: %1").arg(m_rig->address()));
    QString text;
    if (state == State::Connecting) {
        text = tr("Трансивер: подключение…");
    } else if (state == State::Lost) {
        text = tr("Трансивер: нет связи, повтор…");
    } else if (state == State::Connected) {
        const std::optional<qint64> hz = m_rig->frequency();
        text = hz ? tr("Трансивер: %1 МГц").arg(QString::number(*hz / 1e6, 'f', 3))
                  : tr("Трансивер: на связи");
        if (m_rig->ptt() == RigControl::Ptt::Transmitting)
            text += tr(", передача");
    }
    m_rigStatus->setText(text);
}

std::unique_ptr<QMenu> ConsoleAdditions::contextMenu()
{
    auto menu = std::make_unique<QMenu>(&m_form);
    QAction *follow = menu->addAction(tr("Следить за трансивером…"));
    follow->setObjectName(QStringLiteral("followRig"));
    follow->setCheckable(true);
    follow->setChecked(m_rig->state() != RigControl::State::Off);
    connect(follow, &QAction::triggered, this, &ConsoleAdditions::chooseRig);
    const QString unavailable = tuningUnavailable();
    QAction *tune = menu->addAction(unavailable.isEmpty()
                                        ? tr("Подобрать согласование…")
                                        : tr("Подобрать согласование… — %1").arg(unavailable));
    tune->setObjectName(QStringLiteral("startTuning"));
    tune->setEnabled(unavailable.isEmpty());
    connect(tune, &QAction::triggered, this, &ConsoleAdditions::startTuning);
    QAction *ports = menu->addAction(tr("Порты…"));
    ports->setObjectName(QStringLiteral("choosePorts"));
    connect(ports, &QAction::triggered, this, &ConsoleAdditions::choosePorts);
    menu->addSeparator();
    QAction *exporting = menu->addAction(tr("Экспорт памяти…"));
    exporting->setObjectName(QStringLiteral("exportMemories"));
    connect(exporting, &QAction::triggered, this, &ConsoleAdditions::exportMemories);
    QAction *importing = menu->addAction(tr("Импорт памяти…"));
    importing->setObjectName(QStringLiteral("importMemories"));
    connect(importing, &QAction::triggered, this, &ConsoleAdditions::importMemories);
    return menu;
}

QString ConsoleAdditions::tuningUnavailable() const
{
    switch (m_rig->state()) {
    case RigControl::State::Off:
        return tr("сначала включите слежение за трансивером");
    case RigControl::State::Connecting:
    case RigControl::State::Lost:
        return tr("нет связи с трансивером");
    case RigControl::State::Connected:
        break;
    }
    if (!m_rig->reportsSwr())
        return tr("трансивер не сообщает КСВ");
    if (m_rig->ptt() == RigControl::Ptt::Unknown)
        return tr("трансивер не сообщает, передаёт ли он");
    return {};
}

void ConsoleAdditions::startTuning()
{
    if (!tuningUnavailable().isEmpty())
        return;
    const LNetwork::Setting before = m_form.relays();
    MatchSearch::Config config;
    config.hz = m_rig->frequency().value_or(0);
    config.stepCpF = m_form.module().StepC;
    config.stepLnH = m_form.module().StepL;
    const int settle =
        m_env.userSettings
            ? std::clamp(m_env.userSettings
                             ->value(QString::fromLatin1(SettleKey), TuneSession::DefaultSettleMs)
                             .toInt(),
                         0, 2000)
            : TuneSession::DefaultSettleMs;
    // The radio's band must not move the relays while the search moves them.
    m_follower->setPaused(true);
    TuneDialog dialog(
        *m_rig, config, [this](const LNetwork::Setting &s) { m_form.setRelays(s, false); }, settle,
        &m_form);
    // Any stop but success puts the relays back at once, with the three packets of a recall.
    connect(&dialog.session(), &TuneSession::ended, this, [&] {
        if (dialog.session().state() == TuneSession::State::Stopped)
            m_form.setRelays(before, true);
    });
    m_env.dialogs->exec(dialog);
    if (dialog.storeChosen())
        m_form.cmdSave1_Click();
    else if (dialog.session().state() == TuneSession::State::Found)
        m_form.setRelays(before, true);
    m_follower->setPaused(false);
}

void ConsoleAdditions::choosePorts()
{
    PortsDialog dialog(m_form.comPort1().ports(), m_env.userSettings, m_env.serialByIdFolder,
                       &m_form);
    m_env.dialogs->exec(dialog);
    if (dialog.result() == QDialog::Accepted)
        m_form.setPorts(dialog.ports());
}

void ConsoleAdditions::exportMemories()
{
    const QString path = m_env.dialogs->saveFileName(
        &m_form, tr("Экспорт памяти"), QDir::home().filePath(QStringLiteral("orvane-memories.csv")),
        tr("Таблицы CSV (*.csv)"));
    QString error;
    if (!path.isEmpty() && !MemoryFiles::exportTo(m_form.settingsFile().path(), path, &error))
        m_env.dialogs->message(&m_form, QStringLiteral("Orvane"),
                               tr("Экспорт не удался:\n%1").arg(error));
}

void ConsoleAdditions::importMemories()
{
    const QString path = m_env.dialogs->openFileName(&m_form, tr("Импорт памяти"),
                                                     tr("Таблицы CSV (*.csv);;Все файлы (*)"));
    if (path.isEmpty())
        return;
    const QString settings = m_form.settingsFile().path();
    QString error;
    if (!MemoryFiles::importFrom(path, settings, &error)) {
        m_env.dialogs->message(&m_form, QStringLiteral("Orvane"),
                               tr("Импорт не выполнен, файл настроек не изменён:\n%1").arg(error));
        return;
    }
    if (!m_form.settingsReplaced())
        m_env.dialogs->message(
            &m_form, QStringLiteral("Orvane"),
            tr("Не удалось открыть файл настроек:\n%1").arg(m_form.settingsFile().errorString()));
}
