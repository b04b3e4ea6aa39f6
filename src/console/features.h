#pragma once

#include "dialogs/frequencymemorywindow.h"
#include "dialogs/linelogwindow.h"
#include "environment.h"
#include "mqtt/stationbus.h"

#include <QObject>
#include <QPointer>
#include <QSslConfiguration>

#include <functional>
#include <memory>
#include <optional>

class CarrierJob;
class ControlPort;
class Doors;
class Station;
class Following;
class FrequencyMemory;
class MemoryBackup;
class Panel;
class PasswordCheck;
class Sweeper;
class Trainer;
class QAction;
class QMenu;
class QLabel;
class QWidget;
class StatusStrip;
class Tuning;
class WebServer;
struct HostPort;

// What the console offers beyond its designed window, wired to it: band following and its
// status, the matching search, the band table, the ports, the line log and the memories, the
// menu that offers them with their keys, and the strip that says what happened. Each works
// through the panel alone, as a remote client would.
class ConsoleFeatures : public QObject
{
    Q_OBJECT
public:
    // statusArea: a free strip of the window for the strip.
    ConsoleFeatures(Panel &panel, const ConsoleEnvironment &environment, QWidget *statusArea,
                    QWidget *window);
    ~ConsoleFeatures() override;

    // Follows the radio and opens the doors and the bus asked for: at once, or, where the
    // environment says so, once the window has first been painted.
    void start();

    // The menu of the window's free areas and of the strip's button.
    std::unique_ptr<QMenu> contextMenu();

    Station &station() { return *m_station; }
    Following &following();
    Doors &doors() { return *m_doors; }
    // The control port while it listens.
    ControlPort *controlPort();
    // The web page's server while it listens.
    WebServer *webServer();
    StationBus &bus();
    Tuning &tuning();
    FrequencyMemory &memory();
    Trainer &trainer();
    CarrierJob &carrierJob();
    // The console ends: a job that keys the radio is ended first (unkeyed, the radio put
    // back), then then runs.
    void endJobsThen(std::function<void()> then);
    Sweeper &sweeper();
    StatusStrip &strip() { return *m_strip; }
    QLabel &rigStatus();
    // The line log's window while it is open.
    LineLogWindow *lineLogWindow() const { return m_lineLog; }
    FrequencyMemoryWindow *frequencyMemoryWindow() const { return m_memoryWindow; }
    QDialog *sweepDialog() const { return m_sweepDialog; }
    // Doors asked for that did not open: a console without a screen that serves nothing it
    // was asked to serve says so and ends.
    const QStringList &closedDoors() const;

    // The menu's entries.
    void chooseRig(bool on);
    void chooseBands();
    void startTuning();
    void choosePorts();
    void showLineLog();
    void showFrequencyMemory();
    void showSweep();
    void chooseBus();
    void exportMemories();
    void importMemories();
    void showHelp();
    // Serves the page on loopback when it is not served yet, and opens it in the browser.
    void openWebPage();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void showRadio();
    void showPanelState();
    // The sub-band options say which stretch of the selected band each one is.
    void showSubBandRanges();

    Panel &m_panel;
    ConsoleEnvironment m_env;
    QWidget *m_window;
    std::unique_ptr<Station> m_station;
    std::unique_ptr<Doors> m_doors;
    StatusStrip *m_strip;
    QPointer<LineLogWindow> m_lineLog;
    QPointer<FrequencyMemoryWindow> m_memoryWindow;
    QPointer<QDialog> m_sweepDialog;
    int m_subBandsOf = -1;
    bool m_started = false;
};
