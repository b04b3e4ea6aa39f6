#include "traindialog.h"

#include "tunes/trainer.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

TrainDialog::TrainDialog(Trainer &trainer, int band, qint64 low, qint64 high, double watts,
                         QWidget *parent)
    : QDialog(parent)
    , m_trainer(trainer)
    , m_band(band)
    , m_from(new QDoubleSpinBox(this))
    , m_to(new QDoubleSpinBox(this))
    , m_again(new QCheckBox(tr("обучить заново и уже сохранённые ячейки"), this))
    , m_progress(new QProgressBar(this))
    , m_said(new QLabel(this))
    , m_start(new QPushButton(tr("Начать"), this))
    , m_stop(new QPushButton(tr("Остановить"), this))
{
    setWindowTitle(tr("Обучить диапазон"));
    for (QDoubleSpinBox *edge : {m_from, m_to}) {
        edge->setDecimals(3);
        edge->setSuffix(tr(" кГц"));
        edge->setRange(low / 1e3, high / 1e3);
    }
    m_from->setValue(low / 1e3);
    m_to->setValue(high / 1e3);
    m_from->setAccessibleName(tr("От, кГц"));
    m_to->setAccessibleName(tr("До, кГц"));
    m_progress->setRange(0, 1);
    m_progress->setValue(0);
    m_progress->setAccessibleName(tr("Ход обучения"));
    m_said->setWordWrap(true);
    m_stop->setEnabled(false);
    m_start->setObjectName(QStringLiteral("start"));
    m_stop->setObjectName(QStringLiteral("stop"));

    auto *note = new QLabel(tr("Для каждой ячейки: частота трансивера, несущая не мощнее "
                               "%1 Вт, подбор согласования, запись в память частот. "
                               "На точку не больше минуты; три неудачи подряд — конец.")
                                .arg(watts),
                            this);
    note->setWordWrap(true);
    auto *form = new QFormLayout;
    form->addRow(tr("От:"), m_from);
    form->addRow(tr("До:"), m_to);
    form->addRow(m_again);
    auto *buttons = new QDialogButtonBox(this);
    buttons->addButton(m_start, QDialogButtonBox::ActionRole);
    buttons->addButton(m_stop, QDialogButtonBox::ActionRole);
    QPushButton *close = buttons->addButton(QDialogButtonBox::Close);
    close->setText(tr("Закрыть"));
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_start, &QPushButton::clicked, this, &TrainDialog::start);
    connect(m_stop, &QPushButton::clicked, &m_trainer, &Trainer::stop);
    connect(&m_trainer, &Trainer::progressed, this, [this](const Trainer::Progress &p) {
        m_progress->setRange(0, std::max(1, p.total));
        m_progress->setValue(p.done);
        m_progress->setFormat(tr("%1 из %2, осталось ~%3 с").arg(p.done).arg(p.total).arg(p.msLeft / 1000));
    });
    connect(&m_trainer, &Trainer::finished, this, [this](const QString &summary) {
        m_said->setText(summary);
        m_start->setEnabled(true);
        m_stop->setEnabled(false);
    });
    // Closing the dialog ends a training under way: the carrier never runs unattended by it.
    connect(this, &QDialog::finished, &m_trainer, &Trainer::stop);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(note);
    layout->addLayout(form);
    layout->addWidget(m_progress);
    layout->addWidget(m_said);
    layout->addWidget(buttons);
    setMinimumWidth(440);
}

void TrainDialog::start()
{
    QString why;
    if (!m_trainer.start(m_band, qRound64(m_from->value() * 1e3), qRound64(m_to->value() * 1e3),
                         m_again->isChecked(), &why)) {
        m_said->setText(why);
        return;
    }
    m_said->clear();
    m_start->setEnabled(false);
    m_stop->setEnabled(true);
}
