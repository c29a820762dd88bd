#pragma once

#include "sheet/tablewriter.h"

#include <string>

struct lxw_workbook;
struct lxw_worksheet;
struct lxw_format;

// A table as an Office Open XML workbook (.xlsx), written with libxlsxwriter
// in its constant-memory mode: each finished row goes to the library's
// temporary file, and the workbook is packed at commit(). Text cells carry
// the number format "@", so Excel keeps later typing text too.
class XlsxTableWriter : public TableWriter
{
public:
    // As TableWriter::open().
    XlsxTableWriter(const QString &path, const QString &sheetName, const QList<Column> &columns);
    ~XlsxTableWriter() override;

protected:
    void beginSheet(int sheet) override;
    void writeRow(const QString *cells, qsizetype count) override;
    QString finish() override;

private:
    void put(int column, QStringView cell, lxw_format *format);

    QString m_file;
    QByteArray m_tmpdir;
    lxw_workbook *m_book = nullptr;
    lxw_worksheet *m_sheet = nullptr;
    lxw_format *m_text = nullptr;
    lxw_format *m_bold = nullptr;
    quint32 m_row = 0; // the next row of the current sheet
    std::string m_utf8;
};
