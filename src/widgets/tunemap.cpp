#include "tunemap.h"

#include "model/valuetext.h"

#include <QPainter>

#include <algorithm>

namespace {

constexpr int Margin = 34;
constexpr int Gap = 8;
constexpr double Dot = 3.5;
// However few the codes, a scale spans at least this many, so that one tune is not a line.
constexpr int LeastSpan = 8;

} // namespace

TuneMap::TuneMap(QWidget *parent)
    : QWidget(parent)
{
    setMinimumSize(320, 180);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    setAccessibleName(tr("Настройки по частоте: C сверху, L снизу, цвет — КСВ"));
}

void TuneMap::show(qint64 low, qint64 high, const QList<Point> &points)
{
    m_low = low;
    m_high = std::max(high, low + 1);
    m_points = points;
    update();
}

QColor TuneMap::colourOf(std::optional<double> swr)
{
    if (!swr)
        return QColor(128, 128, 128);
    if (*swr <= 1.5)
        return QColor(0, 160, 0);
    if (*swr <= 2.0)
        return QColor(230, 150, 0);
    return QColor(210, 0, 0);
}

std::pair<int, int> TuneMap::scale(char bank) const
{
    if (m_points.isEmpty())
        return {0, 255};
    int low = 255;
    int high = 0;
    for (const Point &p : m_points) {
        const int code = bank == 'C' ? p.codeC : p.codeL;
        low = std::min(low, code);
        high = std::max(high, code);
    }
    const int room = std::max(2, (high - low) / 10);
    low = std::max(0, low - room);
    high = std::min(255, high + room);
    if (high - low < LeastSpan) {
        low = std::max(0, std::min(low, 255 - LeastSpan));
        high = low + LeastSpan;
    }
    return {low, high};
}

QRectF TuneMap::plot(char bank) const
{
    // Under the plots: the band's edges, then what the marks mean, each a line of text.
    const int line = fontMetrics().height();
    const double half = (height() - 2.0 * Gap - 2 * line - 4 - line / 2.0) / 2;
    const double top = bank == 'C' ? Gap : Gap + half + line / 2.0;
    return {double(Margin), top, double(width() - Margin - Gap), std::max(10.0, half)};
}

QPointF TuneMap::position(qint64 hz, char bank, int code) const
{
    const QRectF area = plot(bank);
    const auto [low, high] = scale(bank);
    const double x = area.left() + area.width() * double(hz - m_low) / double(m_high - m_low);
    const double y = area.bottom() - area.height() * double(code - low) / double(high - low);
    return {x, y};
}

void TuneMap::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillRect(rect(), palette().color(QPalette::Base));
    const QColor ink = palette().color(QPalette::Text);
    const int line = fontMetrics().height();
    for (const char bank : {'C', 'L'}) {
        const QRectF area = plot(bank);
        const auto [low, high] = scale(bank);
        painter.setPen(QPen(palette().color(QPalette::Mid), 1));
        painter.drawRect(area);
        painter.setPen(ink);
        // The scale: its top and bottom codes, the bank between them.
        painter.drawText(QRectF(0, area.top() - 1, Margin - 4, line), Qt::AlignRight | Qt::AlignTop,
                         QString::number(high));
        painter.drawText(QRectF(0, area.bottom() - line + 1, Margin - 4, line),
                         Qt::AlignRight | Qt::AlignBottom, QString::number(low));
        if (area.height() > 3 * line)
            painter.drawText(QRectF(0, area.top(), Margin - 4, area.height()),
                             Qt::AlignRight | Qt::AlignVCenter, QString(QLatin1Char(bank)));
    }
    // The band's edges, whole, under the lower plot.
    const QRectF bottom = plot('L');
    const QRectF edges(bottom.left(), bottom.bottom() + 2, bottom.width(), line);
    painter.setPen(ink);
    painter.drawText(edges, Qt::AlignLeft, megahertzShown(m_low));
    painter.drawText(edges, Qt::AlignRight, megahertzShown(m_high));
    painter.drawText(edges, Qt::AlignHCenter, tr("МГц"));

    // A computed tune is hollow: no radio has read it yet.
    const auto mark = [&](const QPointF &at, int side, bool pinned, const QColor &colour,
                          bool computed = false) {
        painter.setPen(computed ? QPen(colour, 1.6) : QPen(Qt::NoPen));
        painter.setBrush(computed ? QBrush(Qt::NoBrush) : QBrush(colour));
        if (side == 1)
            painter.drawEllipse(at, Dot, Dot);
        else
            painter.drawRect(QRectF(at.x() - Dot, at.y() - Dot, 2 * Dot, 2 * Dot));
        if (pinned) {
            painter.setBrush(Qt::NoBrush);
            painter.setPen(QPen(ink, 1.2));
            painter.drawEllipse(at, Dot + 2.5, Dot + 2.5);
        }
    };
    for (const Point &p : std::as_const(m_points)) {
        const QColor colour = colourOf(p.swr);
        mark(position(p.hz, 'C', p.codeC), p.side, p.pinned, colour, p.computed);
        mark(position(p.hz, 'L', p.codeL), p.side, p.pinned, colour, p.computed);
    }
    // What the marks mean, on a line of its own.
    const double y = edges.bottom() + 2 + line / 2.0;
    double x = Margin;
    const QColor grey = colourOf(std::nullopt);
    for (const auto &[side, pinned, computed, words] :
         {std::tuple{1, false, false, QStringLiteral("Tx")},
          std::tuple{0, false, false, QStringLiteral("Ant")},
          std::tuple{1, true, false, tr("закреплено")}, std::tuple{1, false, true, tr("расчёт")}}) {
        mark(QPointF(x + Dot + 3, y), side, pinned, grey, computed);
        painter.setPen(ink);
        const double width = fontMetrics().horizontalAdvance(words);
        painter.drawText(QRectF(x + 2 * Dot + 10, y - line / 2.0, width + 2, line),
                         Qt::AlignLeft | Qt::AlignVCenter, words);
        x += 2 * Dot + 10 + width + 16;
    }
}
