// Writes the user guide "Guida.pdf": the program's own help texts, so that
// the guide never says something else than the guide window, around a walk
// through the tasks of a school office with pictures of the windows:
//
//   guidegen <output.pdf> [<pictures folder>]
//
// A title page, the contents, the overview (the general help text's own
// paragraphs), the chapters of the walk, and the help texts of the three work
// areas, each paragraph once. The walk shows pictures of the windows
// (login.png, menu.png, ...) when the folder holds them; without them the
// guide is the same, less the figures. Needs no display.

#include "app/maker.h"
#include "help/helptexts.h"
#include "walkthrough.h"

#include <QAbstractTextDocumentLayout>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPdfWriter>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextLayout>

#include <cstdio>

namespace {

constexpr int kDpi = 300;
const QColor kBlue(0x1F, 0x4E, 0x86);
const QColor kRed(0xB0, 0x15, 0x15);
const QColor kGrey(0x5F, 0x5F, 0x5F);
const QColor kRule(0xCD, 0xDF, 0xEE);
const QString kBodyFamily = QStringLiteral("Liberation Serif");
const QString kHeadingFamily = QStringLiteral("DejaVu Sans");

// The text layout takes margins and picture sizes in pixels of a 96-dpi
// screen and scales them to the writer.
constexpr qreal kLayoutScale = kDpi / 96.0;

qreal mm(qreal millimetres)
{
    return millimetres * kDpi / 25.4;
}

// Millimetres for the text layout's margins.
qreal layoutMm(qreal millimetres)
{
    return mm(millimetres) / kLayoutScale;
}

QFont font(const QString &family, qreal points, bool bold = false, bool italic = false)
{
    QFont f(family);
    f.setPointSizeF(points);
    f.setBold(bold);
    f.setItalic(italic);
    return f;
}

// The footer of every page after the title; the guide's tests know it.
QString footerText(int pageNumber)
{
    return QStringLiteral("Lumetra - Guida all'utilizzo del software - pagina %1").arg(pageNumber);
}

struct Entry
{
    QString title;
    int level;        // 1 chapter, 2 section
    QTextBlock block; // its heading in the body
};

class GuideBook
{
public:
    GuideBook(QPdfWriter &writer, const QString &pictures) : m_writer(writer), m_pictures(pictures)
    {
        m_page = QRectF(0, 0, writer.width(), writer.height());
        m_body = QRectF(mm(22), mm(22), m_page.width() - 2 * mm(22), m_page.height() - mm(22) - mm(28));
        m_document.documentLayout()->setPaintDevice(&writer);
        m_document.setDocumentMargin(0);
        m_document.setPageSize(m_body.size());
        m_document.setDefaultFont(font(kBodyFamily, 12));
        m_cursor = QTextCursor(&m_document);
    }

    bool write()
    {
        buildBody();
        keepTogether();
        QPainter painter;
        if (!painter.begin(&m_writer))
            return false;
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        paintTitlePage(painter);
        m_contentsPages = paginateContents();
        for (int page = 0; page < m_contentsPages.size(); ++page) {
            m_writer.newPage();
            paintContents(painter, page);
        }
        for (int i = 0; i < m_document.pageCount(); ++i) {
            m_writer.newPage();
            paintBodyPage(painter, i);
        }
        return painter.end();
    }

private:
    // After the title page and the contents.
    int firstBodyPage() const
    {
        return 2 + int(m_contentsPages.size());
    }

    void buildBody()
    {
        using HelpTexts::Topic;
        // The overview: the paragraphs of the general text that are its own;
        // the rest of it are the three areas' texts, given once at the end.
        QStringList areas;
        for (Topic topic : HelpTexts::topics())
            if (topic != Topic::General)
                areas += HelpTexts::paragraphs(topic);
        addHeading(HelpTexts::text(Topic::General).title, 1);
        for (const QString &paragraph : HelpTexts::paragraphs(Topic::General))
            if (!areas.contains(paragraph))
                addParagraph(paragraph);

        for (const Walkthrough::Chapter &chapter : Walkthrough::chapters()) {
            addHeading(chapter.title, 1);
            addBlocks(chapter.introduction);
            for (const Walkthrough::Section &section : chapter.sections) {
                addHeading(section.heading, 2);
                addBlocks(section.blocks);
            }
        }

        addHeading(Walkthrough::helpTextsTitle(), 1);
        addBlocks(Walkthrough::helpTextsIntroduction());
        for (Topic topic : HelpTexts::topics()) {
            if (topic == Topic::General)
                continue;
            // A help text as the guide window shows it: the title, then the
            // body's paragraphs.
            addHeading(HelpTexts::text(topic).title, 2);
            for (const QString &paragraph : HelpTexts::paragraphs(topic))
                addParagraph(paragraph);
        }
    }

