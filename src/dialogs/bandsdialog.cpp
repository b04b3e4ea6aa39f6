#include "bandsdialog.h"

#include "model/bandnames.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {
// Low, the four inner edges, high; then the memory's bin width.
constexpr int Edges = BandPlan::SubBands + 1;
constexpr int BinColumn = Edges;
} // namespace

BandsDialog::BandsDialog(const BandPlan &plan, QWidget *parent)
    : QDialog(parent)
    , m_table(new QTableWidget(BandPlan::Bands, Edges + 1, this))
    , m_problem(new QLabel(this))
{
    setWindowTitle(tr("Диапазоны"));
    QStringList headers{tr("Начало, МГц")};
    for (int n = 2; n <= BandPlan::SubBands; ++n)
        headers << tr("Поддиапазон %1").arg(n);
    headers << tr("Конец, МГц") << tr("Ячейка памяти частот, кГц");
    m_table->setHorizontalHeaderLabels(headers);
    QStringList bands;
    for (int b = 0; b < BandPlan::Bands; ++b)
        bands << BandNames::caption(b);
    m_table->setVerticalHeaderLabels(bands);
    m_table->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    // All of it in sight, whatever the language and the scale.
    m_table->setSizeAdjustPolicy(QAbstractScrollArea::AdjustToContents);
    m_table->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_table->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_table->setAccessibleName(tr("Края диапазонов и поддиапазонов, МГц"));
    m_problem->setObjectName(QStringLiteral("problem"));
    m_problem->setStyleSheet(QStringLiteral("color: #c00000"));
    m_problem->setWordWrap(true);
    m_problem->setAccessibleName(tr("Ошибка в таблице"));

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(tr("Сохранить"));
    buttons->button(QDialogButtonBox::Cancel)->setText(tr("Отмена"));
    QPushButton *defaults =
        buttons->addButton(tr("Восстановить стандартные"), QDialogButtonBox::ResetRole);
    connect(defaults, &QPushButton::clicked, this, &BandsDialog::restoreDefaults);
    connect(buttons, &QDialogButtonBox::accepted, this, &BandsDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &BandsDialog::reject);

    auto *layout = new QVBoxLayout(this);
    auto *note = new QLabel(tr("Слежение за трансивером выбирает диапазон и поддиапазон по этой "
                               "таблице. Поддиапазон 2 начинается там, где кончается 1, и так "
                               "далее. Память частот хранит одну настройку на ячейку; "
                               "сохранённые настройки остаются на своих частотах."),
                            this);
    note->setWordWrap(true);
    layout->addWidget(note);
    layout->addWidget(m_table);
    layout->addWidget(m_problem);
    layout->addWidget(buttons);
    show(plan);
    m_table->resizeColumnsToContents();
    const int width = m_table->verticalHeader()->width() + m_table->horizontalHeader()->length() +
                      2 * m_table->frameWidth() + 24;
    resize(std::max(width + 24, 560), sizeHint().height() + 80);
}

void BandsDialog::show(const BandPlan &plan)
{
    for (int b = 0; b < BandPlan::Bands; ++b) {
        const BandPlan::Band &band = plan.band(b);
        QList<qint64> edges{band.low};
        edges += QList<qint64>(band.splits.begin(), band.splits.end());
        edges << band.high;
        for (int e = 0; e < Edges; ++e) {
            auto *item = new QTableWidgetItem(QString::number(edges[e] / 1e6, 'f', 3));
            item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            m_table->setItem(b, e, item);
        }
        auto *bin = new QTableWidgetItem(QString::number(plan.binWidth(b) / 1e3));
        bin->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        m_table->setItem(b, BinColumn, bin);
    }
    m_problem->clear();
}

void BandsDialog::restoreDefaults()
{
    show(BandPlan());
}

std::optional<BandPlan> BandsDialog::plan() const
{
    BandPlan plan;
    for (int b = 0; b < BandPlan::Bands; ++b) {
        std::array<qint64, Edges> edges{};
        for (int e = 0; e < Edges; ++e) {
            bool ok = false;
            const QString text = m_table->item(b, e)->text().trimmed().replace(',', '.');
            const std::optional<qint64> hz = BandPlan::hertzOf(text.toDouble(&ok) * 1e6);
            if (!ok || !hz)
                return std::nullopt;
            edges[size_t(e)] = *hz;
        }
        BandPlan::Band band;
        band.low = edges.front();
        band.high = edges.back();
        std::copy(edges.begin() + 1, edges.end() - 1, band.splits.begin());
        bool ok = false;
        const double khz =
            m_table->item(b, BinColumn)->text().trimmed().replace(',', '.').toDouble(&ok);
        if (!ok || khz < 0.1 || khz > 1000)
            return std::nullopt;
        // The usual width stays "usual", following the lower edge.
        const qint64 width = qRound64(khz * 1000);
        band.binWidth = width == BandPlan::usualBinWidth(band.low) ? 0 : width;
        plan.setBand(b, band);
    }
    return plan;
}

void BandsDialog::accept()
{
    const std::optional<BandPlan> table = plan();
    const QString problem = table ? table->problem() : tr("в таблице не число");
    if (!problem.isEmpty()) {
        m_problem->setText(problem);
        return;
    }
    QDialog::accept();
}
