#include "virtualcontroller.h"

#include <QCoreApplication>
#include <QFileInfo>

VirtualController::VirtualController(QObject *parent)
    : QObject(parent)
{
    m_quiet.setSingleShot(true);
    m_quiet.setInterval(QuietMs);
    connect(&m_quiet, &QTimer::timeout, this, &VirtualController::endOfStream);
    connect(&m_watcher, &QFileSystemWatcher::fileChanged, this, &VirtualController::rereadConf);
    connect(&m_watcher, &QFileSystemWatcher::directoryChanged, this,
            &VirtualController::rereadConf);
}

void VirtualController::setSteps(const RelaySteps &steps)
{
    m_steps = steps;
    emit stepsChanged();
}

bool VirtualController::followConf(const QString &path, QString *error)
{
    const std::optional<RelaySteps> steps = RelaySteps::readFrom(path);
    if (!steps) {
        *error = QCoreApplication::translate("Sim", "не удалось прочитать %1").arg(path);
        return false;
    }
    m_conf = path;
    setSteps(*steps);
    // The folder too: a console that writes the file anew replaces it.
    m_watcher.addPath(path);
    m_watcher.addPath(QFileInfo(path).absolutePath());
    return true;
}

void VirtualController::rereadConf()
{
    if (!m_watcher.files().contains(m_conf) && QFileInfo::exists(m_conf))
        m_watcher.addPath(m_conf);
    const std::optional<RelaySteps> steps = RelaySteps::readFrom(m_conf);
    if (steps && (steps->stepC != m_steps.stepC || steps->stepL != m_steps.stepL))
        setSteps(*steps);
}

void VirtualController::receive(const QByteArray &bytes)
{
    take(m_decoder.feed(bytes));
    m_quiet.start();
}

void VirtualController::endOfStream()
{
    m_quiet.stop();
    take(m_decoder.finish());
}

void VirtualController::take(const QList<Packet::Decoded> &found)
{
    for (const Packet::Decoded &d : found) {
        const QDateTime now = QDateTime::currentDateTimeUtc();
        m_state.apply(d);
        m_log.write(now, d, m_state);
        emit decoded(now, d);
    }
}
