#pragma once

#include <QString>

// Which conf.cfg the console opens. The program folder's comes first; the user's data folder
// keeps one when the program folder cannot (a read-only install), and once one is there it
// stays in use unless the program folder's copy is newer.
struct SettingsChoice
{
    QString path;  // the file to open
    QString seed;  // copy this file to path before opening it
    QString error; // why no file can be used, naming it
    bool inDataFolder = false;
};

SettingsChoice chooseSettingsFile(const QString &programDir, const QString &dataDir);

// The files kept beside conf.cfg that go where it goes: the frequency memory and its log.
inline constexpr const char *CompanionFiles[] = {"tunes.sqlite", "tunes.sqlite-wal"};

// Copies a settings file whole or not at all; the copy is writable by its owner. The files
// kept beside it go with it, where the new folder has none of its own.
bool copySettingsFile(const QString &from, const QString &to, QString *error);

// Writes a file whole or not at all: beside the target, put on disk, renamed over it, and
// the folder synced, so that neither a full disk nor a power cut leaves a part of it.
bool writeWhole(const QString &path, const QByteArray &bytes, QString *error);

// Puts a folder's entries on disk, so that a new or renamed file survives a power cut.
bool syncFolder(const QString &folder);
