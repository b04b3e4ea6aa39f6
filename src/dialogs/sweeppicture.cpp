#include "sweeppicture.h"

#include "model/valuetext.h"
#include "tunes/sweepcurve.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

constexpr int Left = 40;
constexpr int Right = 12;
constexpr int Top = 30;
// Under the plot: the frequency axis' labels, then the legend.
constexpr int AxisRow = 22;
constexpr int LegendMargin = 8;
constexpr int LegendGap = 4;
constexpr int Swatch = 18;
constexpr int SwatchGap = 6;
// However many curves, the plot keeps this much.
constexpr int MinPlot = 60;
constexpr double TopSwr = 10;

QString ratio(double swr)
{
    return decimalShown(swr, 2);
}

} // namespace

SweepPicture::SweepPicture(QWidget *parent)
    : QWidget(parent)
{
    setMinimumSize(360, 260);
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

QRect SweepPicture::plotIn(const QSize &size) const
{
    const QList<int> blocks = legendHeights(fontMetrics(), size.width());
    int legend = 0;
    for (int h : blocks)
        legend += h + LegendGap;
    const int bottom = AxisRow + legend;
    return {Left, Top, std::max(1, size.width() - Left - Right),
            std::max(MinPlot, size.height() - Top - bottom)};
}

QList<int> SweepPicture::legendHeights(const QFontMetrics &metrics, int width) const
{
    QList<int> out;
    const int words = std::max(40, width - 2 * LegendMargin - Swatch - SwatchGap);
    for (const Curve &curve : m_curves)
        out << metrics.boundingRect(QRect(0, 0, words, 10000), Qt::TextWordWrap, legendText(curve))
                   .height();
    return out;
}

QString SweepPicture::widthText(double limit, const QList<StoredSweep::Point> &points)
{
    const std::optional<SweepCurve::Width> width = SweepCurve::widthUnder(points, limit);
    if (!width)
        return {};
    const QString kHz = QString::number(std::lround(width->total / 1e3));
    QString text = width->open ? tr("< %1: ≥ %2 кГц").arg(decimalShown(limit, 1), kHz)
                               : tr("< %1: %2 кГц").arg(decimalShown(limit, 1), kHz);
    if (width->pieces > 1)
        text += tr(" в %n участках", nullptr, width->pieces);
    if (width->open)
        text += tr(" (до края обзора)");
    return text;
}

QString SweepPicture::legendText(const Curve &curve) const
{
    QString text = curve.label;
    if (curve.stopped)
        text += tr(" — остановлен");
    if (const auto lowest = SweepCurve::minimum(curve.points)) {
        QStringList facts{
            tr("мин. КСВ %1 на %2 МГц").arg(ratio(lowest->swr), megahertzShown(lowest->hz))};
        for (const double limit : {1.5, 2.0}) {
            if (const QString width = widthText(limit, curve.points); !width.isEmpty())
                facts << width;
        }
        text += QStringLiteral(": ") + facts.join(QStringLiteral("; "));
    }
    return text;
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
    return kind == StoredSweep::Kind::Bare    ? tr("антенна без настройки")
           : kind == StoredSweep::Kind::Tuned ? tr("с настройками памяти")
                                              : tr("измерено");
}

QColor SweepPicture::colourOf(int index, StoredSweep::Kind kind)
{
    // The newest pair in the colours operators know from SDR clients; older ones muted.
    static const QColor bare[] = {QColor(214, 96, 0), QColor(150, 90, 40), QColor(170, 130, 90)};
    static const QColor tuned[] = {QColor(0, 90, 200), QColor(60, 110, 150), QColor(100, 140, 170)};
    const int at = std::min(index / 2, 2);
    if (kind == StoredSweep::Kind::Measured)
        return QColor(40, 140, 60);
    return kind == StoredSweep::Kind::Bare ? bare[at] : tuned[at];
}

QImage SweepPicture::image(const QSize &size, int layer) const
{
    QImage out(size, QImage::Format_ARGB32_Premultiplied);
    out.fill(Qt::transparent);
    QPainter painter(&out);
    painter.setFont(font());
    paint(painter, size, layer);
    return out;
}

int SweepPicture::wordCount(const QSize &size) const
{
    QImage scratch(1, 1, QImage::Format_ARGB32_Premultiplied);
    QPainter painter(&scratch);
    painter.setFont(font());
    // Nothing of it lands on the one pixel that matters: a layer past every word.
    return paint(painter, size, std::numeric_limits<int>::max());
}

void SweepPicture::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    paint(painter, size(), Everything);
}

