#pragma once

#include "card/idcard.h"
#include "report/report.h"

#include <QDate>
#include <QList>
#include <QPageLayout>
#include <QRectF>

#include <functional>
#include <memory>

class QPagedPaintDevice;

// The ID cards of a whole list of students printed in one job. Every card is
// the single card's template filled with the school part and one student, so
// each looks exactly as the card window prints it alone.
//
// Two ways: one card per page on the card printer (orientation and margins as
// stored for the single card), or ten cards on an A4 sheet, two columns of
// five, centred and shifted by the same margins, with cutting marks.
//
// Pages are painted one at a time; only one student's photo is held at once.
// Needs a QGuiApplication.
class CardBatch
{
public:
    enum class Mode { CardPrinter, A4Sheet };

    static constexpr int Columns = 2;
    static constexpr int Rows = 5;
    static constexpr int CardsPerSheet = Columns * Rows;
    // Length of a cutting mark and its distance from the cards, millimetres.
    static constexpr double MarkLengthMm = 4.0;
    static constexpr double MarkGapMm = 1.5;

    // `photoOf(i)` gives the photo of students[i] (null: the placeholder
    // silhouette); it is called while that card is painted.
    CardBatch(const IdCardContent &school, QList<StudentRecord> students,
              std::function<QImage(int)> photoOf, Mode mode, ReportPage::Orientation orientation, double topMm,
              double leftMm);
    ~CardBatch();

    Mode mode() const { return m_mode; }
    int cardCount() const { return int(m_students.size()); }
    int pageCount() const;
    // The paper every page is printed on (no margins: the template places
    // the card itself).
    QPageLayout pageLayout() const;

    // Where card `index` (0-based, of a sheet) lies on the A4 sheet, in
    // millimetres from the paper's corner, with the given margins.
    static QRectF sheetSlotMm(int index, double topMm, double leftMm);

    // Paints pages `first` to `last` (0-based, inclusive, clamped) on device,
    // which must already hold pageLayout(); [DATE] is `today`. False when
    // the device could not start or turn a page. Throws ReportError when a
    // card cannot be filled.
    bool paint(QPagedPaintDevice &device, const QDate &today, int first = 0, int last = -1) const;

private:
    void prepareCard(int index, const QDate &today) const;

    IdCardContent m_school;
    QList<StudentRecord> m_students;
    std::function<QImage(int)> m_photoOf;
    Mode m_mode;
    std::unique_ptr<Report> m_report;
    double m_sheetTopMm = 0;
    double m_sheetLeftMm = 0;
};
