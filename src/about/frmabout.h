#pragma once

#include <QDialog>

class ConsoleDialogs;

namespace Ui {
class frmAbout;
}

// The About box: program name, version and maker, and a way to the system-information tool.
class frmAbout : public QDialog
{
    Q_OBJECT
public:
    frmAbout(ConsoleDialogs *dialogs, QWidget *parent = nullptr);
    ~frmAbout() override;

    // Where the settings live, when it is not the program folder.
    void setSettingsNote(const QString &note);

public slots:
    void cmdOK_Click();
    void cmdSysInfo_Click();
    void StartSysInfo();

private:
    void Form_Load();

    Ui::frmAbout *ui;
    ConsoleDialogs *m_dialogs;
};
