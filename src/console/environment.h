#pragma once

#include "link/portmap.h"

#include <QString>

class ConsoleDialogs;

// What the console is given from outside: its folders, the serial devices and a way to ask
// the operator.
struct ConsoleEnvironment
{
    // Holds conf.cfg and the pictures under img/.
    QString programDir;
    // Holds conf.cfg when the program folder cannot (a read-only install).
    QString dataDir;
    PortMap ports;
    ConsoleDialogs *dialogs = nullptr;
};
