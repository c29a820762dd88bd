#include "import/importstore.h"

#include "archive/studentarchive.h"

#include <QHash>

#include <algorithm>

namespace ImportStore {

QList<ImportSummary::Line> skippedRows(const ImportPlan &plan)
{
    QList<ImportSummary::Line> skipped;
    const auto &rows = plan.rows();
    for (size_t i = 0; i < rows.size(); ++i) {
        const ImportPlan::Row &row = rows[i];
        if (row.status == ImportPlan::Status::Invalid || row.status == ImportPlan::Status::Duplicate)
            skipped.append({row.line, 0, row.card[StudentRecord::Studente], plan.rowProblem(int(i))});
    }
    return skipped;
}

ImportSummary store(const QString &folder, const ImportPlan &plan,
                    const std::function<bool(qint64 done, qint64 total)> &progress)
{
    ImportSummary summary;
    summary.skipped = skippedRows(plan);
    std::vector<StudentRecord> added;
    std::vector<int> addedLines;
    std::vector<qint64> updates;
    QHash<qint64, const ImportPlan::Row *> byNumber;
    for (const ImportPlan::Row &row : plan.rows()) {
        if (row.status == ImportPlan::Status::New) {
            added.push_back(row.card);
            addedLines.push_back(row.line);
        } else if (row.status == ImportPlan::Status::Update) {
            updates.push_back(row.number);
            byNumber.insert(row.number, &row);
        }
    }
    if (added.empty() && updates.empty())
        return summary;

    QList<ImportSummary::Line> updated, changed;
    const auto update = [&](qint64 number, const StudentRecord &current) -> std::optional<StudentRecord> {
        const ImportPlan::Row &row = *byNumber.value(number);
        if (ImportChecks::codeKey(current[StudentRecord::CodFisc]) != row.card[StudentRecord::CodFisc]) {
            changed.append({row.line, 0, row.card[StudentRecord::Studente],
                            QStringLiteral("La scheda n. %1 è stata cambiata da un'altra postazione dopo "
                                           "l'anteprima: non viene aggiornata.")
                                .arg(number)});
            return std::nullopt;
        }
        StudentRecord card = current;
        for (int f = 0; f < StudentRecord::FieldCount; ++f)
            if (!row.card[StudentRecord::Field(f)].isEmpty())
                card[StudentRecord::Field(f)] = row.card[StudentRecord::Field(f)];
        updated.append({row.line, number, card[StudentRecord::Studente], {}});
        return card;
    };

    // A new card whose codice fiscale another workstation stored after the
    // preview is a duplicate now: left out, as the preview would have.
    std::vector<bool> kept(added.size(), true);
    QList<ImportSummary::Line> since;
    const auto keep = [&](const std::vector<StudentRecord> &others) {
        QHash<QString, qint64> codes;
        for (size_t i = 0; i < others.size(); ++i) {
            const QString key = ImportChecks::codeKey(others[i][StudentRecord::CodFisc]);
            if (!key.isEmpty() && !codes.contains(key))
                codes.insert(key, plan.archiveCount() + qint64(i) + 1);
        }
        since.clear();
        for (size_t i = 0; i < added.size(); ++i) {
            const qint64 number = codes.value(ImportChecks::codeKey(added[i][StudentRecord::CodFisc]));
            kept[i] = number == 0;
            if (!kept[i])
                since.append({addedLines[i], 0, added[i][StudentRecord::Studente],
                              QStringLiteral("Il codice fiscale è già nella scheda n. %1, inserita da un'altra "
                                             "postazione dopo l'anteprima.")
                                  .arg(number)});
        }
        return kept;
    };

    StudentArchive archive(folder);
    const qint64 first = archive.storeBatch(updates, update, added, progress, plan.archiveCount(), keep);
    archive.close();
    if (first == 0) {
        summary.cancelled = true;
        return summary;
    }
    summary.updated = updated;
    summary.skipped += changed;
    summary.skipped += since;
    qint64 next = first;
    for (size_t i = 0; i < added.size(); ++i)
        if (kept[i])
            summary.stored.append({addedLines[i], next++, added[i][StudentRecord::Studente], {}});
    std::sort(summary.skipped.begin(), summary.skipped.end(),
              [](const ImportSummary::Line &a, const ImportSummary::Line &b) { return a.line < b.line; });
    return summary;
}

} // namespace ImportStore

QString ImportSummary::text(const QString &source) const
{
    QString out;
    out += QStringLiteral("Importazione studenti da %1\n\n").arg(source);
    if (cancelled) {
        out += QStringLiteral("Importazione annullata: nessuna scheda è stata inserita o aggiornata.\n");
        return out;
    }
    out += QStringLiteral("Schede inserite: %1\nSchede aggiornate: %2\nRighe saltate: %3\n")
               .arg(stored.size())
               .arg(updated.size())
               .arg(skipped.size());
    const auto section = [&out](const QString &title, const QList<Line> &lines, bool withNumber) {
        if (lines.isEmpty())
            return;
        out += QLatin1Char('\n') + title + QLatin1Char('\n');
        for (const Line &l : lines) {
            out += QStringLiteral("Riga %1").arg(l.line);
            if (withNumber)
                out += QStringLiteral(", scheda n. %1").arg(l.number);
            if (!l.name.isEmpty())
                out += QStringLiteral(" (%1)").arg(l.name);
            if (!l.reason.isEmpty())
                out += QStringLiteral(": ") + l.reason;
            out += QLatin1Char('\n');
        }
    };
    section(QStringLiteral("Inserite:"), stored, true);
    section(QStringLiteral("Aggiornate:"), updated, true);
    section(QStringLiteral("Saltate:"), skipped, false);
    return out;
}
