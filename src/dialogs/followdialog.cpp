#include "followdialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

// What the address field holds for each kind: the text after the kind's prefix.
QString prefixOf(FollowSource::Kind kind)
{
    switch (kind) {
    case FollowSource::Kind::Rigctld:
        break;
    case FollowSource::Kind::RadioInfo:
        return QStringLiteral("udp-radioinfo");
    case FollowSource::Kind::Wsjtx:
        return QStringLiteral("wsjtx");
    case FollowSource::Kind::HamlibMulticast:
        return QStringLiteral("hamlib-multicast");
    case FollowSource::Kind::Mqtt:
        return QStringLiteral("mqtt");
    }
    return QStringLiteral("rigctld");
}

QString usualAddress(FollowSource::Kind kind)
{
    switch (kind) {
    case FollowSource::Kind::Rigctld:
        break;
    case FollowSource::Kind::RadioInfo:
        return QString::number(FollowSource::RadioInfoPort);
    case FollowSource::Kind::Wsjtx:
        return QString::number(FollowSource::WsjtxPort);
    case FollowSource::Kind::HamlibMulticast:
        return QStringLiteral("%1:%2")
            .arg(QLatin1String(FollowSource::HamlibGroup))
            .arg(FollowSource::HamlibPort);
    case FollowSource::Kind::Mqtt:
        return QStringLiteral("radio/state");
    }
    return QStringLiteral("localhost");
}

} // namespace

FollowDialog::FollowDialog(const QString &current, int radio, const QString &program,
                           QWidget *parent)
    : QDialog(parent)
    , m_kind(new QComboBox(this))
    , m_address(new QLineEdit(this))
    , m_addressHint(new QLabel(this))
    , m_radio(new QComboBox(this))
    , m_radioLabel(new QLabel(tr("Радио:"), this))
    , m_program(new QLineEdit(program, this))
    , m_programLabel(new QLabel(tr("Программа (id):"), this))
    , m_problem(new QLabel(this))
    , m_status(new QLabel(this))
{
    setWindowTitle(tr("Следить за трансивером"));
    m_kind->setObjectName(QStringLiteral("kind"));
    m_kind->addItem(tr("rigctld (Hamlib) — консоль опрашивает трансивер"),
                    int(FollowSource::Kind::Rigctld));
    m_kind->addItem(tr("RadioInfo — объявления журнала (N1MM Logger+, DXLab, Log4OM…)"),
                    int(FollowSource::Kind::RadioInfo));
    m_kind->addItem(tr("WSJT-X, JTDX — их UDP-сообщения"), int(FollowSource::Kind::Wsjtx));
    m_kind->addItem(tr("Hamlib multicast — рассылка состояния rigctld"),
                    int(FollowSource::Kind::HamlibMulticast));
    m_kind->addItem(tr("MQTT — состояние трансивера на сервере станции"),
                    int(FollowSource::Kind::Mqtt));
    m_address->setObjectName(QStringLiteral("address"));
    m_radio->setObjectName(QStringLiteral("radio"));
    m_radio->addItem(tr("активное"), 0);
    m_radio->addItem(QStringLiteral("1"), 1);
    m_radio->addItem(QStringLiteral("2"), 2);
    m_radio->setCurrentIndex(std::clamp(radio, 0, 2));
    m_program->setObjectName(QStringLiteral("program"));
    m_program->setPlaceholderText(tr("первая услышанная"));
    m_addressHint->setWordWrap(true);
    m_addressHint->setObjectName(QStringLiteral("hint"));
    setMinimumWidth(fontMetrics().averageCharWidth() * 64);
    m_problem->setObjectName(QStringLiteral("problem"));
    m_problem->setStyleSheet(QStringLiteral("color: #c00000"));
    m_problem->setWordWrap(true);

    auto *form = new QFormLayout;
    form->addRow(tr("Источник:"), m_kind);
    form->addRow(tr("Адрес:"), m_address);
    form->addRow(m_radioLabel, m_radio);
    form->addRow(m_programLabel, m_program);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(tr("Следить"));
    buttons->button(QDialogButtonBox::Cancel)->setText(tr("Отмена"));
    connect(buttons, &QDialogButtonBox::accepted, this, &FollowDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &FollowDialog::reject);
    m_status->setObjectName(QStringLiteral("status"));
    m_status->setWordWrap(true);
    m_status->hide();
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_status);
    layout->addLayout(form);
    layout->addWidget(m_addressHint);
    layout->addWidget(m_problem);
    layout->addWidget(buttons);

    const std::optional<FollowSource> known = FollowSource::parse(current);
    const FollowSource::Kind kind = known ? known->kind : FollowSource::Kind::Rigctld;
    m_kind->setCurrentIndex(m_kind->findData(int(kind)));
    if (known) {
        const QString text = known->text();
        m_address->setText(
            kind == FollowSource::Kind::Rigctld ? text : text.mid(prefixOf(kind).size() + 1));
    } else {
        m_address->setText(usualAddress(kind));
    }
    showKind();
    connect(m_address, &QLineEdit::textEdited, m_problem, &QLabel::clear);
    connect(m_kind, &QComboBox::currentIndexChanged, this, [this] {
        m_address->setText(usualAddress(this->kind()));
        showKind();
    });
}

