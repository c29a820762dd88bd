#include "import/sheetreader.h"

#include "archive/codepage.h"
#include "archive/datafolder.h"
#include "sheet/sheetlibraries.h"

#include <QDate>
#include <QFileInfo>
#include <QHash>
#include <QStringDecoder>
#include <QXmlStreamReader>


#include <cmath>

namespace SheetReader {

namespace {

[[noreturn]] void refuse(const QString &message)
{
    throw SheetReadError(message.toUtf8().toStdString());
}

// The libraries, from their module.
const SheetLibraries &libs()
{
    const SheetLibraries *found = SheetLibraries::find();
    if (!found)
        refuse(QStringLiteral("Il programma non può leggere fogli di calcolo: manca il suo modulo lumetra_sheets."));
    return *found;
}

QString unreadable(const QString &path)
{
    return QStringLiteral("Impossibile leggere il file %1.").arg(QFileInfo(path).fileName());
}

QString damaged(const QString &path)
{
    return QStringLiteral("Il file %1 è danneggiato o non è un foglio di calcolo.").arg(QFileInfo(path).fileName());
}

// Drops the trailing empty cells and keeps the row when anything is left.
// A sheet's bounds, those of the spreadsheet programs' own sheets for rows;
// a class list never comes near them, but a damaged or hostile file could
// ask for billions of cells with a few bytes.
// The import pads every row to the widest, so the cells are bounded as
// rows times the widest row.
constexpr int kMaxColumns = 1024;
constexpr int kMaxRows = 1048576;
constexpr qint64 kMaxCells = qint64(8) * 1024 * 1024;

// Past a bound, reading stops keeping rows and the sheet is refused.
bool tooLarge(const ImportSheet &sheet, qsizetype width)
{
    return sheet.rows.size() >= size_t(kMaxRows)
           || qint64(qMax(sheet.widest, width)) * qint64(sheet.rows.size() + 1) > kMaxCells;
}

void refuseTooLarge(const ImportSheet &sheet)
{
    if (sheet.tooLarge)
        refuse(QStringLiteral("Il foglio è troppo grande per importarlo in una volta (più di %1 righe, o più di "
                              "%2 celle): dividerlo in fogli più piccoli.")
                   .arg(kMaxRows)
                   .arg(kMaxCells));
}

void keepRow(ImportSheet &sheet, int line, QStringList cells, bool *headerTaken)
{
    if (sheet.tooLarge)
        return;
    while (!cells.isEmpty() && cells.constLast().trimmed().isEmpty())
        cells.removeLast();
    if (*headerTaken && !cells.isEmpty() && tooLarge(sheet, cells.size())) {
        sheet.tooLarge = true;
        return;
    }
    sheet.widest = qMax(sheet.widest, cells.size());
    if (!*headerTaken) {
        // The first row is the header, even when it is not the file's first.
        if (cells.isEmpty())
            return;
        sheet.header = cells;
        *headerTaken = true;
        return;
    }
    if (!cells.isEmpty())
        sheet.rows.push_back({line, cells});
}

// The separator of a text sheet: the one of comma, semicolon and tab found
// most often in the header line outside quotes (semicolon on a tie, as
// Excel writes in Italy).
char guessSeparator(const QByteArray &bytes)
{
    int semicolons = 0, commas = 0, tabs = 0;
    bool quoted = false;
    for (const char c : bytes) {
        if (c == '"')
            quoted = !quoted;
        else if (!quoted && (c == '\n' || c == '\r'))
            break;
        else if (!quoted && c == ';')
            ++semicolons;
        else if (!quoted && c == ',')
            ++commas;
        else if (!quoted && c == '\t')
            ++tabs;
    }
    if (tabs > semicolons && tabs > commas)
        return '\t';
    return commas > semicolons ? ',' : ';';
}

struct CsvState
{
    ImportSheet *sheet;
    bool utf8;
    QStringList cells;
    int line = 0;
    bool headerTaken = false;
};

void csvField(void *data, size_t size, void *context)
{
    auto *state = static_cast<CsvState *>(context);
    if (state->cells.size() >= kMaxColumns)
        return;
    const char *text = data ? static_cast<const char *>(data) : "";
    state->cells << (state->utf8 ? QString::fromUtf8(text, qsizetype(size))
                                 : CodePage::toUnicode(text, int(size)));
}

void csvRowEnd(int, void *context)
{
    auto *state = static_cast<CsvState *>(context);
    ++state->line;
    keepRow(*state->sheet, state->line, state->cells, &state->headerTaken);
    state->cells.clear();
}

int onlySpace(unsigned char c)
{
    return c == ' ' ? 1 : 0;
}

// The parts of a workbook, unpacked one by one.
class Package
{
public:
    explicit Package(const QString &path) : m_path(path)
    {
        if (!DataFolder::isFile(path))
            refuse(unreadable(path));
        m_zip = libs().unzOpen64(QFile::encodeName(path).constData());
        if (!m_zip)
            refuse(damaged(path));
    }
    ~Package()
    {
        if (m_zip)
            libs().unzClose(m_zip);
    }
    Package(const Package &) = delete;
    Package &operator=(const Package &) = delete;

