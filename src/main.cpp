#include "app/dialogs.h"
#include "app/language.h"
#include "app/startup.h"
#include "backup/memorycommands.h"
#include "console/commandline.h"
#include "console/environment.h"
#include "console/firststart.h"
#include "console/form1.h"
#include "console/virtualline.h"
#include "dialogs/firststartdialog.h"
#include "version.h"

#include <QApplication>
#include <QDir>
#include <QSettings>
#include <QStandardPaths>

#include <cstdio>
#include <list>

int main(int argc, char *argv[])
{
    QCoreApplication::setOrganizationName(QStringLiteral("Orvane"));
    QCoreApplication::setApplicationName(QStringLiteral("Orvane"));
    QCoreApplication::setApplicationVersion(QStringLiteral(ORVANE_VERSION_STRING));
    ignoreRelativeXdgFolders();

    PortMap ports;
    QStringList arguments;
    QString rigAddress;
    Language language = Language::Russian;
    ProgramFolders folders;
    {
        // --help, --version and bad options must work without a display.
        QCoreApplication probe(argc, argv);
        QSettings settings;
        ports.loadFrom(settings);
        const CommandLine line = parseCommandLine(probe.arguments(), ports);
        if (!line.run) {
            std::fputs(qPrintable(line.output), stdout);
            if (!line.error.isEmpty())
                std::fprintf(stderr, "orvane: %s\n", qPrintable(line.error));
            return line.exitCode;
        }
        language = line.language.value_or(languageFor(QLocale::system()));
        useLanguage(language);
        folders = programFoldersOf(QCoreApplication::applicationDirPath());
        const QString dataDir = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
        if (line.exportPath)
            return exportMemories(*line.exportPath, folders.settings, dataDir);
        if (line.importPath)
            return importMemories(*line.importPath, folders.settings, dataDir);
        ports = line.ports;
        arguments = probe.arguments();
        rigAddress = line.rigAddress;
    }

    const std::unique_ptr<QApplication> app = openDisplay(argc, argv);
    useLanguage(language);
    QtDialogs dialogs;
    ConsoleEnvironment environment;
    environment.programDir = folders.settings;
    environment.pictureFolders = folders.pictures;
    environment.dataDir = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    environment.ports = ports;
    environment.dialogs = &dialogs;
    QSettings userSettings;
    environment.userSettings = &userSettings;
    environment.rigAddress = rigAddress;

    const QString simProgram =
        QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("orvane-sim"));
    if (FirstStart::isNeeded(environment.programDir, environment.dataDir) &&
        FirstStart::ask(environment.programDir, environment.dataDir, dialogs, &userSettings,
                        simProgram, environment.serialByIdFolder)) {
        // The answer is in the settings now; the command line still wins.
        PortMap chosen;
        chosen.loadFrom(userSettings);
        environment.ports = parseCommandLine(arguments, chosen).ports;
    }
    // A port may lead to the virtual controller, started for as long as the console runs.
    std::list<VirtualLine> virtualLines;
    for (int n = PortMap::FirstPort; n <= PortMap::LastPort; ++n) {
        if (environment.ports.device(n) != QLatin1String(FirstStartDialog::Virtual))
            continue;
        VirtualLine &line = virtualLines.emplace_back();
        if (!line.start(simProgram))
            std::fprintf(stderr, "orvane: the virtual controller %s did not start\n",
                         qPrintable(simProgram));
        environment.ports.map(n, line.link());
    }

    Form1 window(environment);
    if (!window.loaded())
        return 1;
    // Where the operator left it; the size is the designed one.
    const QString placeKey = QStringLiteral("window/position");
    if (userSettings.contains(placeKey))
        window.move(userSettings.value(placeKey).toPoint());
    window.show();
    const int status = app->exec();
    userSettings.setValue(placeKey, window.pos());
    return status;
}
