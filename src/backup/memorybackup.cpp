#include "memorybackup.h"

#include "memorytable.h"
#include "panel/panel.h"

MemoryBackup::MemoryBackup(Panel &panel, QObject *parent)
    : QObject(parent)
    , m_panel(panel)
{}

QString MemoryBackup::exportTo(const QString &csvPath)
{
    QString error;
    if (!MemoryFiles::exportTo(m_panel.settingsPath(), csvPath, &error))
        return tr("Экспорт не удался:\n%1").arg(error);
    m_panel.say(tr("Экспортировано в %1").arg(csvPath));
    return {};
}

QString MemoryBackup::importFrom(const QString &csvPath)
{
    QString error;
    int count = 0;
    if (!MemoryFiles::importFrom(csvPath, m_panel.settingsPath(), &error, &count))
        return tr("Импорт не выполнен, файл настроек не изменён:\n%1").arg(error);
    if (!m_panel.settingsReplaced())
        return tr("Не удалось открыть файл настроек:\n%1").arg(m_panel.settingsPath());
    m_panel.say(tr("Импортировано ячеек: %1").arg(count));
    return {};
}
