#include "sheet/odstablewriter.h"

#include "archive/recordfile.h"
#include "sheet/sheetlibraries.h"
#include "sheet/sheettext.h"

#include <QDateTime>
#include <QFile>


#include <cstdio>

namespace {

const char kFailure[] = "the spreadsheet could not be written";

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

// Markup gathered before it goes to the package.
constexpr size_t kFlushBytes = 64 * 1024;

const char kNamespaces[] =
    " xmlns:office=\"urn:oasis:names:tc:opendocument:xmlns:office:1.0\""
    " xmlns:style=\"urn:oasis:names:tc:opendocument:xmlns:style:1.0\""
    " xmlns:text=\"urn:oasis:names:tc:opendocument:xmlns:text:1.0\""
    " xmlns:table=\"urn:oasis:names:tc:opendocument:xmlns:table:1.0\""
    " xmlns:fo=\"urn:oasis:names:tc:opendocument:xmlns:xsl-fo-compatible:1.0\""
    " xmlns:number=\"urn:oasis:names:tc:opendocument:xmlns:datastyle:1.0\""
    " xmlns:config=\"urn:oasis:names:tc:opendocument:xmlns:config:1.0\""
    " xmlns:manifest=\"urn:oasis:names:tc:opendocument:xmlns:manifest:1.0\""
    " office:version=\"1.2\"";

const char kMimeType[] = "application/vnd.oasis.opendocument.spreadsheet";

// A package entry dated now, as a file saved now would be.
zip_fileinfo entryInfo()
{
    const QDateTime now = QDateTime::currentDateTime();
    zip_fileinfo info{};
    info.tmz_date.tm_sec = uInt(now.time().second());
    info.tmz_date.tm_min = uInt(now.time().minute());
    info.tmz_date.tm_hour = uInt(now.time().hour());
    info.tmz_date.tm_mday = uInt(now.date().day());
    info.tmz_date.tm_mon = uInt(now.date().month() - 1);
    info.tmz_date.tm_year = uInt(now.date().year());
    return info;
}

std::string escaped(const QString &text)
{
    std::string utf8;
    SheetText::toUtf8(text, utf8);
    std::string out;
    for (const char c : utf8) {
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        default: out += c;
        }
    }
    return out;
}

std::string manifest()
{
    std::string m = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<manifest:manifest";
    m += kNamespaces;
    m += "><manifest:file-entry manifest:full-path=\"/\" manifest:version=\"1.2\" manifest:media-type=\"";
    m += kMimeType;
    m += "\"/>";
    for (const char *part : {"content.xml", "styles.xml", "settings.xml"}) {
        m += "<manifest:file-entry manifest:full-path=\"";
        m += part;
        m += "\" manifest:media-type=\"text/xml\"/>";
    }
    m += "</manifest:manifest>";
    return m;
}

// A4 landscape, the page every sheet prints on.
std::string styles()
{
    std::string s = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<office:document-styles";
    s += kNamespaces;
    s += "><office:automatic-styles><style:page-layout style:name=\"pm1\"><style:page-layout-properties"
         " fo:page-width=\"29.7cm\" fo:page-height=\"21cm\" style:print-orientation=\"landscape\""
         " fo:margin-top=\"1.5cm\" fo:margin-bottom=\"1.5cm\" fo:margin-left=\"1.5cm\" fo:margin-right=\"1.5cm\"/>"
         "</style:page-layout></office:automatic-styles><office:master-styles>"
         "<style:master-page style:name=\"Default\" style:page-layout-name=\"pm1\"/>"
         "</office:master-styles></office:document-styles>";
    return s;
}

