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
         QSettings *settings, const QString &simProgram, const QString &byIdFolder,
         const std::optional<PortMap::Assignment> &given)
{
    FirstStartDialog dialog(scanSerialDevices(byIdFolder), QFileInfo(simProgram).isExecutable(),
                            given ? given->device : QString());
    dialogs.exec(dialog);
    if (dialog.result() != QDialog::Accepted)
        return false;
    const FirstStartDialog::Choice choice = dialog.choice();
    // The command line's device keeps the number it was given for.
    const int port = given && choice.device == given->device ? given->port : Port;
    ConfLayout::Image image;
    if (!choice.device.isEmpty())
        image.setPortNumber(port);
    image.setSteps(choice.stepC, choice.stepL);
    QString error;
    const QString path = chooseSettingsFile(programDir, dataDir).path;
    if (!writeWhole(path, image.bytes(), &error)) {
        dialogs.message(nullptr, QStringLiteral("Orvane"), error);
        return false;
    }
    if (settings && !choice.device.isEmpty()) {
        settings->setValue(QStringLiteral("ports/%1").arg(port), choice.device);
        settings->sync();
    }
    return true;
}

} // namespace FirstStart
