#pragma once

#include "report/report.h"
#include "stats/archivestats.h"

#include <memory>

// The printed statistics: `repStatistiche` "Statistiche", A4 portrait. Every
// page carries the period (and the course, when one was chosen) and the date
// of printing in its top margin; a title band sums up the cards read, then
// one band per breakdown holds its title, its bar chart (ChartObject, drawn
// as vectors) and its table: the group, the count and the share, a total
// last. A breakdown moves whole to the next page when it does not fit.
namespace StatsReport {

std::unique_ptr<Report> create(const ArchiveStats::Result &result, QObject *parent = nullptr);

// The page header's text: "Statistiche dell'archivio studenti - periodo dal
// 01/09/2025 al 31/08/2026", with " - corso: <course>" when filtered.
QString headerText(const ArchiveStats::Result &result);

// The summary lines of the title band, also shown by the window.
QStringList summaryLines(const ArchiveStats::Result &result);

} // namespace StatsReport
