#include "barsurface.h"

#include <QEvent>
#include <QPaintEvent>
#include <QPainter>

BarSurface::BarSurface(QWidget *window)
    : QWidget(window)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoSystemBackground);
    setFocusPolicy(Qt::NoFocus);
    window->installEventFilter(this);
    fitWindow();
    raise();
}

void BarSurface::clear(const QRect &rect)
{
    QPainter painter(&m_image);
    painter.setCompositionMode(QPainter::CompositionMode_Clear);
    painter.fillRect(rect, Qt::transparent);
    const QRegion erased = m_painted.intersected(rect);
    m_painted -= rect;
    update(erased);
}

void BarSurface::paintEvent(QPaintEvent *event)
{
    QPainter painter(this);
    painter.drawImage(event->rect(), m_image, event->rect());
}

bool BarSurface::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == parentWidget()) {
        if (event->type() == QEvent::Resize)
            fitWindow();
        else if (event->type() == QEvent::ChildAdded)
            raise();
    }
    return QWidget::eventFilter(watched, event);
}

void BarSurface::fitWindow()
{
    const QSize size = parentWidget()->size();
    setGeometry(QRect(QPoint(0, 0), size));
    if (m_image.size() == size)
        return;
    QImage resized(size, QImage::Format_ARGB32_Premultiplied);
    resized.fill(Qt::transparent);
    QPainter(&resized).drawImage(0, 0, m_image);
    m_image = resized;
}
