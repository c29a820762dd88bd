#include "stats/statsworkbook.h"

#include "report/statsreport.h"
#include "sheet/tablewriter.h"

namespace StatsWorkbook {

QString fileName()
{
    return QStringLiteral("Statistiche.xlsx");
}

void write(const QString &path, const ArchiveStats::Result &result)
{
    const TableWriter::Format format = TableWriter::formatOf(path).value_or(TableWriter::Format::Xlsx);
    const QList<TableWriter::Column> columns = {{QStringLiteral("Sezione"), 280},
                                                {QStringLiteral("Voce"), 320},
                                                {QStringLiteral("Numero"), 90},
                                                {QStringLiteral("Quota"), 90}};
    auto writer = TableWriter::open(format, path, QStringLiteral("Statistiche"), columns);
    const QString summary = QStringLiteral("Riepilogo");
    writer->appendRow({summary, QStringLiteral("Periodo ") + result.period.text()});
    writer->appendRow({summary, QStringLiteral("Corso"),
                       result.course.trimmed().isEmpty() ? QStringLiteral("tutti") : result.course.trimmed()});
    writer->appendRow({summary, QStringLiteral("Schede nell'archivio"), QString::number(result.cardsRead)});
    writer->appendRow({summary, QStringLiteral("Studenti con il corso nel periodo"),
                       QString::number(result.cardsCounted)});
    writer->appendRow({summary, QStringLiteral("Schede con date del corso non leggibili (non indicato)"),
                       QString::number(result.cardsUndated)});
    writer->appendRow({summary, QStringLiteral("Prove sostenute"), QString::number(result.testsCounted)});
    for (const ArchiveStats::Section &section : result.sections) {
        for (const ArchiveStats::Row &row : section.rows)
            writer->appendRow({section.title, row.label, QString::number(row.count), section.share(row.count)});
        writer->appendRow({section.title, QStringLiteral("Totale"), QString::number(section.total()),
                           section.share(section.total())});
    }
    writer->commit();
}

} // namespace StatsWorkbook
