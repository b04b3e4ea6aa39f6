#pragma once

#include <QByteArray>
#include <QIODevice>

// Text lines from a peer, each of bounded length: a line longer than the cap is the peer's
// fault, and nothing of it is held beyond the cap.
namespace LineReader {

constexpr qsizetype DefaultMaxLine = 4096;

enum class Status { Line, NoLine, TooLong };

// The next whole line without its end, left in the device (size: what to skip past it), so
// that a line still being answered keeps the connection's buffer from running dry.
inline Status peek(QIODevice &device, QByteArray *line, qsizetype *size,
                   qsizetype maxLine = DefaultMaxLine)
{
    const QByteArray ahead = device.peek(maxLine + 1);
    const qsizetype end = ahead.indexOf('\n');
    if (end < 0)
        return ahead.size() > maxLine ? Status::TooLong : Status::NoLine;
    QByteArray read = ahead.left(end);
    if (read.endsWith('\r'))
        read.chop(1);
    *line = std::move(read);
    *size = end + 1;
    return Status::Line;
}

// The next whole line without its end, or why there is none yet.
inline Status next(QIODevice &device, QByteArray *line, qsizetype maxLine = DefaultMaxLine)
{
    qsizetype size = 0;
    const Status status = peek(device, line, &size, maxLine);
    if (status == Status::Line)
        device.skip(size);
    return status;
}

// A line a browser or another HTTP client sends: a request line ("POST / HTTP/1.1") or a
// header a line protocol never has. A page the operator visits can make the browser post a
// body of command lines to any port on this computer; such a connection is to be closed
// before anything of it runs.
inline bool isHttp(const QByteArray &line)
{
    const QByteArray lower = line.trimmed().toLower();
    if (lower.startsWith("host:") || lower.startsWith("origin:"))
        return true;
    const qsizetype space = lower.indexOf(' ');
    if (space <= 0)
        return false;
    const QByteArray method = lower.left(space);
    for (const char *known : {"get", "post", "put", "delete", "head", "options", "patch", "connect",
                              "trace", "propfind"}) {
        if (method == known)
            return lower.contains(" http/");
    }
    return lower.endsWith(" http/1.0") || lower.endsWith(" http/1.1") || lower.endsWith(" http/2");
}

} // namespace LineReader