// Each sheet's view: frozen below the header row.
std::string settings(const QStringList &sheets)
{
    const auto item = [](const char *name, const char *type, const char *value) {
        return std::string("<config:config-item config:name=\"") + name + "\" config:type=\"" + type + "\">" + value
               + "</config:config-item>";
    };
    std::string s = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<office:document-settings";
    s += kNamespaces;
    s += "><office:settings><config:config-item-set config:name=\"ooo:view-settings\">"
         "<config:config-item-map-indexed config:name=\"Views\"><config:config-item-map-entry>";
    s += item("ViewId", "string", "view1");
    s += "<config:config-item-map-named config:name=\"Tables\">";
    for (const QString &sheet : sheets) {
        s += "<config:config-item-map-entry config:name=\"" + escaped(sheet) + "\">";
        s += item("HorizontalSplitMode", "short", "0");
        s += item("VerticalSplitMode", "short", "2");
        s += item("VerticalSplitPosition", "int", "1");
        s += item("ActiveSplitRange", "short", "2");
        s += item("PositionTop", "int", "0");
        s += item("PositionBottom", "int", "1");
        s += "</config:config-item-map-entry>";
    }
    s += "</config:config-item-map-named>";
    s += item("ActiveTable", "string", escaped(sheets.value(0)).c_str());
    s += "</config:config-item-map-entry></config:config-item-map-indexed></config:config-item-set>"
         "</office:settings></office:document-settings>";
    return s;
}

} // namespace

OdsTableWriter::OdsTableWriter(const QString &path, const QString &sheetName, const QList<Column> &columns)
    : TableWriter(path, sheetName, columns), m_file(workFile(QStringLiteral("table.ods")))
{
    m_zip = libs().zipOpen64(QFile::encodeName(m_file).constData(), APPEND_STATUS_CREATE);
    if (!m_zip)
        fail();
    // The type first and stored as it is: how a program knows the package
    // without unpacking it.
    add("mimetype", kMimeType, false);
    add("META-INF/manifest.xml", manifest(), true);
    add("styles.xml", styles(), true);

    const zip_fileinfo info = entryInfo();
    if (libs().zipOpenNewFileInZip64(m_zip, "content.xml", &info, nullptr, 0, nullptr, 0, nullptr, Z_DEFLATED,
                              Z_DEFAULT_COMPRESSION, 0)
        != ZIP_OK)
        fail();
    m_buffer = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<office:document-content";
    m_buffer += kNamespaces;
    m_buffer += "><office:automatic-styles>"
                "<number:text-style style:name=\"N100\"><number:text-content/></number:text-style>"
                "<style:style style:name=\"ta1\" style:family=\"table\" style:master-page-name=\"Default\">"
                "<style:table-properties table:display=\"true\"/></style:style>"
                "<style:style style:name=\"ce1\" style:family=\"table-cell\" style:data-style-name=\"N100\"/>"
                "<style:style style:name=\"ce2\" style:family=\"table-cell\" style:data-style-name=\"N100\">"
                "<style:text-properties fo:font-weight=\"bold\" style:font-weight-asian=\"bold\""
                " style:font-weight-complex=\"bold\"/></style:style>";
    for (int c = 0; c < columns.size(); ++c) {
        char width[32];
        std::snprintf(width, sizeof width, "%.4fin", qMax(0, columns[c].widthPixels) / 96.0);
        m_buffer += "<style:style style:name=\"co" + std::to_string(c + 1)
                    + "\" style:family=\"table-column\"><style:table-column-properties style:column-width=\""
                    + width + "\"/></style:style>";
    }
    m_buffer += "</office:automatic-styles><office:body><office:spreadsheet>";
}

OdsTableWriter::~OdsTableWriter()
{
    // Never packed: the unfinished package goes with the temporary folder.
    if (m_zip)
        libs().zipClose(m_zip, nullptr);
}

void OdsTableWriter::add(const char *name, const std::string &content, bool compressed)
{
    const zip_fileinfo info = entryInfo();
    if (libs().zipOpenNewFileInZip64(m_zip, name, &info, nullptr, 0, nullptr, 0, nullptr, compressed ? Z_DEFLATED : 0,
                              compressed ? Z_DEFAULT_COMPRESSION : 0, 0)
            != ZIP_OK
        || libs().zipWriteInFileInZip(m_zip, content.data(), unsigned(content.size())) != ZIP_OK
        || libs().zipCloseFileInZip(m_zip) != ZIP_OK)
        fail();
}

