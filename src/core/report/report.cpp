#include "report/report.h"

#include <QRegularExpression>

#include <algorithm>
#include <cmath>

namespace {

constexpr double Epsilon = 0.01;

bool sameAsciiName(const QString &a, const QString &b)
{
    if (a.size() != b.size())
        return false;
    for (int i = 0; i < a.size(); ++i) {
        const char16_t x = a.at(i).unicode();
        const char16_t y = b.at(i).unicode();
        if (x == y)
            continue;
        auto lower = [](char16_t c) -> char16_t { return (c >= u'A' && c <= u'Z') ? char16_t(c + 32) : c; };
        if (x > 127 || y > 127 || lower(x) != lower(y))
            return false;
    }
    return true;
}

// Known expressions are replaced; anything else between brackets (a name
// typed with brackets, say) is printed as it stands.
QString evaluate(const QString &line, const QString &dateText)
{
    if (!line.contains(QLatin1Char('[')))
        return line;
    static const QRegularExpression expression(QStringLiteral("\\[([^\\[\\]]*)\\]"));
    QString out;
    qsizetype last = 0;
    auto it = expression.globalMatch(line);
    while (it.hasNext()) {
        const auto match = it.next();
        out += QStringView(line).mid(last, match.capturedStart() - last);
        if (match.captured(1).trimmed().compare(QLatin1String("DATE"), Qt::CaseInsensitive) == 0)
            out += dateText;
        else
            out += match.captured(0);
        last = match.capturedEnd();
    }
    out += QStringView(line).mid(last);
    return out;
}

QStringList shownLines(const ReportObject &object, const QString &dateText)
{
    const auto &text = static_cast<const TextObject &>(object);
    if (!text.allowExpressions)
        return text.lines();
    QStringList lines;
    lines.reserve(text.lines().size());
    for (const QString &line : text.lines())
        lines.append(evaluate(line, dateText));
    return lines;
}

} // namespace

// --- objects ---------------------------------------------------------------

TextObject::TextObject(const QString &name, const QRectF &rect) : ReportObject(name, rect) {}

void TextObject::setText(const QString &text)
{
    static const QRegularExpression breaks(QStringLiteral("\\r\\n|\\n\\r|\\n|\\r"));
    m_lines = text.isEmpty() ? QStringList() : text.split(breaks);
}

void PictureObject::setPicture(const QImage &picture)
{
    if (picture.isNull()) {
        m_picture = QImage();
        m_sourceKey = 0;
        return;
    }
    // The same, unchanged picture again (a change gives it a new key): the
    // copy held stays, and output that stores each picture once (PDF) keeps
    // a logo repeated on a thousand cards once.
    if (picture.cacheKey() == m_sourceKey && !m_picture.isNull())
        return;
    QImage copy = picture.copy();
    if (copy.isNull())
        throw ReportError("the picture could not be copied");
    m_picture = std::move(copy);
    m_sourceKey = picture.cacheKey();
}

QRectF PictureObject::fitted(const QSizeF &picture, const QRectF &frame, bool centred)
{
    if (picture.isEmpty() || frame.width() <= 0 || frame.height() <= 0)
        return {};
    const double factor = std::min(frame.width() / picture.width(), frame.height() / picture.height());
    const QSizeF size = picture * factor;
    QPointF topLeft = frame.topLeft();
    if (centred)
        topLeft += QPointF((frame.width() - size.width()) / 2, (frame.height() - size.height()) / 2);
    return QRectF(topLeft, size);
}

Band::Band(const QString &name, Type type, double height)
    : ReportObject(name, QRectF(0, 0, 0, height)), m_type(type)
{
}

Band::Band(const Band &other)
    : ReportObject(other), rowCount(other.rowCount), allowSplit(other.allowSplit), m_type(other.m_type)
{
    for (const auto &object : other.m_objects)
        m_objects.push_back(object->clone());
}

TextObject *Band::addText(const QString &name, const QRectF &rect)
{
    return static_cast<TextObject *>(add(std::make_unique<TextObject>(name, rect)));
}

ReportObject *Band::add(std::unique_ptr<ReportObject> object)
{
    m_objects.push_back(std::move(object));
    return m_objects.back().get();
}

// --- page ------------------------------------------------------------------

void ReportPage::setPaper(int sizeCode, double widthMm, double heightMm)
{
    m_paperCode = sizeCode;
    m_widthMm = widthMm;
    m_heightMm = heightMm;
}

void ReportPage::setOrientation(Orientation orientation)
{
    if (orientation == m_orientation)
        return;
    std::swap(m_widthMm, m_heightMm);
    const QMarginsF m = m_margins;
    if (orientation == Orientation::Landscape) // the page turns a quarter to the left
        m_margins = QMarginsF(m.top(), m.right(), m.bottom(), m.left());
    else
        m_margins = QMarginsF(m.bottom(), m.left(), m.top(), m.right());
    m_orientation = orientation;
}

