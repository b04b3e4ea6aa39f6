#include "frequencymemorywindow.h"

#include "model/valuetext.h"

#include "app/dialogs.h"
#include "model/bandnames.h"
#include "model/relaysetting.h"
#include "panel/panel.h"
#include "smithchart.h"
#include "traindialog.h"
#include "tunes/frequencymemory.h"
#include "tunes/trainer.h"
#include "widgets/tunemap.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QSaveFile>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

QString sourceText(StoredTune::Source source)
{
    switch (source) {
    case StoredTune::Source::Save:
        return QCoreApplication::translate("FrequencyMemoryWindow", "Save");
    case StoredTune::Source::Search:
        return QCoreApplication::translate("FrequencyMemoryWindow", "подбор");
    case StoredTune::Source::Training:
        return QCoreApplication::translate("FrequencyMemoryWindow", "обучение");
    case StoredTune::Source::Import:
        return QCoreApplication::translate("FrequencyMemoryWindow", "импорт");
    case StoredTune::Source::Computed:
        return QCoreApplication::translate("FrequencyMemoryWindow", "расчёт");
    }
    return {};
}

} // namespace

FrequencyMemoryWindow::FrequencyMemoryWindow(Panel &panel, FrequencyMemory &memory,
                                             Trainer &trainer, ConsoleDialogs *dialogs,
                                             std::function<LNetwork::Parts()> parts,
                                             QWidget *parent)
    : QDialog(parent)
    , m_panel(panel)
    , m_memory(memory)
    , m_trainer(trainer)
    , m_dialogs(dialogs)
    , m_antenna(new QComboBox(this))
    , m_band(new QComboBox(this))
    , m_table(new QTableWidget(0, 8, this))
    , m_map(new TuneMap(this))
    , m_smith(new SmithChart(this))
    , m_pictures(new QWidget(this))
    , m_parts(std::move(parts))
    , m_said(new QLabel(this))
{
    setWindowTitle(tr("Память частот"));
    for (int a = 1; a <= Slots::Antennas; ++a)
        m_antenna->addItem(tr("Антенна %1").arg(a));
    for (int b = 0; b < Slots::Bands; ++b)
        m_band->addItem(BandNames::caption(b));
    const Panel::State state = m_panel.state();
    m_antenna->setCurrentIndex(state.selection.antenna);
    m_band->setCurrentIndex(state.selection.band);
    m_antenna->setAccessibleName(tr("Антенна"));
    m_band->setAccessibleName(tr("Диапазон"));
    m_antenna->setObjectName(QStringLiteral("antenna"));
    m_band->setObjectName(QStringLiteral("band"));
    m_table->setObjectName(QStringLiteral("tunes"));
    m_table->setHorizontalHeaderLabels({tr("Частоты, МГц"), QStringLiteral("C"),
                                        QStringLiteral("L"), tr("Сторона"), tr("КСВ"), tr("Дата"),
                                        tr("Источник"), tr("Закреплено")});
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setSelectionMode(QAbstractItemView::SingleSelection);
    m_table->verticalHeader()->hide();
    m_table->horizontalHeader()->setStretchLastSection(true);
    m_table->setAccessibleName(tr("Настройки по частоте"));
    m_said->setWordWrap(true);
    m_said->setObjectName(QStringLiteral("said"));

    const auto button = [this](const QString &text, const char *name,
                               void (FrequencyMemoryWindow::*run)()) {
        auto *b = new QPushButton(text, this);
        b->setObjectName(QString::fromLatin1(name));
        b->setAutoDefault(false);
        connect(b, &QPushButton::clicked, this, run);
        return b;
    };
    auto *choose = new QHBoxLayout;
    choose->addWidget(m_antenna);
    choose->addWidget(m_band);
    choose->addStretch();
    auto *actions = new QHBoxLayout;
    actions->addWidget(button(tr("Удалить"), "forget", &FrequencyMemoryWindow::forgetChosen));
    actions->addWidget(
        button(tr("Закрепить / открепить"), "pin", &FrequencyMemoryWindow::pinChosen));
    actions->addWidget(
        button(tr("Сохранить реле здесь"), "storeHere", &FrequencyMemoryWindow::storeHere));
    actions->addStretch();
    auto *files = new QHBoxLayout;
    files->addWidget(button(tr("Экспорт…"), "export", &FrequencyMemoryWindow::exportTable));
    files->addWidget(button(tr("Импорт…"), "import", &FrequencyMemoryWindow::importTable));
    files->addWidget(button(tr("Обучить диапазон…"), "train", &FrequencyMemoryWindow::train));
    auto *sweep = new QPushButton(tr("Обзор КСВ…"), this);
    sweep->setObjectName(QStringLiteral("sweep"));
    sweep->setAutoDefault(false);
    connect(sweep, &QPushButton::clicked, this, &FrequencyMemoryWindow::sweepAsked);
    files->addWidget(sweep);
    files->addStretch();
    auto *measure = new QHBoxLayout;
    measure->addWidget(
        button(tr("Измерение антенны…"), "measurement", &FrequencyMemoryWindow::importMeasurement));
    measure->addWidget(button(tr("Отменить измерение"), "undoMeasurement",
                              &FrequencyMemoryWindow::undoMeasurement));
    auto *partsButton = new QPushButton(tr("Детали тюнера…"), this);
    partsButton->setObjectName(QStringLiteral("parts"));
    partsButton->setAutoDefault(false);
    connect(partsButton, &QPushButton::clicked, this, &FrequencyMemoryWindow::partsAsked);
    measure->addWidget(partsButton);
    measure->addWidget(button(tr("Сохранить PNG…"), "png", &FrequencyMemoryWindow::savePicture));
    measure->addStretch();
    auto *close = new QPushButton(tr("Закрыть"), this);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    files->addWidget(close);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(choose);
    layout->addWidget(m_table, 3);
    // The map and the chart side by side, as one picture.
    auto *pictures = new QHBoxLayout(m_pictures);
    pictures->setContentsMargins(0, 0, 0, 0);
    pictures->addWidget(m_map, 3);
    pictures->addWidget(m_smith, 1);
    m_smith->setMinimumWidth(220);
    layout->addWidget(m_pictures, 2);
    layout->addLayout(actions);
    layout->addWidget(m_said);
    layout->addLayout(measure);
    layout->addLayout(files);
    resize(860, 680);

    connect(m_antenna, &QComboBox::currentIndexChanged, this, &FrequencyMemoryWindow::refresh);
    connect(m_band, &QComboBox::currentIndexChanged, this, &FrequencyMemoryWindow::refresh);
    connect(&m_memory, &FrequencyMemory::changed, this, &FrequencyMemoryWindow::refresh);
    refresh();
}

