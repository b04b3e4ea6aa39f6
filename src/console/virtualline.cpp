#include "virtualline.h"

#include <QFileInfo>

namespace {
constexpr int StartMs = 10000;
} // namespace

VirtualLine::~VirtualLine()
{
    m_process.terminate();
    if (!m_process.waitForFinished(2000))
        m_process.kill();
}

bool VirtualLine::start(const QString &simProgram)
{
    if (!m_folder.isValid())
        return false;
    m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
#ifdef Q_OS_WIN
    // There it listens on a free loopback port unless told otherwise.
    m_process.start(simProgram, QStringList());
#else
    const QString link = m_folder.filePath(QStringLiteral("tuner"));
    m_process.start(simProgram, {QStringLiteral("--link"), link});
#endif
    // The first line it prints is where it listens; by then a link is there too.
    if (!m_process.waitForReadyRead(StartMs))
        return false;
#ifdef Q_OS_WIN
    m_target = QString::fromLocal8Bit(m_process.readLine()).trimmed();
    return !m_target.isEmpty();
#else
    m_target = link;
    return QFileInfo(link).isSymLink();
#endif
}
