#include "tunemap.h"

#include <QPainter>

namespace {
constexpr int Margin = 34;
constexpr double Dot = 3.5;
} // namespace

TuneMap::TuneMap(QWidget *parent)
    : QWidget(parent)
{
    setMinimumSize(320, 160);
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

QRectF TuneMap::plot(char bank) const
{
    const double half = (height() - 2.0 * 8 - 16) / 2;
    const double top = bank == 'C' ? 8 : 8 + half + 16;
    return {double(Margin), top, double(width() - Margin - 8), half};
}

QPointF TuneMap::position(qint64 hz, char bank, int code) const
{
    const QRectF area = plot(bank);
    const double x = area.left() + area.width() * double(hz - m_low) / double(m_high - m_low);
    const double y = area.bottom() - area.height() * code / 255.0;
    return {x, y};
}

void TuneMap::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillRect(rect(), palette().color(QPalette::Base));
    const QColor ink = palette().color(QPalette::Text);
    for (const char bank : {'C', 'L'}) {
        const QRectF area = plot(bank);
        painter.setPen(QPen(palette().color(QPalette::Mid), 1));
        painter.drawRect(area);
        painter.setPen(ink);
        painter.drawText(QRectF(0, area.top(), Margin - 4, area.height()),
                         Qt::AlignRight | Qt::AlignVCenter, QString(QLatin1Char(bank)));
        painter.drawText(QRectF(0, area.top() - 2, Margin - 4, 14), Qt::AlignRight | Qt::AlignTop,
                         QStringLiteral("255"));
    }
    painter.setPen(ink);
    const QRectF bottom = plot('L');
    painter.drawText(QRectF(bottom.left(), bottom.bottom() + 1, 120, 14), Qt::AlignLeft,
                     QString::number(m_low / 1e6, 'f', 3));
    painter.drawText(QRectF(bottom.right() - 120, bottom.bottom() + 1, 120, 14), Qt::AlignRight,
                     QString::number(m_high / 1e6, 'f', 3));
    painter.setPen(Qt::NoPen);
    for (const Point &p : std::as_const(m_points)) {
        painter.setBrush(colourOf(p.swr));
        painter.drawEllipse(position(p.hz, 'C', p.codeC), Dot, Dot);
        painter.drawEllipse(position(p.hz, 'L', p.codeL), Dot, Dot);
    }
}
