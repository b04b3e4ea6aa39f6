#pragma once

#include "link/portmap.h"

#include <QString>

class ConsoleDialogs;
class QSettings;

// What the console is given from outside: its folders, the serial devices and a way to ask
// the operator.
struct ConsoleEnvironment
{
    // Holds conf.cfg and the pictures under img/; empty for an installed console, which keeps
    // conf.cfg in the data folder.
    QString programDir;
    // Where the pictures are looked for, in this order; the program folder when empty.
    QStringList pictureFolders;
    // Holds conf.cfg when the program folder cannot (a read-only install).
    QString dataDir;
    PortMap ports;
    // --comport N, else the one --port of the command line (for a conf.cfg with none chosen).
    int comport = 0;
    int onlyGivenPort = 0;
    // The virtual controller's program, started while a port mapped to it is open.
    QString virtualProgram;
    // The guard that unkeys the radio should the console die while a job of its own keys it.
    QString guardProgram;
    // The helper that holds the connection to the station's MQTT broker.
    QString mqttProgram;
    ConsoleDialogs *dialogs = nullptr;
    // The user's settings (~/.config/Orvane/Orvane.conf): the additions read and store their
    // choices there. None in tests that do not need it.
    QSettings *userSettings = nullptr;
    // rigctld's address from the command line; it wins over the settings.
    QString rigAddress;
    // The control port's address from the command line ([HOST:]PORT); it wins over
    // control/address of the settings.
    QString controlAddress;
    // The web page's address from the command line; it wins over web/address.
    QString webAddress;
    // The broker from the command line (off: none); it wins over mqtt/url and the rest.
    QString mqttUrl;
    QString mqttCa;
    bool mqttReadOnly = false;
    bool mqttDiscovery = false;
    // Without a screen the control port is the only door: it opens by default.
    bool headless = false;
    // Following, the doors and the bus wait for ConsoleFeatures::start(): a window comes up
    // before any of them.
    bool startLater = false;
    // Where udev keeps the serial devices' lasting names.
    QString serialByIdFolder = QStringLiteral("/dev/serial/by-id");

    // The port number start-up opens, given the one conf.cfg keeps.
    int portFor(int stored) const
    {
        if (comport)
            return comport;
        return stored == 0 && onlyGivenPort ? onlyGivenPort : stored;
    }
};
