#pragma once

#include <QString>

class ArchiveTableModel;

// The grid's export files. Both take every row of the table, columns 1 to
// 25, each cell as the grid shows it: the text typed by the operator, or
// else the field read, its ends trimmed of characters of code 32 or lower
// and any control character inside it written as a space.
namespace SpreadsheetExport {

// "Archivio_Studenti.xls": an HTML table with the worksheet markup that
// spreadsheet programs open as a sheet, in Windows-1252 (a character the
// code page lacks written as '?'), all on one line, markup characters
// escaped.
QString fileName();

// Writes every row of `table` (columns 1 to 25) to `path`, streaming through
// a small buffer, and replaces the file whole: after any failure the previous
// file is as it was. A file whose owner may not write it counts as a failure.
// Throws FileAccessError.
void write(const QString &path, const ArchiveTableModel &table);

// A workbook whose every cell is text, so no value is read as a number, a
// formula or a date, and every character is kept: an Excel workbook (.xlsx)
// or, for a name ending in ".ods", an OpenDocument spreadsheet. One sheet,
// "Archivio Studenti", header bold and frozen, the columns as wide as the .xls
// makes them. Replaced whole like the .xls (TableWriter), in memory that does
// not grow with the archive. Throws FileAccessError.
QString workbookFileName(); // "Archivio_Studenti.xlsx"
void writeWorkbook(const QString &path, const ArchiveTableModel &table);

} // namespace SpreadsheetExport
