#pragma once

#include "report/units.h"

#include <QColor>
#include <QDate>
#include <QFlags>
#include <QImage>
#include <QList>
#include <QMarginsF>
#include <QObject>
#include <QRectF>
#include <QSizeF>
#include <QString>
#include <QStringList>

#include <memory>
#include <stdexcept>
#include <vector>

// Any failure while a window fills or prepares a report: an object it names
// is missing or of another kind, a picture that cannot be copied.
class ReportError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

// One object of a template. Rectangles are in report pixels (96 per inch),
// measured from the top-left corner of the printable area, or of the band
// holding the object.
class ReportObject
{
public:
    enum class Kind { Text, Rectangle, Picture, Band, Chart };

    virtual ~ReportObject() = default;
    virtual Kind kind() const = 0;
    virtual std::unique_ptr<ReportObject> clone() const = 0;

    const QString &name() const { return m_name; }
    const QRectF &rect() const { return m_rect; }
    void setRect(const QRectF &rect) { m_rect = rect; }
    // Changes the height; the top stays.
    void setHeight(double pixels) { m_rect.setHeight(pixels); }
    double height() const { return m_rect.height(); }

protected:
    ReportObject(const QString &name, const QRectF &rect) : m_name(name), m_rect(rect) {}
    ReportObject(const ReportObject &) = default;
    ReportObject &operator=(const ReportObject &) = default;

private:
    QString m_name;
    QRectF m_rect;
};

// A text object ("memo"): lines of text inside inner margins of 2 pixels left
// and right and 1 pixel top and bottom, with 2 pixels between lines, clipped
// to its rectangle.
class TextObject : public ReportObject
{
public:
    enum class HAlign { Left, Center };
    enum class VAlign { Top, Center };

    static constexpr double InnerMarginX = 2.0;
    static constexpr double InnerMarginY = 1.0;
    static constexpr double LineSpacing = 2.0;

    TextObject(const QString &name, const QRectF &rect);
    Kind kind() const override { return Kind::Text; }
    std::unique_ptr<ReportObject> clone() const override { return std::make_unique<TextObject>(*this); }

    // Replaces the whole text; line breaks (CR LF, LF, LF CR or CR) start new lines.
    void setText(const QString &text);
    QString text() const { return m_lines.join(QLatin1Char('\n')); }
    const QStringList &lines() const { return m_lines; }
    void clearLines() { m_lines.clear(); }
    void addLine(const QString &line) { m_lines.append(line); }

    // Defaults: Arial 10 pt (13.3333 px) black regular, no fill, left, top,
    // word wrap on, expressions on.
    QString fontFamily = QStringLiteral("Arial");
    double fontPixels = Length::pt(10).toPx();
    bool bold = false;
    QColor colour = Qt::black;
    QColor fill;   // invalid: transparent
    HAlign hAlign = HAlign::Left;
    VAlign vAlign = VAlign::Top;
    bool wordWrap = true;
    bool allowExpressions = true;

    // Distance from one line's top to the next: the font's pixel height plus
    // the line spacing.
    double linePitch() const { return fontPixels + LineSpacing; }

private:
    QStringList m_lines;
};

// A plain rectangle with a 1-pixel outline.
class RectObject : public ReportObject
{
public:
    RectObject(const QString &name, const QRectF &rect) : ReportObject(name, rect) {}
    Kind kind() const override { return Kind::Rectangle; }
    std::unique_ptr<ReportObject> clone() const override { return std::make_unique<RectObject>(*this); }

    QColor fill;                 // invalid: transparent
    QColor outline = Qt::black;
};

// A picture scaled to fit its rectangle keeping its proportions.
class PictureObject : public ReportObject
{
public:
    PictureObject(const QString &name, const QRectF &rect) : ReportObject(name, rect) {}
    Kind kind() const override { return Kind::Picture; }
    std::unique_ptr<ReportObject> clone() const override { return std::make_unique<PictureObject>(*this); }