    void addBlocks(const QList<Walkthrough::Block> &blocks)
    {
        int step = 0;
        for (const Walkthrough::Block &block : blocks) {
            step = block.kind == Walkthrough::Block::Step ? step + 1 : 0;
            switch (block.kind) {
            case Walkthrough::Block::Text:
                addParagraph(block.text);
                break;
            case Walkthrough::Block::Step:
                addListItem(QStringLiteral("%1.").arg(step), block.text);
                break;
            case Walkthrough::Block::Item:
                addListItem(QStringLiteral("•"), block.text);
                break;
            case Walkthrough::Block::Figure:
                addFigure(block.picture, block.window, block.text);
                break;
            }
        }
    }

    void newBlock(const QTextBlockFormat &format, const QTextCharFormat &chars)
    {
        if (m_first) {
            m_cursor.setBlockFormat(format);
            m_cursor.setBlockCharFormat(chars);
            m_first = false;
        } else {
            m_cursor.insertBlock(format, chars);
        }
    }

    void addHeading(const QString &text, int level)
    {
        QTextBlockFormat format;
        format.setTopMargin(level == 1 ? 0 : layoutMm(7));
        format.setBottomMargin(level == 1 ? layoutMm(8) : layoutMm(3));
        if (level == 1 && !m_first)
            format.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
        QTextCharFormat chars;
        chars.setFont(font(kHeadingFamily, level == 1 ? 20 : 14, true));
        chars.setForeground(level == 1 ? kRed : kBlue);
        newBlock(format, chars);
        m_cursor.insertText(text, chars);
        m_entries.append({text, level, m_cursor.block()});
        if (level == 2)
            m_keep.append({m_cursor.block(), QTextBlock()}); // with the block that follows
    }

    void addParagraph(const QString &text)
    {
        QTextBlockFormat format;
        format.setAlignment(Qt::AlignJustify);
        format.setBottomMargin(layoutMm(3.5));
        format.setLineHeight(118, QTextBlockFormat::ProportionalHeight);
        QTextCharFormat chars;
        chars.setFont(font(kBodyFamily, 12));
        chars.setForeground(Qt::black);
        newBlock(format, chars);
        m_cursor.insertText(text, chars);
        fillPendingKeep();
    }

    // A numbered step or a list item: the mark hangs in the left margin.
    void addListItem(const QString &mark, const QString &text)
    {
        QTextBlockFormat format;
        format.setAlignment(Qt::AlignJustify);
        format.setBottomMargin(layoutMm(2.5));
        format.setLeftMargin(mm(7));
        format.setTextIndent(-mm(7));
        format.setLineHeight(118, QTextBlockFormat::ProportionalHeight);
        format.setTabPositions({QTextOption::Tab(layoutMm(7), QTextOption::LeftTab)});
        QTextCharFormat chars;
        chars.setFont(font(kBodyFamily, 12));
        chars.setForeground(Qt::black);
        newBlock(format, chars);
        QTextCharFormat markChars = chars;
        markChars.setFont(font(kBodyFamily, 12, true));
        markChars.setForeground(kBlue);
        m_cursor.insertText(mark, markChars);
        m_cursor.insertText(QStringLiteral("\t") + text, chars);
        fillPendingKeep();
    }

