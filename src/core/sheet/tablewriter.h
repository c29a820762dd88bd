#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <memory>
#include <optional>

// A table written as a spreadsheet file, row after row, in memory that does
// not grow with the table: the file is built in a private temporary folder
// and packed only at commit().
//
// Every cell is a text cell, so a spreadsheet program shows it exactly as
// given: "06123", "+39 333", "=1+1", "3e5" or "01/02/2026" are never turned
// into numbers, formulas or dates, also when typed into the sheet later. The
// first row is the header, bold and frozen, repeated on every printed page
// (A4, landscape); the columns take the given widths. A table longer than a
// sheet's 1,048,575 rows goes on in further sheets ("<name> (2)", ...), each
// with the header.
//
// The file reaches `path` as AtomicWriter writes a file (under a data folder
// by its rules): the target is replaced only once the whole file is on the
// disk, and after any failure it is as it was and no temporary file is left.
class TableWriter
{
public:
    enum class Format { Xlsx, Ods };

    struct Column
    {
        QString header;
        int widthPixels = 64; // at 96 pixels to the inch
    };

    // The longest cell text a sheet holds, in characters; longer texts are cut.
    static constexpr int MaxCellLength = 32767;
    // Rows a sheet holds below its header.
    static constexpr qint64 RowsPerSheet = 1048575;

    // The format named by a file name's extension (".xlsx", ".ods", any case).
    static std::optional<Format> formatOf(const QString &path);

    // Starts the file for `path`, with one sheet named `sheetName` (at most 31
    // characters, none of []:*?/\). Throws FileAccessError when the target is
    // refused (not a regular file, or one its owner may not write) or its
    // folder takes no new file, so a long table is not built for nothing.
    static std::unique_ptr<TableWriter> open(Format format, const QString &path, const QString &sheetName,
                                             const QList<Column> &columns);

    // Not committed: the target is untouched, the temporary files removed.
    virtual ~TableWriter();
    TableWriter(const TableWriter &) = delete;
    TableWriter &operator=(const TableWriter &) = delete;

    // The next row, cell by cell from the first column: an empty text leaves
    // the cell empty, cells past the last column are dropped, missing ones
    // stay empty. Throws FileAccessError (a full temporary disk).
    void appendRow(const QString *cells, qsizetype count);
    void appendRow(const QStringList &cells) { appendRow(cells.constData(), cells.size()); }

    // Packs the file and puts it in place. Throws FileAccessError; the writer
    // takes no more rows afterwards, whatever the outcome.
    void commit();

protected:
    // Checks and opens the target (throws FileAccessError as open() says).
    TableWriter(const QString &path, const QString &sheetName, const QList<Column> &columns);

    const QList<Column> &columns() const { return m_columns; }
    // The name of the n-th sheet (from 1).
    QString sheetName(int sheet) const;
    // A file in the private temporary folder, removed with the writer.
    QString workFile(const QString &name) const;

    // Starts sheet `sheet` (from 1) with its header row.
    virtual void beginSheet(int sheet) = 0;
    virtual void writeRow(const QString *cells, qsizetype count) = 0;
    // Packs everything; returns the packed file, in the temporary folder.
    virtual QString finish() = 0;

    // At most MaxCellLength characters, never ending inside a surrogate pair.
    static QStringView cut(QStringView text);

private:
    struct State;
    std::unique_ptr<State> m;
    QList<Column> m_columns;
    QString m_sheetName;
    int m_sheet = 0;        // the sheet being written, from 1; 0 before the first
    qint64 m_sheetRows = 0; // rows written to it below the header
    bool m_finished = false;
};
