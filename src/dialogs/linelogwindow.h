#pragma once

#include "link/linelog.h"

#include <QDialog>

class ConsoleDialogs;
class QPlainTextEdit;
class QPushButton;

// "Журнал линии": what went on the line and why, newest last, as it happens. Paused, it
// shows nothing new until it goes on; the log itself keeps everything.
class LineLogWindow : public QDialog
{
    Q_OBJECT
public:
    LineLogWindow(LineLog &log, ConsoleDialogs *dialogs, QWidget *parent = nullptr);

    QString text() const;

public slots:
    void setPaused(bool paused);
    void clear();
    void saveAs();

private:
    void reload();
    void add(const LineLog::Entry &entry);

    LineLog &m_log;
    ConsoleDialogs *m_dialogs;
    QPlainTextEdit *m_view;
    QPushButton *m_pause;
    bool m_paused = false;
};
