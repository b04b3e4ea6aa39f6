#include "sweepdialog.h"

#include "model/valuetext.h"

#include "app/dialogs.h"
#include "model/bandnames.h"
#include "panel/panel.h"
#include "sweeppicture.h"
#include "tunes/computedtunes.h"
#include "tunes/frequencymemory.h"
#include "tunes/sweepcurve.h"
#include "tunes/sweeper.h"

#include <QBuffer>
#include <QComboBox>
#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QDoubleSpinBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QSaveFile>
#include <QSpinBox>
#include <QVBoxLayout>

namespace {

constexpr int SweepRole = Qt::UserRole;

QString whenText(qint64 ms)
{
    return QDateTime::fromMSecsSinceEpoch(ms).toString(QStringLiteral("dd.MM.yyyy HH:mm"));
}

} // namespace

SweepDialog::SweepDialog(Panel &panel, Sweeper &sweeper, FrequencyMemory &memory,
                         ConsoleDialogs *dialogs, QWidget *parent)
    : QDialog(parent)
    , m_panel(panel)
    , m_sweeper(sweeper)
    , m_memory(memory)
    , m_dialogs(dialogs)
    , m_band(new QComboBox(this))
    , m_from(new QDoubleSpinBox(this))
    , m_to(new QDoubleSpinBox(this))
    , m_step(new QDoubleSpinBox(this))
    , m_dwell(new QSpinBox(this))
    , m_what(new QComboBox(this))
    , m_side(new QComboBox(this))
    , m_start(new QPushButton(tr("Начать"), this))
    , m_stop(new QPushButton(tr("Остановить"), this))
    , m_progress(new QProgressBar(this))
    , m_picture(new SweepPicture(this))
    , m_kept(new QListWidget(this))
    , m_said(new QLabel(this))
{
    setWindowTitle(tr("Обзор КСВ, антенна %1").arg(panel.state().selection.antenna + 1));
    for (int b = 0; b < Slots::Bands; ++b)
        m_band->addItem(BandNames::caption(b));
    m_band->setCurrentIndex(panel.state().selection.band);
    for (QDoubleSpinBox *box : {m_from, m_to, m_step}) {
        box->setDecimals(1);
        box->setSuffix(tr(" кГц"));
    }
    m_step->setRange(0.1, 10000);
    m_dwell->setRange(Sweeper::MinDwellMs, Sweeper::MaxDwellMs);
    m_dwell->setSingleStep(100);
    m_dwell->setValue(Sweeper::DefaultDwellMs);
    m_dwell->setSuffix(tr(" мс"));
    m_what->addItem(tr("антенна без настройки (C = 0, L = 0)"), int(Sweeper::What::Bare));
    m_what->addItem(tr("с настройками памяти"), int(Sweeper::What::Tuned));
    m_what->addItem(tr("и то и другое"), int(Sweeper::What::Both));
    m_what->setCurrentIndex(2);
    m_side->addItem(QStringLiteral("Tx"), 1);
    m_side->addItem(QStringLiteral("Ant"), 0);
    m_side->setCurrentIndex(panel.state().relays.side == 0 ? 1 : 0);
    m_progress->setRange(0, 1);
    m_progress->setValue(0);
    m_stop->setEnabled(false);
    m_said->setWordWrap(true);
    m_kept->setMaximumHeight(110);
    for (auto [widget, name] : {std::pair<QWidget *, QString>{m_band, tr("Диапазон")},
                                {m_from, tr("От, кГц")},
                                {m_to, tr("До, кГц")},
                                {m_step, tr("Шаг, кГц")},
                                {m_dwell, tr("Выдержка на шаге, мс")},
                                {m_what, tr("Что измерять")},
                                {m_side, tr("Сторона конденсаторов без настройки")},
                                {m_progress, tr("Ход обзора")},
                                {m_kept, tr("Сохранённые обзоры: отмеченные показаны")}})
        widget->setAccessibleName(name);
    m_start->setObjectName(QStringLiteral("start"));
    m_stop->setObjectName(QStringLiteral("stop"));

    auto *form = new QGridLayout;
    const auto label = [this](const QString &text, QWidget *buddy) {
        auto *l = new QLabel(text, this);
        l->setBuddy(buddy);
        return l;
    };
    form->addWidget(label(tr("&Диапазон:"), m_band), 0, 0);
    form->addWidget(m_band, 0, 1);
    form->addWidget(label(tr("&От:"), m_from), 0, 2);
    form->addWidget(m_from, 0, 3);
    form->addWidget(label(tr("Д&о:"), m_to), 0, 4);
    form->addWidget(m_to, 0, 5);
    form->addWidget(label(tr("&Шаг:"), m_step), 1, 0);
    form->addWidget(m_step, 1, 1);
    form->addWidget(label(tr("&Выдержка:"), m_dwell), 1, 2);
    form->addWidget(m_dwell, 1, 3);
    form->addWidget(label(tr("&Сторона:"), m_side), 1, 4);
    form->addWidget(m_side, 1, 5);
    form->addWidget(label(tr("&Измерять:"), m_what), 2, 0);
    form->addWidget(m_what, 2, 1, 1, 3);
    auto *run = new QHBoxLayout;
    run->addWidget(m_start);
    run->addWidget(m_stop);
    form->addLayout(run, 2, 4, 1, 2);

    const auto button = [this](const QString &text, const char *name, void (SweepDialog::*slot)()) {
        auto *b = new QPushButton(text, this);
        b->setObjectName(QString::fromLatin1(name));
        b->setAutoDefault(false);
        connect(b, &QPushButton::clicked, this, slot);
        return b;
    };
    auto *files = new QHBoxLayout;
    files->addWidget(button(tr("Удалить"), "forget", &SweepDialog::forgetChosen));
    files->addWidget(button(tr("Картинка PNG…"), "png", &SweepDialog::exportPicture));
    files->addWidget(button(tr("Данные CSV…"), "csv", &SweepDialog::exportTable));
    files->addStretch();
    auto *close = new QPushButton(tr("Закрыть"), this);
    close->setAutoDefault(false);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    files->addWidget(close);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(
        new QLabel(tr("На каждом шаге: реле, частота, несущая малой мощности на время "
                      "выдержки, КСВ, несущая снята. Потом трансивер и реле — как "
                      "были."),
                   this));
    layout->addLayout(form);
    layout->addWidget(m_progress);
    layout->addWidget(m_picture, 1);
    layout->addWidget(m_kept);
    layout->addWidget(m_said);
    layout->addLayout(files);
    resize(760, 640);

    connect(m_band, &QComboBox::currentIndexChanged, this, &SweepDialog::chooseBand);
    connect(m_kept, &QListWidget::itemChanged, this, &SweepDialog::redraw);
    connect(m_start, &QPushButton::clicked, this, &SweepDialog::start);
    connect(m_stop, &QPushButton::clicked, &m_sweeper, [this] { m_sweeper.stop(); });
    connect(&m_sweeper, &Sweeper::measured, this, &SweepDialog::redraw);
    connect(&m_sweeper, &Sweeper::progressed, this, [this](const Sweeper::Progress &p) {
        m_progress->setRange(0, std::max(1, p.total));
        m_progress->setValue(p.done);
        m_progress->setFormat(
            tr("%1 из %2, осталось ~%3 с").arg(p.done).arg(p.total).arg(p.msLeft / 1000));
    });
    connect(&m_sweeper, &Sweeper::finished, this,
            [this](int, const QString &, const QString &summary) {
                m_said->setText(summary);
                m_start->setEnabled(true);
                m_stop->setEnabled(false);
                reload();
            });
    // Closing the dialog ends a sweep under way: the carrier never runs unattended by it.
    connect(this, &QDialog::finished, &m_sweeper, [this] { m_sweeper.stop(); });
    chooseBand();
}

