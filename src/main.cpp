#include "app/dialogs.h"
#include "app/language.h"
#include "app/startup.h"
#include "backup/memorycommands.h"
#include "console/commandline.h"
#include "console/environment.h"
#include "console/form1.h"
#include "version.h"

#include <QApplication>
#include <QSettings>
#include <QStandardPaths>

#include <cstdio>

int main(int argc, char *argv[])
{
    QCoreApplication::setOrganizationName(QStringLiteral("Orvane"));
    QCoreApplication::setApplicationName(QStringLiteral("Orvane"));
    QCoreApplication::setApplicationVersion(QStringLiteral(ORVANE_VERSION_STRING));
    ignoreRelativeXdgFolders();

    PortMap ports;
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

    Form1 window(environment);
    if (!window.loaded())
        return 1;
    window.show();
    return app->exec();
}
