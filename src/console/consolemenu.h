#pragma once

#include "dialogs/frequencymemorywindow.h"
#include "dialogs/linelogwindow.h"
#include "environment.h"

#include <QObject>
#include <QPointer>

#include <memory>

class Doors;
class Following;
class Panel;
class QDialog;
class QMenu;
class QWidget;
class Station;

// The menu of the window's free areas: its entries with their keys, which work with the menu
// closed too, and the dialogs they open.
class ConsoleMenu : public QObject
{
    Q_OBJECT
public:
    ConsoleMenu(Panel &panel, Station &station, Doors &doors, const ConsoleEnvironment &environment,
                QWidget *window);
    ~ConsoleMenu() override;

    std::unique_ptr<QMenu> contextMenu();

    void chooseRig(bool on);
    void chooseBands();
    void startTuning();
    void choosePorts();
    void showLineLog();
    void showFrequencyMemory();
    // "Детали тюнера": the tuner's parts, edited and fitted.
    void showParts();
    void showSweep();
    void chooseBus();
    void exportMemories();
    void importMemories();
    void showHelp();
    // Serves the page on loopback when it is not served yet, and opens it in the browser.
    void openWebPage();

    // The line log's window while it is open.
    LineLogWindow *lineLogWindow() const { return m_lineLog; }
    FrequencyMemoryWindow *frequencyMemoryWindow() const { return m_memoryWindow; }
    QDialog *sweepDialog() const { return m_sweepDialog; }

signals:
    // The band table was saved: the sub-bands' stretches may have moved.
    void bandsChanged();

private:
    Following &following();

    Panel &m_panel;
    Station &m_station;
    Doors &m_doors;
    ConsoleEnvironment m_env;
    QWidget *m_window;
    QPointer<LineLogWindow> m_lineLog;
    QPointer<FrequencyMemoryWindow> m_memoryWindow;
    QPointer<QDialog> m_sweepDialog;
};
