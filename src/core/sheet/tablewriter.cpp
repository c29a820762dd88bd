#include "sheet/tablewriter.h"

#include "archive/atomicfile.h"
#include "archive/datafolder.h"
#include "archive/recordfile.h"
#include "sheet/odstablewriter.h"
#include "sheet/xlsxtablewriter.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

namespace {

const char kFailure[] = "the table file could not be written";

} // namespace

struct TableWriter::State
{
    explicit State(const QString &path) : target(path) {}

    AtomicWriter target;
    // The library's own temporary files and the packed file, until the copy.
    QTemporaryDir work;
};

std::optional<TableWriter::Format> TableWriter::formatOf(const QString &path)
{
    const QString suffix = QFileInfo(path).suffix();
    if (suffix.compare(QLatin1String("xlsx"), Qt::CaseInsensitive) == 0)
        return Format::Xlsx;
    if (suffix.compare(QLatin1String("ods"), Qt::CaseInsensitive) == 0)
        return Format::Ods;
    return std::nullopt;
}

std::unique_ptr<TableWriter> TableWriter::open(Format format, const QString &path, const QString &sheetName,
                                               const QList<Column> &columns)
{
    if (format == Format::Ods)
        return std::make_unique<OdsTableWriter>(path, sheetName, columns);
    return std::make_unique<XlsxTableWriter>(path, sheetName, columns);
}

TableWriter::TableWriter(const QString &path, const QString &sheetName, const QList<Column> &columns)
    : m_columns(columns), m_sheetName(sheetName)
{
    // The operator's own protection of the file wins, for every user alike.
    const QFileInfo existing(path);
    if (existing.exists() && existing.isFile() && !(existing.permissions() & QFileDevice::WriteOwner))
        throw FileAccessError(kFailure);
    m = std::make_unique<State>(path);
    if (!m->target.isOpen() || !m->work.isValid())
        throw FileAccessError(kFailure);
}

TableWriter::~TableWriter() = default;

QString TableWriter::sheetName(int sheet) const
{
    if (sheet <= 1)
        return m_sheetName;
    const QString suffix = QStringLiteral(" (%1)").arg(sheet);
    return m_sheetName.left(31 - suffix.size()) + suffix;
}

QString TableWriter::workFile(const QString &name) const
{
    return m->work.filePath(name);
}

QStringView TableWriter::cut(QStringView text)
{
    if (text.size() <= MaxCellLength)
        return text;
    qsizetype end = MaxCellLength;
    if (text[end - 1].isHighSurrogate())
        --end;
    return text.left(end);
}

void TableWriter::appendRow(const QString *cells, qsizetype count)
{
    if (m_finished)
        throw FileAccessError(kFailure);
    if (m_sheet == 0 || m_sheetRows == RowsPerSheet) {
        beginSheet(++m_sheet);
        m_sheetRows = 0;
    }
    writeRow(cells, qMin(count, qsizetype(m_columns.size())));
    ++m_sheetRows;
}

void TableWriter::commit()
{
    if (m_finished)
        throw FileAccessError(kFailure);
    m_finished = true;
    if (m_sheet == 0)
        beginSheet(++m_sheet);
    const QString packed = finish();

    // Copied in pieces into the target's temporary file, then put in place.
    QFile in;
    if (!DataFolder::open(in, packed, QIODevice::ReadOnly))
        throw FileAccessError(kFailure);
    QByteArray buffer(1 << 20, Qt::Uninitialized);
    for (;;) {
        const qint64 got = in.read(buffer.data(), buffer.size());
        if (got < 0 || !m->target.write(buffer.constData(), got))
            throw FileAccessError(kFailure);
        if (got == 0)
            break;
    }
    if (!m->target.commit())
        throw FileAccessError(kFailure);
}