    bool has(const char *name) { return libs().unzLocateFile(m_zip, name, 1) == UNZ_OK; }

    // The part's bytes; empty when it is missing and not `required`.
    QByteArray part(const QString &name, bool required)
    {
        const QByteArray latin = name.toUtf8();
        if (libs().unzLocateFile(m_zip, latin.constData(), 1) != UNZ_OK) {
            if (required)
                refuse(damaged(m_path));
            return {};
        }
        unz_file_info64 info;
        if (libs().unzGetCurrentFileInfo64(m_zip, &info, nullptr, 0, nullptr, 0, nullptr, 0) != UNZ_OK
            || qint64(info.uncompressed_size) > MaxBytes || libs().unzOpenCurrentFile(m_zip) != UNZ_OK)
            refuse(damaged(m_path));
        QByteArray data(qsizetype(info.uncompressed_size), Qt::Uninitialized);
        qint64 done = 0;
        while (done < data.size()) {
            const int n = libs().unzReadCurrentFile(m_zip, data.data() + done,
                                             unsigned(qMin<qint64>(data.size() - done, 1 << 20)));
            if (n <= 0)
                break;
            done += n;
        }
        const bool whole = libs().unzCloseCurrentFile(m_zip) == UNZ_OK && done == data.size();
        if (!whole)
            refuse(damaged(m_path));
        return data;
    }

private:
    QString m_path;
    unzFile m_zip = nullptr;
};

// "C12" to the 0-based column 2; -1 when there are no letters.
int columnOf(QStringView reference)
{
    int column = 0;
    int letters = 0;
    for (const QChar c : reference) {
        if (c < QLatin1Char('A') || c > QLatin1Char('Z'))
            break;
        // Past the bound it stays past it, without overflowing.
        column = qMin(column * 26 + (c.unicode() - 'A' + 1), kMaxColumns + 1);
        ++letters;
    }
    return letters ? column - 1 : -1;
}

// True for a number format that shows a date.
bool isDateFormat(int id, const QString &code)
{
    if ((id >= 14 && id <= 17) || id == 22)
        return true;
    if (code.isEmpty())
        return false;
    // Quoted text, escaped characters and [colour] or [$-410] sections say nothing.
    QString plain;
    bool quoted = false;
    int bracket = 0;
    for (qsizetype i = 0; i < code.size(); ++i) {
        const QChar c = code[i];
        if (c == QLatin1Char('"'))
            quoted = !quoted;
        else if (quoted)
            continue;
        else if (c == QLatin1Char('\\'))
            ++i;
        else if (c == QLatin1Char('['))
            ++bracket;
        else if (c == QLatin1Char(']'))
            --bracket;
        else if (!bracket)
            plain += c.toLower();
    }
    return plain.contains(QLatin1Char('d')) || plain.contains(QLatin1Char('y'));
}

QString dateFromSerial(const QString &value)
{
    bool ok = false;
    const double serial = value.toDouble(&ok);
    if (!ok || serial < 1 || serial > 2958465)
        return value;
    // Day 0 is 30/12/1899 (Excel's count, with its leap day of 1900 before March).
    return QDate(1899, 12, 30).addDays(qint64(std::floor(serial))).toString(QStringLiteral("dd/MM/yyyy"));
}

QString dateFromIso(const QString &value)
{
    const QDate date = QDate::fromString(value.left(10), Qt::ISODate);
    return date.isValid() ? date.toString(QStringLiteral("dd/MM/yyyy")) : value;
}

// The text of an element and its children, up to its end: the runs of text
// of a shared or inline string (leaving out phonetic hints).
QString xlsxText(QXmlStreamReader &xml)
{
    QString text;
    int depth = 1;
    while (depth > 0 && !xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement()) {
            if (xml.name() == QLatin1String("rPh")) {
                xml.skipCurrentElement();
                continue;
            }
            ++depth;
        } else if (xml.isEndElement()) {
            --depth;
        } else if (xml.isCharacters()) {
            text += xml.text();
        }
    }
    return text;
}

QStringList sharedStrings(const QByteArray &part)
{
    QStringList strings;
    QXmlStreamReader xml(part);
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement() && xml.name() == QLatin1String("si"))
            strings << xlsxText(xml);
    }
    return strings;
}