    // Stores a copy: later changes to the source do not reach the report.
    // Throws ReportError when the copy cannot be made.
    void setPicture(const QImage &picture);
    const QImage &picture() const { return m_picture; }
    bool center = false;

    // Where the picture is drawn inside `frame`: the largest size of the
    // picture's proportions that fits, centred or at the top-left corner.
    // Empty when the picture is empty.
    static QRectF fitted(const QSizeF &picture, const QRectF &frame, bool centred);

private:
    QImage m_picture;
    qint64 m_sourceKey = 0; // cacheKey() of the picture copied into m_picture
};

// A bar chart drawn as lines, fills and text, so it stays sharp at any zoom
// and on paper: one horizontal bar per category, top to bottom in the given
// order, the category's name at its left and its count at its end. Bars are
// as long as their count is of the largest; a count of 0 draws no bar.
class ChartObject : public ReportObject
{
public:
    struct Bar
    {
        QString label;
        qint64 value = 0;
    };

    ChartObject(const QString &name, const QRectF &rect) : ReportObject(name, rect) {}
    Kind kind() const override { return Kind::Chart; }
    std::unique_ptr<ReportObject> clone() const override { return std::make_unique<ChartObject>(*this); }

    QList<Bar> bars;
    QColor barColour = QColor(0x41, 0x69, 0xE1);
    QString fontFamily = QStringLiteral("Arial");
    double fontPixels = Length::pt(8).toPx();
};

// A band of the list templates. Its width is the printable width and its top
// is not used at output; its objects are placed from its top-left corner.
class Band : public ReportObject
{
public:
    enum class Type { ReportTitle, MasterData, Footer };

    Band(const QString &name, Type type, double height);
    Band(const Band &other);
    Kind kind() const override { return Kind::Band; }
    std::unique_ptr<ReportObject> clone() const override { return std::make_unique<Band>(*this); }

    Type type() const { return m_type; }
    int rowCount = 1;        // data bands only
    bool allowSplit = false; // data bands only

    // The band owns what is added; the returned pointer stays valid.
    TextObject *addText(const QString &name, const QRectF &rect);
    ReportObject *add(std::unique_ptr<ReportObject> object);
    const std::vector<std::unique_ptr<ReportObject>> &objects() const { return m_objects; }

private:
    Type m_type;
    std::vector<std::unique_ptr<ReportObject>> m_objects;
};

// The one page of a report.
class ReportPage
{
public:
    enum class Orientation { Portrait, Landscape };
    // Paper size codes of the printing interface.
    static constexpr int PaperA4 = 9;
    static constexpr int PaperCustom = 256;

    ReportPage() = default;
    ReportPage(const ReportPage &) = delete;
    ReportPage &operator=(const ReportPage &) = delete;

    QString name = QStringLiteral("Page1");

    // Paper width and height as the page stands now (set the paper first,
    // then the orientation: in landscape the width is the long side).
    void setPaper(int sizeCode, double widthMm, double heightMm);
    int paperSizeCode() const { return m_paperCode; }
    double paperWidthMm() const { return m_widthMm; }
    double paperHeightMm() const { return m_heightMm; }

    // Swaps the paper's sides and turns the margins with the page when the
    // orientation changes; setting the current one changes nothing.
    void setOrientation(Orientation orientation);
    Orientation orientation() const { return m_orientation; }

    void setMargins(double leftMm, double topMm, double rightMm, double bottomMm);
    void setLeftMargin(double mm) { m_margins.setLeft(mm); }
    void setTopMargin(double mm) { m_margins.setTop(mm); }
    void setRightMargin(double mm) { m_margins.setRight(mm); }
    void setBottomMargin(double mm) { m_margins.setBottom(mm); }
    const QMarginsF &marginsMm() const { return m_margins; }

    // In report pixels.
    QSizeF paperSizePx() const;
    QRectF printableRectPx() const; // from the paper's top-left corner