    // The picture of a whole window, at a size that keeps its proportions,
    // and its caption, which names the window by its title.
    void addFigure(const QString &file, const QString &window, const QString &caption)
    {
        const QImage image(QDir(m_pictures).filePath(file));
        if (m_pictures.isEmpty() || image.isNull())
            return;
        ++m_figures;
        const QString name = QStringLiteral("figure:%1").arg(file);
        m_document.addResource(QTextDocument::ImageResource, QUrl(name), image);
        // A window's pixel (half a picture's: they are taken at twice the
        // size) becomes 0.2 mm, within the text's width and half its height.
        const qreal width = qMin(m_body.width() * 0.9, mm(0.2) * image.width() / 2);
        QSizeF size(width, width * image.height() / image.width());
        if (size.height() > m_body.height() * 0.55)
            size.scale(QSizeF(m_body.width(), m_body.height() * 0.55), Qt::KeepAspectRatio);

        QTextBlockFormat format;
        format.setAlignment(Qt::AlignHCenter);
        format.setTopMargin(layoutMm(3));
        format.setBottomMargin(layoutMm(2));
        newBlock(format, QTextCharFormat());
        const QTextBlock pictureBlock = m_cursor.block();
        QTextImageFormat picture;
        picture.setName(name);
        picture.setWidth(size.width() / kLayoutScale);
        picture.setHeight(size.height() / kLayoutScale);
        m_cursor.insertImage(picture);

        QTextBlockFormat captionFormat;
        captionFormat.setAlignment(Qt::AlignHCenter);
        captionFormat.setBottomMargin(layoutMm(5));
        QTextCharFormat chars;
        chars.setFont(font(kBodyFamily, 10.5, false, true));
        chars.setForeground(kGrey);
        newBlock(captionFormat, chars);
        m_cursor.insertText(QStringLiteral("Figura %1. «%2»: %3").arg(m_figures).arg(window, caption), chars);
        m_keep.append({pictureBlock, m_cursor.block()});
        fillPendingKeep();
    }

    void fillPendingKeep()
    {
        for (auto &pair : m_keep)
            if (!pair.second.isValid() && pair.first != m_cursor.block())
                pair.second = m_cursor.block();
    }

    int pageOf(qreal y) const
    {
        return int(y / m_body.height());
    }

    // A section heading stays with the first line of its text, and a picture
    // with its caption: when a page ends between them, the pair starts the
    // next page.
    void keepTogether()
    {
        QAbstractTextDocumentLayout *layout = m_document.documentLayout();
        for (int round = 0; round < 20; ++round) {
            bool moved = false;
            for (const auto &pair : std::as_const(m_keep)) {
                if (!pair.second.isValid())
                    continue;
                const QRectF first = layout->blockBoundingRect(pair.first);
                const QRectF second = layout->blockBoundingRect(pair.second);
                const QTextLayout *lines = pair.second.layout();
                const qreal firstLine = lines && lines->lineCount() > 0 ? lines->lineAt(0).height() : 0;
                const int page = pageOf(first.top() + 1);
                if (page == pageOf(second.top() + firstLine - 1)
                    || pair.first.blockFormat().pageBreakPolicy() & QTextFormat::PageBreak_AlwaysBefore)
                    continue;
                QTextCursor cursor(pair.first);
                QTextBlockFormat format = pair.first.blockFormat();
                format.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
                cursor.setBlockFormat(format);
                moved = true;
                break; // everything after it moved: measure again
            }
            if (!moved)
                return;
        }
    }

    int pageNumberOf(const QTextBlock &block) const
    {
        const QRectF rect = m_document.documentLayout()->blockBoundingRect(block);
        return firstBodyPage() + pageOf(rect.top() + 1);
    }

    void paintFooter(QPainter &p, int pageNumber)
    {
        const qreal y = m_page.height() - mm(18);
        p.setPen(QPen(kRule, mm(0.3)));
        p.drawLine(QPointF(m_body.left(), y), QPointF(m_body.right(), y));
        p.setPen(kGrey);
        p.setFont(font(kHeadingFamily, 8.5));
        p.drawText(QRectF(m_body.left(), y + mm(1.5), m_body.width(), mm(6)), Qt::AlignCenter,
                   footerText(pageNumber));
    }