// For each cell style (the s= of a cell), whether it shows a date.
std::vector<bool> dateStyles(const QByteArray &part)
{
    QHash<int, QString> codes;
    std::vector<bool> dates;
    QXmlStreamReader xml(part);
    bool inCellXfs = false;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement()) {
            const auto a = xml.attributes();
            if (xml.name() == QLatin1String("numFmt"))
                codes.insert(a.value(QLatin1String("numFmtId")).toInt(), a.value(QLatin1String("formatCode")).toString());
            else if (xml.name() == QLatin1String("cellXfs"))
                inCellXfs = true;
            else if (inCellXfs && xml.name() == QLatin1String("xf")) {
                const int id = a.value(QLatin1String("numFmtId")).toInt();
                dates.push_back(isDateFormat(id, codes.value(id)));
            }
        } else if (xml.isEndElement() && xml.name() == QLatin1String("cellXfs")) {
            inCellXfs = false;
        }
    }
    return dates;
}

// The path of the workbook's first sheet.
QString firstSheetPart(Package &package)
{
    QString relation;
    {
        QXmlStreamReader xml(package.part(QStringLiteral("xl/workbook.xml"), true));
        while (!xml.atEnd() && relation.isEmpty()) {
            xml.readNext();
            if (xml.isStartElement() && xml.name() == QLatin1String("sheet"))
                for (const QXmlStreamAttribute &a : xml.attributes())
                    if (a.name() == QLatin1String("id"))
                        relation = a.value().toString();
        }
    }
    QXmlStreamReader xml(package.part(QStringLiteral("xl/_rels/workbook.xml.rels"), false));
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement() && xml.name() == QLatin1String("Relationship")
            && xml.attributes().value(QLatin1String("Id")) == relation) {
            QString target = xml.attributes().value(QLatin1String("Target")).toString();
            if (target.startsWith(QLatin1Char('/')))
                return target.mid(1);
            return QStringLiteral("xl/") + target;
        }
    }
    return QStringLiteral("xl/worksheets/sheet1.xml");
}

void putCell(QStringList &cells, int column, const QString &text)
{
    if (column < 0 || column >= kMaxColumns)
        return;
    while (cells.size() <= column)
        cells << QString();
    cells[column] = text;
}

// The text of an OpenDocument paragraph: spaces, tabs and line breaks written
// as elements, the text of spans and links.
void odsParagraph(QXmlStreamReader &xml, QString *text)
{
    int depth = 1;
    while (depth > 0 && !xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement()) {
            const auto name = xml.name();
            if (name == QLatin1String("s")) {
                const int n = qBound(1, xml.attributes().value(QLatin1String("text:c")).toInt(), kMaxColumns);
                *text += QString(n, QLatin1Char(' '));
            } else if (name == QLatin1String("tab")) {
                *text += QLatin1Char('\t');
            } else if (name == QLatin1String("line-break")) {
                *text += QLatin1Char('\n');
            } else if (name == QLatin1String("annotation")) {
                xml.skipCurrentElement();
                continue;
            }
            ++depth;
        } else if (xml.isEndElement()) {
            --depth;
        } else if (xml.isCharacters()) {
            *text += xml.text();
        }
    }
}

} // namespace

