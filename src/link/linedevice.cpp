#include "linedevice.h"

#include "networkline.h"
#include "virtualline.h"

#include <QCoreApplication>

namespace {

// The reasons, for translation.
struct ProblemText
{
    Q_DECLARE_TR_FUNCTIONS(LineProblem)
};

} // namespace

std::unique_ptr<LineDevice> LineDevice::create(const LineTarget &target,
                                               const QString &virtualProgram)
{
    if (!virtualProgram.isEmpty() && target.device == QLatin1String(VirtualLine::Name))
        return std::make_unique<VirtualLine>(virtualProgram);
    if (target.isNetwork())
        return std::make_unique<NetworkLine>(*target.server);
    return serial(target.device);
}

QString LineProblem::text() const
{
    switch (kind) {
    case None:
        return {};
    case NotFound:
        return ProblemText::tr("нет такого устройства");
    case PermissionDenied:
        return ProblemText::tr("нет прав на чтение и запись");
    case Busy:
        return pid > 0 ? ProblemText::tr("занят процессом %1").arg(pid)
                       : ProblemText::tr("занят другой программой");
    case StaleLock:
        return ProblemText::tr("остался файл блокировки %1 от завершённого процесса %2")
            .arg(detail)
            .arg(pid);
    case NotSerial:
        return ProblemText::tr("не последовательный порт");
    case Refused:
        return ProblemText::tr("нет соединения: %1").arg(detail);
    case Stalled:
        return ProblemText::tr("линия не принимает данные");
    case Lost:
        return detail.isEmpty() ? ProblemText::tr("связь потеряна")
                                : ProblemText::tr("связь потеряна: %1").arg(detail);
    case Other:
        return detail;
    }
    return detail;
}

QString LineProblem::advice() const
{
#ifdef Q_OS_LINUX
    if (kind == PermissionDenied)
        return ProblemText::tr("Последовательные порты принадлежат группе dialout. Добавьте себя в "
                               "неё:\nsudo adduser $USER dialout\nи войдите в систему заново.");
#endif
    return {};
}