    void paintTitlePage(QPainter &p)
    {
        QLinearGradient band(0, 0, 0, mm(110));
        band.setColorAt(0, QColor(0x5D, 0x85, 0xA6));
        band.setColorAt(1, Qt::white);
        p.fillRect(QRectF(0, 0, m_page.width(), mm(110)), band);

        QFont title = font(QStringLiteral("DejaVu Serif"), 64, true);
        p.setFont(title);
        const QRectF titleArea(0, mm(38), m_page.width(), mm(34));
        p.setPen(QColor(0, 0, 0, 60));
        p.drawText(titleArea.translated(mm(0.8), mm(1)), Qt::AlignCenter, QStringLiteral("Lumetra"));
        p.setPen(QColor(0xC4, 0x1A, 0x1A));
        p.drawText(titleArea, Qt::AlignCenter, QStringLiteral("Lumetra"));

        p.setPen(kBlue);
        p.setFont(font(kHeadingFamily, 24, true));
        p.drawText(QRectF(0, mm(76), m_page.width(), mm(14)), Qt::AlignCenter,
                   QStringLiteral("Guida all'utilizzo del software"));
        p.setPen(kGrey);
        p.setFont(font(kHeadingFamily, 12));
        p.drawText(QRectF(0, mm(91), m_page.width(), mm(10)), Qt::AlignCenter,
                   QStringLiteral("Archivio storico degli studenti e stampa dei tesserini di riconoscimento"));

        const QImage menu(QDir(m_pictures).filePath(QStringLiteral("menu.png")));
        if (!m_pictures.isEmpty() && !menu.isNull()) {
            QSizeF size(mm(150), mm(150) * menu.height() / menu.width());
            const QRectF frame(QPointF((m_page.width() - size.width()) / 2, mm(118)), size);
            p.fillRect(frame.translated(mm(1.5), mm(2)), QColor(0, 0, 0, 45));
            p.drawImage(frame, menu);
            p.setPen(QPen(kRule, mm(0.4)));
            p.setBrush(Qt::NoBrush);
            p.drawRect(frame);
        }

        p.setPen(kGrey);
        p.setFont(font(kHeadingFamily, 11));
        p.drawText(QRectF(0, m_page.height() - mm(42), m_page.width(), mm(8)), Qt::AlignCenter,
                   QStringLiteral("Versione %1").arg(QStringLiteral(LUMETRA_VERSION)));
        p.setPen(kBlue);
        p.setFont(font(kHeadingFamily, 12, true));
        p.drawText(QRectF(0, m_page.height() - mm(34), m_page.width(), mm(8)), Qt::AlignCenter,
                   QStringLiteral("%1  ·  %2").arg(Maker::name(), Maker::webAddress()));
    }

    QFont contentsFont(const Entry &entry) const
    {
        const bool chapter = entry.level == 1;
        return font(chapter ? kHeadingFamily : kBodyFamily, chapter ? 11.5 : 11, chapter);
    }

    qreal contentsHeadingHeight() const
    {
        return QFontMetricsF(font(kHeadingFamily, 20, true), &m_writer).height() + mm(8);
    }

    // The space an entry takes in the contents, its gap before included.
    qreal contentsAdvance(const Entry &entry) const
    {
        const QFontMetricsF metrics(contentsFont(entry), &m_writer);
        return (entry.level == 1 ? mm(2.5) : 0) + metrics.height() * 1.3;
    }

    // The entries of each page of the contents, as many pages as they need.
    QList<QList<Entry>> paginateContents() const
    {
        QList<QList<Entry>> pages(1);
        qreal y = contentsHeadingHeight();
        for (const Entry &entry : m_entries) {
            const qreal advance = contentsAdvance(entry);
            if (y + advance > m_body.height() && !pages.last().isEmpty()) {
                pages.append(QList<Entry>());
                y = 0;
            }
            pages.last().append(entry);
            y += advance;
        }
        return pages;
    }

    void paintContents(QPainter &p, int page)
    {
        qreal y = m_body.top();
        if (page == 0) {
            p.setPen(kRed);
            p.setFont(font(kHeadingFamily, 20, true));
            const QFontMetricsF heading(p.font(), &m_writer);
            p.drawText(QPointF(m_body.left(), m_body.top() + heading.ascent()), QStringLiteral("Indice"));
            y += contentsHeadingHeight();
        }
        for (const Entry &entry : std::as_const(m_contentsPages.at(page))) {
            const bool chapter = entry.level == 1;
            const QFont f = contentsFont(entry);
            p.setFont(f);
            const QFontMetricsF metrics(f, &m_writer);
            if (chapter)
                y += mm(2.5);
            const qreal left = m_body.left() + (chapter ? 0 : mm(8));
            const QString number = QString::number(pageNumberOf(entry.block));
            const qreal numberWidth = metrics.horizontalAdvance(number);
            const qreal titleWidth = metrics.horizontalAdvance(entry.title);
            p.setPen(chapter ? kBlue : Qt::black);
            p.drawText(QPointF(left, y + metrics.ascent()), entry.title);
            p.drawText(QPointF(m_body.right() - numberWidth, y + metrics.ascent()), number);
            // Dotted leader between the title and its page.
            p.setPen(QPen(kGrey, mm(0.35), Qt::DotLine));
            const qreal base = y + metrics.ascent() - mm(0.4);
            const qreal from = left + titleWidth + mm(2), to = m_body.right() - numberWidth - mm(2);
            if (to > from)
                p.drawLine(QPointF(from, base), QPointF(to, base));
            y += metrics.height() * 1.3;
        }
        paintFooter(p, 2 + page);
    }

