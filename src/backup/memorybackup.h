#pragma once

#include <QObject>

class Panel;

// The memories to a CSV table and back, from the running console: the table is written from
// conf.cfg as it stands; an import replaces conf.cfg whole, then the console reads its steps
// again and shows and sends the selected slot.
class MemoryBackup : public QObject
{
    Q_OBJECT
public:
    explicit MemoryBackup(Panel &panel, QObject *parent = nullptr);

    // Empty when it worked; otherwise why not, for the operator.
    QString exportTo(const QString &csvPath);
    QString importFrom(const QString &csvPath);

private:
    Panel &m_panel;
};
