#include "archivetablemodel.h"

#include "archive/codepage.h"
#include "archive/studentarchive.h"

#include <cstdlib>
#include <cstring>
#include <limits>
#include <new>

#ifdef Q_OS_LINUX
#include <sys/mman.h>
#endif

namespace {

// Cards read per block: a buffer small enough (106 KiB) for the allocator to
// hand the same memory back block after block, instead of fresh pages that
// the kernel must map and clear for every block.
constexpr qint64 kBlockCards = 32;
// Pool chunk, the size of a large memory page; a row (at most 25 x 250
// bytes) always fits in one.
constexpr quint32 kChunkBytes = 2u << 20;

} // namespace

void ArchiveTableModel::FreeChunk::operator()(char *chunk) const
{
    std::free(chunk);
}

// Left uninitialised: every byte used is copied in before it is read. Where
// the system allows, one large page per chunk: filling a big archive then
// takes a handful of page faults instead of one per 4 KiB.
ArchiveTableModel::Chunk ArchiveTableModel::newChunk()
{
    void *memory = nullptr;
#ifdef Q_OS_LINUX
    if (::posix_memalign(&memory, kChunkBytes, kChunkBytes) == 0) {
        ::madvise(memory, kChunkBytes, MADV_HUGEPAGE);
        return Chunk(static_cast<char *>(memory));
    }
#endif
    memory = std::malloc(kChunkBytes);
    if (!memory)
        throw std::bad_alloc();
    return Chunk(static_cast<char *>(memory));
}

ArchiveTableModel::ArchiveTableModel(QObject *parent) : QAbstractTableModel(parent) {}

ArchiveTableModel::~ArchiveTableModel() = default;

void ArchiveTableModel::load(const QString &folder, bool keepEdits)
{
    beginResetModel();
    // The view learns of the rows read also when the reading fails halfway.
    struct EndReset
    {
        ArchiveTableModel *model;
        ~EndReset() { model->endResetModel(); }
    } endReset{this};

    QHash<qint64, QString> kept;
    if (keepEdits) {
        const qint64 cells = qint64(m_read.size()) * columnCount();
        for (auto it = m_edits.cbegin(); it != m_edits.cend(); ++it)
            if (it.key() < cells)
                kept.insert(it.key(), it.value());
    }
    m_rows = EmptyRows;
    m_read.clear();
    m_chunks.clear();
    m_chunkUsed = 0;
    m_edits = std::move(kept);

    StudentArchive archive(folder);
    const qint64 count = qMin<qint64>(archive.count(), std::numeric_limits<int>::max());
    if (count == 0)
        return;
    m_rows = int(count);
    m_read.reserve(size_t(count));
    for (qint64 number = 1; number <= count; number += kBlockCards) {
        const qint64 cards = qMin(kBlockCards, count - number + 1);
        const QByteArray block = archive.readBlock(number, cards);
        for (qint64 i = 0; i < cards; ++i)
            appendRecord(block.constData() + i * StudentRecord::Size);
    }
    archive.close();
}

void ArchiveTableModel::appendRecord(const char *record)
{
    const auto &layout = StudentRecord::layout();
    const auto &columns = ExportColumns::columns();
    const char *begin[ExportColumns::FieldCount];
    Row row{};
    quint32 total = 0;
    for (int i = 0; i < ExportColumns::FieldCount; ++i) {
        const StudentRecord::FieldSpec &item = layout[columns[size_t(i) + 1].field];
        const char *field = record + item.offset;
        int length = qMin(int(static_cast<unsigned char>(field[0])), item.capacity);
        const char *data = field + 1;
        // Trimming the bytes trims the text: only bytes up to 32 decode to
        // characters up to 32.
        while (length > 0 && static_cast<unsigned char>(*data) <= 32) {
            ++data;
            --length;
        }
        while (length > 0 && static_cast<unsigned char>(data[length - 1]) <= 32)
            --length;
        begin[i] = data;
        row.lengths[size_t(i)] = quint8(length);
        total += quint32(length);
    }
    if (m_chunks.empty() || m_chunkUsed + total > kChunkBytes) {
        m_chunks.push_back(newChunk());
        m_chunkUsed = 0;
    }
    row.chunk = quint32(m_chunks.size() - 1);
    row.offset = m_chunkUsed;
    char *out = m_chunks.back().get() + m_chunkUsed;
    for (int i = 0; i < ExportColumns::FieldCount; ++i) {
        std::memcpy(out, begin[i], row.lengths[size_t(i)]);
        out += row.lengths[size_t(i)];
    }
    m_chunkUsed += total;
    m_read.push_back(row);
}

int ArchiveTableModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_rows;
}

int ArchiveTableModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ExportColumns::Count;
}

QByteArrayView ArchiveTableModel::storedBytes(int row, int column) const
{
    if (row < 0 || size_t(row) >= m_read.size() || column < 1 || column >= ExportColumns::Count)
        return {};
    const Row &r = m_read[size_t(row)];
    quint32 offset = r.offset;
    for (int i = 0; i + 1 < column; ++i)
        offset += r.lengths[size_t(i)];
    return QByteArrayView(m_chunks[r.chunk].get() + offset, r.lengths[size_t(column) - 1]);
}

const QString *ArchiveTableModel::editedText(int row, int column) const
{
    if (m_edits.isEmpty())
        return nullptr;
    const auto it = m_edits.constFind(qint64(row) * ExportColumns::Count + column);
    return it == m_edits.cend() ? nullptr : &it.value();
}

QString ArchiveTableModel::text(int row, int column) const
{
    if (column == 0)
        return size_t(row) < m_read.size() ? QString::number(row + 1) : QString();
    if (const QString *edited = editedText(row, column))
        return *edited;
    const QByteArrayView bytes = storedBytes(row, column);
    return CodePage::toUnicode(bytes.data(), int(bytes.size()));
}

QVariant ArchiveTableModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::EditRole))
        return {};
    return text(index.row(), index.column());
}

QVariant ArchiveTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= ExportColumns::Count)
        return QAbstractTableModel::headerData(section, orientation, role);
    const ExportColumns::Column &column = ExportColumns::columns()[size_t(section)];
    if (role == Qt::DisplayRole)
        return QString::fromUtf8(column.header);
    if (role == ColumnNameRole)
        return QString::fromLatin1(column.name);
    return {};
}

Qt::ItemFlags ArchiveTableModel::flags(const QModelIndex &index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (ExportColumns::columns()[size_t(index.column())].editable)
        flags |= Qt::ItemIsEditable;
    return flags;
}

bool ArchiveTableModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (role != Qt::EditRole || !(flags(index) & Qt::ItemIsEditable))
        return false;
    m_edits.insert(qint64(index.row()) * ExportColumns::Count + index.column(), value.toString());
    emit dataChanged(index, index, {Qt::DisplayRole, Qt::EditRole});
    return true;
}
