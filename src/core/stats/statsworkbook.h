#pragma once

#include "stats/archivestats.h"

// The statistics' tables as a spreadsheet (TableWriter: .xlsx, or .ods by the
// name's extension), one sheet "Statistiche": the header Sezione, Voce,
// Numero, Quota; first the period, the course and the summary, then every
// breakdown's rows with their total. Throws FileAccessError.
namespace StatsWorkbook {

QString fileName(); // "Statistiche.xlsx"
void write(const QString &path, const ArchiveStats::Result &result);

} // namespace StatsWorkbook
