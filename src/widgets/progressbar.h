#pragma once

#include <QFont>
#include <QHash>
#include <QImage>
#include <QRect>
#include <QStaticText>
#include <QString>

#include <array>

class BarSurface;

// A level bar painted onto a surface: a two-colour gradient over a rectangle and a caption
// over it. It erases nothing; the owner clears the area first and paints again after the
// surface was cleared. A drag paints on every pointer move, so what repeats is kept: the
// gradient of each length, made once, and the caption's layout.
class ProgressBar
{
public:
    // Colour channels are 16-bit; the high byte is the intensity painted (32767 → 127).
    qint16 Red1 = 0;
    qint16 Green1 = 0;
    qint16 Blue1 = 0;
    qint16 Alfa1 = 0;
    qint16 Red2 = 0;
    qint16 Green2 = 0;
    qint16 Blue2 = 0;
    qint16 Alfa2 = 0;
    BarSurface *frm = nullptr;
    // The gradient rectangle; X2 and Y2 are exclusive.
    qint32 X1 = 0;
    qint32 Y1 = 0;
    qint32 X2 = 0;
    qint32 Y2 = 0;
    // 0: colour 1 on the left, colour 2 on the right; 1: top to bottom.
    quint8 H_V = 0;
    // The caption rectangle, taken over by the next SetRectangle.
    qint32 txtX1 = 0;
    qint32 txtY1 = 0;
    qint32 txtX2 = 0;
    qint32 txtY2 = 0;
    QString Str;
    // Text format flags: 1 centres the caption at the top of its rectangle.
    quint8 Aligment = 0;

    void Fill();
    void DrwTxt();
    void SetRectangle();

    QRect captionRect() const { return m_caption; }

private:
    // The gradient over n pixels as one line, column by column from colour 1 to colour 2.
    const QImage &ramp(int n);

    QRect m_caption;
    QHash<int, QImage> m_ramps;
    std::array<quint16, 7> m_rampColours{};
    QStaticText m_text;
    QFont m_textFont;
};
