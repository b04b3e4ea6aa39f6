#pragma once

#include <QByteArray>
#include <QIODevice>

// Text lines from a peer, each of bounded length: a line longer than the cap is the peer's
// fault, and nothing of it is held beyond the cap.
namespace LineReader {

constexpr qsizetype DefaultMaxLine = 4096;

enum class Status { Line, NoLine, TooLong };

// The next whole line without its end, or why there is none yet.
inline Status next(QIODevice &device, QByteArray *line, qsizetype maxLine = DefaultMaxLine)
{
    if (!device.canReadLine())
        return device.bytesAvailable() > maxLine ? Status::TooLong : Status::NoLine;
    QByteArray read = device.readLine(maxLine + 2);
    if (!read.endsWith('\n'))
        return Status::TooLong;
    read.chop(1);
    if (read.endsWith('\r'))
        read.chop(1);
    *line = std::move(read);
    return Status::Line;
}

} // namespace LineReader
