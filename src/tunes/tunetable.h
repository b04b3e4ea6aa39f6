#pragma once

#include "rig/bandplan.h"
#include "tunestore.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <optional>

// The frequency memories as a plain CSV table, with the conventions of the slots' table
// (RFC 4180, UTF-8, commas or a spreadsheet's semicolons, columns in any order, every
// problem named with its line, nothing written on any):
//
//   antenna,frequency Hz,C code,L code,side,SWR,stored,source,pinned
//   1,7073500,37,12,Tx,1.12,2026-12-08T08:00:00Z,training,0
//
// An import stores each row for the bin its frequency falls in, as "import".
namespace TuneTable {

QByteArray write(const QList<StoredTune> &tunes);
// The most rows a table may have: every bin of every band, three times over.
qsizetype maxRows(const BandPlan &plan);
// The rows of a table, each with its bin; none, with every problem named, on any problem. A
// header that is not this table's is refused before any row is read.
std::optional<QList<TuneStore::Placed>> read(const QByteArray &csv, const BandPlan &plan,
                                             QString *error);

} // namespace TuneTable