void SweepDialog::chooseBand()
{
    const int band = m_band->currentIndex();
    const BandPlan &plan = m_memory.plan();
    const BandPlan::Band &edges = plan.band(band);
    for (QDoubleSpinBox *box : {m_from, m_to})
        box->setRange(edges.low / 1e3, edges.high / 1e3);
    m_from->setValue(edges.low / 1e3);
    m_to->setValue(edges.high / 1e3);
    m_step->setValue(plan.binWidth(band) / 1e3);
    reload();
}

void SweepDialog::start()
{
    Sweeper::Request request;
    request.band = m_band->currentIndex();
    request.from = qRound64(m_from->value() * 1e3);
    request.to = qRound64(m_to->value() * 1e3);
    request.step = qRound64(m_step->value() * 1e3);
    request.dwellMs = m_dwell->value();
    request.what = Sweeper::What(m_what->currentData().toInt());
    request.side = quint8(m_side->currentData().toInt());
    QString why;
    if (!m_sweeper.start(request, &why)) {
        m_said->setText(tr("Обзор невозможен: %1").arg(why));
        return;
    }
    m_said->clear();
    m_start->setEnabled(false);
    m_stop->setEnabled(true);
    // The run under way is drawn alone until it ends.
    const QSignalBlocker quiet(m_kept);
    for (int i = 0; i < m_kept->count(); ++i)
        m_kept->item(i)->setCheckState(Qt::Unchecked);
    redraw();
}