void FrequencyMemoryWindow::refresh()
{
    const int antenna = m_antenna->currentIndex();
    const int band = m_band->currentIndex();
    const QList<StoredTune> tunes = m_memory.ofBand(antenna, band);
    const BandPlan &plan = m_memory.plan();
    m_table->setRowCount(int(tunes.size()));
    QList<TuneMap::Point> points;
    for (int row = 0; row < tunes.size(); ++row) {
        const StoredTune &t = tunes[row];
        const std::optional<BandPlan::Bin> bin = plan.binOf(t.hz);
        const QString range =
            bin ? QStringLiteral("%1–%2").arg(megahertzShown(bin->low), megahertzShown(bin->high))
                : megahertzShown(t.hz);
        const QStringList cells{
            range,
            QString::number(t.relays.codeC),
            QString::number(t.relays.codeL),
            sideText(t.relays.side),
            t.swr ? decimalShown(*t.swr, 2) : QStringLiteral("—"),
            QDateTime::fromMSecsSinceEpoch(t.stored).toString(QStringLiteral("yyyy-MM-dd HH:mm")),
            sourceText(t.source),
            t.pinned ? tr("да") : QString()};
        for (int column = 0; column < cells.size(); ++column) {
            auto *item = new QTableWidgetItem(cells[column]);
            item->setData(Qt::UserRole, t.hz);
            if (column == 4 && t.swr)
                item->setForeground(TuneMap::colourOf(t.swr));
            m_table->setItem(row, column, item);
        }
        points << TuneMap::Point{t.hz,
                                 t.relays.codeC,
                                 t.relays.codeL,
                                 t.swr,
                                 t.relays.side,
                                 t.pinned,
                                 t.source == StoredTune::Source::Computed};
    }
    m_table->resizeColumnsToContents();
    // The frequencies take what the window gives beyond what every column needs.
    m_table->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
    const BandPlan::Band &edges = plan.band(band);
    m_map->show(edges.low, edges.high, points);
    showSmith(antenna, band, tunes);
    if (!m_memory.store())
        m_said->setText(tr("Память частот недоступна."));
}

