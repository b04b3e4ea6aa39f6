#include "unprivileged.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <unistd.h>

namespace Unprivileged {

bool isRoot()
{
    return ::geteuid() == 0;
}

bool rerunCurrentTest(QString *output)
{
    // The copy and its home must be reachable for nobody, wherever the build tree lives.
    QTemporaryDir folder;
    QFile::setPermissions(folder.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                                             QFile::ReadOther | QFile::ExeOther | QFile::ReadGroup |
                                             QFile::ExeGroup);
    const QString copy = folder.filePath(QStringLiteral("test"));
    const QString home = folder.filePath(QStringLiteral("home"));
    if (!QFile::copy(QCoreApplication::applicationFilePath(), copy) || !QDir().mkpath(home)) {
        *output = QStringLiteral("cannot prepare the unprivileged copy in ") + folder.path();
        return false;
    }
    QFile::setPermissions(copy,
                          QFile::ReadOwner | QFile::ExeOwner | QFile::ReadOther | QFile::ExeOther);
    QFile::setPermissions(home, QFile::Permissions(0x7777));

    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("HOME"), home);
    env.remove(QStringLiteral("XDG_RUNTIME_DIR"));
    // The leak checker's suppressions may lie where nobody cannot read them.
    env.insert(QStringLiteral("ASAN_OPTIONS"),
               env.value(QStringLiteral("ASAN_OPTIONS")) + QStringLiteral(":detect_leaks=0"));
    env.remove(QStringLiteral("LSAN_OPTIONS"));

    QString function = QString::fromLatin1(QTest::currentTestFunction());
    if (const char *tag = QTest::currentDataTag())
        function += QLatin1Char(':') + QString::fromUtf8(tag);
    QProcess process;
    process.setProcessEnvironment(env);
    process.setWorkingDirectory(folder.path());
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(QStringLiteral("setpriv"),
                  {QStringLiteral("--reuid=65534"), QStringLiteral("--regid=65534"),
                   QStringLiteral("--clear-groups"), QStringLiteral("--"), copy, function});
    const bool finished = process.waitForFinished(90000);
    *output = QString::fromLocal8Bit(process.readAll());
    // A skip counts as a failure: it would hide the very case this is for.
    return finished && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0 &&
           output->contains(QStringLiteral(" 0 failed, 0 skipped"));
}

} // namespace Unprivileged
