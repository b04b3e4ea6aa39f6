#pragma once

#include <QColor>
#include <QList>
#include <QWidget>

#include <optional>
#include <utility>

// A band's frequency memories at a glance: the C code (above) and the L code (below) of every
// entry across the band's frequencies, each a point coloured by its SWR, so that a tune that
// does not fit its neighbours stands out. Each bank's scale spans the band's own codes and is
// shown; the side is the point's shape (a disc for Tx, a square for Ant), a pin a ring, a
// computed tune hollow.
class TuneMap : public QWidget
{
    Q_OBJECT
public:
    struct Point
    {
        qint64 hz = 0;
        int codeC = 0;
        int codeL = 0;
        std::optional<double> swr;
        int side = 1;
        bool pinned = false;
        bool computed = false; // from the antenna's measurement, never read on the radio
    };

    explicit TuneMap(QWidget *parent = nullptr);

    void show(qint64 low, qint64 high, const QList<Point> &points);
    const QList<Point> &points() const { return m_points; }

    // Where a code of a bank ('C' or 'L') at a frequency is drawn, in the widget.
    QPointF position(qint64 hz, char bank, int code) const;
    // The codes a bank's scale runs over: the band's own, with a little room.
    std::pair<int, int> scale(char bank) const;
    // Green to 1.5, amber to 2, red above, grey where no SWR was measured.
    static QColor colourOf(std::optional<double> swr);

    QSize sizeHint() const override { return {520, 240}; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QRectF plot(char bank) const;

    qint64 m_low = 0;
    qint64 m_high = 1;
    QList<Point> m_points;
};
