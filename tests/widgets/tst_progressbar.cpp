#include "model/valuetext.h"
#include "widgets/barsurface.h"
#include "widgets/consolefont.h"
#include "widgets/progressbar.h"

#include <QPainter>

#include <QTest>

class TestProgressBar : public QObject
{
    Q_OBJECT

    QWidget window;
    BarSurface *surface = nullptr;

    ProgressBar blueBar(int x1, int y1, int x2, int y2)
    {
        ProgressBar bar;
        bar.Blue1 = 20000;
        bar.Blue2 = 32767;
        bar.frm = surface;
        bar.X1 = x1;
        bar.Y1 = y1;
        bar.X2 = x2;
        bar.Y2 = y2;
        return bar;
    }
    QColor at(int x, int y) const { return surface->image().pixelColor(x, y); }
    int paintedPixels(const QRect &area) const
    {
        int count = 0;
        for (int y = area.top(); y <= area.bottom(); ++y)
            for (int x = area.left(); x <= area.right(); ++x)
                count += at(x, y).alpha() > 0 ? 1 : 0;
        return count;
    }

private slots:
    void init()
    {
        window.resize(429, 575);
        delete surface;
        surface = new BarSurface(&window);
    }

    void newBarIsAllZero()
    {
        const ProgressBar bar;
        QCOMPARE(bar.H_V, quint8(0));
        QCOMPARE(bar.X2, 0);
        QVERIFY(bar.Str.isEmpty());
        QVERIFY(bar.captionRect().isNull() || bar.captionRect().isEmpty());
    }

    void horizontalGradientRunsFromColour1ToColour2()
    {
        ProgressBar bar = blueBar(10, 5, 110, 20);
        bar.Fill();
        // Intensity is the high byte: 20000 → 78, 32767 → 127.
        QCOMPARE(at(10, 10), QColor(0, 0, 78));
        QCOMPARE(at(109, 10), QColor(0, 0, 127));
        const int middle = at(60, 10).blue();
        QVERIFY(middle > 78 && middle < 127);
        // The right and bottom edges are exclusive.
        QCOMPARE(at(110, 10).alpha(), 0);
        QCOMPARE(at(9, 10).alpha(), 0);
        QCOMPARE(at(50, 19), at(50, 5));
        QCOMPARE(at(50, 20).alpha(), 0);
        QCOMPARE(at(50, 4).alpha(), 0);
    }

    void verticalGradientRunsTopToBottom()
    {
        ProgressBar bar = blueBar(10, 10, 30, 60);
        bar.H_V = 1;
        bar.Fill();
        QCOMPARE(at(20, 10), QColor(0, 0, 78));
        QCOMPARE(at(20, 59), QColor(0, 0, 127));
        QCOMPARE(at(10, 30), at(29, 30));
    }

    void channelsAreTakenBitForBit()
    {
        ProgressBar bar = blueBar(0, 0, 2, 1);
        bar.Red1 = -1; // 0xFFFF: full intensity
        bar.Red2 = -1;
        bar.Green1 = 0x00FF; // low byte only: nothing
        bar.Fill();
        QCOMPARE(at(0, 0), QColor(255, 0, 78));
    }

    void emptyLevelPaintsNoGradientButStillTheCaption()
    {
        ProgressBar bar = blueBar(88, 58, 88, 80);
        bar.txtX1 = 88;
        bar.txtY1 = 56;
        bar.txtX2 = 417;
        bar.txtY2 = 81;
        bar.Aligment = 1;
        bar.SetRectangle();
        bar.Fill();
        QCOMPARE(paintedPixels(QRect(0, 0, 429, 575)), 0);
        bar.Str = QStringLiteral("0 pF");
        bar.DrwTxt();
        QVERIFY(paintedPixels(QRect(88, 56, 329, 25)) > 0);
        QCOMPARE(paintedPixels(QRect(0, 0, 429, 575)), paintedPixels(QRect(88, 56, 329, 25)));
    }

