#include "mqttdialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QString stateText(const MqttClient *client)
{
    if (!client)
        return MqttDialog::tr("Не подключено.");
    switch (client->state()) {
    case MqttClient::State::Off:
        return MqttDialog::tr("Не подключено.");
    case MqttClient::State::Connecting:
        return MqttDialog::tr("Подключение к %1…").arg(client->address());
    case MqttClient::State::Connected:
        return MqttDialog::tr("На связи с %1.").arg(client->address());
    case MqttClient::State::Waiting:
        break;
    }
    return MqttDialog::tr("Нет связи с %1: %2; повтор через %3 с.")
        .arg(client->address(), client->problem())
        .arg((client->retryInMs() + 999) / 1000);
}

} // namespace

MqttDialog::MqttDialog(const StationBus::Choice &choice, const MqttClient *client, QWidget *parent)
    : QDialog(parent)
    , m_url(new QLineEdit(choice.url == QLatin1String("off") ? QString() : choice.url, this))
    , m_ca(new QLineEdit(choice.caFile, this))
    , m_readOnly(new QCheckBox(tr("Только публиковать: команд из MQTT не принимать"), this))
    , m_discovery(new QCheckBox(tr("Объявлять устройство для Home Assistant"), this))
    , m_problem(new QLabel(this))
{
    setWindowTitle(tr("MQTT"));
    m_url->setObjectName(QStringLiteral("url"));
    m_url->setPlaceholderText(QStringLiteral("mqtt://user@broker.local/") +
                              MqttUrl::defaultPrefix());
    m_url->setAccessibleName(tr("Адрес сервера MQTT"));
    m_ca->setObjectName(QStringLiteral("ca"));
    m_ca->setPlaceholderText(tr("сертификаты системы"));
    m_ca->setAccessibleName(tr("Файл сертификатов CA для mqtts"));
    m_readOnly->setChecked(choice.readOnly);
    m_discovery->setChecked(choice.discovery);
    m_problem->setWordWrap(true);

    auto *form = new QFormLayout;
    form->addRow(tr("&Адрес:"), m_url);
    form->addRow(tr("&CA (mqtts):"), m_ca);
    auto *hint = new QLabel(
        tr("mqtt://[пользователь@]сервер[:порт]/начало-тем или mqtts://… Пусто — выключено. "
           "Пароль сервера: orvane --set-mqtt-password."),
        this);
    hint->setWordWrap(true);
    auto *state = new QLabel(stateText(client), this);
    state->setObjectName(QStringLiteral("state"));
    state->setWordWrap(true);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Save | QDialogButtonBox::Cancel, this);
    m_save = buttons->button(QDialogButtonBox::Save);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_url, &QLineEdit::textChanged, this, &MqttDialog::check);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(hint);
    layout->addWidget(m_readOnly);
    layout->addWidget(m_discovery);
    layout->addWidget(state);
    layout->addWidget(m_problem);
    layout->addWidget(buttons);
    check();
}

StationBus::Choice MqttDialog::choice() const
{
    return {m_url->text().trimmed(), m_ca->text().trimmed(), m_readOnly->isChecked(),
            m_discovery->isChecked()};
}

void MqttDialog::check()
{
    QString why;
    const QString url = m_url->text().trimmed();
    const bool fine = url.isEmpty() || MqttUrl::parse(url, &why);
    m_problem->setText(fine ? QString() : why);
    m_save->setEnabled(fine);
}
