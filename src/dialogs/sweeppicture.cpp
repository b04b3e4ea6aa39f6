#include "sweeppicture.h"

#include "model/valuetext.h"
#include "tunes/sweepcurve.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>

#include <cmath>

namespace {

constexpr int Left = 40;
constexpr int Right = 12;
constexpr int Top = 30;
constexpr int Bottom = 22;
constexpr double TopSwr = 10;

QString ratio(double swr)
{
    return decimalShown(swr, 2);
}

} // namespace

SweepPicture::SweepPicture(QWidget *parent)
    : QWidget(parent)
{
    setMinimumSize(360, 200);
    setMouseTracking(true);
    setAccessibleName(tr("Обзор КСВ"));
}

void SweepPicture::show(qint64 low, qint64 high, const QList<qint64> &edges,
                        const QList<Curve> &curves)
{
    m_low = low;
    m_high = std::max(high, low + 1);
    m_edges = edges;
    m_curves = curves;
    m_pointed.reset();
    m_readout.clear();
    describe();
    update();
}

QRect SweepPicture::plotIn(const QSize &size)
{
    return {Left, Top, std::max(1, size.width() - Left - Right),
            std::max(1, size.height() - Top - Bottom)};
}

int SweepPicture::columnOf(qint64 hz, const QSize &size) const
{
    const QRect plot = plotIn(size);
    return plot.left() +
           int(std::lround(double(plot.width() - 1) * double(hz - m_low) / double(m_high - m_low)));
}

int SweepPicture::rowOf(double swr, const QSize &size) const
{
    const QRect plot = plotIn(size);
    const double share = std::log10(std::clamp(swr, 1.0, TopSwr)) / std::log10(TopSwr);
    return plot.bottom() - int(std::lround(share * (plot.height() - 1)));
}

QString SweepPicture::kindText(StoredSweep::Kind kind)
{
    return kind == StoredSweep::Kind::Bare ? tr("антенна без настройки")
                                           : tr("с настройками памяти");
}

QColor SweepPicture::colourOf(int index, StoredSweep::Kind kind)
{
    // The newest pair in the colours operators know from SDR clients; older ones muted.
    static const QColor bare[] = {QColor(214, 96, 0), QColor(150, 90, 40), QColor(170, 130, 90)};
    static const QColor tuned[] = {QColor(0, 90, 200), QColor(60, 110, 150), QColor(100, 140, 170)};
    const int at = std::min(index / 2, 2);
    return kind == StoredSweep::Kind::Bare ? bare[at] : tuned[at];
}

QImage SweepPicture::image(const QSize &size) const
{
    QImage out(size, QImage::Format_ARGB32_Premultiplied);
    QPainter painter(&out);
    paint(painter, size);
    return out;
}

void SweepPicture::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    paint(painter, size());
}