int SweepPicture::paint(QPainter &painter, const QSize &size, int layer) const
{
    const bool all = layer == Everything;
    const bool drawing = all || layer == Drawing;
    const QRect plot = plotIn(size);
    const QColor ink = palette().color(QPalette::Text);
    // Every word goes through here: counted, and drawn when its layer is asked for.
    int words = 0;
    QList<QRect> taken;
    const auto word = [&](const QRect &box, int flags, const QString &text, const QColor &colour,
                          bool optional) {
        const QRect used = painter.fontMetrics().boundingRect(box, flags, text);
        // An axis label that would touch one already drawn is left out.
        if (optional && std::any_of(taken.begin(), taken.end(), [&](const QRect &other) {
                return other.adjusted(-2, -1, 2, 1).intersects(used);
            }))
            return;
        taken << used;
        if (all || layer == words) {
            painter.setPen(colour);
            painter.drawText(box, flags, text);
        }
        ++words;
    };
    if (all)
        painter.fillRect(QRect(QPoint(0, 0), size), palette().color(QPalette::Base));
    if (drawing) {
        painter.setPen(QPen(palette().color(QPalette::Mid), 1));
        painter.drawRect(plot.adjusted(0, 0, -1, -1));
    }

    // The SWR axis, logarithmic; from the bottom up, so that 1 and 10 are always there.
    const int lineHeight = painter.fontMetrics().height();
    for (const double swr : {1.0, 10.0, 1.5, 2.0, 3.0, 5.0}) {
        const int y = rowOf(swr, size);
        if (drawing) {
            painter.setPen(QPen(palette().color(QPalette::Midlight), 1, Qt::DotLine));
            painter.drawLine(plot.left(), y, plot.right(), y);
        }
        word(QRect(0, y - lineHeight / 2, Left - 4, lineHeight), Qt::AlignRight | Qt::AlignVCenter,
             swr == std::floor(swr) ? QString::number(int(swr)) : decimalShown(swr, 1), ink,
             swr != 1.0);
    }
    // The band's edges solid, the sub-bands' dashed.
    for (qsizetype i = 0; drawing && i < m_edges.size(); ++i) {
        const bool band = i == 0 || i == m_edges.size() - 1;
        painter.setPen(QPen(ink, 1, band ? Qt::SolidLine : Qt::DashLine));
        const int x = columnOf(m_edges[i], size);
        painter.drawLine(x, plot.top(), x, plot.bottom());
    }
    const QRect axis(plot.left(), plot.bottom() + 3, plot.width(), lineHeight);
    word(axis, Qt::AlignLeft, megahertzShown(m_low), ink, false);
    word(axis, Qt::AlignRight, megahertzShown(m_high), ink, true);
    word(axis, Qt::AlignHCenter, tr("МГц"), ink, true);

    for (qsizetype c = 0; c < m_curves.size(); ++c) {
        const Curve &curve = m_curves[c];
        const QColor colour = colourOf(int(c), curve.kind);
        if (curve.points.isEmpty() || !drawing)
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
        // Every stretch under 1.5 and 2.0, at those heights; lighter than the curve, so that a
        // bar is never taken for one.
        QColor bar = colour;
        bar.setAlpha(110);
        painter.setPen(QPen(bar, 4, Qt::SolidLine, Qt::FlatCap));
        for (const double limit : {1.5, 2.0}) {
            const int y = rowOf(limit, size) + int(c) * 5;
            for (const SweepCurve::Stretch &stretch : SweepCurve::allUnder(curve.points, limit))
                painter.drawLine(columnOf(stretch.low, size), y, columnOf(stretch.high, size), y);
        }
        painter.restore();
        // The minimum: a triangle above the plot at its column.
        if (const auto lowest = SweepCurve::minimum(curve.points)) {
            const int x = columnOf(lowest->hz, size);
            QPolygon mark;
            mark << QPoint(x - 5, plot.top() - 11) << QPoint(x + 5, plot.top() - 11)
                 << QPoint(x, plot.top() - 2);
            painter.setPen(Qt::NoPen);
            painter.setBrush(colour);
            painter.drawPolygon(mark);
            painter.setBrush(Qt::NoBrush);
        }
    }
    // The legend under the axis: for each curve its colour, then its words, wrapped.
    const QList<int> blocks = legendHeights(painter.fontMetrics(), size.width());
    int top = axis.top() + lineHeight + LegendGap;
    for (qsizetype c = 0; c < m_curves.size(); ++c) {
        const QColor colour = colourOf(int(c), m_curves[c].kind);
        if (drawing) {
            painter.setPen(QPen(colour, 3));
            painter.drawLine(LegendMargin, top + lineHeight / 2, LegendMargin + Swatch,
                             top + lineHeight / 2);
        }
        const int left = LegendMargin + Swatch + SwatchGap;
        word(QRect(left, top, std::max(40, size.width() - left - LegendMargin), blocks[c]),
             Qt::AlignLeft | Qt::TextWordWrap, legendText(m_curves[c]), ink, false);
        top += blocks[c] + LegendGap;
    }
    // What the pointer is over.
    if (m_pointed && drawing) {
        const auto &[c, p] = *m_pointed;
        painter.setPen(QPen(colourOf(c, m_curves[c].kind), 2));
        painter.drawEllipse(QPoint(columnOf(p.hz, size), rowOf(p.swr, size)), 4, 4);
    }
    if (!m_readout.isEmpty())
        word(QRect(0, 0, size.width() - Right, Top - 14), Qt::AlignRight | Qt::AlignVCenter,
             m_readout, ink, false);
    return words;
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
            if (const QString width = widthText(limit, curve.points); !width.isEmpty())
                text += QStringLiteral(", ") + width;
        }
        said << text;
    }
    setAccessibleDescription(said.join(QStringLiteral("; ")));
}
