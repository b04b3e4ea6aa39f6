#include "linedevice.h"

#include "networkline.h"
#include "serialline.h"

#include <QCoreApplication>

std::unique_ptr<LineDevice> LineDevice::create(const LineTarget &target)
{
    if (target.isNetwork())
        return std::make_unique<NetworkLine>(target.host, target.port);
    return std::make_unique<SerialLine>(target.device);
}

QString LineProblem::text() const
{
    const auto tr = [](const char *text) {
        return QCoreApplication::translate("LineProblem", text);
    };
    switch (kind) {
    case None:
        return {};
    case NotFound:
        return tr("нет такого устройства");
    case PermissionDenied:
        return tr("нет прав на чтение и запись");
    case Busy:
        return pid > 0 ? tr("занят процессом %1").arg(pid) : tr("занят другой программой");
    case StaleLock:
        return tr("остался файл блокировки %1 от завершённого процесса %2").arg(detail).arg(pid);
    case NotSerial:
        return tr("не последовательный порт");
    case Refused:
        return tr("нет соединения: %1").arg(detail);
    case Stalled:
        return tr("линия не принимает данные");
    case Lost:
        return detail.isEmpty() ? tr("связь потеряна") : tr("связь потеряна: %1").arg(detail);
    case Other:
        return detail;
    }
    return detail;
}
