#pragma once

#include "linedevice.h"

#include <QByteArray>
#include <QTimer>

#include <memory>

class QProcess;
class QTemporaryDir;

// The virtual controller as a port's device: orvane-sim started when the port opens and ended
// when it closes, on a pseudo-terminal behind a link in a folder of its own, or, where there
// are no pseudo-terminals (Windows), on a free TCP port of this computer. Opening waits for it
// in the background, as a network controller's connecting does.
class VirtualLine : public LineDevice
{
public:
    // What a port is mapped to for it, in the settings and on the command line.
    static constexpr const char *Name = "virtual";
    // The controller says where it listens within this, or it counts as absent.
    static constexpr int StartMs = 10000;
    // Written while it starts, kept for it; more is a line that takes nothing.
    static constexpr qsizetype MaxBacklog = 64 * 1024;

    explicit VirtualLine(QString program);
    ~VirtualLine() override;

    OpenResult open(const LineSettings &settings) override;
    void close() override;
    bool isOpen() const override { return m_process != nullptr; }
    bool isOpening() const override { return m_process && !m_line; }
    bool applySettings(const LineSettings &settings) override;
    WriteResult write(const QByteArray &bytes) override;

private:
    // The controller said where it listens: the line to it opens.
    void listening(const QString &where);
    void failed(const QString &why);

    QString m_program;
    LineSettings m_settings;
    std::unique_ptr<QTemporaryDir> m_folder;
    std::unique_ptr<QProcess> m_process;
    std::unique_ptr<LineDevice> m_line;
    QByteArray m_backlog;
    QTimer m_deadline;
};
