// What the console is measured against: a bare window of its size with a line of text that
// opens the same serial line and writes one packet at start and at every click. It links
// what such a program needs and nothing more, so that the toolkit, its fonts, the display and
// the line cost the same in both.

#include "link/packet.h"

#include <QApplication>
#include <QLabel>
#include <QSerialPort>

#include <functional>

namespace {

struct Bare : QLabel
{
    using QLabel::QLabel;
    std::function<void()> clicked;
    void mouseReleaseEvent(QMouseEvent *) override { clicked(); }
};

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    if (argc < 2)
        return 2;
    QSerialPort line(QString::fromLocal8Bit(argv[1]));
    line.setBaudRate(9600);
    if (!line.open(QIODevice::WriteOnly))
        return 1;
    const QByteArray packet = Packet::build(1, 0, 0);
    line.write(packet);
    line.flush();
    Bare bare(QStringLiteral("Orvane"));
    bare.clicked = [&] {
        line.write(packet);
        line.flush();
    };
    bare.setFixedSize(429, 575);
    bare.show();
    return app.exec();
}