void FollowDialog::setStatus(const QString &text)
{
    m_status->setText(text);
    m_status->setVisible(!text.isEmpty());
}

FollowSource::Kind FollowDialog::kind() const
{
    return FollowSource::Kind(m_kind->currentData().toInt());
}

void FollowDialog::choose(FollowSource::Kind kind)
{
    m_kind->setCurrentIndex(m_kind->findData(int(kind)));
}

void FollowDialog::showKind()
{
    const FollowSource::Kind k = kind();
    m_radio->setVisible(k == FollowSource::Kind::RadioInfo);
    m_radioLabel->setVisible(k == FollowSource::Kind::RadioInfo);
    m_program->setVisible(k == FollowSource::Kind::Wsjtx);
    m_programLabel->setVisible(k == FollowSource::Kind::Wsjtx);
    switch (k) {
    case FollowSource::Kind::Rigctld:
        m_addressHint->setText(tr("Узел или узел:порт; порт по умолчанию 4532."));
        break;
    case FollowSource::Kind::RadioInfo:
    case FollowSource::Kind::Wsjtx:
        m_addressHint->setText(
            tr("Порт или группа:порт (239.255.0.1:2237). Слышны только программы этого "
               "компьютера: у этих объявлений нет пароля."));
        break;
    case FollowSource::Kind::HamlibMulticast:
        m_addressHint->setText(tr("Группа:порт, как у rigctld --multicast-addr и "
                                  "--multicast-port."));
        break;
    case FollowSource::Kind::Mqtt:
        m_addressHint->setText(tr("Тема на сервере MQTT консоли: JSON с частотой в Гц (freq "
                                  "или frequency) и, где есть, передачей (tx, ptt или "
                                  "transmitting)."));
        break;
    }
    m_problem->clear();
    adjustSize();
}

QString FollowDialog::source() const
{
    const QString address = m_address->text().trimmed();
    const FollowSource::Kind k = kind();
    return k == FollowSource::Kind::Rigctld ? address : prefixOf(k) + QLatin1Char(':') + address;
}

int FollowDialog::radio() const
{
    return m_radio->currentData().toInt();
}

QString FollowDialog::program() const
{
    return m_program->text().trimmed();
}

void FollowDialog::accept()
{
    const std::optional<FollowSource> parsed = FollowSource::parse(source());
    if (!parsed || parsed->kind != kind()) {
        m_problem->setText(tr("«%1» — не адрес для этого источника.").arg(m_address->text()));
        return;
    }
    QDialog::accept();
}