void ReportPage::setMargins(double leftMm, double topMm, double rightMm, double bottomMm)
{
    m_margins = QMarginsF(leftMm, topMm, rightMm, bottomMm);
}

QSizeF ReportPage::paperSizePx() const
{
    return QSizeF(mmToPx(m_widthMm), mmToPx(m_heightMm));
}

QRectF ReportPage::printableRectPx() const
{
    return QRectF(mmToPx(m_margins.left()), mmToPx(m_margins.top()),
                  mmToPx(m_widthMm - m_margins.left() - m_margins.right()),
                  mmToPx(m_heightMm - m_margins.top() - m_margins.bottom()));
}

ReportObject *ReportPage::add(std::unique_ptr<ReportObject> object)
{
    m_objects.push_back(std::move(object));
    return m_objects.back().get();
}

TextObject *ReportPage::addText(const QString &name, const QRectF &rect)
{
    return static_cast<TextObject *>(add(std::make_unique<TextObject>(name, rect)));
}

RectObject *ReportPage::addRect(const QString &name, const QRectF &rect)
{
    return static_cast<RectObject *>(add(std::make_unique<RectObject>(name, rect)));
}

PictureObject *ReportPage::addPicture(const QString &name, const QRectF &rect)
{
    return static_cast<PictureObject *>(add(std::make_unique<PictureObject>(name, rect)));
}

Band *ReportPage::addBand(const QString &name, Band::Type type, double height)
{
    m_bands.push_back(std::make_unique<Band>(name, type, height));
    if (type == Band::Type::MasterData)
        m_bands.back()->allowSplit = true;
    return m_bands.back().get();
}

Band *ReportPage::band(Band::Type type) const
{
    for (const auto &band : m_bands)
        if (band->type() == type)
            return band.get();
    return nullptr;
}

// --- prepared pages --------------------------------------------------------

const PlacedObject *PreparedPage::find(const QString &name) const
{
    for (const PlacedObject &object : objects)
        if (object.name == name)
            return &object;
    return nullptr;
}

QList<const PlacedObject *> PreparedPage::findAll(const QString &name) const
{
    QList<const PlacedObject *> found;
    for (const PlacedObject &object : objects)
        if (object.name == name)
            found.append(&object);
    return found;
}

// --- report ----------------------------------------------------------------

Report::Report(const QString &objectName, const QString &reportName, QObject *parent)
    : QObject(parent), reportName(reportName)
{
    setObjectName(objectName);
}

ReportObject *Report::findObject(const QString &name) const
{
    for (const auto &object : m_page.objects())
        if (sameAsciiName(object->name(), name))
            return object.get();
    for (const auto &band : m_page.bands()) {
        if (sameAsciiName(band->name(), name))
            return band.get();
        for (const auto &object : band->objects())
            if (sameAsciiName(object->name(), name))
                return object.get();
    }
    return nullptr;
}

namespace {
template<typename T>
T *typed(const Report &report, const QString &name, ReportObject::Kind kind)
{
    ReportObject *object = report.findObject(name);
    if (!object)
        throw ReportError("report object not found: " + name.toStdString());
    if (object->kind() != kind)
        throw ReportError("report object of another kind: " + name.toStdString());
    return static_cast<T *>(object);
}
} // namespace

TextObject *Report::text(const QString &name) const
{
    return typed<TextObject>(*this, name, ReportObject::Kind::Text);
}

PictureObject *Report::picture(const QString &name) const
{
    return typed<PictureObject>(*this, name, ReportObject::Kind::Picture);
}

RectObject *Report::rectangle(const QString &name) const
{
    return typed<RectObject>(*this, name, ReportObject::Kind::Rectangle);
}

Band *Report::bandNamed(const QString &name) const
{
    return typed<Band>(*this, name, ReportObject::Kind::Band);
}

namespace {

// Lays bands out one below the other, page after page.
class Layout
{
public:
    Layout(const ReportPage &page, const QString &dateText, QList<PreparedPage> &pages)
        : m_page(page), m_date(dateText), m_pages(pages),
          m_printable(page.printableRectPx())
    {
        startPage();
    }

    void placeBand(const Band &band)
    {
        const auto snapshot = std::make_shared<const Band>(band);
        const double height = std::max(0.0, band.height());
        if (!band.allowSplit) {
            if (height <= remaining() + Epsilon) {
                placePiece(snapshot, 0, height);
                return;
            }
            if (m_cursor > Epsilon)
                startPage();
            if (height <= remaining() + Epsilon) {
                placePiece(snapshot, 0, height);
                return;
            }
            // Taller than a whole page: cut all the same.
        }
        double start = 0;
        for (;;) {
            if (height - start <= remaining() + Epsilon) {
                placePiece(snapshot, start, height);
                return;
            }
            double cut = cutPoint(*snapshot, start, start + remaining());
            if (cut <= start + Epsilon) {
                if (m_cursor > Epsilon) {
                    startPage();
                    continue;
                }
                cut = start + remaining(); // not even one line fits a whole page
            }
            placePiece(snapshot, start, cut);
            startPage();
            start = cut;
        }
    }

private:
    double remaining() const { return m_printable.height() - m_cursor; }

