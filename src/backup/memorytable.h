#pragma once

#include "csv.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <optional>

// The operator's 150 memory slots and the two relay steps as a plain CSV table (RFC 4180,
// UTF-8), for a backup that can be read, edited in a spreadsheet and brought back:
//
//   C step pF,10
//   L step nH,500
//   antenna,band,sub-band,C code,L code,side,C pF,L uH
//   1,160 м,1,37,12,Tx,370,6
//   …
//
// The codes are what counts; the values in pF and µH are there for reading.
namespace MemoryTable {

struct Slot
{
    int antenna = 0; // 0–2
    int band = 0;    // 0–9
    int subBand = 0; // 0–4
    quint8 codeC = 0;
    quint8 codeL = 0;
    quint8 side = 0;
};

// What an import brings: the slots it names and, when given, the steps.
struct Table
{
    QList<Slot> entries;
    std::optional<quint8> stepC;
    std::optional<qint16> stepL;
};

// The most problems of one file that are named, each with its line and field.
constexpr int MaxReported = Csv::MaxReported;

// The table of a settings file's bytes; a short file reads as zeros past its end.
QByteArray write(const QByteArray &settings);

// Reads a whole table. A file separated by semicolons, as spreadsheets in many languages
// write it, is read as such. On any problem, nothing, and the error names each one (up to
// MaxReported), one a line.
std::optional<Table> read(const QByteArray &csv, QString *error);

// The settings bytes with the table's slots and steps put in; every other byte is kept.
QByteArray apply(const QByteArray &settings, const Table &table);

} // namespace MemoryTable

// Export and import on the files themselves. An import checks the whole table first, copies
// conf.cfg to conf.cfg.bak beside it, and replaces conf.cfg whole or not at all.
namespace MemoryFiles {

// No table of 150 slots comes near this; a larger file is refused unread.
constexpr qint64 MaxImportBytes = 1024 * 1024;

// "-" is standard output for the table, standard input for an import. A table goes to a
// regular file or a new name whole, through a file beside it; to a pipe or a device it is
// written as a stream, never put in its place.
bool exportTo(const QString &settingsPath, const QString &csvPath, QString *error);
// Only a regular file (or standard input) is read, and at most MaxImportBytes of it.
bool importFrom(const QString &csvPath, const QString &settingsPath, QString *error,
                int *imported = nullptr);

} // namespace MemoryFiles
