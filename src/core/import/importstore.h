#pragma once

#include "import/importplan.h"

#include <QList>
#include <QString>

#include <functional>

// What an import did, row by row, as the operator reads it afterwards.
struct ImportSummary
{
    struct Line
    {
        int line = 0;      // the sheet's row
        qint64 number = 0; // the card stored or updated (0 for a skipped row)
        QString name;      // Cognome e nome
        QString reason;    // skipped: why
    };
    QList<Line> stored;
    QList<Line> updated;
    QList<Line> skipped;
    // Stopped by the operator: nothing was stored.
    bool cancelled = false;

    // The summary as plain text: counts, then the rows stored, updated and
    // skipped with their reasons. `source` names the sheet.
    QString text(const QString &source) const;
};

// Stores an import plan into the archive.
namespace ImportStore {

// The skipped rows of `plan`, with their reasons, without storing anything.
QList<ImportSummary::Line> skippedRows(const ImportPlan &plan);

// Appends the plan's new cards and rewrites the cards it updates (each
// keeps the values the sheet leaves empty, its attachments and its number),
// all in one change under the archive's write lock (StudentArchive::
// storeBatch): all of them or none. A card to update whose codice fiscale
// changed since the plan was made is left and its row skipped; so is a new
// card whose codice fiscale another workstation stored since. progress(done,
// total) may answer false: then nothing is stored and the summary says so.
// Throws FileAccessError with the archive as it was.
ImportSummary store(const QString &folder, const ImportPlan &plan,
                    const std::function<bool(qint64 done, qint64 total)> &progress = {});

} // namespace ImportStore
