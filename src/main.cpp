#include "app/dialogs.h"
#include "app/language.h"
#include "app/signals.h"
#include "app/startup.h"
#include "backup/memorycommands.h"
#include "console/commandline.h"
#include "console/environment.h"
#include "console/features.h"
#include "console/firststart.h"
#include "console/form1.h"
#include "dialogs/firststartdialog.h"
#include "net/credentials.h"
#include "net/identity.h"
#include "tunes/antennacommands.h"
#include "version.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

#include <csignal>
#include <cstdio>

namespace {

// Asks twice at the terminal and keeps the hash; an empty answer removes the password.
int setPassword(QSettings &settings, const QString &key, const char *prompt)
{
    const QString password = Credentials::readSecret(prompt);
    // It opens a door beyond this computer: a short one is guessed in no time.
    if (!password.isEmpty() && password.size() < Credentials::MinLength) {
        std::fprintf(stderr,
                     "orvane: a password needs at least %d characters; nothing was changed\n",
                     Credentials::MinLength);
        return 1;
    }
    if (!password.isEmpty() && Credentials::readSecret("The same again: ") != password) {
        std::fputs("orvane: the two differ; nothing was changed\n", stderr);
        return 1;
    }
    Credentials::store(settings, key, password);
    std::fputs(password.isEmpty() ? "orvane: no such password now\n"
                                  : "orvane: the password is kept, hashed\n",
               stderr);
    return 0;
}

// A program of the console's own that it starts: beside it, or where the package puts it.
QString companion(const QString &name)
{
    const QDir here(QCoreApplication::applicationDirPath());
    for (const QString &path : {here.filePath(name + QStringLiteral(ORVANE_EXE_SUFFIX)),
                                here.filePath(QStringLiteral("../libexec/orvane/") + name)}) {
        if (QFileInfo::exists(path))
            return QFileInfo(path).absoluteFilePath();
    }
    return {};
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication::setOrganizationName(QStringLiteral("Orvane"));
    QCoreApplication::setApplicationName(QStringLiteral("Orvane"));
    QCoreApplication::setApplicationVersion(QStringLiteral(ORVANE_VERSION_STRING));
    ignoreRelativeXdgFolders();
    // A client gone mid-answer is that connection's end, not the console's.
    ignoreBrokenPipes();

    PortMap ports;
    int comport = 0;
    std::optional<PortMap::Assignment> onlyGiven;
    QStringList arguments;
    QString rigAddress;
    QString controlAddress;
    QString webAddress;
    bool headless = false;
    CommandLine mqtt;
    Language language = Language::Russian;
    ProgramFolders folders;
    {
        // --help, --version and bad options must work without a display.
        QCoreApplication probe(argc, argv);
        QSettings settings;
        // The settings hold password hashes: only the user reads them.
        Credentials::keepPrivate(settings.fileName());
        ports.loadFrom(settings);
        useLanguage(languageAsked(probe.arguments()).value_or(languageFor(QLocale::system())));
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
        if (line.antennaImport)
            return importAntenna(line.antennaImport->first, line.antennaImport->second,
                                 folders.settings, dataDir, settings);
        if (line.setControlPassword || line.setViewerPassword) {
            const bool viewer = line.setViewerPassword;
            return setPassword(
                settings,
                viewer ? QStringLiteral("web/viewer_password") : QStringLiteral("control/password"),
                viewer ? "The web page's watching password: " : "Control port password: ");
        }
        if (line.setMqttPassword) {
            const QString path = QDir(dataDir).filePath(QStringLiteral("mqtt-password"));
            const QString secret = Credentials::readSecret("The MQTT broker's password: ");
            if (!Credentials::keepSecret(path, secret)) {
                std::fprintf(stderr, "orvane: %s could not be written\n", qPrintable(path));
                return 1;
            }
            if (secret.isEmpty())
                std::fputs("orvane: no broker password now\n", stderr);
            else
                std::fprintf(stderr,
                             "orvane: the broker password is kept in %s, which only you can read\n",
                             qPrintable(QDir::toNativeSeparators(path)));
            return 0;
        }
        if (line.controlFingerprint) {
            Identity identity;
            QString error;
            if (!identity.loadOrCreate(dataDir, &error)) {
                std::fprintf(stderr, "orvane: %s\n", qPrintable(error));
                return 1;
            }
            std::printf("%s\n", qPrintable(identity.fingerprint()));
            return 0;
        }
        ports = line.ports;
        comport = line.comport;
        if (line.givenPorts.size() == 1)
            onlyGiven = line.givenPorts.first();
        arguments = probe.arguments();
        rigAddress = line.rigAddress;
        controlAddress = line.controlAddress;
        webAddress = line.webAddress;
        headless = line.headless;
        mqtt = line;
    }

    // Without a screen the console runs on Qt's offscreen platform: the same window, never
    // shown, its messages on standard error.
    if (headless)
        qputenv("QT_QPA_PLATFORM", "offscreen");
    const std::unique_ptr<QApplication> app = openDisplay(argc, argv);
    useLanguage(language);
    QtDialogs dialogs;
    ConsoleEnvironment environment;
    environment.programDir = folders.settings;
    environment.pictureFolders = folders.pictures;
    environment.dataDir = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    environment.ports = ports;
    environment.comport = comport;
    environment.onlyGivenPort = onlyGiven ? onlyGiven->port : 0;
    environment.dialogs = &dialogs;
    QSettings userSettings;
    environment.userSettings = &userSettings;
    environment.rigAddress = rigAddress;
    environment.controlAddress = controlAddress;
    environment.webAddress = webAddress;
    environment.headless = headless;
    environment.mqttUrl = mqtt.mqttUrl;
    environment.mqttCa = mqtt.mqttCa;
    environment.mqttReadOnly = mqtt.mqttReadOnly;
    environment.mqttDiscovery = mqtt.mqttDiscovery;

    const QString simProgram =
        QDir(QCoreApplication::applicationDirPath())
            .filePath(QStringLiteral("orvane-sim") + QStringLiteral(ORVANE_EXE_SUFFIX));
    if (!headless && FirstStart::isNeeded(environment.programDir, environment.dataDir) &&
        FirstStart::ask(environment.programDir, environment.dataDir, dialogs, &userSettings,
                        simProgram, environment.serialByIdFolder, onlyGiven)) {
        // The answer is in the settings now; the command line still wins.
        PortMap chosen;
        chosen.loadFrom(userSettings);
        environment.ports = parseCommandLine(arguments, chosen).ports;
    }
    // A port may lead to the virtual controller, started while the console has it open.
    environment.virtualProgram = simProgram;
    // The console's helpers: beside it in a program folder, in libexec when installed.
    environment.guardProgram = companion(QStringLiteral("orvane-guard"));
    environment.mqttProgram = companion(QStringLiteral("orvane-mqtt"));

    // The window first: following, the doors and the bus come once it is up.
    environment.startLater = !headless;
    Form1 window(environment);
    if (!window.loaded())
        return 1;
    // A console without a screen is a service: one that cannot serve what it was asked to
    // ends, so that its service manager says so.
    if (headless && !window.features().closedDoors().isEmpty())
        return 1;
#ifdef Q_OS_UNIX
    // A service's stop ends it as closing the window does: nothing is written that was not
    // written already, and a job that keys the radio ends first, unkeyed and put back.
    handleSignals({SIGTERM, SIGINT, SIGHUP}, [&window](int) {
        window.features().endJobsThen([&window] {
            window.close();
            QCoreApplication::quit();
        });
    });
#endif
    if (headless)
        return app->exec();
    // Where the operator left it; the size is the designed one.
    const QString placeKey = QStringLiteral("window/position");
    if (userSettings.contains(placeKey))
        window.move(userSettings.value(placeKey).toPoint());
    window.show();
    const int status = app->exec();
    userSettings.setValue(placeKey, window.pos());
    return status;
}
