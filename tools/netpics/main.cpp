// Draws the two L-network pictures that the console shows for the network side:
// HotEnd.jpg, capacitors on the transmitter side, and ColdEnd.jpg, on the antenna side.
// Usage: netpics OUTPUT_FOLDER

#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>

#include <cstdio>

namespace {

// Drawn in the picture box's own pixels and saved at twice that, for a clean scale-down.
constexpr int Width = 91;
constexpr int Height = 92;
constexpr int Scale = 2;
constexpr qreal WireY = 52;
constexpr qreal TxX = 5;
constexpr qreal AntX = 86;
constexpr qreal CoilLength = 32;
constexpr int CoilTurns = 4;

void drawCoil(QPainter &p, qreal from)
{
    const qreal turn = CoilLength / CoilTurns;
    QPainterPath path(QPointF(from, WireY));
    for (int i = 0; i < CoilTurns; ++i)
        path.arcTo(QRectF(from + i * turn, WireY - turn / 2, turn, turn), 180, -180);
    p.drawPath(path);
}

void drawCapacitorToGround(QPainter &p, qreal x)
{
    p.drawLine(QPointF(x, WireY), QPointF(x, 64));
    p.drawLine(QPointF(x - 8, 64), QPointF(x + 8, 64));
    p.drawLine(QPointF(x - 8, 69), QPointF(x + 8, 69));
    p.drawLine(QPointF(x, 69), QPointF(x, 78));
    for (int i = 0; i < 3; ++i)
        p.drawLine(QPointF(x - 9 + 3 * i, 78 + 3 * i), QPointF(x + 9 - 3 * i, 78 + 3 * i));
    p.setBrush(Qt::black);
    p.drawEllipse(QPointF(x, WireY), 1.5, 1.5);
    p.setBrush(Qt::NoBrush);
}

QImage drawNetwork(bool capacitorAtTransmitter)
{
    QImage image(Width * Scale, Height * Scale, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(Scale, Scale);
    p.setPen(QPen(Qt::black, 1.5, Qt::SolidLine, Qt::RoundCap));

    const qreal capacitorX = capacitorAtTransmitter ? 24 : 64;
    const qreal coilFrom = capacitorAtTransmitter ? 40 : 16;
    p.drawLine(QPointF(TxX, WireY), QPointF(coilFrom, WireY));
    drawCoil(p, coilFrom);
    p.drawLine(QPointF(coilFrom + CoilLength, WireY), QPointF(AntX, WireY));
    drawCapacitorToGround(p, capacitorX);

    p.setBrush(Qt::white);
    p.drawEllipse(QPointF(TxX, WireY), 2.5, 2.5);
    p.drawEllipse(QPointF(AntX, WireY), 2.5, 2.5);

    QFont font(QStringLiteral("DejaVu Sans"));
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(9);
    font.setBold(true);
    p.setFont(font);
    p.drawText(QRectF(0, WireY + 5, 22, 12), Qt::AlignLeft | Qt::AlignTop, QStringLiteral("TX"));
    p.drawText(QRectF(Width - 24, WireY + 5, 24, 12), Qt::AlignRight | Qt::AlignTop,
               QStringLiteral("ANT"));
    return image;
}

} // namespace

int main(int argc, char *argv[])
{
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: netpics OUTPUT_FOLDER\n");
        return 2;
    }
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    if (!folder.mkpath(QStringLiteral("."))) {
        std::fprintf(stderr, "netpics: cannot create %s\n", argv[1]);
        return 1;
    }
    const bool saved =
        drawNetwork(true).save(folder.filePath(QStringLiteral("HotEnd.jpg")), "JPG", 92) &&
        drawNetwork(false).save(folder.filePath(QStringLiteral("ColdEnd.jpg")), "JPG", 92);
    if (!saved) {
        std::fprintf(stderr, "netpics: cannot write the pictures to %s\n", argv[1]);
        return 1;
    }
    return 0;
}
