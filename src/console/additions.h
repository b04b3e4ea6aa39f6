#pragma once

#include "environment.h"
#include "rig/bandplan.h"

#include <QObject>

#include <memory>

class Form1;
class QLabel;
class QMenu;
class RigctldClient;
class RigFollower;

// What the console offers beyond its designed window: following the radio's band, and the
// entries of the window's context menu. The window only wires these in.
class ConsoleAdditions : public QObject
{
    Q_OBJECT
public:
    ConsoleAdditions(Form1 &form, const ConsoleEnvironment &environment);
    ~ConsoleAdditions() override;

    // The context menu of the window's free areas.
    std::unique_ptr<QMenu> contextMenu();

    // Follows the radio behind rigctld at address; an empty address switches following off.
    // False when the address is none.
    bool followRig(const QString &address);
    RigctldClient &rig() { return *m_rig; }
    QLabel &rigStatus() { return *m_rigStatus; }

    // "Порты…": the devices behind the port numbers.
    void choosePorts();
    // "Подобрать согласование…": the reason it cannot run now, or nothing when it can.
    QString tuningUnavailable() const;
    void startTuning();
    // The memories as a table, from the context menu.
    void exportMemories();
    void importMemories();

private:
    void chooseRig(bool on);
    void showRigState();

    Form1 &m_form;
    ConsoleEnvironment m_env;
    std::unique_ptr<RigctldClient> m_rig;
    std::unique_ptr<RigFollower> m_follower;
    QLabel *m_rigStatus;
};
