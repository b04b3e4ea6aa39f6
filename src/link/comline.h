#pragma once

#include "linedevice.h"

#include <QByteArray>

#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>

// A Windows COM port at the console's line settings, through the Win32 communications API.
// Writing is a thread's own work: the window hands a packet over and goes on. A burst (a
// recall's three packets) waits its turn behind the one being written; a line that has taken
// nothing for the write timeout drops what comes next, as a full serial buffer does on Linux.
class ComLine : public LineDevice
{
public:
    // How long one WriteFile may take before the line counts as stalled.
    static constexpr unsigned WriteTimeoutMs = 2000;
    // What may wait for the line at once: a burst of packets, not a backlog.
    static constexpr qsizetype MaxPending = 1024;

    // device: "COM3", or the full "\\.\COM3".
    explicit ComLine(const QString &device);
    ~ComLine() override;

    OpenResult open(const LineSettings &settings) override;
    void close() override;
    bool isOpen() const override { return m_handle != nullptr; }
    bool applySettings(const LineSettings &settings) override;
    WriteResult write(const QByteArray &bytes) override;

private:
    void run();
    void stopWriter();

    QString m_device;
    void *m_handle = nullptr;
    std::thread m_writer;
    std::mutex m_mutex;
    std::condition_variable m_wake;
    // Shared with the writer, under the mutex.
    QByteArray m_pending;
    bool m_stop = false;
    bool m_failed = false;
    bool m_stuck = false;
    unsigned long m_error = 0;
};
