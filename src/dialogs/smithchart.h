#pragma once

#include "tune/lnetwork.h"

#include <QImage>
#include <QList>
#include <QWidget>

class QThread;

// A band on the Smith chart (50 Ω): the antenna's measured impedance across it, each bin's
// tune as where the tuner puts the antenna, and shaded, the loads some setting of the tuner
// brings under 2.0 at the band's middle, so that an operator sees where the antenna leaves its
// reach.
class SmithChart : public QWidget
{
    Q_OBJECT
public:
    struct Tune
    {
        LNetwork::Impedance seen; // what the transmitter sees through the tune
        bool computed = false;
    };

    explicit SmithChart(QWidget *parent = nullptr);
    ~SmithChart() override;

    // measured: the antenna across the band, by frequency; none empties the chart.
    void show(const QList<LNetwork::Impedance> &measured, const QList<Tune> &tunes, double middleHz,
              const LNetwork::Parts &parts);
    // Where a reflection coefficient is drawn in the widget.
    QPointF position(std::complex<double> gamma) const;
    bool empty() const { return m_measured.isEmpty(); }
    // Whether the reach is drawn yet: it is worked out off the window's thread.
    bool shaded() const { return !m_reach.isNull(); }

    QSize sizeHint() const override { return {260, 260}; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void shade();

    QList<LNetwork::Impedance> m_measured;
    QList<Tune> m_tunes;
    double m_middleHz = 0;
    LNetwork::Parts m_parts;
    QImage m_reach;
    QThread *m_shading = nullptr;
    bool m_shadeAgain = false;
};
