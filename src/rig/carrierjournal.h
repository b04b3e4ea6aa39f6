#pragma once

#include "net/hostport.h"
#include "rigrescue.h"

#include <QString>

#include <optional>

// "Keyed, and what to put back", kept durably beside conf.cfg while a job of the console's own
// may key the radio. A console that died with it set left a carrier on: the next one to start
// (or the guard that outlived it) unkeys the radio and puts it back, then clears it.
struct CarrierJournal
{
    static constexpr const char *FileName = "carrier.journal";

    struct Record
    {
        QString job; // a random name, so that a guard clears only its own
        HostPort rig;
        RadioSnapshot putBack;
        qint64 since = 0; // ms since the epoch, UTC
        friend bool operator==(const Record &, const Record &) = default;
    };

    // The file in a folder.
    static QString pathIn(const QString &folder);
    static bool write(const QString &folder, const Record &record, QString *error);
    // None when there is no journal, or nothing of use in it.
    static std::optional<Record> read(const QString &folder);
    // Removed, and the removal put on disk; with a job, only while the journal names it.
    static bool clear(const QString &folder, const QString &job = {});
    static QString newJobName();
};
