#pragma once

#include "tunes/tunestore.h"

#include <QColor>
#include <QImage>
#include <QList>
#include <QWidget>

#include <optional>

// SWR against frequency, on a logarithmic axis from 1 to 10, one curve for each sweep shown:
// each curve's minimum marked (a triangle above the plot, at its column), its stretches under
// 1.5 and 2.0 drawn at those heights, the band's and sub-bands' edges as lines, and what the
// pointer is over read out above the plot. The words (which curve is which, its minimum and
// its widths) stand in a legend under the plot, where no curve goes and no label covers
// another; an axis label that would touch its neighbour is left out.
class SweepPicture : public QWidget
{
    Q_OBJECT
public:
    struct Curve
    {
        QString label;
        StoredSweep::Kind kind = StoredSweep::Kind::Bare;
        QList<StoredSweep::Point> points;
        // Stopped before its end: so marked.
        bool stopped = false;
    };
    // What image() draws: everything, only the lines and marks, or only one of the words.
    enum Layer : int { Everything = -1, Drawing = -2 };

    explicit SweepPicture(QWidget *parent = nullptr);

    // low–high: the stretch drawn; edges: the band's and its sub-bands' edges within it, the
    // band's first and last.
    void show(qint64 low, qint64 high, const QList<qint64> &edges, const QList<Curve> &curves);
    const QList<Curve> &curves() const { return m_curves; }

    // Where a frequency and an SWR are drawn, in a picture of the given size: above the
    // legend, which takes what its words need.
    QRect plotIn(const QSize &size) const;
    int columnOf(qint64 hz, const QSize &size) const;
    int rowOf(double swr, const QSize &size) const;
    // "bare antenna", "through the memory", as the operator reads them.
    static QString kindText(StoredSweep::Kind kind);
    // The colour of the i-th curve shown.
    static QColor colourOf(int index, StoredSweep::Kind kind);
    // The picture at a size of its own, for a file; a layer alone on a clear ground (a word's
    // index from 0 on), to see what covers what.
    QImage image(const QSize &size, int layer = Everything) const;
    // How many words a picture of this size draws.
    int wordCount(const QSize &size) const;
    // "< 1,5: 140 кГц в 2 участках", "< 2,0: ≥ 196 кГц (до края обзора)".
    static QString widthText(double limit, const QList<StoredSweep::Point> &points);
    // A curve's line of the legend.
    QString legendText(const Curve &curve) const;
    // What the pointer reads: "7.085 MHz: SWR 1.23 (bare antenna)", or empty.
    QString readout() const { return m_readout; }
    // Reads the curve nearest to the pointer's column at pos.
    void pointAt(const QPoint &pos);

    QSize sizeHint() const override { return {640, 320}; }

protected:
    void paintEvent(QPaintEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void leaveEvent(QEvent *event) override;

private:
    // Draws the layer asked for; returns how many words it met.
    int paint(QPainter &painter, const QSize &size, int layer) const;
    // The legend's blocks, each a curve's, in a picture of this width, and their height.
    QList<int> legendHeights(const QFontMetrics &metrics, int width) const;
    void describe();

    qint64 m_low = 0;
    qint64 m_high = 1;
    QList<qint64> m_edges;
    QList<Curve> m_curves;
    QString m_readout;
    std::optional<std::pair<int, StoredSweep::Point>> m_pointed;
};
