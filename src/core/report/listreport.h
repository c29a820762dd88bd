#pragma once

#include "report/report.h"

#include <QStringList>

#include <memory>

// The list template the search window, the import picker and the tests window
// print: `frxReport` "Riepilogo dati", A4 landscape, a grey title banner, the
// list in Courier New 8 pt and the footer with the date of printing.
namespace ListReport {

std::unique_ptr<Report> create(QObject *parent = nullptr);

// Fills the template as the list windows do: `txtTitolo` := title,
// `txtRiepilogo` := the lines, its height := lines x the pitch at which the
// engine sets them (TextObject::linePitch) and the data band's height := that
// + 10, so that the band ends with the last line and the footer follows it.
void fill(Report &report, const QString &title, const QStringList &lines);

} // namespace ListReport