std::optional<qint64> FrequencyMemoryWindow::chosen() const
{
    const QList<QTableWidgetItem *> items = m_table->selectedItems();
    if (items.isEmpty())
        return std::nullopt;
    return items.first()->data(Qt::UserRole).toLongLong();
}

void FrequencyMemoryWindow::forgetChosen()
{
    if (const std::optional<qint64> hz = chosen())
        m_memory.forget(m_antenna->currentIndex(), *hz);
}

void FrequencyMemoryWindow::pinChosen()
{
    const std::optional<qint64> hz = chosen();
    if (!hz)
        return;
    const int antenna = m_antenna->currentIndex();
    const QList<StoredTune> there = m_memory.ofBand(antenna, m_band->currentIndex());
    const auto it =
        std::find_if(there.begin(), there.end(), [&](const StoredTune &t) { return t.hz == *hz; });
    m_memory.pin(antenna, *hz, it == there.end() || !it->pinned);
}

void FrequencyMemoryWindow::storeHere()
{
    const Panel::State state = m_panel.state();
    const std::optional<qint64> hz = chosen() ? chosen() : state.radio.hz;
    if (!hz) {
        m_said->setText(tr("Выберите строку: частота трансивера неизвестна."));
        return;
    }
    QString why;
    if (m_memory.keep(m_antenna->currentIndex(), *hz, state.relays, std::nullopt,
                      StoredTune::Source::Save, true, &why))
        m_said->setText(tr("Реле сохранены для %1 МГц.").arg(megahertzShown(*hz)));
    else
        m_said->setText(why);
}

void FrequencyMemoryWindow::exportTable()
{
    const QString path = m_dialogs->saveFileName(
        this, tr("Экспорт памяти частот"),
        QDir::home().filePath(QStringLiteral("orvane-tunes.csv")), tr("Таблицы CSV (*.csv)"));
    if (path.isEmpty())
        return;
    // Written beside and put in place whole, as every table of the console is.
    QSaveFile file(path);
    const QByteArray table = m_memory.table();
    if (!file.open(QIODevice::WriteOnly) || file.write(table) != table.size() || !file.commit())
        m_dialogs->message(this, QStringLiteral("Orvane"),
                           tr("Не удалось записать %1:\n%2").arg(path, file.errorString()));
    else
        m_said->setText(tr("Экспортировано в %1.").arg(QDir::toNativeSeparators(path)));
}

void FrequencyMemoryWindow::importTable()
{
    const QString path = m_dialogs->openFileName(this, tr("Импорт памяти частот"),
                                                 tr("Таблицы CSV (*.csv);;Все файлы (*)"));
    if (path.isEmpty())
        return;
    m_said->setText(tr("Импорт из %1…").arg(QDir::toNativeSeparators(path)));
    QPointer<FrequencyMemoryWindow> self(this);
    m_memory.importFile(path, [self, path](const QString &error, int count) {
        if (!self)
            return;
        if (!error.isEmpty()) {
            self->m_said->clear();
            self->m_dialogs->message(
                self, QStringLiteral("Orvane"),
                tr("Импорт из %1 не выполнен, ничего не изменено:\n%2").arg(path, error));
            return;
        }
        self->m_said->setText(tr("Импортировано настроек: %1.").arg(count));
    });
}

