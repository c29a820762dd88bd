#include "spreadsheetexport.h"

#include "archivetablemodel.h"
#include "exportcolumns.h"

#include "archive/atomicfile.h"
#include "archive/codepage.h"
#include "archive/fieldcodec.h"
#include "archive/recordfile.h"
#include "sheet/tablewriter.h"

#include <QFileInfo>


#include <array>
#include <cstring>
#include <memory>

namespace {

const char kFailure[] = "the export file could not be written";

// A whole file written through a small buffer and put in place only once all
// of it is on the disk (AtomicWriter):
// a failure anywhere (a full disk, a folder that takes no new file) leaves
// the previous file untouched. Throws FileAccessError.
class AtomicStream
{
public:
    explicit AtomicStream(const QString &path)
        : m_file(path), m_buffer(std::make_unique<char[]>(kBufferBytes))
    {
        if (!m_file.isOpen())
            throw FileAccessError(kFailure);
    }

    void append(const char *data, qsizetype size)
    {
        // An empty fragment may come with no storage at all: memcpy must not see it.
        if (size <= 0)
            return;
        if (m_used + size > kBufferBytes) {
            drain();
            if (size > kBufferBytes) {
                put(data, size);
                return;
            }
        }
        std::memcpy(m_buffer.get() + m_used, data, size_t(size));
        m_used += size;
    }
    void append(QByteArrayView bytes) { append(bytes.data(), bytes.size()); }

    // Everything to the disk, then the file under its name.
    void commit()
    {
        drain();
        if (!m_file.commit())
            throw FileAccessError(kFailure);
    }
    // Not committed: the writer drops the temporary file.

private:
    static constexpr qsizetype kBufferBytes = 64 * 1024;

    void drain()
    {
        put(m_buffer.get(), m_used);
        m_used = 0;
    }
    void put(const char *data, qsizetype size)
    {
        if (size > 0 && !m_file.write(data, size))
            throw FileAccessError(kFailure);
    }

    AtomicWriter m_file;
    std::unique_ptr<char[]> m_buffer;
    qsizetype m_used = 0;
};

// What each byte of a cell's text becomes in the markup: nullptr for itself.
// Control characters inside a text (its ends are trimmed) become a space, so
// the file never holds a line break and the sheet never a stray control.
const std::array<const char *, 256> &replacements()
{
    static const std::array<const char *, 256> table = [] {
        std::array<const char *, 256> t{};
        for (int b = 0; b < 32; ++b)
            t[size_t(b)] = " ";
        t[0x7F] = " ";
        t['&'] = "&amp;";
        t['<'] = "&lt;";
        t['>'] = "&gt;";
        t['"'] = "&quot;";
        return t;
    }();
    return table;
}

void appendText(AtomicStream &out, QByteArrayView text)
{
    const auto &replace = replacements();
    const char *run = text.data();
    const char *const end = text.data() + text.size();
    for (const char *p = run; p != end; ++p) {
        const char *with = replace[static_cast<unsigned char>(*p)];
        if (!with)
            continue;
        out.append(run, p - run);
        out.append(with, qsizetype(std::strlen(with)));
        run = p + 1;
    }
    out.append(run, end - run);
}

QByteArray head()
{
    QByteArray bytes =
        "<html xmlns:o=\"urn:schemas-microsoft-com:office:office\""
        " xmlns:x=\"urn:schemas-microsoft-com:office:excel\""
        " xmlns=\"http://www.w3.org/TR/REC-html40\">"
        "<head>"
        "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=windows-1252\">"
        "<!--[if gte mso 9]><xml>"
        "<x:ExcelWorkbook>"
        "<x:ExcelWorksheets>"
        "<x:ExcelWorksheet>"
        "<x:Name>Archivio Studenti</x:Name>"
        "<x:WorksheetOptions>"
        "<x:Selected/>"
        "<x:Panes>"
        "<x:Pane>"
        "<x:Number>1</x:Number>"
        "<x:ActiveRow>3</x:ActiveRow>"
        "</x:Pane>"
        "</x:Panes>"
        "<x:ProtectContents>False</x:ProtectContents>"
        "<x:ProtectObjects>False</x:ProtectObjects>"
        "<x:ProtectScenarios>False</x:ProtectScenarios>"
        "</x:WorksheetOptions>"
        "</x:ExcelWorksheet>"
        "</x:ExcelWorksheets>"
        "</x:ExcelWorkbook>"
        "</xml><![endif]-->"
        "</head>"
        "<body>"
        "<table x:str>"
        "<tr>";
    const auto &columns = ExportColumns::columns();
    for (size_t c = 1; c < columns.size(); ++c) {
        bytes += "<td style=\"text-align: left; font-weight: bold;\" width=";
        bytes += QByteArray::number(columns[c].sheetWidth);
        bytes += '>';
        bytes += CodePage::fromUnicode(QString::fromUtf8(columns[c].header));
        bytes += "</td>";
    }
    bytes += "</tr>";
    return bytes;
}

// A cell of the workbook as the .xls has it: control characters inside the
// text written as spaces.
void spaceControls(QString &text)
{
    for (QChar &ch : text)
        if (ch.unicode() < 32 || ch.unicode() == 0x7F)
            ch = QLatin1Char(' ');
}

} // namespace

