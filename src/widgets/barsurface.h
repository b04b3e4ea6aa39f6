#pragma once

#include <QImage>
#include <QRegion>
#include <QWidget>

// A transparent layer over the whole window that keeps what the bars painted. Painters draw
// into image() at any time; the layer shows it on its next paint, above every control, and
// lets the mouse through to the controls beneath.
class BarSurface : public QWidget
{
    Q_OBJECT
public:
    explicit BarSurface(QWidget *window);

    QImage &image() { return m_image; }
    const QImage &image() const { return m_image; }

    // Erases what was painted in rect, in window pixels.
    void clear(const QRect &rect);
    // Schedules rect, in window pixels, to be shown.
    void changed(const QRect &rect)
    {
        m_painted += rect;
        update(rect);
    }

protected:
    void paintEvent(QPaintEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void fitWindow();

    QImage m_image;
    // Where something was painted since it was last cleared: only that needs the screen again
    // when it is erased.
    QRegion m_painted;
};
