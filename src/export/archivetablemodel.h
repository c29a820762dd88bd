#pragma once

#include "exportcolumns.h"

#include <QAbstractTableModel>
#include <QByteArrayView>
#include <QHash>
#include <QString>

#include <array>
#include <memory>
#include <vector>

// The archive as the export grid shows it: one row per card, or ten empty rows
// for an empty archive; column 0 is the card number, columns 1 to 25 the
// fields of ExportColumns. The fields are kept once, as their trimmed
// code-page bytes packed in a pool, and turned into text only when the view
// asks for a cell. What the operator types into an editable cell is kept
// apart, lives as long as the model and never reaches the archive.
class ArchiveTableModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    static constexpr int EmptyRows = 10;
    // The header's Qt::UserRole: the column's name ("colCorso").
    static constexpr int ColumnNameRole = Qt::UserRole;

    explicit ArchiveTableModel(QObject *parent = nullptr);
    ~ArchiveTableModel() override;

    // Reads the archive of `folder` (created empty when missing) in one pass.
    // An archive with cards gets one row per card. Throws FileAccessError;
    // the rows read before the failure keep their cards and the rest of the
    // rows stay empty. What was typed is dropped, unless `keepEdits`: then
    // the cells typed on rows that showed cards stay (cards keep their
    // numbers; cards appended since get rows of their own).
    void load(const QString &folder, bool keepEdits = false);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;

    // For the export, cell by cell (columns 1 to 25): the text typed by the
    // operator, or null when the cell shows what was read; then the bytes read
    // (trimmed, code page), valid until the model changes.
    const QString *editedText(int row, int column) const;
    QByteArrayView storedBytes(int row, int column) const;

private:
    struct Row
    {
        quint32 chunk;
        quint32 offset;
        std::array<quint8, ExportColumns::FieldCount> lengths; // fields never exceed 250 bytes
    };

    void appendRecord(const char *record);
    QString text(int row, int column) const;

    int m_rows = EmptyRows;
    std::vector<Row> m_read; // the rows read so far, from the first
    struct FreeChunk
    {
        void operator()(char *chunk) const;
    };
    using Chunk = std::unique_ptr<char[], FreeChunk>;
    static Chunk newChunk();

    // Fixed-size chunks: the pool grows without ever copying what it holds.
    std::vector<Chunk> m_chunks;
    quint32 m_chunkUsed = 0;
    QHash<qint64, QString> m_edits; // row * column count + column
};