namespace SpreadsheetExport {

QString fileName()
{
    return QStringLiteral("Archivio_Studenti.xls");
}

void write(const QString &path, const ArchiveTableModel &table)
{
    // The operator's own protection of the file wins, for every user alike.
    const QFileInfo existing(path);
    if (existing.exists() && existing.isFile() && !(existing.permissions() & QFileDevice::WriteOwner))
        throw FileAccessError(kFailure);

    AtomicStream out(path);
    out.append(head());
    static constexpr QByteArrayView cellStart("<td style=\"text-align: left;\">");
    static constexpr QByteArrayView cellEnd("</td>");
    const int rows = table.rowCount();
    for (int row = 0; row < rows; ++row) {
        out.append("<tr>", 4);
        for (int column = 1; column < ExportColumns::Count; ++column) {
            out.append(cellStart);
            if (const QString *edited = table.editedText(row, column))
                appendText(out, CodePage::fromUnicode(FieldCodec::trimControls(*edited)));
            else
                appendText(out, table.storedBytes(row, column));
            out.append(cellEnd);
        }
        out.append("</tr>", 5);
    }
    out.append(QByteArrayView("</table></body></html>"));
    out.commit();
}

QString workbookFileName()
{
    return QStringLiteral("Archivio_Studenti.xlsx");
}

void writeWorkbook(const QString &path, const ArchiveTableModel &table)
{
    const auto &columns = ExportColumns::columns();
    QList<TableWriter::Column> sheetColumns;
    for (size_t c = 1; c < columns.size(); ++c)
        sheetColumns.append({QString::fromUtf8(columns[c].header), columns[c].sheetWidth});
    const std::unique_ptr<TableWriter> out =
        TableWriter::open(TableWriter::formatOf(path).value_or(TableWriter::Format::Xlsx), path,
                          QStringLiteral("Archivio Studenti"), sheetColumns);

    QString cells[ExportColumns::FieldCount];
    const int rows = table.rowCount();
    for (int row = 0; row < rows; ++row) {
        for (int column = 1; column < ExportColumns::Count; ++column) {
            QString &cell = cells[column - 1];
            if (const QString *edited = table.editedText(row, column)) {
                cell = FieldCodec::trimControls(*edited);
            } else {
                const QByteArrayView bytes = table.storedBytes(row, column);
                cell = CodePage::toUnicode(bytes.data(), int(bytes.size()));
            }
            spaceControls(cell);
        }
        out->appendRow(cells, ExportColumns::FieldCount);
    }
    out->commit();
}

} // namespace SpreadsheetExport