void OdsTableWriter::append(const char *text)
{
    m_buffer += text;
}

void OdsTableWriter::flush()
{
    if (m_buffer.empty())
        return;
    m_contentBytes += m_buffer.size();
    // A package entry without the ZIP64 extension ends at 4 GiB.
    if (m_contentBytes > 0xFFFFFFFFull || libs().zipWriteInFileInZip(m_zip, m_buffer.data(), unsigned(m_buffer.size())) != ZIP_OK)
        fail();
    m_buffer.clear();
}

void OdsTableWriter::beginSheet(int sheet)
{
    if (m_sheets > 0)
        endSheet();
    m_sheets = sheet;
    m_buffer += "<table:table table:name=\"" + escaped(sheetName(sheet)) + "\" table:style-name=\"ta1\">";
    for (int c = 0; c < columns().size(); ++c)
        m_buffer += "<table:table-column table:style-name=\"co" + std::to_string(c + 1)
                    + "\" table:default-cell-style-name=\"ce1\"/>";
    m_buffer += "<table:table-header-rows><table:table-row>";
    for (const Column &column : columns()) {
        append("<table:table-cell table:style-name=\"ce2\" office:value-type=\"string\">");
        appendCell(column.header);
        append("</table:table-cell>");
    }
    m_buffer += "</table:table-row></table:table-header-rows>";
}

void OdsTableWriter::endSheet()
{
    append("</table:table>");
}

void OdsTableWriter::writeRow(const QString *cells, qsizetype count)
{
    // Trailing empty cells are left out, as a spreadsheet program does.
    while (count > 0 && cells[count - 1].isEmpty())
        --count;
    append("<table:table-row>");
    for (qsizetype c = 0; c < count; ++c) {
        if (cells[c].isEmpty()) {
            append("<table:table-cell/>");
            continue;
        }
        append("<table:table-cell office:value-type=\"string\">");
        appendCell(cells[c]);
        append("</table:table-cell>");
    }
    append("</table:table-row>");
    if (m_buffer.size() >= kFlushBytes)
        flush();
}

// A paragraph of text. The document's rules fold runs of spaces and drop
// them at the ends of a paragraph, so every space but a single one between
// words is written as a space element; tabs and line breaks have their own.
void OdsTableWriter::appendCell(QStringView text)
{
    SheetText::toUtf8(cut(text), m_utf8);
    append("<text:p>");
    const size_t size = m_utf8.size();
    for (size_t i = 0; i < size;) {
        const char c = m_utf8[i];
        if (c == ' ') {
            size_t run = 1;
            while (i + run < size && m_utf8[i + run] == ' ')
                ++run;
            if (run == 1 && i > 0 && i + 1 < size)
                m_buffer += ' ';
            else
                m_buffer += "<text:s text:c=\"" + std::to_string(run) + "\"/>";
            i += run;
            continue;
        }
        switch (c) {
        case '&': m_buffer += "&amp;"; break;
        case '<': m_buffer += "&lt;"; break;
        case '>': m_buffer += "&gt;"; break;
        case '\t': m_buffer += "<text:tab/>"; break;
        case '\r':
            if (i + 1 < size && m_utf8[i + 1] == '\n')
                break; // a CR LF is one line break
            m_buffer += "<text:line-break/>";
            break;
        case '\n': m_buffer += "<text:line-break/>"; break;
        default: m_buffer += c;
        }
        ++i;
    }
    append("</text:p>");
}

QString OdsTableWriter::finish()
{
    endSheet();
    append("</office:spreadsheet></office:body></office:document-content>");
    flush();
    if (libs().zipCloseFileInZip(m_zip) != ZIP_OK)
        fail();
    QStringList sheets;
    for (int s = 1; s <= m_sheets; ++s)
        sheets << sheetName(s);
    add("settings.xml", settings(sheets), true);
    void *zip = m_zip;
    m_zip = nullptr;
    if (libs().zipClose(zip, nullptr) != ZIP_OK)
        fail();
    return m_file;
}