    // Draws the lines (and pictures) whose top lies on page `index`. Qt's own
    // drawing would also write the lines of a paragraph that runs over from the
    // page before, hidden by the clip but still in the PDF's text.
    void paintBodyPage(QPainter &p, int index)
    {
        QAbstractTextDocumentLayout *layout = m_document.documentLayout();
        const qreal pageTop = index * m_body.height();
        for (QTextBlock block = m_document.begin(); block.isValid(); block = block.next()) {
            const QRectF rect = layout->blockBoundingRect(block);
            if (rect.bottom() < pageTop || rect.top() > pageTop + m_body.height())
                continue;
            const QTextLayout *lines = block.layout();
            const QPointF origin = m_body.topLeft() + QPointF(rect.left(), rect.top() - pageTop);
            for (int i = 0; i < lines->lineCount(); ++i) {
                const QTextLine line = lines->lineAt(i);
                if (pageOf(rect.top() + line.y() + 1) != index)
                    continue;
                line.draw(&p, origin);
                paintPictures(p, block, line, origin);
            }
        }
        paintFooter(p, firstBodyPage() + index);
    }

    // A frame around each picture of a line; the line itself draws the picture.
    void paintPictures(QPainter &p, const QTextBlock &block, const QTextLine &line, const QPointF &origin)
    {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            const QTextImageFormat format = fragment.charFormat().toImageFormat();
            const int at = fragment.position() - block.position();
            if (!format.isValid() || at < line.textStart() || at >= line.textStart() + line.textLength())
                continue;
            const QSizeF size(format.width() * kLayoutScale, format.height() * kLayoutScale);
            const QRectF target(QPointF(origin.x() + line.cursorToX(at), origin.y() + line.y() + line.ascent() - size.height()),
                                size);
            p.setPen(QPen(kRule, mm(0.3)));
            p.setBrush(Qt::NoBrush);
            p.drawRect(target);
        }
    }

    QPdfWriter &m_writer;
    QString m_pictures;
    QRectF m_page;
    QRectF m_body;
    QTextDocument m_document;
    QTextCursor m_cursor;
    bool m_first = true;
    int m_figures = 0;
    QList<Entry> m_entries;
    QList<QPair<QTextBlock, QTextBlock>> m_keep;
    QList<QList<Entry>> m_contentsPages;
};

} // namespace

int main(int argc, char *argv[])
{
    // Fonts without a display: the guide is made during the build.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() < 2 || args.size() > 3) {
        std::fprintf(stderr, "usage: guidegen <output.pdf> [<pictures folder>]\n");
        return 2;
    }
    const QString output = args.at(1);
    const QString pictures = args.size() == 3 && QFileInfo(args.at(2)).isDir() ? args.at(2) : QString();

    // Written beside the target and renamed over it when complete.
    const QString partial = output + QStringLiteral(".part");
    {
        QPdfWriter writer(partial);
        writer.setPageSize(QPageSize(QPageSize::A4));
        writer.setPageMargins(QMarginsF(0, 0, 0, 0));
        writer.setResolution(kDpi);
        writer.setTitle(QStringLiteral("Lumetra - Guida all'utilizzo del software"));
        writer.setCreator(Maker::name());
        GuideBook book(writer, pictures);
        if (!book.write()) {
            std::fprintf(stderr, "guidegen: cannot write %s\n", qPrintable(partial));
            return 1;
        }
    }
    QFile::remove(output);
    if (!QFile::rename(partial, output)) {
        std::fprintf(stderr, "guidegen: cannot write %s\n", qPrintable(output));
        return 1;
    }
    return 0;
}