void FrequencyMemoryWindow::train()
{
    const int band = m_band->currentIndex();
    const BandPlan::Band &edges = m_memory.plan().band(band);
    if (const QString why = m_trainer.unavailable(); !why.isEmpty()) {
        m_said->setText(tr("Обучение невозможно: %1").arg(why));
        return;
    }
    TrainDialog dialog(m_trainer, band, edges.low, edges.high, m_trainer.carrierWatts(), this);
    m_dialogs->exec(dialog);
}

void FrequencyMemoryWindow::showSmith(int antenna, int band, const QList<StoredTune> &tunes)
{
    TuneStore *store = m_memory.store();
    const std::optional<AntennaMeasurement> measured =
        store ? store->measurement(antenna) : std::nullopt;
    const BandPlan::Band &edges = m_memory.plan().band(band);
    QList<LNetwork::Impedance> across;
    QList<SmithChart::Tune> placed;
    const LNetwork::Parts parts = m_parts();
    if (measured) {
        for (qint64 hz = edges.low; hz <= edges.high;
             hz += std::max<qint64>(1, (edges.high - edges.low) / 100)) {
            if (const auto z = measured->at(hz))
                across << *z;
        }
        for (const StoredTune &t : tunes) {
            if (const auto z = measured->at(t.hz))
                placed << SmithChart::Tune{
                    LNetwork::inputImpedance(*z, double(t.hz), parts, t.relays),
                    t.source == StoredTune::Source::Computed};
        }
    }
    m_smith->show(across, placed, double(edges.low + edges.high) / 2, parts);
}

void FrequencyMemoryWindow::importMeasurement()
{
    const QString path = m_dialogs->openFileName(
        this, tr("Измерение антенны"),
        tr("Измерения (*.s1p *.csv);;Touchstone (*.s1p);;Таблицы CSV (*.csv);;Все файлы (*)"));
    if (path.isEmpty())
        return;
    const int antenna = m_antenna->currentIndex();
    m_said->setText(tr("Чтение %1…").arg(QDir::toNativeSeparators(path)));
    QPointer<FrequencyMemoryWindow> self(this);
    m_memory.importMeasurement(antenna, path, m_parts(),
                               [self, path](const QString &error, const QStringList &bands) {
                                   if (self)
                                       self->computed(path, error, bands);
                               });
}

void FrequencyMemoryWindow::undoMeasurement()
{
    QPointer<FrequencyMemoryWindow> self(this);
    m_memory.undoMeasurement(m_antenna->currentIndex(), m_parts(),
                             [self](const QString &error, const QStringList &bands) {
                                 if (self)
                                     self->computed({}, error, bands);
                             });
}

void FrequencyMemoryWindow::computed(const QString &path, const QString &error,
                                     const QStringList &bands)
{
    if (!error.isEmpty()) {
        m_said->clear();
        m_dialogs->message(this, QStringLiteral("Orvane"),
                           path.isEmpty() ? error
                                          : tr("Измерение из %1 не прочитано, ничего не "
                                               "изменено:\n%2")
                                                .arg(QDir::toNativeSeparators(path), error));
        return;
    }
    m_said->setText(bands.isEmpty() ? tr("Измерения антенны нет.") : bands.join(QLatin1Char('\n')));
    refresh();
}

void FrequencyMemoryWindow::savePicture()
{
    const QString path = m_dialogs->saveFileName(
        this, tr("Сохранить картину"),
        QDir::home().filePath(
            QStringLiteral("orvane-%1.png").arg(BandNames::key(m_band->currentIndex()))),
        tr("Изображения PNG (*.png)"));
    if (path.isEmpty())
        return;
    if (!m_pictures->grab().save(path, "PNG"))
        m_dialogs->message(this, QStringLiteral("Orvane"), tr("Не удалось записать %1").arg(path));
    else
        m_said->setText(tr("Сохранено в %1.").arg(QDir::toNativeSeparators(path)));
}
