#pragma once

#include "consolemodule.h"
#include "environment.h"
#include "link/controllerlink.h"
#include "link/serialservice.h"
#include "settings/settingsfile.h"
#include "widgets/progressbar.h"

#include <QTimer>
#include <QWidget>

#include <functional>
#include <memory>

class BarSurface;
class ConsoleFeatures;
class FormPanel;
class Panel;
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
    // The one way in for everything outside the window.
    Panel &panel();
    // The additions: following, the search, backup, the ports, and the menu that offers them.
    ConsoleFeatures &features() { return *m_features; }

    void FillC() override;
    void FillL() override;

    // True where a right press opens the window's context menu: the background, the frames
    // and the additions' free strips, not a control.
    bool isFreeArea(const QPoint &pos) const;

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
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    friend class FormPanel;

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
    void storePortNumber(quint8 number);
    void finishRefresh();
    // While the radio transmits, a press or key on a relay control is refused unseen.
    bool holdsStill(QEvent *event);
    void reportFileFailure();

    Ui::Form1 *ui;
    ConsoleEnvironment m_env;
    SettingsFile m_file;
    SerialService m_comPort1;
    ControllerLink m_link;
    BarSurface *m_surface = nullptr;
    ProgressBar m_barC;
    ProgressBar m_barL;
    std::unique_ptr<ConsoleModule> m_module;
    FormPanel *m_panel = nullptr;
    ConsoleFeatures *m_features = nullptr;
    BankParts m_bankC;
    BankParts m_bankL;
    std::array<QAbstractButton *, Slots::Antennas + Slots::Bands + Slots::SubBands> m_selectors{};

    // A mouse press on an option that was already selected: Qt raises no selection change for
    // it, but the operator chose it again, so its Click runs.
    QAbstractButton *m_pressedOption = nullptr;
    bool m_pressedOptionWasChecked = false;

    // A network port connects in the background; what opened it goes on from here.
    std::function<void(bool opened)> m_afterOpen;
    // Refresh's half second with the port closed, while the window works on.
    QTimer m_refreshWait;
    // The side's picture asked for before the window was up.
    const char *m_pendingPicture = nullptr;

    bool m_loaded = false;
    bool m_unloadedFlag = false;
    // The next activation redraws the banks: the first display, the return from About.
    bool m_activatePending = true;
    // The advice for a port the user may not open is given as a message once a session.
    bool m_permissionAdviceGiven = false;
};