void SweepPicture::paint(QPainter &painter, const QSize &size) const
{
    const QRect plot = plotIn(size);
    const QColor ink = palette().color(QPalette::Text);
    painter.fillRect(QRect(QPoint(0, 0), size), palette().color(QPalette::Base));
    painter.setPen(QPen(palette().color(QPalette::Mid), 1));
    painter.drawRect(plot.adjusted(0, 0, -1, -1));

    // The SWR axis, logarithmic.
    for (const double swr : {1.0, 1.5, 2.0, 3.0, 5.0, 10.0}) {
        const int y = rowOf(swr, size);
        painter.setPen(QPen(palette().color(QPalette::Midlight), 1, Qt::DotLine));
        painter.drawLine(plot.left(), y, plot.right(), y);
        painter.setPen(ink);
        painter.drawText(QRect(0, y - 8, Left - 4, 16), Qt::AlignRight | Qt::AlignVCenter,
                         swr == std::floor(swr) ? QString::number(int(swr)) : decimalShown(swr, 1));
    }
    // The band's edges solid, the sub-bands' dashed.
    for (qsizetype i = 0; i < m_edges.size(); ++i) {
        const bool band = i == 0 || i == m_edges.size() - 1;
        painter.setPen(QPen(ink, 1, band ? Qt::SolidLine : Qt::DashLine));
        const int x = columnOf(m_edges[i], size);
        painter.drawLine(x, plot.top(), x, plot.bottom());
    }
    painter.setPen(ink);
    painter.drawText(QRect(plot.left(), plot.bottom() + 3, 120, Bottom - 4), Qt::AlignLeft,
                     megahertzShown(m_low));
    painter.drawText(QRect(plot.right() - 120, plot.bottom() + 3, 120, Bottom - 4), Qt::AlignRight,
                     megahertzShown(m_high));
    painter.drawText(QRect(plot.left(), plot.bottom() + 3, plot.width(), Bottom - 4),
                     Qt::AlignHCenter, tr("МГц"));

    for (qsizetype c = 0; c < m_curves.size(); ++c) {
        const Curve &curve = m_curves[c];
        const QColor colour = colourOf(int(c), curve.kind);
        if (curve.points.isEmpty())
            continue;
        painter.save();
        painter.setClipRect(plot);
        painter.setRenderHint(QPainter::Antialiasing);
        QPainterPath path;
        for (qsizetype i = 0; i < curve.points.size(); ++i) {
            const QPointF at(columnOf(curve.points[i].hz, size), rowOf(curve.points[i].swr, size));
            i == 0 ? path.moveTo(at) : path.lineTo(at);
        }
        painter.setPen(QPen(colour, 2));
        painter.drawPath(path);
        // The stretches under 1.5 and 2.0, at their heights, with their widths.
        for (const double limit : {1.5, 2.0}) {
            const auto stretch = SweepCurve::under(curve.points, limit);
            if (!stretch)
                continue;
            const int y = rowOf(limit, size) + int(c) * 5;
            const int x1 = columnOf(stretch->low, size);
            const int x2 = columnOf(stretch->high, size);
            // Lighter than the curve, so that a bar is never taken for one.
            QColor bar = colour;
            bar.setAlpha(110);
            painter.setPen(QPen(bar, 4, Qt::SolidLine, Qt::FlatCap));
            painter.drawLine(x1, y, x2, y);
            // Each curve's words on a row of their own, in its colour.
            painter.setPen(colour.darker(140));
            painter.drawText(QRect(x1, y - 16 - int(c) * 14, std::max(x2 - x1, 90), 14),
                             Qt::AlignHCenter,
                             tr("< %1: %2 кГц")
                                 .arg(decimalShown(limit, 1))
                                 .arg(std::lround(stretch->width() / 1e3)));
        }
        painter.restore();
        // The minimum: a triangle above the plot at its column, its frequency beside the point.
        if (const auto lowest = SweepCurve::minimum(curve.points)) {
            const int x = columnOf(lowest->hz, size);
            QPolygon mark;
            mark << QPoint(x - 5, plot.top() - 11) << QPoint(x + 5, plot.top() - 11)
                 << QPoint(x, plot.top() - 2);
            painter.setPen(Qt::NoPen);
            painter.setBrush(colour);
            painter.drawPolygon(mark);
            painter.setBrush(Qt::NoBrush);
            painter.setPen(colour.darker(140));
            const int y = rowOf(lowest->swr, size) - int(c) * 14;
            painter.drawText(
                QRect(x + 6, y - 18, 200, 16), Qt::AlignLeft,
                tr("%1 МГц, КСВ %2").arg(megahertzShown(lowest->hz), ratio(lowest->swr)));
        }
    }
    // Which curve is which, in the plot's upper right corner, over a veil the curves show through.
    int labelWidth = 0;
    for (const Curve &curve : std::as_const(m_curves))
        labelWidth = std::max(labelWidth, painter.fontMetrics().horizontalAdvance(curve.label));
    labelWidth = std::min(labelWidth, plot.width() - 40);
    const int legendLeft = plot.right() - labelWidth - 34;
    if (!m_curves.isEmpty()) {
        QColor veil = palette().color(QPalette::Base);
        veil.setAlpha(200);
        painter.fillRect(
            QRect(legendLeft - 4, plot.top() + 2, labelWidth + 36, int(m_curves.size()) * 16 + 4),
            veil);
    }
    int row = plot.top() + 4;
    for (qsizetype c = 0; c < m_curves.size(); ++c) {
        painter.setPen(QPen(colourOf(int(c), m_curves[c].kind), 3));
        painter.drawLine(legendLeft, row + 7, legendLeft + 18, row + 7);
        painter.setPen(ink);
        painter.drawText(
            QRect(legendLeft + 24, row, labelWidth + 4, 15), Qt::AlignLeft,
            painter.fontMetrics().elidedText(m_curves[c].label, Qt::ElideRight, labelWidth + 4));
        row += 16;
    }
    // What the pointer is over.
    if (m_pointed) {
        const auto &[c, p] = *m_pointed;
        painter.setPen(QPen(colourOf(c, m_curves[c].kind), 2));
        painter.drawEllipse(QPoint(columnOf(p.hz, size), rowOf(p.swr, size)), 4, 4);
    }
    painter.setPen(ink);
    painter.drawText(QRect(0, 0, size.width() - Right, Top - 14), Qt::AlignRight | Qt::AlignVCenter,
                     m_readout);
}

void SweepPicture::pointAt(const QPoint &pos)
{
    m_pointed.reset();
    m_readout.clear();
    const QRect plot = plotIn(size());
    if (plot.contains(pos)) {
        int best = std::numeric_limits<int>::max();
        for (qsizetype c = 0; c < m_curves.size(); ++c) {
            for (const StoredSweep::Point &p : m_curves[c].points) {
                const int off = std::abs(columnOf(p.hz, size()) - pos.x()) +
                                std::abs(rowOf(p.swr, size()) - pos.y()) / 4;
                if (off < best) {
                    best = off;
                    m_pointed = std::pair(int(c), p);
                }
            }
        }
    }
    if (m_pointed)
        m_readout = tr("%1 МГц: КСВ %2 (%3)")
                        .arg(megahertzShown(m_pointed->second.hz), ratio(m_pointed->second.swr),
                             kindText(m_curves[m_pointed->first].kind));
    update();
}

void SweepPicture::mouseMoveEvent(QMouseEvent *event)
{
    pointAt(event->position().toPoint());
}

void SweepPicture::leaveEvent(QEvent *)
{
    m_pointed.reset();
    m_readout.clear();
    update();
}

void SweepPicture::describe()
{
    // A screen reader hears what the eye sees: each curve's minimum and its widths.
    QStringList said;
    for (const Curve &curve : std::as_const(m_curves)) {
        const auto lowest = SweepCurve::minimum(curve.points);
        if (!lowest)
            continue;
        QString text = tr("%1: минимум КСВ %2 на %3 МГц")
                           .arg(curve.label, ratio(lowest->swr), megahertzShown(lowest->hz));
        for (const double limit : {1.5, 2.0}) {
            if (const auto stretch = SweepCurve::under(curve.points, limit))
                text += tr(", ниже %1 — %2 кГц")
                            .arg(decimalShown(limit, 1))
                            .arg(std::lround(stretch->width() / 1e3));
        }
        said << text;
    }
    setAccessibleDescription(said.join(QStringLiteral("; ")));
}
