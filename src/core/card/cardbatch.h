#pragma once

#include "card/idcard.h"
#include "report/report.h"

#include <QDate>
#include <QList>
#include <QPageLayout>
#include <QRectF>
#include <QSize>

#include <functional>
#include <memory>

class QPagedPaintDevice;

// The ID cards of a whole list of students printed in one job. Every card is
// the single card's template filled with the school part and one student, so
// each looks exactly as the card window prints it alone.
//
// Two ways: one card per page on the card printer (orientation and margins as
// stored for the single card), or ten cards on an A4 sheet, two columns of
// five, centred, with cutting marks. The stored margins calibrate the card
// printer and are not used on the sheet: shifted by them, a block that leaves
// 13.5 mm above and below would run off an office printer's paper.
//
// Pages are painted one at a time; only one student's photo is held at once,
// so a list of thousands costs no more memory than a list of ten.
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

    // How far a paint() got.
    enum class Painted { All, Stopped, Failed };

    // `photoOf(i)` gives the photo of students[i] (null: the placeholder
    // silhouette); it is called while that card is painted. Orientation and
    // margins are those stored for the card printer; the sheet ignores them.
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
    // millimetres from the paper's corner.
    static QRectF sheetSlotMm(int index);

    // Whether every card lies wholly on its paper, only in part, or not at
    // all (blank pages), as the margins and orientation put it.
    enum class Placement { OnPaper, PartlyOff, Off };
    Placement placement() const;

    // Cards on page `page` (0-based): one on the card printer, up to ten on a sheet.
    int cardsOnPage(int page) const;

    // Paints `pages` (0-based page numbers, in that order; a number may come
    // again, as copies do) on device, which must already hold pageLayout(), one
    // page after the other; [DATE] is `today`. `cardPainted(n)` is told after
    // every card, n counting the cards painted so far; painting stops when it
    // returns false. When it stops, or a card cannot be filled, `stopping` is
    // called while the device's job is still open (a printer drops the job
    // there), and then the painter ends. Returns Stopped after a stop, Failed
    // when the device could not start or turn a page; rethrows the
    // ReportError of a card that cannot be filled.
    Painted paint(QPagedPaintDevice &device, const QDate &today, const QList<int> &pages,
                  const std::function<bool(int)> &cardPainted = {},
                  const std::function<void()> &stopping = {}) const;

private:
    void prepareCard(int index, const QDate &today) const;

    IdCardContent m_school;
    QList<StudentRecord> m_students;
    std::function<QImage(int)> m_photoOf;
    Mode m_mode;
    std::unique_ptr<Report> m_report;
};
