#include "progressbar.h"

#include "barsurface.h"

#include <QPainter>

namespace {

// Format flags of the caption, as the text call of the original platform reads them.
enum : quint8 {
    Center = 0x01,
    Right = 0x02,
    VCenter = 0x04,
    Bottom = 0x08,
    WordBreak = 0x10,
    SingleLine = 0x20,
};

int intensity(double channel)
{
    return static_cast<int>(channel) >> 8;
}

int textFlags(quint8 format)
{
    int flags = (format & Right)    ? Qt::AlignRight
                : (format & Center) ? Qt::AlignHCenter
                                    : Qt::AlignLeft;
    if ((format & SingleLine) && (format & Bottom))
        flags |= Qt::AlignBottom;
    else if ((format & SingleLine) && (format & VCenter))
        flags |= Qt::AlignVCenter;
    else
        flags |= Qt::AlignTop;
    if (format & WordBreak)
        flags |= Qt::TextWordWrap;
    return flags;
}

} // namespace

void ProgressBar::Fill()
{
    const QRect area(QPoint(X1, Y1), QPoint(X2 - 1, Y2 - 1));
    if (!frm || area.isEmpty() || H_V > 1)
        return;
    // Channels go bit for bit as unsigned 16-bit values.
    const double from[3] = {double(quint16(Red1)), double(quint16(Green1)), double(quint16(Blue1))};
    const double to[3] = {double(quint16(Red2)), double(quint16(Green2)), double(quint16(Blue2))};
    const bool horizontal = H_V == 0;
    const int steps = horizontal ? area.width() : area.height();

    QPainter painter(&frm->image());
    for (int i = 0; i < steps; ++i) {
        // The first line has colour 1 exactly, the last colour 2.
        const double t = steps > 1 ? double(i) / (steps - 1) : 0.0;
        const QColor colour(intensity(from[0] + (to[0] - from[0]) * t),
                            intensity(from[1] + (to[1] - from[1]) * t),
                            intensity(from[2] + (to[2] - from[2]) * t));
        if (horizontal)
            painter.fillRect(area.left() + i, area.top(), 1, area.height(), colour);
        else
            painter.fillRect(area.left(), area.top() + i, area.width(), 1, colour);
    }
    frm->changed(area);
}

void ProgressBar::DrwTxt()
{
    if (!frm || Str.isEmpty())
        return;
    QPainter painter(&frm->image());
    painter.setFont(frm->font());
    painter.setPen(frm->palette().color(QPalette::WindowText));
    painter.setClipRect(m_caption);
    QRect drawn;
    painter.drawText(m_caption, textFlags(Aligment), Str, &drawn);
    frm->changed(drawn.intersected(m_caption));
}

void ProgressBar::SetRectangle()
{
    m_caption = QRect(QPoint(txtX1, txtY1), QPoint(txtX2 - 1, txtY2 - 1));
}