    // Objects lying directly on the page, in drawing order; owned.
    ReportObject *add(std::unique_ptr<ReportObject> object);
    TextObject *addText(const QString &name, const QRectF &rect);
    RectObject *addRect(const QString &name, const QRectF &rect);
    PictureObject *addPicture(const QString &name, const QRectF &rect);
    Band *addBand(const QString &name, Band::Type type, double height);
    const std::vector<std::unique_ptr<ReportObject>> &objects() const { return m_objects; }
    const std::vector<std::unique_ptr<Band>> &bands() const { return m_bands; }
    Band *band(Band::Type type) const; // first band of that type, or null

private:
    int m_paperCode = PaperA4;
    double m_widthMm = 210.0;
    double m_heightMm = 297.0;
    Orientation m_orientation = Orientation::Portrait;
    QMarginsF m_margins{10.0, 10.0, 10.0, 10.0};
    std::vector<std::unique_ptr<ReportObject>> m_objects;
    std::vector<std::unique_ptr<Band>> m_bands;
};

// One object as placed on a prepared page: a snapshot of the template object
// (so later changes to the template do not alter prepared pages), its
// rectangle on the page and, for text, the lines shown there with
// expressions evaluated.
struct PlacedObject
{
    std::shared_ptr<const ReportObject> object;
    QString name;
    ReportObject::Kind kind = ReportObject::Kind::Text;
    QRectF rect;          // report pixels from the printable area's top-left corner
    QStringList lines;    // text objects: the lines shown in this piece
    double textOffset = 0.0; // text objects: where the first line starts, from rect's top
    QString band;         // name of the band it came from, empty for page objects
    bool split = false;   // text cut across pages: lines start at textOffset, top-aligned
};

struct PreparedPage
{
    QSizeF paperPx;
    QRectF printableRect; // report pixels from the paper's top-left corner
    ReportPage::Orientation orientation = ReportPage::Orientation::Portrait;
    QSizeF paperMm;
    int paperSizeCode = ReportPage::PaperA4;
    QList<PlacedObject> objects;

    // The first placed object of that name, or null.
    const PlacedObject *find(const QString &name) const;
    QList<const PlacedObject *> findAll(const QString &name) const;
};

// A report template: a name, preview options, one page.
class Report : public QObject
{
    Q_OBJECT
public:
    enum PreviewButton {
        pbPrint = 0x1, pbLoad = 0x2, pbSave = 0x4, pbExport = 0x8, pbZoom = 0x10,
        pbFullScreen = 0x20, pbOutline = 0x40, pbThumbnails = 0x80, pbPageSetup = 0x100,
        pbEdit = 0x200, pbNavigator = 0x400, pbClose = 0x800,
        AllButtons = 0xFFF
    };
    Q_DECLARE_FLAGS(PreviewButtons, PreviewButton)

    // objectName is the window's name for its template ("repDocumento");
    // reportName is shown in the preview caption and names the print job.
    Report(const QString &objectName, const QString &reportName, QObject *parent = nullptr);

    QString reportName;
    PreviewButtons previewButtons = AllButtons;
    bool allowEdit = true;
    bool showProgress = false;

    ReportPage &firstPage() { return m_page; }
    const ReportPage &firstPage() const { return m_page; }

    // The first object of that name among page objects, bands and band
    // objects, comparing ASCII letters without regard to case; null when none.
    ReportObject *findObject(const QString &name) const;
    // As findObject, but throws ReportError when missing or of another kind.
    TextObject *text(const QString &name) const;
    PictureObject *picture(const QString &name) const;
    RectObject *rectangle(const QString &name) const;
    Band *bandNamed(const QString &name) const;

    // Lays the template out into pages; `today` is the value of [DATE].
    // Discards the pages prepared before. Data bands follow one another in
    // the order they were added, each its rowCount times.
    void prepare(const QDate &today);
    const QList<PreparedPage> &preparedPages() const { return m_prepared; }
    void clearPrepared() { m_prepared.clear(); }

private:
    ReportPage m_page;
    QList<PreparedPage> m_prepared;
};

Q_DECLARE_OPERATORS_FOR_FLAGS(Report::PreviewButtons)