    void startPage()
    {
        PreparedPage page;
        page.paperPx = m_page.paperSizePx();
        page.printableRect = m_printable;
        page.orientation = m_page.orientation();
        page.paperMm = QSizeF(m_page.paperWidthMm(), m_page.paperHeightMm());
        page.paperSizeCode = m_page.paperSizeCode();
        for (const auto &object : m_page.objects()) {
            PlacedObject placed;
            placed.object = std::shared_ptr<const ReportObject>(object->clone());
            placed.name = object->name();
            placed.kind = object->kind();
            placed.rect = object->rect();
            if (placed.kind == ReportObject::Kind::Text)
                placed.lines = shownLines(*object, m_date);
            page.objects.append(placed);
        }
        m_pages.append(page);
        m_cursor = 0;
    }

    // The highest point at or above `limit` where no text line of the band is
    // cut in two.
    static double cutPoint(const Band &band, double start, double limit)
    {
        double cut = limit;
        for (const auto &object : band.objects()) {
            if (object->kind() != ReportObject::Kind::Text)
                continue;
            const auto &text = static_cast<const TextObject &>(*object);
            const QRectF r = text.rect();
            if (r.top() >= cut || r.bottom() <= start)
                continue;
            const double pitch = text.linePitch();
            const int count = int(text.lines().size());
            for (int i = 0; i < count; ++i) {
                const double top = r.top() + TextObject::InnerMarginY + i * pitch;
                const double bottom = top + text.fontPixels;
                if (top >= r.bottom())
                    break;
                if (top < start - Epsilon)
                    continue;
                if (bottom > cut + Epsilon) {
                    if (top < cut)
                        cut = std::max(top, start);
                    break;
                }
            }
        }
        return cut;
    }

    void placePiece(const std::shared_ptr<const Band> &snapshot, double start, double end)
    {
        const Band &band = *snapshot;
        const double shift = m_cursor - start; // band coordinates to page coordinates
        const Band &copy = band;
        PreparedPage &page = m_pages.last();
        const bool whole = start <= Epsilon && end >= band.height() - Epsilon;
        for (const auto &object : copy.objects()) {
            const QRectF r = object->rect();
            const double top = std::max(r.top(), start);
            const double bottom = std::min(r.bottom(), end);
            const bool empty = r.height() <= Epsilon && r.top() >= start - Epsilon && r.top() < end + Epsilon;
            if (bottom <= top && !empty)
                continue;
            PlacedObject placed;
            placed.object = std::shared_ptr<const ReportObject>(snapshot, object.get());
            placed.name = object->name();
            placed.kind = object->kind();
            placed.band = band.name();
            placed.rect = QRectF(r.left(), top + shift, r.width(), std::max(0.0, bottom - top));
            if (placed.kind == ReportObject::Kind::Text) {
                const QStringList all = shownLines(*object, m_date);
                if (whole || (r.top() >= start - Epsilon && r.bottom() <= end + Epsilon)) {
                    placed.lines = all;
                } else {
                    const auto &text = static_cast<const TextObject &>(*object);
                    placed.split = true;
                    int first = -1;
                    for (int i = 0; i < all.size(); ++i) {
                        const double lineTop = r.top() + TextObject::InnerMarginY + i * text.linePitch();
                        if (lineTop >= start - Epsilon && lineTop < end - Epsilon) {
                            if (first < 0) {
                                first = i;
                                placed.textOffset = lineTop - top;
                            }
                            placed.lines.append(all.at(i));
                        }
                    }
                }
            }
            page.objects.append(placed);
        }
        // The band itself, for tests and for anyone looking at the layout.
        PlacedObject self;
        self.object = snapshot;
        self.name = band.name();
        self.kind = ReportObject::Kind::Band;
        self.band = band.name();
        self.rect = QRectF(0, m_cursor, m_printable.width(), end - start);
        page.objects.append(self);
        m_cursor += end - start;
    }

    const ReportPage &m_page;
    QString m_date;
    QList<PreparedPage> &m_pages;
    QRectF m_printable;
    double m_cursor = 0;
};

} // namespace

void Report::prepare(const QDate &today)
{
    m_prepared.clear();
    const QString dateText = today.toString(QStringLiteral("dd/MM/yyyy"));
    QList<PreparedPage> pages;
    Layout layout(m_page, dateText, pages);
    if (Band *title = m_page.band(Band::Type::ReportTitle))
        layout.placeBand(*title);
    Band *data = m_page.band(Band::Type::MasterData);
    for (const auto &band : m_page.bands())
        if (band->type() == Band::Type::MasterData)
            for (int row = 0; row < band->rowCount; ++row)
                layout.placeBand(*band);
    if (Band *footer = m_page.band(Band::Type::Footer))
        if (!data || data->rowCount > 0)
            layout.placeBand(*footer);
    m_prepared = pages;
}
