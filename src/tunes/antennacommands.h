#pragma once

#include <QString>

class QSettings;

// orvane --import-antenna ANT FILE: the antenna's measurement read into the frequency memory
// beside conf.cfg, every bin computed from it, a line a band printed. Refused while a console
// has the settings file open. The exit status is returned; problems go to standard error.
// antenna: 1–3.
int importAntenna(int antenna, const QString &path, const QString &programDir,
                  const QString &dataDir, QSettings &settings);
