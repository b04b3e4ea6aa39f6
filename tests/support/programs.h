#pragma once

#include <QProcess>
#include <QString>
#include <QTemporaryDir>

// The built programs, copied into a program folder of their own so that what they write
// (conf.cfg above all) stays in a temporary folder.
class ProgramFolder
{
public:
    ProgramFolder();

    bool isValid() const { return m_valid; }
    QString path() const { return m_temp.filePath(QStringLiteral("program")); }
    QString program(const QString &name) const { return path() + QLatin1Char('/') + name; }
    QString settingsPath() const { return program(QStringLiteral("conf.cfg")); }
    // An offscreen session with a home of its own.
    QProcessEnvironment environment() const;

private:
    QTemporaryDir m_temp;
    bool m_valid = false;
};

// The program as the build made it, in its own program folder.
QString builtProgram(const QString &name);

// Starts a program and waits for the first line it prints on standard output.
QString startAndReadLine(QProcess &process, const QString &program, const QStringList &arguments,
                         int timeoutMs = 10000);
