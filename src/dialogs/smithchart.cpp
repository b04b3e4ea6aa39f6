#include "smithchart.h"

#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>
#include <numbers>

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
    setMinimumSize(200, 200);
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

bool SmithChart::reachable(LNetwork::Impedance load, double hz, const LNetwork::Parts &parts)
{
    const double coils = parts.inductanceNh(255) * 1e-9;
    const double bankLow = parts.strayPf * 1e-12;
    const double bankHigh = (parts.capacitancePf(255) + parts.strayPf) * 1e-12;
    const QList<LNetwork::ExactMatch> matches = LNetwork::exactMatches(load, hz);
    return std::any_of(matches.cbegin(), matches.cend(), [&](const LNetwork::ExactMatch &m) {
        return m.henries <= coils && m.farads >= bankLow && m.farads <= bankHigh;
    });
}

QPointF SmithChart::position(std::complex<double> gamma) const
{
    const double radius = std::min(width(), height()) / 2.0 - 6;
    const QPointF centre(width() / 2.0, height() / 2.0);
    return centre + QPointF(gamma.real() * radius, -gamma.imag() * radius);
}

void SmithChart::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    shade();
}

void SmithChart::shade()
{
    m_reach = QImage();
    if (m_measured.isEmpty() || m_middleHz <= 0 || width() < 10 || height() < 10)
        return;
    // One cell every few pixels: the closed form per cell is cheap.
    constexpr int Cell = 3;
    m_reach = QImage(width() / Cell + 1, height() / Cell + 1, QImage::Format_ARGB32);
    m_reach.fill(Qt::transparent);
    const double radius = std::min(width(), height()) / 2.0 - 6;
    const QColor tint(60, 160, 90, 70);
    for (int j = 0; j < m_reach.height(); ++j) {
        for (int i = 0; i < m_reach.width(); ++i) {
            const std::complex<double> gamma((i * Cell - width() / 2.0) / radius,
                                             -(j * Cell - height() / 2.0) / radius);
            if (std::abs(gamma) >= 1)
                continue;
            const LNetwork::Impedance load = Z0 * (1.0 + gamma) / (1.0 - gamma);
            if (reachable(load, m_middleHz, m_parts))
                m_reach.setPixelColor(i, j, tint);
        }
    }
}

void SmithChart::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.fillRect(rect(), palette().base());
    const double radius = std::min(width(), height()) / 2.0 - 6;
    const QPointF centre(width() / 2.0, height() / 2.0);
    if (!m_reach.isNull())
        p.drawImage(rect(), m_reach.scaled(m_reach.width() * 3, m_reach.height() * 3),
                    QRect(0, 0, m_reach.width() * 3, m_reach.height() * 3));
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
