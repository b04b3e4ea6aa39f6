#pragma once

#include <QString>

// orvane --export FILE and --import FILE: the memories without a window or a display. Both
// find conf.cfg as the console does. The exit status is returned; messages go to standard
// error.
int exportMemories(const QString &csvPath, const QString &programDir, const QString &dataDir);
// Refused while a console has the settings file open.
int importMemories(const QString &csvPath, const QString &programDir, const QString &dataDir);
