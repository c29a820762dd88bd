#pragma once

#include "import/importmapping.h"
#include "import/sheetreader.h"

#include "archive/studentrecord.h"

#include <QHash>
#include <QList>
#include <QString>

#include <array>
#include <vector>

// A fault found in an imported row: the field it is in (a target of
// ImportMapping, Ignore for the row as a whole) and why, in Italian.
struct CellIssue
{
    int target;
    QString reason;
};

// The checks the student window makes before it stores a card, and the
// forms a sheet's values are brought to first.
namespace ImportChecks {

// The fields a new card must have, in the order the student window checks them.
const std::array<StudentRecord::Field, 6> &requiredFields();

// The four date fields, which must be gg/mm/aaaa when given.
bool isDateField(int field);

// The card a sheet row gives under `mapping` (one target per column): every
// value trimmed; surname and name joined; "Maschio"/"Femmina" and lower case
// turned to M and F; the codice fiscale in capitals; dates written d/m/yyyy,
// d.m.yyyy, d-m-yyyy or yyyy-mm-dd brought to dd/mm/yyyy.
StudentRecord card(const QStringList &cells, const QList<int> &mapping);

// What stops the card from being stored as a new card (`isNew`: the required
// fields too): each value within its field's capacity in Windows-1252, every
// character one the archive can hold, dates real days written gg/mm/aaaa,
// the codice fiscale or partita IVA passing the program's checks.
QList<CellIssue> check(const StudentRecord &card, bool isNew);

// The codice fiscale as it is compared: trimmed, a-z in capitals.
QString codeKey(const QString &code);

} // namespace ImportChecks

// The rows of a sheet as the import would store them, with what each will
// become: a new card, an update of the card with the same codice fiscale, or
// skipped (a fault, or a duplicate). Changing the mapping, a cell or the
// choice for duplicates recomputes every row.
class ImportPlan
{
public:
    enum class Status { New, Update, Duplicate, Invalid };

    struct Row
    {
        int line = 0;          // as the sheet numbers it
        QStringList cells;     // as read, or as typed into the preview
        StudentRecord card;    // what the row stores (for an update: the values that replace)
        QList<CellIssue> issues;
        Status status = Status::Invalid;
        qint64 number = 0;     // Update: the card updated; Duplicate in the archive: the card found
        QString skipReason;    // Duplicate: why
    };

    // The codici fiscali of the archive's cards: the key (codeKey) and the
    // numbers of the cards holding it; and how many cards were read, so that
    // cards added later by other workstations can be checked when storing.
    struct ArchiveCodes
    {
        QHash<QString, QList<qint64>> byCode;
        qint64 count = 0;
    };

    // Reads the codici fiscali of the archive of `folder` (created empty when
    // missing) in one pass. Throws FileAccessError.
    static ArchiveCodes readArchiveCodes(const QString &folder);

    ImportPlan(ImportSheet sheet, ArchiveCodes codes);

    const QStringList &header() const { return m_sheet.header; }
    int columnCount() const { return m_columns; }
    const std::vector<Row> &rows() const { return m_rows; }

    const QList<int> &mapping() const { return m_mapping; }
    void setMapping(const QList<int> &mapping);
    bool updatesDuplicates() const { return m_update; }
    void setUpdatesDuplicates(bool update);
    void setCell(int row, int column, const QString &text);

    // The columns showing `target`'s value (the name also in its parts).
    QList<int> columnsOf(int target) const;
    // The issue texts of one cell, one a line; empty when it is sound.
    QString cellIssues(int row, int column) const;
    // Why the row is not stored, empty when it is; the faults named with
    // their field ("Codice fiscale: ...").
    QString rowProblem(int row) const;

    int count(Status status) const;
    // The number of cards the archive had when its codes were read.
    qint64 archiveCount() const { return m_codes.count; }

private:
    void recompute();

    ImportSheet m_sheet;
    ArchiveCodes m_codes;
    QList<int> m_mapping;
    std::vector<Row> m_rows;
    int m_columns = 0;
    bool m_update = false;
};
