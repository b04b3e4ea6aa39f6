#include "virtualline.h"

#include <QFileInfo>

namespace {
constexpr int StartMs = 10000;
} // namespace

VirtualLine::~VirtualLine()
{
    m_process.terminate();
    m_process.waitForFinished(2000);
}

bool VirtualLine::start(const QString &simProgram)
{
    if (!m_folder.isValid())
        return false;
    m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_process.start(simProgram, {QStringLiteral("--link"), link()});
    // The first line it prints is its device; by then the link is there.
    return m_process.waitForReadyRead(StartMs) && QFileInfo(link()).isSymLink();
}
