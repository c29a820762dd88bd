#pragma once

// A spreadsheet file as LibreOffice reads it: the file converted headless
// (soffice --convert-to) to CSV or to a flat OpenDocument sheet (.fods),
// and those read back, so a test sees the cells, their types and the
// sheet's formatting as a spreadsheet program took them.

#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QList>
#include <QProcess>
#include <QStandardPaths>
#include <QString>
#include <QStringList>
#include <QXmlStreamReader>

namespace Office {

// The LibreOffice command, empty when it is not installed.
inline QString program()
{
    const QString soffice = QStandardPaths::findExecutable(QStringLiteral("soffice"));
    return soffice.isEmpty() ? QStandardPaths::findExecutable(QStringLiteral("libreoffice")) : soffice;
}

// Converts `file` with the filter `to` ("csv:...", "fods") into `outDir`
// with a private profile there; returns the converted file's path, or empty
// with *why set.
inline QString convert(const QString &file, const QString &to, const QString &outDir, QString *why)
{
    const QString office = program();
    if (office.isEmpty()) {
        *why = QStringLiteral("LibreOffice (soffice) is not installed: the Debian package libreoffice-calc-nogui "
                              "provides it");
        return {};
    }
    QProcess convert;
    convert.setProcessChannelMode(QProcess::MergedChannels);
    convert.start(office, {QStringLiteral("-env:UserInstallation=file://") + outDir + QStringLiteral("/profile"),
                           QStringLiteral("--headless"), QStringLiteral("--norestore"), QStringLiteral("--convert-to"),
                           to, QStringLiteral("--outdir"), outDir, file});
    if (!convert.waitForStarted()) {
        *why = QStringLiteral("LibreOffice did not start");
        return {};
    }
    if (!convert.waitForFinished(10 * 60 * 1000)) {
        convert.kill();
        convert.waitForFinished();
        *why = QStringLiteral("LibreOffice did not finish the conversion within ten minutes");
        return {};
    }
    const QString extension = to.section(QLatin1Char(':'), 0, 0);
    const QString out = outDir + QLatin1Char('/') + QFileInfo(file).completeBaseName() + QLatin1Char('.') + extension;
    if (!QFileInfo::exists(out)) {
        *why = QStringLiteral("LibreOffice made no ") + extension + QStringLiteral(": ")
               + QString::fromLocal8Bit(convert.readAll());
        return {};
    }
    return out;
}

// Comma, double quote, UTF-8, from the first line.
inline QString csvFilter()
{
    return QStringLiteral("csv:Text - txt - csv (StarCalc):44,34,76,1");
}

// RFC 4180: fields separated by commas, quoted when they hold commas, quotes
// or line breaks, a quote inside doubled.
inline QList<QStringList> parseCsv(const QString &text)
{
    QList<QStringList> rows;
    QStringList row;
    QString field;
    bool quoted = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar ch = text.at(i);
        if (quoted) {
            if (ch == u'"' && i + 1 < text.size() && text.at(i + 1) == u'"') {
                field += u'"';
                ++i;
            } else if (ch == u'"') {
                quoted = false;
            } else {
                field += ch;
            }
        } else if (ch == u'"') {
            quoted = true;
        } else if (ch == u',') {
            row << field;
            field.clear();
        } else if (ch == u'\n' || ch == u'\r') {
            if (ch == u'\r' && i + 1 < text.size() && text.at(i + 1) == u'\n')
                ++i;
            row << field;
            rows << row;
            row.clear();
            field.clear();
        } else {
            field += ch;
        }
    }
    if (!field.isEmpty() || !row.isEmpty())
        rows << (row << field);
    return rows;
}

// What a flat OpenDocument sheet says of its first table: each cell's text,
// value type and boldness, and the columns' widths. (A headless conversion
// keeps no view settings, so a frozen header cannot be seen here.)
struct Sheet
{
    struct Cell
    {
        QString text;
        QString type; // office:value-type: "string", "float", "date", ... or empty
        bool bold = false;
    };
    QString name;
    QList<QList<Cell>> rows;    // trailing empty rows and cells dropped
    QList<double> columnInches; // the widths of the first columns

    const Cell &cell(int row, int column) const
    {
        static const Cell empty;
        return row < rows.size() && column < rows[row].size() ? rows[row][column] : empty;
    }
};

