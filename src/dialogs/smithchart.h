#pragma once

#include "tune/lnetwork.h"

#include <QList>
#include <QWidget>

#include <optional>

// A band on the Smith chart (50 Ω): the antenna's measured impedance across it, each bin's
// tune as where the tuner puts the antenna, and shaded, the loads the tuner can match at the
// band's middle, so that an operator sees where the antenna leaves its reach.
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

    // measured: the antenna across the band, by frequency; none empties the chart.
    void show(const QList<LNetwork::Impedance> &measured, const QList<Tune> &tunes, double middleHz,
              const LNetwork::Parts &parts);
    // Whether a load can be matched at hz by a lossless network of the parts' range: a match
    // within the coils' sum and the bank (with its stray) on one of the two sides.
    static bool reachable(LNetwork::Impedance load, double hz, const LNetwork::Parts &parts);
    // Where a reflection coefficient is drawn in the widget.
    QPointF position(std::complex<double> gamma) const;
    bool empty() const { return m_measured.isEmpty(); }

    QSize sizeHint() const override { return {260, 260}; }

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void shade();

    QList<LNetwork::Impedance> m_measured;
    QList<Tune> m_tunes;
    double m_middleHz = 0;
    LNetwork::Parts m_parts;
    QImage m_reach;
};
