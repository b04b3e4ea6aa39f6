#include "smithchart.h"

#include <QPainter>
#include <QPainterPath>
#include <QThread>

#include <algorithm>
#include <cmath>
#include <memory>
#include <numbers>
#include <utility>

namespace {

constexpr double Z0 = LNetwork::ReferenceOhms;

std::complex<double> gammaOf(LNetwork::Impedance z)
{
    return (z - Z0) / (z + Z0);
}

} // namespace

SmithChart::SmithChart(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("smith"));
    setAccessibleName(tr("Диаграмма Вольперта–Смита"));
    setToolTip(tr("Закрашено: нагрузки, которые тюнер приводит к КСВ ниже 2,0 в середине "
                  "диапазона"));
    setAccessibleDescription(toolTip());
    setMinimumSize(200, 200);
}

SmithChart::~SmithChart()
{
    if (m_shading)
        m_shading->wait();
}

void SmithChart::show(const QList<LNetwork::Impedance> &measured, const QList<Tune> &tunes,
                      double middleHz, const LNetwork::Parts &parts)
{
    m_measured = measured;
    m_tunes = tunes;
    m_middleHz = middleHz;
    m_parts = parts;
    shade();
    update();
}

QPointF SmithChart::position(std::complex<double> gamma) const
{
    const double radius = std::min(width(), height()) / 2.0 - 6;
    const QPointF centre(width() / 2.0, height() / 2.0);
    return centre + QPointF(gamma.real() * radius, -gamma.imag() * radius);
}

void SmithChart::shade()
{
    m_reach = QImage();
    // What a running one works out is for the band before: it is done again when it ends.
    if (m_shading) {
        m_shadeAgain = true;
        return;
    }
    if (m_measured.isEmpty() || m_middleHz <= 0)
        return;
    // All 2 × 256 × 256 settings take up to a tenth of a second.
    constexpr int Cells = 128;
    auto map = std::make_shared<std::vector<bool>>();
    m_shading = QThread::create(
        [map, hz = m_middleHz, parts = m_parts] { *map = LNetwork::reachMap(hz, parts, Cells); });
    m_shading->setParent(this);
    connect(m_shading, &QThread::finished, this, [this, map] {
        m_shading->deleteLater();
        m_shading = nullptr;
        if (std::exchange(m_shadeAgain, false))
            return shade();
        m_reach = QImage(Cells, Cells, QImage::Format_ARGB32);
        m_reach.fill(Qt::transparent);
        const QColor tint(60, 160, 90, 70);
        for (int j = 0; j < Cells; ++j)
            for (int i = 0; i < Cells; ++i)
                if ((*map)[size_t(j) * Cells + size_t(i)])
                    m_reach.setPixelColor(i, j, tint);
        update();
    });
    m_shading->start();
}

void SmithChart::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.fillRect(rect(), palette().base());
    const double radius = std::min(width(), height()) / 2.0 - 6;
    const QPointF centre(width() / 2.0, height() / 2.0);
    if (!m_reach.isNull()) {
        p.save();
        p.setRenderHint(QPainter::SmoothPixmapTransform);
        p.drawImage(QRectF(centre - QPointF(radius, radius), QSizeF(2 * radius, 2 * radius)),
                    m_reach);
        p.restore();
    }
    // The grid: circles of constant resistance and arcs of constant reactance.
    p.setPen(QPen(palette().mid().color(), 0.8));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(centre, radius, radius);
    p.drawLine(centre - QPointF(radius, 0), centre + QPointF(radius, 0));
    for (const double r : {0.2, 0.5, 1.0, 2.0, 5.0}) {
        const double rr = radius / (1 + r);
        p.drawEllipse(QPointF(centre.x() + radius * r / (1 + r), centre.y()), rr, rr);
    }
    p.save();
    p.setClipRegion(QRegion(QRect((centre - QPointF(radius, radius)).toPoint(),
                                  QSize(int(2 * radius) + 1, int(2 * radius) + 1)),
                            QRegion::Ellipse));
    for (const double x : {0.2, 0.5, 1.0, 2.0, 5.0}) {
        for (const double sign : {1.0, -1.0}) {
            const double rr = radius / x;
            p.drawEllipse(QPointF(centre.x() + radius, centre.y() - sign * rr), rr, rr);
        }
    }
    p.restore();
    if (m_measured.isEmpty()) {
        p.setPen(palette().text().color());
        p.drawText(rect(), Qt::AlignCenter | Qt::TextWordWrap, tr("нет измерения антенны"));
        return;
    }
    // The antenna across the band.
    QPainterPath path;
    for (qsizetype i = 0; i < m_measured.size(); ++i) {
        const QPointF at = position(gammaOf(m_measured[i]));
        i == 0 ? path.moveTo(at) : path.lineTo(at);
    }
    p.setPen(QPen(QColor(30, 90, 200), 2));
    p.drawPath(path);
    p.setBrush(QColor(30, 90, 200));
    p.drawEllipse(position(gammaOf(m_measured.first())), 3, 3);
    // Each tune: where it puts the antenna; a computed one hollow.
    for (const Tune &t : std::as_const(m_tunes)) {
        p.setPen(QPen(QColor(200, 60, 40), 1.5));
        p.setBrush(t.computed ? QBrush(Qt::NoBrush) : QBrush(QColor(200, 60, 40)));
        p.drawEllipse(position(gammaOf(t.seen)), 3.5, 3.5);
    }
}
