#pragma once

#include <QProcess>
#include <QTemporaryDir>

// The virtual controller as a port's device: orvane-sim on a pseudo-terminal behind a link
// in a folder of its own, for as long as the console runs.
class VirtualLine
{
public:
    ~VirtualLine();

    // Starts the controller and waits for its line; false when it did not come.
    bool start(const QString &simProgram);
    QString link() const { return m_folder.filePath(QStringLiteral("tuner")); }

private:
    QTemporaryDir m_folder;
    QProcess m_process;
};
