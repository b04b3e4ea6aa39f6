#include "partsdialog.h"

#include "app/dialogs.h"
#include "station/station.h"
#include "tune/tunerparts.h"

#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

PartsDialog::PartsDialog(Station &station, ConsoleDialogs *dialogs, QWidget *parent)
    : QDialog(parent)
    , m_station(station)
    , m_dialogs(dialogs)
    , m_stray(new QDoubleSpinBox(this))
    , m_q(new QDoubleSpinBox(this))
    , m_fit(new QPushButton(tr("Уточнить по показаниям"), this))
    , m_said(new QLabel(this))
{
    setWindowTitle(tr("Детали тюнера"));
    auto *grid = new QGridLayout;
    grid->addWidget(new QLabel(tr("Реле"), this), 0, 0);
    grid->addWidget(new QLabel(tr("C, пФ"), this), 0, 1);
    grid->addWidget(new QLabel(tr("L, нГн"), this), 0, 2);
    const auto field = [this](double max, int decimals, const QString &name) {
        auto *box = new QDoubleSpinBox(this);
        box->setRange(0, max);
        box->setDecimals(decimals);
        box->setAccessibleName(name);
        return box;
    };
    for (int bit = 0; bit < LNetwork::Parts::Relays; ++bit) {
        grid->addWidget(new QLabel(QString::number(bit + 1), this), bit + 1, 0);
        m_capacitors[size_t(bit)] =
            field(TunerParts::MaxCapacitorPf, 2, tr("C реле %1, пФ").arg(bit + 1));
        m_coils[size_t(bit)] = field(TunerParts::MaxCoilNh, 1, tr("L реле %1, нГн").arg(bit + 1));
        grid->addWidget(m_capacitors[size_t(bit)], bit + 1, 1);
        grid->addWidget(m_coils[size_t(bit)], bit + 1, 2);
    }
    m_stray->setRange(0, TunerParts::MaxStrayPf);
    m_stray->setDecimals(1);
    m_stray->setAccessibleName(tr("Паразитная ёмкость, пФ"));
    m_q->setRange(0, TunerParts::MaxCoilQ);
    m_q->setDecimals(0);
    m_q->setSpecialValueText(tr("без потерь"));
    m_q->setAccessibleName(tr("Добротность катушек"));
    grid->addWidget(new QLabel(tr("Паразитная ёмкость, пФ"), this), 9, 0, 1, 2);
    grid->addWidget(m_stray, 9, 2);
    grid->addWidget(new QLabel(tr("Добротность катушек"), this), 10, 0, 1, 2);
    grid->addWidget(m_q, 10, 2);
    m_said->setWordWrap(true);
    m_said->setObjectName(QStringLiteral("said"));
    m_said->setTextInteractionFlags(Qt::TextSelectableByMouse);

    auto *buttons = new QDialogButtonBox(this);
    m_fit->setObjectName(QStringLiteral("fit"));
    buttons->addButton(m_fit, QDialogButtonBox::ActionRole);
    QPushButton *undo = buttons->addButton(tr("Вернуть прежние"), QDialogButtonBox::ResetRole);
    QPushButton *save = buttons->addButton(tr("Сохранить"), QDialogButtonBox::AcceptRole);
    buttons->addButton(QDialogButtonBox::Close)->setText(tr("Закрыть"));
    undo->setObjectName(QStringLiteral("undo"));
    save->setObjectName(QStringLiteral("save"));
    connect(m_fit, &QPushButton::clicked, this, &PartsDialog::fit);
    connect(undo, &QPushButton::clicked, this, &PartsDialog::undo);
    connect(save, &QPushButton::clicked, this, &PartsDialog::keep);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(m_said);
    layout->addWidget(buttons);
    showParts(m_station.parts());
}

void PartsDialog::showParts(const LNetwork::Parts &parts)
{
    for (int bit = 0; bit < LNetwork::Parts::Relays; ++bit) {
        m_capacitors[size_t(bit)]->setValue(parts.capacitorsPf[size_t(bit)]);
        m_coils[size_t(bit)]->setValue(parts.coilsNh[size_t(bit)]);
    }
    m_stray->setValue(parts.strayPf);
    m_q->setValue(parts.coilQ);
}

LNetwork::Parts PartsDialog::shown() const
{
    LNetwork::Parts parts;
    for (int bit = 0; bit < LNetwork::Parts::Relays; ++bit) {
        parts.capacitorsPf[size_t(bit)] = m_capacitors[size_t(bit)]->value();
        parts.coilsNh[size_t(bit)] = m_coils[size_t(bit)]->value();
    }
    parts.strayPf = m_stray->value();
    parts.coilQ = m_q->value();
    return parts;
}

void PartsDialog::keep()
{
    const LNetwork::Parts parts = shown();
    for (int bit = 0; bit < LNetwork::Parts::Relays; ++bit) {
        if (parts.capacitorsPf[size_t(bit)] <= 0 || parts.coilsNh[size_t(bit)] <= 0) {
            m_said->setText(tr("Каждое реле должно иметь ёмкость и индуктивность больше нуля."));
            return;
        }
    }
    m_station.setParts(parts);
    m_said->setText(tr("Сохранено; настройки из измерений пересчитываются."));
}

void PartsDialog::undo()
{
    if (!m_station.undoParts()) {
        m_said->setText(tr("Прежних деталей нет."));
        return;
    }
    showParts(m_station.parts());
    m_said->setText(tr("Прежние детали возвращены."));
}

void PartsDialog::fit()
{
    m_fit->setEnabled(false);
    m_said->setText(tr("Уточнение…"));
    m_station.fitParts(this, [this](const PartsFit::Result &result) {
        m_fit->setEnabled(true);
        const QString report = PartsFit::report(result).join(QLatin1Char('\n'));
        m_said->setText(report);
        if (!result.error.isEmpty())
            return;
        if (m_dialogs->question(this, tr("Детали тюнера"),
                                tr("Принять уточнённые детали?\n\n%1").arg(report),
                                tr("Принять"))) {
            m_station.setParts(result.parts);
            showParts(result.parts);
            m_said->setText(tr("Приняты; прежние можно вернуть.\n%1").arg(report));
        }
    });
}
