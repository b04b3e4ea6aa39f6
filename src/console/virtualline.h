#pragma once

#include <QProcess>
#include <QTemporaryDir>

// The virtual controller as a port's device, for as long as the console runs: orvane-sim on a
// pseudo-terminal behind a link in a folder of its own, or, where there are no
// pseudo-terminals (Windows), on a free TCP port of this computer.
class VirtualLine
{
public:
    ~VirtualLine();

    // Starts the controller and waits for its line; false when it did not come.
    bool start(const QString &simProgram);
    // What the port opens: the link, or HOST:PORT.
    QString target() const { return m_target; }

private:
    QTemporaryDir m_folder;
    QProcess m_process;
    QString m_target;
};
