#pragma once

#include "link/portmap.h"

#include <QString>

#include <optional>

class ConsoleDialogs;
class QSettings;

// A console about to create its settings file asks first what it needs to talk to a tuner.
// An existing file is never touched here: the console then starts as it always has.
namespace FirstStart {

// The port the first start puts the controller on.
constexpr int Port = 1;

// True when there is no conf.cfg to start from (a new user, a new folder).
bool isNeeded(const QString &programDir, const QString &dataDir);

// Asks, then writes conf.cfg (the port number and the steps) and the port's device to the
// user's settings. False, with nothing written, when the operator cancels: the console then
// starts as it does with a new, empty file. simProgram: the virtual controller, when there is
// one to offer. given: a port the command line mapped, offered first and chosen; taken, it
// is the port number kept.
bool ask(const QString &programDir, const QString &dataDir, ConsoleDialogs &dialogs,
         QSettings *settings, const QString &simProgram, const QString &byIdFolder,
         const std::optional<PortMap::Assignment> &given = std::nullopt);

} // namespace FirstStart
