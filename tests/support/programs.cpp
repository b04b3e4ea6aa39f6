#include "programs.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>

#ifndef ORVANE_PROGRAM_DIR
#error "the tests need the build's program folder"
#endif

QString builtProgram(const QString &name)
{
    return QStringLiteral(ORVANE_PROGRAM_DIR) + QLatin1Char('/') + name;
}

ProgramFolder::ProgramFolder()
{
    const QDir built(QStringLiteral(ORVANE_PROGRAM_DIR));
    QDir().mkpath(path() + QStringLiteral("/img"));
    QDir().mkpath(m_temp.filePath(QStringLiteral("home")));
    m_valid = true;
    const QStringList files =
        built.entryList({QStringLiteral("orvane*")}, QDir::Files) +
        QStringList{QStringLiteral("img/HotEnd.jpg"), QStringLiteral("img/ColdEnd.jpg")};
    for (const QString &file : files)
        m_valid = QFile::copy(built.filePath(file), program(file)) && m_valid;
}

QProcessEnvironment ProgramFolder::environment() const
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("HOME"), m_temp.filePath(QStringLiteral("home")));
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.remove(QStringLiteral("XDG_DATA_HOME"));
    env.remove(QStringLiteral("XDG_CONFIG_HOME"));
    return env;
}

QString startAndReadLine(QProcess &process, const QString &program, const QStringList &arguments,
                         int timeoutMs)
{
    process.start(program, arguments);
    QElapsedTimer clock;
    clock.start();
    while (!process.canReadLine() && clock.elapsed() < timeoutMs &&
           process.state() != QProcess::NotRunning)
        process.waitForReadyRead(100);
    return QString::fromLocal8Bit(process.readLine()).trimmed();
}