void SweepDialog::reload()
{
    const QSignalBlocker quiet(m_kept);
    m_kept->clear();
    TuneStore *store = m_memory.store();
    const QList<StoredSweep> kept =
        store ? store->sweeps(m_panel.state().selection.antenna, m_band->currentIndex())
              : QList<StoredSweep>();
    // The last sweep is the last that ran to its end, unless none did.
    const QList<StoredSweep> last =
        store ? store->lastSweeps(m_panel.state().selection.antenna, m_band->currentIndex())
              : QList<StoredSweep>();
    for (const StoredSweep &s : kept) {
        QString text = tr("%1 — %2, шаг %3 кГц, выдержка %4 мс")
                           .arg(whenText(s.started), SweepPicture::kindText(s.kind))
                           .arg(decimalShown(s.step / 1e3, s.step % 1000 ? 1 : 0))
                           .arg(s.dwellMs);
        if (!s.complete)
            text += tr(" — остановлен");
        auto *item = new QListWidgetItem(text, m_kept);
        item->setData(SweepRole, s.id);
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(!last.isEmpty() && s.started == last.first().started ? Qt::Checked
                                                                                 : Qt::Unchecked);
    }
    redraw();
}

QList<StoredSweep> SweepDialog::ticked() const
{
    QList<StoredSweep> out;
    TuneStore *store = m_memory.store();
    for (int i = 0; store && i < m_kept->count(); ++i) {
        if (m_kept->item(i)->checkState() != Qt::Checked)
            continue;
        if (const auto sweep = store->sweep(m_kept->item(i)->data(SweepRole).toLongLong()))
            out << *sweep;
    }
    return out;
}

void SweepDialog::redraw()
{
    QList<StoredSweep> shown = m_sweeper.running() ? m_sweeper.current() : ticked();
    QList<SweepPicture::Curve> curves;
    for (const StoredSweep &s : std::as_const(shown))
        curves << SweepPicture::Curve{
            tr("%1, %2").arg(SweepPicture::kindText(s.kind), whenText(s.started)), s.kind, s.points,
            !s.complete && !m_sweeper.running()};
    const int band = m_band->currentIndex();
    const BandPlan::Band &edges = m_memory.plan().band(band);
    // The antenna's measurement beside the sweeps, so that the radio's can be laid over it.
    TuneStore *store = m_memory.store();
    if (const auto measured =
            store ? store->measurement(m_panel.state().selection.antenna) : std::nullopt) {
        StoredSweep curve = ComputedTunes::measuredCurve(*measured, edges.low, edges.high);
        if (curve.points.size() > 1)
            curves << SweepPicture::Curve{
                tr("%1, %2").arg(SweepPicture::kindText(curve.kind), measured->file), curve.kind,
                curve.points, false};
    }
    m_picture->show(edges.low, edges.high, edges.edges(), curves);
}

void SweepDialog::forgetChosen()
{
    TuneStore *store = m_memory.store();
    QListWidgetItem *item = m_kept->currentItem();
    if (!store || !item)
        return;
    store->forgetSweep(item->data(SweepRole).toLongLong());
    reload();
}

void SweepDialog::exportPicture()
{
    const QString path = m_dialogs->saveFileName(
        this, tr("Картинка обзора КСВ"), QDir::home().filePath(QStringLiteral("orvane-swr.png")),
        tr("Картинки PNG (*.png)"));
    if (path.isEmpty())
        return;
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    m_picture->image(QSize(1200, 600)).save(&buffer, "PNG");
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(png) != png.size() || !file.commit())
        m_dialogs->message(this, QStringLiteral("Orvane"),
                           tr("Не удалось записать %1:\n%2").arg(path, file.errorString()));
    else
        m_said->setText(tr("Сохранено в %1.").arg(path));
}

void SweepDialog::exportTable()
{
    const QString path = m_dialogs->saveFileName(
        this, tr("Данные обзора КСВ"), QDir::home().filePath(QStringLiteral("orvane-swr.csv")),
        tr("Таблицы CSV (*.csv)"));
    if (path.isEmpty())
        return;
    const QByteArray table = SweepCurve::table(ticked());
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(table) != table.size() || !file.commit())
        m_dialogs->message(this, QStringLiteral("Orvane"),
                           tr("Не удалось записать %1:\n%2").arg(path, file.errorString()));
    else
        m_said->setText(tr("Сохранено в %1.").arg(path));
}
