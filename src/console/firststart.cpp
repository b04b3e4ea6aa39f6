#include "firststart.h"

#include "app/dialogs.h"
#include "dialogs/firststartdialog.h"
#include "link/portscan.h"
#include "settings/conflayout.h"
#include "settings/settingslocation.h"

#include <QFileInfo>
#include <QSettings>

namespace FirstStart {

bool isNeeded(const QString &programDir, const QString &dataDir)
{
    const SettingsChoice choice = chooseSettingsFile(programDir, dataDir);
    return choice.error.isEmpty() && choice.seed.isEmpty() && !QFileInfo::exists(choice.path);
}

bool ask(const QString &programDir, const QString &dataDir, ConsoleDialogs &dialogs,
         QSettings *settings, const QString &simProgram, const QString &byIdFolder)
{
    FirstStartDialog dialog(scanSerialDevices(byIdFolder), QFileInfo(simProgram).isExecutable());
    dialogs.exec(dialog);
    if (dialog.result() != QDialog::Accepted)
        return false;
    const FirstStartDialog::Choice choice = dialog.choice();
    ConfLayout::Image image;
    if (!choice.device.isEmpty())
        image.setPortNumber(Port);
    image.setSteps(choice.stepC, choice.stepL);
    QString error;
    const QString path = chooseSettingsFile(programDir, dataDir).path;
    if (!writeWhole(path, image.bytes(), &error)) {
        dialogs.message(nullptr, QStringLiteral("Orvane"), error);
        return false;
    }
    if (settings && !choice.device.isEmpty()) {
        settings->setValue(QStringLiteral("ports/%1").arg(Port), choice.device);
        settings->sync();
    }
    return true;
}

} // namespace FirstStart
