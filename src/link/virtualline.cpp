#include "virtualline.h"

#include "linetarget.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

namespace {
constexpr int StopMs = 2000;
} // namespace

VirtualLine::VirtualLine(QString program)
    : m_program(std::move(program))
{
    m_deadline.setSingleShot(true);
    QObject::connect(&m_deadline, &QTimer::timeout, &m_deadline, [this] {
        failed(QCoreApplication::translate("LineProblem", "%1 не ответил за %2 с")
                   .arg(QFileInfo(m_program).fileName())
                   .arg(StartMs / 1000));
    });
}

VirtualLine::~VirtualLine()
{
    close();
}

LineDevice::OpenResult VirtualLine::open(const LineSettings &settings)
{
    close();
    m_problem = {};
    m_settings = settings;
    m_folder = std::make_unique<QTemporaryDir>();
    m_process = std::make_unique<QProcess>();
    m_process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    QProcess *process = m_process.get();
    // The first line it prints is where it listens; by then the link is there too.
    QObject::connect(process, &QProcess::readyReadStandardOutput, process, [this, process] {
        if (m_line || !process->canReadLine())
            return;
        const QString printed = QString::fromLocal8Bit(process->readLine()).trimmed();
#ifdef Q_OS_WIN
        listening(printed);
#else
        Q_UNUSED(printed);
        listening(m_folder->filePath(QStringLiteral("tuner")));
#endif
    });
    QObject::connect(process, &QProcess::errorOccurred, process, [this, process] {
        if (!m_line)
            failed(process->errorString());
    });
    QObject::connect(process, &QProcess::finished, process, [this] {
        if (!m_line)
            failed(QCoreApplication::translate("LineProblem", "%1 завершился")
                       .arg(QFileInfo(m_program).fileName()));
    });
    m_deadline.start(StartMs);
#ifdef Q_OS_WIN
    // There it listens on a free loopback port unless told otherwise.
    process->start(m_program, QStringList());
#else
    process->start(m_program,
                   {QStringLiteral("--link"), m_folder->filePath(QStringLiteral("tuner"))});
#endif
    return OpenResult::Pending;
}

void VirtualLine::listening(const QString &where)
{
    m_deadline.stop();
    m_line = create(LineTarget::parse(where));
    m_line->accepting = [this] {
        if (accepting)
            accepting();
    };
    const auto ready = [this](bool open) {
        if (!open) {
            const LineProblem problem = m_line->problem();
            m_line.reset();
            failed(problem.text());
            return;
        }
        if (!m_backlog.isEmpty())
            m_line->write(std::exchange(m_backlog, {}));
        if (opened)
            opened(true);
    };
    m_line->opened = ready;
    switch (m_line->open(m_settings)) {
    case OpenResult::Open:
        return ready(true);
    case OpenResult::Failed:
        return ready(false);
    case OpenResult::Pending:
        return;
    }
}

void VirtualLine::failed(const QString &why)
{
    m_deadline.stop();
    m_problem = {LineProblem::Other, why};
    close();
    if (opened)
        opened(false);
}

void VirtualLine::close()
{
    m_deadline.stop();
    m_backlog.clear();
    if (m_line) {
        m_line->close();
        m_line.reset();
    }
    if (m_process) {
        m_process->disconnect();
        m_process->terminate();
        if (!m_process->waitForFinished(StopMs))
            m_process->kill();
        m_process.reset();
    }
    m_folder.reset();
}

bool VirtualLine::applySettings(const LineSettings &settings)
{
    m_settings = settings;
    return !m_line || m_line->applySettings(settings);
}

LineDevice::WriteResult VirtualLine::write(const QByteArray &bytes)
{
    if (!m_process)
        return WriteResult::Gone;
    if (m_line && !m_line->isOpening()) {
        const WriteResult result = m_line->write(bytes);
        m_problem = m_line->problem();
        return result;
    }
    if (m_backlog.size() + bytes.size() > MaxBacklog) {
        m_problem = {LineProblem::Stalled, {}};
        return WriteResult::Stalled;
    }
    m_backlog += bytes;
    return WriteResult::Accepted;
}
