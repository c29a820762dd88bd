#pragma once

#include "report/pagepainter.h"
#include "report/report.h"

class CardBatch;
class Platform;
class QPainter;
class QPrinter;
class QWidget;

// Output of a report: preparing with the platform's date, printing through
// the print dialog and the preview window.
namespace ReportOutput {

// Failed: the job could not be started or written; nothing is reported, the
// caller decides what to say.
enum class PrintResult { Printed, Cancelled, NoPrinter, Failed };

// The notice shown when the system has no printer at all.
QString noPrinterText();

// Prepares the pages with [DATE] = the platform's today. Throws ReportError
// on failure.
void prepareReport(Report &report, const Platform &platform);

// The print path on the prepared pages: no printer -> the notice, nothing
// printed; otherwise the print dialog on the default printer, and on OK one
// job named after the report with the chosen pages, copies and collation.
// `currentPage` (0-based) is what "current page" in the dialog prints.
PrintResult print(Report &report, Platform &platform, QWidget *parent, int currentPage = 0);

// Prepares again and shows the modal preview window; returns when it closes.
void showReport(Report &report, Platform &platform, QWidget *parent);

// Gives printer the report's paper, orientation, full-page drawing, one
// copy and the report's name as the job title.
void setUpPrinter(const Report &report, QPrinter &printer);

// Prints the prepared pages on an already set-up printer (page range, copies
// and collation as the printer holds them). Returns false when the printer
// could not start the job.
bool printPages(const Report &report, QPrinter &printer, int currentPage = 0);

// The print path for a list of ID cards: no cards -> nothing; no printer ->
// the notice; otherwise the print dialog on the default printer set to the
// batch's paper, and on OK one job "Tesserini" with the chosen pages, copies
// and collation as printPages makes them, painted one at a time. A job that
// takes more than a moment shows a progress window ("Stampa dei tesserini:
// 12 di 230") whose Annulla drops the whole job: nothing of it is printed
// and the result is Cancelled. Throws the ReportError of a card that cannot
// be filled, after dropping the job.
PrintResult printCardBatch(const CardBatch &batch, Platform &platform, QWidget *parent);

} // namespace ReportOutput
