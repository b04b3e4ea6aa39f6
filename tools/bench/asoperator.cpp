#include "asoperator.h"

#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QThread>

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>

double AsOperator::peakMegabytes(qint64 pid)
{
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').first().toDouble() / 1024.0;
    }
    return 0;
}

namespace {

qint64 pidOf(Display *display, Window window)
{
    const Atom property = XInternAtom(display, "_NET_WM_PID", True);
    if (property == None)
        return 0;
    Atom type = None;
    int format = 0;
    unsigned long count = 0;
    unsigned long after = 0;
    unsigned char *data = nullptr;
    qint64 pid = 0;
    if (XGetWindowProperty(display, window, property, 0, 1, False, XA_CARDINAL, &type, &format,
                           &count, &after, &data) == Success &&
        data && count == 1 && format == 32)
        pid = qint64(*reinterpret_cast<unsigned long *>(data));
    if (data)
        XFree(data);
    return pid;
}

// The process's top-level window once it is mapped; waits for it at most ms.
Window awaitMapped(Display *display, qint64 pid, int ms)
{
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < ms) {
        while (XPending(display)) {
            XEvent event;
            XNextEvent(display, &event);
            if (event.type == MapNotify && pidOf(display, event.xmap.window) == pid)
                return event.xmap.window;
        }
        QThread::usleep(200);
    }
    return None;
}

} // namespace

bool AsOperator::available()
{
    Display *display = XOpenDisplay(nullptr);
    if (!display)
        return false;
    int event = 0, error = 0, major = 0, minor = 0;
    const bool xtest = XTestQueryExtension(display, &event, &error, &major, &minor);
    XCloseDisplay(display);
    return xtest;
}

AsOperator::Figures AsOperator::measure(const Program &program,
                                        const QProcessEnvironment &environment, int runs,
                                        int clicks, const std::function<bool()> &awaitPacket)
{
    Figures figures;
    Display *display = XOpenDisplay(nullptr);
    if (!display)
        return figures;
    const Window root = DefaultRootWindow(display);
    XSelectInput(display, root, SubstructureNotifyMask);
    XSync(display, True);
    for (int run = 0; run < runs; ++run) {
        QProcess process;
        process.setProcessEnvironment(environment);
        QElapsedTimer clock;
        clock.start();
        process.start(program.path, program.arguments);
        const Window window = awaitMapped(display, process.processId(), 10000);
        if (window == None) {
            process.kill();
            process.waitForFinished();
            continue;
        }
        figures.startupMs << clock.nsecsElapsed() / 1e6;
        if (run == runs - 1) {
            QThread::msleep(2500);
            figures.peakMb = peakMegabytes(process.processId());
            int x = 0;
            int y = 0;
            Window child = None;
            XTranslateCoordinates(display, window, root, program.clickAt.x(), program.clickAt.y(),
                                  &x, &y, &child);
            XTestFakeMotionEvent(display, -1, x, y, CurrentTime);
            XFlush(display);
            QThread::msleep(100);
            while (awaitPacket()) {
            }
            for (int i = 0; i < clicks; ++i) {
                XTestFakeButtonEvent(display, 1, True, CurrentTime);
                XFlush(display);
                QThread::msleep(5);
                QElapsedTimer click;
                click.start();
                XTestFakeButtonEvent(display, 1, False, CurrentTime);
                XFlush(display);
                if (awaitPacket())
                    figures.clickMs << click.nsecsElapsed() / 1e6;
                QThread::msleep(30);
            }
        }
        process.terminate();
        if (!process.waitForFinished(5000))
            process.kill();
        XSync(display, True);
    }
    XCloseDisplay(display);
    return figures;
}
