#pragma once

#include "consolemenu.h"
#include "environment.h"
#include "mqtt/stationbus.h"

#include <QMenu>

#include <QObject>

#include <functional>
#include <memory>

class CarrierJob;
class ControlPort;
class Doors;
class Station;
class Following;
class FrequencyMemory;
class Panel;
class Sweeper;
class Trainer;
class QLabel;
class QWidget;
class StatusStrip;
class Tuning;
class WebServer;

// What the console offers beyond its designed window, wired to it: the station's capabilities,
// the doors, the menu that offers them, and the strip that says what happened. Each works
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
    std::unique_ptr<QMenu> contextMenu() { return m_menu->contextMenu(); }

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
    ConsoleMenu &menu() { return *m_menu; }
    // The line log's window while it is open.
    LineLogWindow *lineLogWindow() const { return m_menu->lineLogWindow(); }
    FrequencyMemoryWindow *frequencyMemoryWindow() const { return m_menu->frequencyMemoryWindow(); }
    QDialog *sweepDialog() const { return m_menu->sweepDialog(); }
    // Doors asked for that did not open: a console without a screen that serves nothing it
    // was asked to serve says so and ends.
    const QStringList &closedDoors() const;

    // The menu's entries, for those that open them without the menu.
    void chooseRig(bool on) { m_menu->chooseRig(on); }
    void chooseBands() { m_menu->chooseBands(); }
    void startTuning() { m_menu->startTuning(); }
    void choosePorts() { m_menu->choosePorts(); }
    void showLineLog() { m_menu->showLineLog(); }
    void showFrequencyMemory() { m_menu->showFrequencyMemory(); }
    void showSweep() { m_menu->showSweep(); }
    void importMemories() { m_menu->importMemories(); }

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
    std::unique_ptr<ConsoleMenu> m_menu;
    int m_subBandsOf = -1;
    bool m_started = false;
};
