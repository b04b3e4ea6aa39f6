#include "firststartdialog.h"

#include "model/steps.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

FirstStartDialog::FirstStartDialog(const QList<SerialDevice> &devices, bool virtualController,
                                   const QString &given, QWidget *parent)
    : QDialog(parent)
    , m_controllers(new QComboBox(this))
    , m_stepC(new QSpinBox(this))
    , m_stepL(new QSpinBox(this))
{
    setWindowTitle(tr("Первый запуск"));
    m_controllers->setEditable(true);
    m_controllers->setMinimumContentsLength(36);
    m_controllers->setObjectName(QStringLiteral("controller"));
    // Lasting names first: they survive replugging.
    QList<SerialDevice> ordered = devices;
    std::stable_partition(ordered.begin(), ordered.end(),
                          [](const SerialDevice &d) { return !d.byId.isEmpty(); });
    for (const SerialDevice &d : std::as_const(ordered)) {
        const QString about =
            d.description.isEmpty() ? QString() : QStringLiteral(" — ") + d.description;
        m_controllers->addItem(d.preferred() + about, d.preferred());
    }
    if (virtualController)
        m_controllers->addItem(tr("Виртуальный контроллер (orvane-sim)"),
                               QString::fromLatin1(Virtual));
    m_controllers->addItem(tr("Пока без контроллера"), QString());
    // An adapter that udev names lastingly is most likely the tuner's; without one, the
    // virtual controller lets a new operator try everything.
    const bool adapter = !ordered.isEmpty() && !ordered.first().byId.isEmpty();
    m_controllers->setCurrentIndex(adapter || !virtualController ? 0 : int(ordered.size()));
    // What the operator named on the command line is what they meant.
    if (!given.isEmpty()) {
        const int listed = m_controllers->findData(given);
        if (listed >= 0)
            m_controllers->removeItem(listed);
        m_controllers->insertItem(0, tr("%1 — с командной строки").arg(given), given);
        m_controllers->setCurrentIndex(0);
    }
    m_controllers->lineEdit()->setPlaceholderText(tr("устройство или узел:порт"));
    m_controllers->setAccessibleName(tr("Контроллер"));
    m_controllers->lineEdit()->setAccessibleName(tr("Контроллер"));
    m_stepC->setAccessibleName(tr("Шаг ёмкости C, пФ"));
    m_stepL->setAccessibleName(tr("Шаг индуктивности L, нГн"));
    m_controllers->setToolTip(tr("Куда подключён контроллер тюнера: последовательный порт, "
                                 "сервер порта в сети (узел:порт) или виртуальный контроллер"));

    m_stepC->setRange(0, 128);
    m_stepC->setValue(DefaultSteps::CapacitancePf);
    m_stepC->setSuffix(tr(" пФ"));
    m_stepC->setObjectName(QStringLiteral("stepC"));
    m_stepL->setRange(1, 999);
    m_stepL->setValue(DefaultSteps::InductanceNh);
    m_stepL->setSuffix(tr(" нГн"));
    m_stepL->setObjectName(QStringLiteral("stepL"));

    auto *intro = new QLabel(tr("Настроек ещё нет. Укажите, где контроллер тюнера, и шаги его "
                                "реле: ёмкость младшего реле C и индуктивность младшего реле L. "
                                "Всё это можно изменить позже: порт — списком Comport и "
                                "«Порты…», шаги — кнопкой «...»."),
                             this);
    intro->setWordWrap(true);
    auto *form = new QFormLayout;
    form->addRow(tr("Контроллер:"), m_controllers);
    form->addRow(tr("Шаг ёмкости C:"), m_stepC);
    form->addRow(tr("Шаг индуктивности L:"), m_stepL);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(tr("Начать"));
    buttons->button(QDialogButtonBox::Cancel)->setText(tr("Отмена"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(intro);
    layout->addLayout(form);
    layout->addWidget(buttons);
    setMinimumWidth(480);
}

FirstStartDialog::Choice FirstStartDialog::choice() const
{
    Choice choice;
    const int index = m_controllers->currentIndex();
    // A typed device or address is taken as typed; a listed one by its name.
    choice.device = index >= 0 && m_controllers->currentText() == m_controllers->itemText(index)
                        ? m_controllers->itemData(index).toString()
                        : m_controllers->currentText().trimmed();
    choice.stepC = m_stepC->value();
    choice.stepL = m_stepL->value();
    return choice;
}