inline double toInches(const QString &length)
{
    static const QList<QPair<QString, double>> units{{QStringLiteral("in"), 1.0}, {QStringLiteral("cm"), 1 / 2.54},
                                                     {QStringLiteral("mm"), 1 / 25.4}, {QStringLiteral("pt"), 1 / 72.0}};
    for (const auto &unit : units)
        if (length.endsWith(unit.first))
            return length.chopped(unit.first.size()).toDouble() * unit.second;
    return -1;
}

inline Sheet readFods(const QString &path)
{
    Sheet sheet;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return sheet;
    QXmlStreamReader xml(&file);
    QHash<QString, bool> boldStyles;
    QHash<QString, double> columnStyles;
    QString style;
    int tables = 0;
    bool inFirstTable = false;
    QList<Sheet::Cell> row;
    int rowRepeat = 1;
    Sheet::Cell cell;
    int cellRepeat = 1;
    bool inCell = false;
    int paragraphs = 0;
    bool inParagraph = false; // pretty-printed files have white space between the elements
    while (!xml.atEnd()) {
        xml.readNext();
        const QStringView name = xml.qualifiedName();
        const QXmlStreamAttributes a = xml.attributes();
        if (xml.isStartElement()) {
            if (name == u"style:style") {
                style = a.value(QStringLiteral("style:name")).toString();
            } else if (name == u"style:text-properties" && a.value(QStringLiteral("fo:font-weight")) == u"bold") {
                boldStyles.insert(style, true);
            } else if (name == u"style:table-column-properties") {
                columnStyles.insert(style, toInches(a.value(QStringLiteral("style:column-width")).toString()));
            } else if (name == u"table:table") {
                inFirstTable = ++tables == 1;
                if (inFirstTable)
                    sheet.name = a.value(QStringLiteral("table:name")).toString();
            } else if (inFirstTable && name == u"table:table-column") {
                const int repeat = qMax(1, a.value(QStringLiteral("table:number-columns-repeated")).toInt());
                for (int i = 0; i < repeat && sheet.columnInches.size() < 64; ++i)
                    sheet.columnInches << columnStyles.value(a.value(QStringLiteral("table:style-name")).toString(), -1);
            } else if (inFirstTable && name == u"table:table-row") {
                row.clear();
                rowRepeat = qMax(1, a.value(QStringLiteral("table:number-rows-repeated")).toInt());
            } else if (inFirstTable && (name == u"table:table-cell" || name == u"table:covered-table-cell")) {
                cell = Sheet::Cell();
                cell.type = a.value(QStringLiteral("office:value-type")).toString();
                cell.bold = boldStyles.value(a.value(QStringLiteral("table:style-name")).toString());
                cellRepeat = qMax(1, a.value(QStringLiteral("table:number-columns-repeated")).toInt());
                inCell = true;
                paragraphs = 0;
            } else if (inCell && name == u"text:p") {
                inParagraph = true;
                if (paragraphs++ > 0)
                    cell.text += u'\n';
            } else if (inCell && name == u"text:s") {
                cell.text += QString(qMax(1, a.value(QStringLiteral("text:c")).toInt()), u' ');
            } else if (inCell && name == u"text:tab") {
                cell.text += u'\t';
            } else if (inCell && name == u"text:line-break") {
                cell.text += u'\n';
            }
        } else if (xml.isCharacters() && inParagraph) {
            cell.text += xml.text();
        } else if (xml.isEndElement()) {
            if (name == u"text:p") {
                inParagraph = false;
            } else if (name == u"table:table") {
                inFirstTable = false;
            } else if (inFirstTable && (name == u"table:table-cell" || name == u"table:covered-table-cell")) {
                inCell = false;
                for (int i = 0; i < cellRepeat && row.size() < 1024; ++i)
                    row << cell;
            } else if (inFirstTable && name == u"table:table-row") {
                while (!row.isEmpty() && row.constLast().text.isEmpty() && row.constLast().type.isEmpty())
                    row.removeLast();
                for (int i = 0; i < rowRepeat && !row.isEmpty(); ++i)
                    sheet.rows << row;
                if (row.isEmpty())
                    for (int i = 0; i < qMin(rowRepeat, 1024); ++i)
                        sheet.rows << row;
            }
        }
    }
    while (!sheet.rows.isEmpty() && sheet.rows.constLast().isEmpty())
        sheet.rows.removeLast();
    return sheet;
}

} // namespace Office
