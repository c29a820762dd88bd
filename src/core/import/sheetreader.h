#pragma once

#include "archive/recordfile.h"

#include <QString>
#include <QStringList>

#include <vector>

// A reading of a sheet the operator picked, refused with the reason in
// Italian (what()), ready to be shown or printed as it is.
class SheetReadError : public FileAccessError
{
public:
    using FileAccessError::FileAccessError;
    QString message() const { return QString::fromUtf8(what()); }
};

// One row of a sheet with its line as a spreadsheet program numbers it
// (1 is the header), so that messages name the row the operator sees.
struct ImportSheetRow
{
    int line = 0;
    QStringList cells;
};

// A sheet read whole: the first row is the header; empty rows are left out.
struct ImportSheet
{
    QStringList header;
    std::vector<ImportSheetRow> rows;
    // How a text file was read: "UTF-8" or "Windows-1252" (empty for
    // workbooks), and its separator.
    QString encoding;
    QChar separator;
    // While reading: the widest row kept, and whether a bound was passed.
    qsizetype widest = 0;
    bool tooLarge = false;
};

// Reads the class lists schools receive: CSV text (comma, semicolon or tab
// between fields, quoted fields with line breaks, UTF-8 with or without a
// byte order mark or else Windows-1252, told apart by the bytes), Excel
// workbooks (.xlsx) and OpenDocument spreadsheets (.ods), the first sheet of
// a workbook. Cells come as their text; dates in workbooks as dd/mm/yyyy.
namespace SheetReader {

// By the name's extension (.csv and .txt are text). Throws SheetReadError.
ImportSheet read(const QString &path);

ImportSheet readCsv(const QByteArray &bytes);
ImportSheet readXlsx(const QString &path);
ImportSheet readOds(const QString &path);

// Whether the libraries that read sheets (a module of the program) can be
// loaded; without them every read is refused with a message saying so.
bool available();

// The text of a file's bytes: UTF-8 when they are (a byte order mark is
// dropped), else Windows-1252; *encoding names which.
QString decodeText(const QByteArray &bytes, QString *encoding);

// Largest file read, and largest part of a workbook unpacked.
constexpr qint64 MaxBytes = qint64(512) * 1024 * 1024;

} // namespace SheetReader
