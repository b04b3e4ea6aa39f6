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

const QImage &ProgressBar::ramp(int n)
{
    // Channels go bit for bit as unsigned 16-bit values.
    const quint16 from[3] = {quint16(Red1), quint16(Green1), quint16(Blue1)};
    const quint16 to[3] = {quint16(Red2), quint16(Green2), quint16(Blue2)};
    const std::array<quint16, 7> colours{from[0], from[1], from[2], to[0], to[1], to[2], H_V};
    if (colours != m_rampColours) {
        m_ramps.clear();
        m_rampColours = colours;
    }
    auto it = m_ramps.find(n);
    if (it != m_ramps.end())
        return *it;
    const bool horizontal = H_V == 0;
    QImage line(horizontal ? n : 1, horizontal ? 1 : n, QImage::Format_ARGB32_Premultiplied);
    for (int i = 0; i < n; ++i) {
        // The first line has colour 1 exactly, the last colour 2.
        const double t = n > 1 ? double(i) / (n - 1) : 0.0;
        const QRgb colour = qRgb(intensity(from[0] + (double(to[0]) - from[0]) * t),
                                 intensity(from[1] + (double(to[1]) - from[1]) * t),
                                 intensity(from[2] + (double(to[2]) - from[2]) * t));
        line.setPixel(horizontal ? i : 0, horizontal ? 0 : i, colour);
    }
    return *m_ramps.insert(n, line);
}

void ProgressBar::Fill()
{
    const QRect area(QPoint(X1, Y1), QPoint(X2 - 1, Y2 - 1));
    if (!frm || area.isEmpty() || H_V > 1)
        return;
    const QImage &line = ramp(H_V == 0 ? area.width() : area.height());
    // One line stretched across the other way: each pixel takes its column's (or row's)
    // colour, nothing in between.
    QPainter(&frm->image()).drawImage(area, line);
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
    if (Aligment != Center) {
        QRect drawn;
        painter.drawText(m_caption, textFlags(Aligment), Str, &drawn);
        frm->changed(drawn.intersected(m_caption));
        return;
    }
    // Centred at the top, as the text call lays it out, from a layout made once per text.
    if (m_text.text() != Str || m_textFont != frm->font()) {
        m_text = QStaticText(Str);
        m_text.setTextFormat(Qt::PlainText);
        m_text.prepare(QTransform(), frm->font());
        m_textFont = frm->font();
    }
    const QSizeF size = m_text.size();
    const QPointF at(m_caption.x() + (m_caption.width() - size.width()) / 2, m_caption.y());
    painter.drawStaticText(at, m_text);
    frm->changed(QRectF(at, size).toAlignedRect().adjusted(-1, 0, 1, 0).intersected(m_caption));
}

void ProgressBar::SetRectangle()
{
    m_caption = QRect(QPoint(txtX1, txtY1), QPoint(txtX2 - 1, txtY2 - 1));
}
