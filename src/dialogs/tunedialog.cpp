#include "tunedialog.h"

#include "model/valuetext.h"

#include "model/relaysetting.h"
#include "tune/tuning.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

TuneDialog::TuneDialog(TuneSession &session, QWidget *parent)
    : QDialog(parent)
    , m_session(session)
    , m_state(new QLabel(this))
    , m_bestSoFar(new QLabel(this))
    , m_progress(new QProgressBar(this))
    , m_buttons(new QDialogButtonBox(QDialogButtonBox::Cancel, this))
    , m_storeButton(new QPushButton(tr("Сохранить в ячейку"), this))
{
    setWindowTitle(tr("Подбор согласования"));
    auto *warning = new QLabel(
        tr("<b>Реле будут переключаться под током высокой частоты.</b><br>"
           "Установите малую мощность (не больше 10 Вт) и дайте несущую (CW или TUNE). Поиск "
           "начнётся, когда трансивер перейдёт на передачу, и остановится, как только "
           "передача кончится, по кнопке «Отмена», клавише Esc или через %1 с.")
            .arg(TuneSession::TimeLimitMs / 1000),
        this);
    warning->setWordWrap(true);
    m_state->setWordWrap(true);
    m_bestSoFar->setWordWrap(true);
    m_progress->setRange(0, 100);
    m_progress->setFormat(tr("проб: %v"));
    m_buttons->button(QDialogButtonBox::Cancel)->setText(tr("Отмена"));
    m_storeButton->setObjectName(QStringLiteral("store"));
    m_buttons->addButton(m_storeButton, QDialogButtonBox::AcceptRole);
    m_storeButton->hide(); // until there is something to store

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(warning);
    layout->addWidget(m_state);
    layout->addWidget(m_progress);
    layout->addWidget(m_bestSoFar);
    layout->addWidget(m_buttons);
    setMinimumWidth(440);

    connect(m_storeButton, &QPushButton::clicked, this, &TuneDialog::store);
    connect(m_buttons, &QDialogButtonBox::rejected, this, &TuneDialog::reject);
    connect(&m_session, &TuneSession::changed, this, &TuneDialog::showProgress);
    showProgress();
}

void TuneDialog::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!m_started) {
        m_started = true;
        m_session.start();
    }
}

QString TuneDialog::settingText(const LNetwork::Setting &s, double swr) const
{
    return tr("КСВ %1 при C %2, L %3, %4")
        .arg(decimalShown(swr, 2))
        .arg(s.codeC)
        .arg(s.codeL)
        .arg(sideText(s.side));
}

void TuneDialog::showProgress()
{
    using State = TuneSession::State;
    const int probes = m_session.probes();
    m_progress->setMaximum(std::max(100, probes));
    m_progress->setValue(probes);
    const auto best = m_session.best();
    m_bestSoFar->setText(best ? tr("Лучшее: %1").arg(settingText(*best, m_session.bestSwr()))
                              : QString());
    switch (m_session.state()) {
    case State::WaitingForCarrier:
        m_state->setText(tr("Ждём передачи…"));
        break;
    case State::Searching:
        m_state->setText(m_session.current() ? tr("Поиск: C %1, L %2, %3")
                                                   .arg(m_session.current()->codeC)
                                                   .arg(m_session.current()->codeL)
                                                   .arg(sideText(m_session.current()->side))
                                             : tr("Поиск…"));
        break;
    case State::Found:
        m_state->setText(tr("Готово. Снимите несущую. %1").arg(Tuning::resultText(m_session)));
        m_storeButton->show();
        m_storeButton->setDefault(true);
        m_buttons->button(QDialogButtonBox::Cancel)->setText(tr("Не сохранять"));
        break;
    case State::Stopped: {
        using Stop = TuneSession::Stop;
        const QString why =
            m_session.stopReason() == Stop::CarrierGone ? tr("передача кончилась")
            : m_session.stopReason() == Stop::TimedOut  ? tr("время вышло")
            : m_session.stopReason() == Stop::RadioLost ? tr("связь с трансивером потеряна")
            : m_session.stopReason() == Stop::NoReading ? tr("трансивер не сообщает КСВ")
                                                        : tr("отменено");
        m_state->setText(tr("Остановлено: %1. Реле вернулись как были.").arg(why));
        m_buttons->button(QDialogButtonBox::Cancel)->setText(tr("Закрыть"));
        break;
    }
    }
}

void TuneDialog::store()
{
    m_store = true;
    accept();
}

void TuneDialog::reject()
{
    m_session.cancel();
    QDialog::reject();
}
