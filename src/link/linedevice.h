#pragma once

#include "linesettings.h"
#include "linetarget.h"

#include <QByteArray>
#include <QString>

#include <memory>

// Why a line could not be opened or written.
struct LineProblem
{
    enum Kind {
        None,
        NotFound,
        PermissionDenied,
        Busy,
        StaleLock,
        NotSerial,
        Refused,
        Stalled,
        Lost,
        Other
    };
    Kind kind = None;
    QString detail; // the system's own words, a lock file path or a process id
    qint64 pid = 0;

    // The reason in the operator's words, for a tooltip.
    QString text() const;
};

// One open line to the controller: a serial device or a TCP stream. Nothing here waits on the
// line: a write hands its bytes over at once or not at all.
class LineDevice
{
public:
    enum class WriteResult { Accepted, Stalled, Gone };

    virtual ~LineDevice() = default;

    virtual bool open(const LineSettings &settings) = 0;
    // Lets what was accepted go out.
    virtual void close() = 0;
    virtual bool isOpen() const = 0;
    virtual bool applySettings(const LineSettings &settings) = 0;
    // A packet is handed over whole or dropped whole.
    virtual WriteResult write(const QByteArray &bytes) = 0;

    const LineProblem &problem() const { return m_problem; }

    static std::unique_ptr<LineDevice> create(const LineTarget &target);

protected:
    LineProblem m_problem;
};