QString decodeText(const QByteArray &bytes, QString *encoding)
{
    QByteArrayView view(bytes);
    if (view.startsWith("\xEF\xBB\xBF")) {
        *encoding = QStringLiteral("UTF-8");
        return QString::fromUtf8(view.sliced(3));
    }
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(view);
    if (!utf8.hasError()) {
        *encoding = QStringLiteral("UTF-8");
        return text;
    }
    *encoding = QStringLiteral("Windows-1252");
    return CodePage::toUnicode(bytes);
}

ImportSheet readCsv(const QByteArray &file)
{
    ImportSheet sheet;
    QByteArray bytes = file;
    if (bytes.startsWith("\xEF\xBB\xBF"))
        bytes.remove(0, 3);
    QString encoding;
    decodeText(bytes, &encoding);
    sheet.encoding = encoding;
    const char separator = guessSeparator(bytes);
    sheet.separator = QLatin1Char(separator);

    csv_parser parser;
    if (libs().csv_init(&parser, 0) != 0)
        refuse(QStringLiteral("Memoria insufficiente per leggere il file."));
    libs().csv_set_delim(&parser, static_cast<unsigned char>(separator));
    libs().csv_set_space_func(&parser, onlySpace);
    CsvState state{&sheet, encoding == QLatin1String("UTF-8"), {}, 0, false};
    const size_t parsed = libs().csv_parse(&parser, bytes.constData(), size_t(bytes.size()), csvField, csvRowEnd, &state);
    const bool ok = parsed == size_t(bytes.size()) && libs().csv_fini(&parser, csvField, csvRowEnd, &state) == 0;
    libs().csv_free(&parser);
    if (!ok)
        refuse(QStringLiteral("Il file non è un testo CSV leggibile."));
    refuseTooLarge(sheet);
    return sheet;
}

ImportSheet readXlsx(const QString &path)
{
    Package package(path);
    const QStringList shared = sharedStrings(package.part(QStringLiteral("xl/sharedStrings.xml"), false));
    const std::vector<bool> dates = dateStyles(package.part(QStringLiteral("xl/styles.xml"), false));
    const QByteArray part = package.part(firstSheetPart(package), true);

    ImportSheet sheet;
    bool headerTaken = false;
    QXmlStreamReader xml(part);
    QStringList cells;
    int line = 0;
    int nextColumn = 0;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement() && xml.name() == QLatin1String("row")) {
            const int r = xml.attributes().value(QLatin1String("r")).toInt();
            line = r > 0 ? r : line + 1;
            cells.clear();
            nextColumn = 0;
        } else if (xml.isEndElement() && xml.name() == QLatin1String("row")) {
            keepRow(sheet, line, cells, &headerTaken);
        } else if (xml.isStartElement() && xml.name() == QLatin1String("c")) {
            const auto a = xml.attributes();
            int column = columnOf(a.value(QLatin1String("r")));
            if (column < 0)
                column = nextColumn;
            nextColumn = column + 1;
            const QString type = a.value(QLatin1String("t")).toString();
            const int style = a.value(QLatin1String("s")).toInt();
            QString value;
            QString inlineText;
            int depth = 1;
            while (depth > 0 && !xml.atEnd()) {
                xml.readNext();
                if (xml.isStartElement()) {
                    if (xml.name() == QLatin1String("v")) {
                        value = xml.readElementText();
                    } else if (xml.name() == QLatin1String("is")) {
                        inlineText = xlsxText(xml);
                    } else {
                        ++depth;
                    }
                } else if (xml.isEndElement()) {
                    --depth;
                }
            }
            QString text;
            if (type == QLatin1String("s")) {
                const int index = value.toInt();
                text = index >= 0 && index < shared.size() ? shared.at(index) : QString();
            } else if (type == QLatin1String("inlineStr")) {
                text = inlineText;
            } else if (type.isEmpty() || type == QLatin1String("n")) {
                text = style >= 0 && size_t(style) < dates.size() && dates[size_t(style)] && !value.isEmpty()
                           ? dateFromSerial(value)
                           : value;
            } else if (type == QLatin1String("d")) {
                text = dateFromIso(value);
            } else {
                text = value;
            }
            putCell(cells, column, text);
        }
    }
    if (xml.hasError())
        refuse(damaged(path));
    refuseTooLarge(sheet);
    return sheet;
}

