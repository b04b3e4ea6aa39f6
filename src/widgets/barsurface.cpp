#include "barsurface.h"

#include <QEvent>
#include <QPaintEvent>
#include <QPainter>

#include <algorithm>
#include <cstdlib>

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
    // Zeroed memory is transparent already, and the system lends it page by page as it is
    // painted: the window's two bars cost their rows, not the whole window.
    const qsizetype line = qsizetype(size.width()) * 4;
    void *pixels = std::calloc(size_t(line) * size_t(std::max(size.height(), 1)), 1);
    QImage resized(static_cast<uchar *>(pixels), size.width(), size.height(), line,
                   QImage::Format_ARGB32_Premultiplied, std::free, pixels);
    if (!m_image.isNull())
        QPainter(&resized).drawImage(0, 0, m_image);
    m_image = resized;
}
