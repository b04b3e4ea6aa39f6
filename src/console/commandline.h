#pragma once

#include "app/language.h"
#include "link/portmap.h"

#include <QStringList>

struct CommandLine
{
    // False when the program should print output or error and end with exitCode.
    bool run = true;
    int exitCode = 0;
    QString output;
    QString error;
    PortMap ports;
    // The --port N=DEVICE given on this command line, in order.
    QList<PortMap::Assignment> givenPorts;
    // --comport N: the Comport entry chosen (1–16), as the list chooses it; 0: none.
    int comport = 0;
    // --rig HOST[:PORT]: follow the radio behind rigctld there; --follow SOURCE: any source.
    QString rigAddress;
    // --export FILE, --import FILE: the memories as a table, without the window.
    std::optional<QString> exportPath;
    std::optional<QString> importPath;
    // --import-antenna: the antenna (1–3) and the measurement's file.
    std::optional<std::pair<int, QString>> antennaImport;
    // --lang ru|en; otherwise the system's language decides.
    std::optional<Language> language;
    // --control [HOST:]PORT: the control port.
    QString controlAddress;
    // --web [HOST:]PORT: the web page.
    QString webAddress;
    // --headless: the console without a window or a display.
    bool headless = false;
    // --set-control-password, --control-fingerprint: do that and exit.
    bool setControlPassword = false;
    // --set-web-viewer-password: the web page's watching password; do that and exit.
    bool setViewerPassword = false;
    bool controlFingerprint = false;
    // --mqtt URL (off: none), --mqtt-ca, --mqtt-read-only, --mqtt-discovery; empty url: as
    // the settings say.
    QString mqttUrl;
    QString mqttCa;
    bool mqttReadOnly = false;
    bool mqttDiscovery = false;
    // --set-mqtt-password: the broker's password; do that and exit.
    bool setMqttPassword = false;
};

// The --lang asked for, looked for before anything is parsed, so that every message of the
// command line is in the window's language.
std::optional<Language> languageAsked(const QStringList &arguments);

// Applies --port N=DEVICE (repeatable) over the given map, takes --rig; handles --help and
// --version. Its messages are in the language in use.
CommandLine parseCommandLine(const QStringList &arguments, const PortMap &ports);
