#pragma once

#include "environment.h"
#include "link/controllerlink.h"
#include "link/serialservice.h"
#include "model/consolemodule.h"
#include "rig/bandplan.h"
#include "settings/settingsfile.h"
#include "tune/lnetwork.h"
#include "widgets/progressbar.h"

#include <QWidget>

#include <memory>

class BarSurface;
class ConsoleAdditions;
class QLabel;
class QLineEdit;

namespace Ui {
class Form1;
}

// The console's main window. Creating it is the console's start-up, closing it the shutdown.
class Form1 : public QWidget, private BankDisplay
{
    Q_OBJECT
public:
    explicit Form1(const ConsoleEnvironment &environment, QWidget *parent = nullptr);
    ~Form1() override;

    // False when start-up could not go on; the reason was shown to the operator.
    bool loaded() const { return m_loaded; }

    ConsoleModule &module() { return *m_module; }
    SerialService &comPort1() { return m_comPort1; }
    SettingsFile &settingsFile() { return m_file; }
    ControllerLink &link() { return m_link; }
    ProgressBar &BarC() { return m_barC; }
    ProgressBar &BarL() { return m_barL; }
    BarSurface &barSurface() { return *m_surface; }
    ConsoleAdditions &additions() { return *m_additions; }

    void FillC() override;
    void FillL() override;

    // True where a right press opens the window's context menu: the background and the frames,
    // not a control.
    bool isFreeArea(const QPoint &pos) const;

    // The band and sub-band the window shows.
    BandPlan::Position selectedBand() const;
    // Selects a band and sub-band as the operator's click does, recalling the slot of the
    // selected antenna.
    void followRadio(int band, int subBand);
    // The relays as the window shows them.
    LNetwork::Setting relays() const;
    // Shows a relay setting and sends it: only what changed, or all three packets as a recall
    // does. The toggles' and options' own handlers stay silent.
    void setRelays(const LNetwork::Setting &setting, bool sendAll);
    // New devices behind the port numbers; a port in use moves to its new device at once.
    void setPorts(const PortMap &ports);
    // conf.cfg was replaced whole (an import): takes the steps from it again and recalls the
    // selected slot, three packets. False when the new file cannot be opened.
    bool settingsReplaced();

signals:
    void unloaded();

public slots:
    void Form_Activate();
    void Form_Unload();

    // The toggles form control arrays: Index is the bit.
    void tglC_Click(int Index);
    void tglL_Click(int Index);
    void tgl_MouseDown();
    void cmdDecrementC_Click();
    void cmdIncrementC_Click();
    void cmdDecrementL_Click();
    void cmdIncrementL_Click();
    void cmdCEnter_Click();
    void cmdLEnter_Click();

    // The eighteen antenna, band and sub-band options share these.
    void Selector_MouseDown();
    void Selector_Click();
    void OptSB_KeyPress(int Index);

    void Opt1_MouseDown();
    void Opt2_MouseDown();
    void Opt1_Click();
    void Opt2_Click();

    // Button: 1 left, 2 right, 4 middle, combined; X in pixels from the label's left edge.
    void lbl1_MouseDown(int Button, double X);
    void lbl1_MouseMove(int Button, double X);
    void lbl1_MouseUp(int Button, double X);
    void lbl2_MouseDown(int Button, double X);
    void lbl2_MouseMove(int Button, double X);
    void lbl2_MouseUp(int Button, double X);

    void cmb1_Click();
    void cmdSave1_Click();
    void cmdRefresh_Click();
    void cmdOptions_Click();
    void Command1_Click();

protected:
    bool event(QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    enum class Bank { C, L };
    struct BankParts
    {
        RelayBank controls;
        QLabel *label = nullptr;
        ProgressBar *bar = nullptr;
        qint16 *dragCode = nullptr;
    };

    void Form_Load();
    bool openSettingsFile();
    void readSteps();
    void applyFonts();
    void configureBar(ProgressBar &bar, const QLabel *label, qint16 green1, qint16 blue1,
                      qint16 green2, qint16 blue2);
    void connectHandlers();
    void watchOption(QAbstractButton *option, void (Form1::*click)());

    BankParts &parts(Bank bank) { return bank == Bank::C ? m_bankC : m_bankL; }
    quint8 getCode(Bank bank);
    void setCode(Bank bank, quint8 code);
    void fill(Bank bank);
    void send(Bank bank, quint8 code);
    QString valueText(Bank bank, int code) const;

    void toggleClick(Bank bank, int index);
    void stepCode(Bank bank, int delta);
    void applyEntry(Bank bank);
    void paintLevel(Bank bank, int right);
    void barMove(Bank bank, int button, double x);
    void barUp(Bank bank, int button, double x);
    void networkSideClick(QAbstractButton *option, const char *picture, const char *otherPicture,
                          quint8 value);
    void showPicture(const char *picture);

    void showPortStatus(bool failed, bool withTooltip, const QString &why = {});
    // The device and why it failed, for the status tooltip.
    QString portProblem() const;
    // What to do about a port the user may not open.
    static QString permissionAdvice();
    void reportFileFailure();
    bool waitWithEvents(int milliseconds);

    Ui::Form1 *ui;
    ConsoleEnvironment m_env;
    SettingsFile m_file;
    SerialService m_comPort1;
    ControllerLink m_link;
    BarSurface *m_surface = nullptr;
    ProgressBar m_barC;
    ProgressBar m_barL;
    std::unique_ptr<ConsoleModule> m_module;
    ConsoleAdditions *m_additions = nullptr;
    BankParts m_bankC;
    BankParts m_bankL;
    std::array<QAbstractButton *, Slots::Antennas + Slots::Bands + Slots::SubBands> m_selectors{};

    // A mouse press on an option that was already selected: Qt raises no selection change for
    // it, but the operator chose it again, so its Click runs.
    QAbstractButton *m_pressedOption = nullptr;
    bool m_pressedOptionWasChecked = false;

    bool m_loaded = false;
    bool m_unloadedFlag = false;
    // The next activation redraws the banks: the first display, the return from About.
    bool m_activatePending = true;
    // The advice for a port the user may not open is given as a message once a session.
    bool m_permissionAdviceGiven = false;
};
