#pragma once

#include "environment.h"

#include <QObject>

#include <memory>

class Following;
class MemoryBackup;
class Panel;
class QLabel;
class QMenu;
class QWidget;
class Tuning;

// What the console offers beyond its designed window, wired to it: band following and its
// status, the matching search, the ports and the memories, and the menu that offers them.
// Each works through the panel alone, as a remote client would.
class ConsoleFeatures : public QObject
{
    Q_OBJECT
public:
    // statusArea: a free strip of the window for what the additions have to say.
    ConsoleFeatures(Panel &panel, const ConsoleEnvironment &environment, QWidget *statusArea,
                    QWidget *window);
    ~ConsoleFeatures() override;

    // The menu of the window's free areas.
    std::unique_ptr<QMenu> contextMenu();

    Following &following() { return *m_following; }
    Tuning &tuning() { return *m_tuning; }
    QLabel &rigStatus() { return *m_rigStatus; }

    // The menu's entries.
    void chooseRig(bool on);
    void startTuning();
    void choosePorts();
    void exportMemories();
    void importMemories();

private:
    void showRigState();

    Panel &m_panel;
    ConsoleEnvironment m_env;
    QWidget *m_window;
    std::unique_ptr<Following> m_following;
    std::unique_ptr<Tuning> m_tuning;
    std::unique_ptr<MemoryBackup> m_backup;
    QLabel *m_rigStatus;
};