ImportSheet readOds(const QString &path)
{
    Package package(path);
    const QByteArray content = package.part(QStringLiteral("content.xml"), true);
    ImportSheet sheet;
    bool headerTaken = false;
    QXmlStreamReader xml(content);
    int line = 0;
    bool inTable = false;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement() && xml.name() == QLatin1String("table") && !inTable) {
            inTable = true;
        } else if (xml.isEndElement() && xml.name() == QLatin1String("table") && inTable) {
            break; // the first sheet only
        } else if (inTable && xml.isStartElement() && xml.name() == QLatin1String("table-row")) {
            const int repeated =
                qBound(1, xml.attributes().value(QLatin1String("table:number-rows-repeated")).toInt(), kMaxRows + 1);
            QStringList cells;
            int pendingEmpty = 0;
            int depth = 1;
            while (depth > 0 && !xml.atEnd()) {
                xml.readNext();
                if (xml.isStartElement()
                    && (xml.name() == QLatin1String("table-cell") || xml.name() == QLatin1String("covered-table-cell"))) {
                    const auto a = xml.attributes();
                    const int times =
                        qBound(1, a.value(QLatin1String("table:number-columns-repeated")).toInt(), kMaxColumns);
                    const QString type = a.value(QLatin1String("office:value-type")).toString();
                    const QString dateValue = a.value(QLatin1String("office:date-value")).toString();
                    QString text;
                    int paragraphs = 0;
                    int inner = 1;
                    while (inner > 0 && !xml.atEnd()) {
                        xml.readNext();
                        if (xml.isStartElement()) {
                            if (xml.name() == QLatin1String("p")) {
                                if (paragraphs++)
                                    text += QLatin1Char('\n');
                                odsParagraph(xml, &text);
                            } else if (xml.name() == QLatin1String("annotation")) {
                                xml.skipCurrentElement();
                            } else {
                                ++inner;
                            }
                        } else if (xml.isEndElement()) {
                            --inner;
                        }
                    }
                    if (type == QLatin1String("date") && !dateValue.isEmpty())
                        text = dateFromIso(dateValue);
                    if (text.isEmpty()) {
                        // Empty cells repeated to the sheet's edge are never made.
                        pendingEmpty = qMin(pendingEmpty + times, kMaxColumns);
                    } else {
                        for (; pendingEmpty > 0 && cells.size() < kMaxColumns; --pendingEmpty)
                            cells << QString();
                        pendingEmpty = 0;
                        for (int i = 0; i < times && cells.size() < kMaxColumns; ++i)
                            cells << text;
                    }
                } else if (xml.isStartElement()) {
                    ++depth;
                } else if (xml.isEndElement()) {
                    --depth;
                }
            }
            if (cells.isEmpty()) {
                line = qMin(line + repeated, kMaxRows + 1);
                continue;
            }
            for (int i = 0; i < repeated && !sheet.tooLarge; ++i)
                keepRow(sheet, ++line, cells, &headerTaken);
        }
    }
    if (xml.hasError())
        refuse(damaged(path));
    refuseTooLarge(sheet);
    return sheet;
}

bool available()
{
    return SheetLibraries::find() != nullptr;
}

ImportSheet read(const QString &path)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    ImportSheet sheet;
    if (suffix == QLatin1String("xlsx")) {
        sheet = readXlsx(path);
    } else if (suffix == QLatin1String("ods")) {
        sheet = readOds(path);
    } else if (suffix == QLatin1String("csv") || suffix == QLatin1String("txt")) {
        QByteArray bytes;
        if (DataFolder::readAll(path, MaxBytes, &bytes) != DataFolder::Read::Done)
            refuse(unreadable(path));
        sheet = readCsv(bytes);
    } else {
        refuse(QStringLiteral("Il file %1 non è di un tipo che si può importare: si importano file .csv, .xlsx e "
                              ".ods.")
                   .arg(QFileInfo(path).fileName()));
    }
    if (sheet.header.isEmpty())
        refuse(QStringLiteral("Il file %1 è vuoto: la prima riga deve contenere i titoli delle colonne.")
                   .arg(QFileInfo(path).fileName()));
    return sheet;
}

} // namespace SheetReader