    // What a drag paints, for every level and caption of both bars, pixel for pixel as the
    // bar painted it column by column with a fresh layout each time.
    void aDragPaintsWhatColumnByColumnPainted()
    {
        window.setFont(consoleFont(13.5));
        surface->setFont(window.font());
        for (const bool inductance : {false, true}) {
            ProgressBar bar = blueBar(88, 58, 88, 80);
            if (inductance) {
                bar.Blue1 = bar.Blue2 = 0;
                bar.Green1 = 20000;
                bar.Green2 = 32767;
            }
            bar.txtX1 = 88;
            bar.txtY1 = 56;
            bar.txtX2 = 88 + 329;
            bar.txtY2 = 56 + 25;
            bar.Aligment = 1;
            bar.SetRectangle();
            for (int code = 0; code < 256; ++code) {
                const int width = barRight(88, 329, code) - 88;
                bar.X2 = 88 + width;
                bar.Str = inductance ? inductanceText(50, code) : capacitanceText(12, code);
                surface->clear(QRect(0, 0, 429, 575));
                bar.Fill();
                bar.DrwTxt();

                QImage expected(surface->image().size(), QImage::Format_ARGB32_Premultiplied);
                expected.fill(Qt::transparent);
                QPainter painter(&expected);
                for (int i = 0; i < width; ++i) {
                    const double t = width > 1 ? double(i) / (width - 1) : 0.0;
                    const int level = static_cast<int>(20000 + (32767.0 - 20000) * t) >> 8;
                    painter.fillRect(88 + i, 58, 1, 22,
                                     inductance ? QColor(0, level, 0) : QColor(0, 0, level));
                }
                painter.setFont(window.font());
                painter.setPen(surface->palette().color(QPalette::WindowText));
                painter.setClipRect(bar.captionRect());
                painter.drawText(bar.captionRect(), Qt::AlignHCenter | Qt::AlignTop, bar.Str);
                painter.end();
                QVERIFY2(surface->image() == expected, qPrintable(bar.Str));
            }
        }
    }

    void captionIsCentredAtTheTop()
    {
        ProgressBar bar;
        bar.frm = surface;
        bar.txtX1 = 100;
        bar.txtY1 = 200;
        bar.txtX2 = 300;
        bar.txtY2 = 240;
        bar.Aligment = 1;
        bar.SetRectangle();
        bar.Str = QStringLiteral("254.745 uH");
        bar.DrwTxt();
        int left = 1000, right = -1, top = 1000;
        for (int y = 195; y < 245; ++y) {
            for (int x = 95; x < 305; ++x) {
                if (at(x, y).alpha() > 0) {
                    left = std::min(left, x);
                    right = std::max(right, x);
                    top = std::min(top, y);
                }
            }
        }
        QVERIFY(right > left);
        QVERIFY(left >= 100 && right < 300 && top >= 200);
        QVERIFY(qAbs((left + right) / 2 - 200) <= 3);
        QVERIFY(top - 200 < 8);
    }

    void captionRectangleChangesOnlyWithSetRectangle()
    {
        ProgressBar bar;
        bar.txtX1 = 10;
        bar.txtY1 = 20;
        bar.txtX2 = 110;
        bar.txtY2 = 45;
        bar.SetRectangle();
        QCOMPARE(bar.captionRect(), QRect(10, 20, 100, 25));
        bar.txtX1 = 200;
        bar.txtX2 = 300;
        QCOMPARE(bar.captionRect(), QRect(10, 20, 100, 25));
        bar.SetRectangle();
        QCOMPARE(bar.captionRect(), QRect(200, 20, 100, 25));
    }

    void clearErasesOnlyItsRectangle()
    {
        ProgressBar bar = blueBar(0, 0, 100, 10);
        bar.Fill();
        surface->clear(QRect(0, 0, 50, 10));
        QCOMPARE(at(49, 5).alpha(), 0);
        QCOMPARE(at(50, 5).alpha(), 255);
    }
};

QTEST_MAIN(TestProgressBar)
#include "tst_progressbar.moc"
