#pragma once

#include <QList>
#include <QPoint>
#include <QProcessEnvironment>
#include <QStringList>

#include <functional>

// A program as an operator meets it on an X display: started, its window mapped; clicked
// with the pointer (the X server's own test extension, as a mouse would), the packet on the
// line; its memory once it has settled. The console and a bare window are measured the same
// way, so that what the figures compare is the programs.
struct AsOperator
{
    struct Program
    {
        QString path;
        QStringList arguments;
        // Where a click goes, in the window.
        QPoint clickAt;
    };
    struct Figures
    {
        QList<double> startupMs; // process start to the window mapped
        QList<double> clickMs;   // pointer release to the packet decoded
        double peakMb = 0;       // VmHWM 2.5 s after the window mapped
    };

    // The most memory the process has held (VmHWM), MB.
    static double peakMegabytes(qint64 pid);
    // Whether this display can be driven so (an X server with the test extension).
    static bool available();
    // runs starts, each to its mapped window; in the last, clicks clicks. awaitPacket waits
    // for one packet on the controller's line, false when none came in time.
    static Figures measure(const Program &program, const QProcessEnvironment &environment, int runs,
                           int clicks, const std::function<bool()> &awaitPacket);
};
