#pragma once

#include "sheet/tablewriter.h"

#include <string>

// A table as an OpenDocument spreadsheet (.ods): the sheet's markup streamed
// row by row straight into the compressed package (Debian's minizip), no copy
// of the table held. Text cells carry a text number format, so LibreOffice
// keeps later typing text too; the frozen header is a view setting.
class OdsTableWriter : public TableWriter
{
public:
    // As TableWriter::open().
    OdsTableWriter(const QString &path, const QString &sheetName, const QList<Column> &columns);
    ~OdsTableWriter() override;

protected:
    void beginSheet(int sheet) override;
    void writeRow(const QString *cells, qsizetype count) override;
    QString finish() override;

private:
    void add(const char *name, const std::string &content, bool compressed);
    void append(const char *text);
    void appendCell(QStringView text);
    void flush();
    void endSheet();

    QString m_file;
    void *m_zip = nullptr; // zipFile
    int m_sheets = 0;
    std::string m_buffer;
    std::string m_utf8;
    quint64 m_contentBytes = 0;
};
