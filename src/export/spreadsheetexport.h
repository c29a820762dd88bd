#pragma once

#include <QString>

class ArchiveTableModel;

// The export file "Archivio_Studenti.xls": an HTML table with the worksheet
// markup that spreadsheet programs open as a sheet, in Windows-1252, all on
// one line. Cell texts are trimmed, their markup characters escaped and any
// control character inside them written as a space.
namespace SpreadsheetExport {

QString fileName();

// Writes every row of `table` (columns 1 to 25) to `path`, streaming through
// a small buffer, and replaces the file whole: after any failure the previous
// file is as it was. A file whose owner may not write it counts as a failure.
// Throws FileAccessError.
void write(const QString &path, const ArchiveTableModel &table);

} // namespace SpreadsheetExport
