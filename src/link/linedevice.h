#pragma once

#include "linesettings.h"
#include "linetarget.h"

#include <QByteArray>
#include <QString>

#include <functional>
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
    // What the operator can do about it, where there is something to do.
    QString advice() const;
};

// One open line to the controller: a serial device or a TCP stream. Nothing here waits on the
// line: a write hands its bytes over at once or not at all.
class LineDevice
{
public:
    enum class WriteResult { Accepted, Stalled, Gone };
    // A network line connects in the background: Pending, and opened() tells the outcome.
    enum class OpenResult { Open, Pending, Failed };

    virtual ~LineDevice() = default;

    virtual OpenResult open(const LineSettings &settings) = 0;
    // Lets what was accepted go out.
    virtual void close() = 0;
    virtual bool isOpen() const = 0;
    virtual bool isOpening() const { return false; }
    virtual bool applySettings(const LineSettings &settings) = 0;
    // A packet is handed over whole or dropped whole.
    virtual WriteResult write(const QByteArray &bytes) = 0;

    const LineProblem &problem() const { return m_problem; }

    // virtualProgram: the virtual controller's program, for a target named VirtualLine::Name.
    static std::unique_ptr<LineDevice> create(const LineTarget &target,
                                              const QString &virtualProgram = {});
    // The system's serial device: each platform's line defines this.
    static std::unique_ptr<LineDevice> serial(const QString &device);

    // Called once when a Pending open ends: true when the line stands.
    std::function<void(bool)> opened;
    // Called once the line takes bytes again after a write it refused as Stalled.
    std::function<void()> accepting;

protected:
    LineProblem m_problem;
};
