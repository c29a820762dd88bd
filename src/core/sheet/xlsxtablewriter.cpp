#include "sheet/xlsxtablewriter.h"

#include "archive/recordfile.h"
#include "sheet/sheetlibraries.h"
#include "sheet/sheettext.h"

#include <QFile>


namespace {

const char kFailure[] = "the workbook could not be written";

[[noreturn]] void fail()
{
    throw FileAccessError(kFailure);
}

// The libraries, from their module.
const SheetLibraries &libs()
{
    const SheetLibraries *found = SheetLibraries::find();
    if (!found)
        fail();
    return *found;
}

// The sheet's paper code for A4.
constexpr uint8_t kPaperA4 = 9;

} // namespace

XlsxTableWriter::XlsxTableWriter(const QString &path, const QString &sheetName, const QList<Column> &columns)
    : TableWriter(path, sheetName, columns),
      m_file(workFile(QStringLiteral("table.xlsx"))),
      m_tmpdir(QFile::encodeName(workFile(QString())))
{
    lxw_workbook_options options{};
    options.constant_memory = LXW_TRUE;
    options.tmpdir = m_tmpdir.data();
    m_book = libs().workbook_new_opt(QFile::encodeName(m_file).constData(), &options);
    if (!m_book)
        fail();
    m_text = libs().workbook_add_format(m_book);
    m_bold = libs().workbook_add_format(m_book);
    if (!m_text || !m_bold)
        fail();
    libs().format_set_num_format(m_text, "@");
    libs().format_set_num_format(m_bold, "@");
    libs().format_set_bold(m_bold);
}

XlsxTableWriter::~XlsxTableWriter()
{
    if (m_book)
        libs().lxw_workbook_free(m_book); // never packed: nothing written but temporaries
}

void XlsxTableWriter::beginSheet(int sheet)
{
    m_sheet = libs().workbook_add_worksheet(m_book, sheetName(sheet).toUtf8().constData());
    if (!m_sheet)
        fail();
    const QList<Column> &all = columns();
    for (int c = 0; c < all.size(); ++c)
        if (libs().worksheet_set_column_pixels(m_sheet, lxw_col_t(c), lxw_col_t(c), uint32_t(qMax(0, all[c].widthPixels)),
                                        m_text)
            != LXW_NO_ERROR)
            fail();
    libs().worksheet_freeze_panes(m_sheet, 1, 0);
    libs().worksheet_repeat_rows(m_sheet, 0, 0);
    // A table is wider than tall: fewer pages across.
    libs().worksheet_set_landscape(m_sheet);
    libs().worksheet_set_paper(m_sheet, kPaperA4);
    m_row = 0;
    for (int c = 0; c < all.size(); ++c)
        put(c, all[c].header, m_bold);
    m_row = 1;
}

void XlsxTableWriter::writeRow(const QString *cells, qsizetype count)
{
    for (qsizetype c = 0; c < count; ++c)
        put(int(c), cells[c], m_text);
    ++m_row;
}

void XlsxTableWriter::put(int column, QStringView cell, lxw_format *format)
{
    if (cell.isEmpty())
        return;
    SheetText::toUtf8(cut(cell), m_utf8);
    if (libs().worksheet_write_string(m_sheet, m_row, lxw_col_t(column), m_utf8.c_str(), format) != LXW_NO_ERROR)
        fail();
}

QString XlsxTableWriter::finish()
{
    lxw_workbook *book = m_book;
    m_book = nullptr;
    // Frees the workbook whatever the outcome.
    if (libs().workbook_close(book) != LXW_NO_ERROR)
        fail();
    return m_file;
}
