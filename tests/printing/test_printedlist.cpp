// The printed lists as they come out of a real PDF printer: how many pages,
// where the footer lands and at what size the text is set.
#include "report/listreport.h"
#include "report/report.h"
#include "printing/reportoutput.h"
#include "search/studentsearch.h"

#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTransform>
#include <QtTest>

#include <cmath>

namespace {

// A4 landscape with 10 mm margins, in points.
constexpr double kPointsPerPixel = 0.75;
constexpr double kPrintableTop = 10 / 25.4 * 72;
constexpr double kPrintableBottom = 200 / 25.4 * 72;
constexpr double kPrintableLeft = 10 / 25.4 * 72;

QStringList numberedLines(int count)
{
    QStringList lines;
    for (int i = 1; i <= count; ++i)
        lines.append(QStringLiteral("Studente %1 ").arg(i, 5, 10, QLatin1Char('0')) + QString(40, QLatin1Char('.')));
    return lines;
}

QString printList(const QStringList &lines, const QString &pdf)
{
    auto report = ListReport::create();
    ListReport::fill(*report, QStringLiteral("Riepilogo schede studenti in archivio"), lines);
    report->prepare(QDate(2026, 12, 8));
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdf);
    ReportOutput::setUpPrinter(*report, printer);
    if (!ReportOutput::printPages(*report, printer))
        return QStringLiteral("printing failed");
    return {};
}

struct Word
{
    QString text;
    QRectF box; // points, from the page's top-left corner
};
using Page = QList<Word>;

// Every word of the PDF with its box, page by page, as pdftotext sees them.
QList<Page> wordsOf(const QString &pdf)
{
    QProcess process;
    process.start(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), pdf, QStringLiteral("-")});
    process.waitForFinished(120000);
    const QString html = QString::fromUtf8(process.readAllStandardOutput());
    static const QRegularExpression tag(QStringLiteral(
        "<page |<word xMin=\"([\\d.]+)\" yMin=\"([\\d.]+)\" xMax=\"([\\d.]+)\" yMax=\"([\\d.]+)\">([^<]*)</word>"));
    QList<Page> pages;
    for (auto it = tag.globalMatch(html); it.hasNext();) {
        const auto match = it.next();
        if (match.captured(0) == QLatin1String("<page ")) {
            pages.append(Page());
            continue;
        }
        if (pages.isEmpty())
            continue;
        const QPointF from(match.captured(1).toDouble(), match.captured(2).toDouble());
        const QPointF to(match.captured(3).toDouble(), match.captured(4).toDouble());
        pages.last().append({match.captured(5), QRectF(from, to)});
    }
    return pages;
}

QList<Word> wordsStarting(const Page &page, const QString &prefix)
{
    QList<Word> found;
    for (const Word &word : page)
        if (word.text.startsWith(prefix))
            found.append(word);
    return found;
}

// The size, in points on the paper, of every text shown in the PDF's page
// content: the font size of Tf taken through the text matrix and the
// transformation in force (cm, q, Q), as a PDF viewer sets it.
QList<double> textSizesOf(const QString &pdf)
{
    QFile file(pdf);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray bytes = file.readAll();
    QList<double> sizes;
    static const QRegularExpression token(QStringLiteral(
        "\\((?:\\\\.|[^\\\\)])*\\)|<[0-9A-Fa-f\\s]*>|\\[|\\]|/[^\\s/\\[\\]()<>]+|[-+]?(?:\\d+\\.?\\d*|\\.\\d+)|[A-Za-z'\"*]+"));
    qsizetype at = 0;
    while ((at = bytes.indexOf("stream", at)) >= 0) {
        qsizetype start = at + 6;
        if (bytes.mid(start, 2) == "\r\n")
            start += 2;
        else if (bytes.at(start) == '\n')
            start += 1;
        else {
            at = start;
            continue;
        }
        const qsizetype end = bytes.indexOf("endstream", start);
        if (end < 0)
            break;
        at = end + 9;
        const QByteArray raw = bytes.mid(start, end - start);
        QByteArray sized(4, '\0');
        sized[0] = char((raw.size() >> 24) & 0xFF);
        sized[1] = char((raw.size() >> 16) & 0xFF);
        sized[2] = char((raw.size() >> 8) & 0xFF);
        sized[3] = char(raw.size() & 0xFF);
        QByteArray content = qUncompress(sized + raw);
        if (content.isEmpty())
            content = raw;
        if (!content.contains(" Tf"))
            continue;

        QTransform ctm;
        QList<QTransform> saved;
        QTransform tm;
        double fontSize = 0;
        QList<double> numbers;
        const QString text = QString::fromLatin1(content);
        for (auto it = token.globalMatch(text); it.hasNext();) {
            const QString t = it.next().captured(0);
            bool isNumber = false;
            const double value = t.toDouble(&isNumber);
            if (isNumber) {
                numbers.append(value);
                continue;
            }
            const auto matrix = [&] {
                return QTransform(numbers.at(numbers.size() - 6), numbers.at(numbers.size() - 5),
                                  numbers.at(numbers.size() - 4), numbers.at(numbers.size() - 3),
                                  numbers.at(numbers.size() - 2), numbers.at(numbers.size() - 1));
            };
            if (t == QLatin1String("q"))
                saved.append(ctm);
            else if (t == QLatin1String("Q") && !saved.isEmpty())
                ctm = saved.takeLast();
            else if (t == QLatin1String("cm") && numbers.size() >= 6)
                ctm = matrix() * ctm;
            else if (t == QLatin1String("BT"))
                tm = QTransform();
            else if (t == QLatin1String("Tm") && numbers.size() >= 6)
                tm = matrix();
            else if (t == QLatin1String("Tf") && !numbers.isEmpty())
                fontSize = numbers.last();
            else if (t == QLatin1String("Tj") || t == QLatin1String("TJ") || t == QLatin1String("'")
                     || t == QLatin1String("\""))
                sizes.append(fontSize * std::sqrt(std::abs((tm * ctm).determinant())));
            if (!t.startsWith(QLatin1Char('/')) && !t.startsWith(QLatin1Char('(')) && !t.startsWith(QLatin1Char('<'))
                && t != QLatin1String("[") && t != QLatin1String("]"))
                numbers.clear();
        }
    }
    return sizes;
}

} // namespace

class TestPrintedList : public QObject
{
    Q_OBJECT
private slots:
    void longListFillsEveryPageAndEndsWithItsFooter();
    void textIsPrintedAtItsExactSize();
    void fullWidthLineStaysInsideItsFrame();
};

void TestPrintedList::longListFillsEveryPageAndEndsWithItsFooter()
{
    constexpr int kLines = 5000;
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("lista.pdf"));
    QCOMPARE(printList(numberedLines(kLines), pdf), QString());

    // Lines of 8 pt (32/3 px) set 2 px apart in a printable height of 190 mm:
    // the first page holds 54 under the title, every other page 56.
    const double printable = 190 / 25.4 * 96;
    const double em = 32.0 / 3;
    const double pitch = em + 2;
    const int first = int((printable - 30.23624 - 1 - em) / pitch) + 1;
    const int perPage = int((printable - em) / pitch) + 1;
    QCOMPARE(first, 54);
    QCOMPARE(perPage, 56);
    const int expectedPages = 1 + (kLines - first + perPage - 1) / perPage;
    const int onLast = kLines - first - (expectedPages - 2) * perPage;

    const QList<Page> pages = wordsOf(pdf);
    QCOMPARE(pages.size(), expectedPages);
    for (int p = 0; p < pages.size(); ++p) {
        const QList<Word> lines = wordsStarting(pages.at(p), QStringLiteral("Studente"));
        const int expected = p == 0 ? first : p == pages.size() - 1 ? onLast : perPage;
        QVERIFY2(lines.size() == expected, qPrintable(QStringLiteral("page %1: %2 lines").arg(p + 1).arg(lines.size())));
        if (p < pages.size() - 1) {
            // Filled down to the bottom: no room for one more line.
            QVERIFY(lines.last().box.bottom() > kPrintableBottom - pitch * kPointsPerPixel - 2);
            QVERIFY(wordsStarting(pages.at(p), QStringLiteral("Stampa")).isEmpty());
        }
    }
    // The footer comes right after the last line, on the same page.
    const Page &last = pages.last();
    const QList<Word> footer = wordsStarting(last, QStringLiteral("Stampa"));
    QCOMPARE(footer.size(), 1);
    const double gap = footer.first().box.top() - wordsStarting(last, QStringLiteral("Studente")).last().box.bottom();
    QVERIFY2(gap > 0 && gap < 20, qPrintable(QString::number(gap)));
    QVERIFY(last.count() > 0);
}

void TestPrintedList::textIsPrintedAtItsExactSize()
{
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("lista.pdf"));
    QCOMPARE(printList(numberedLines(30), pdf), QString());

    // The title is set at 12 px (9 pt), the list and the footer at 8 pt.
    const QList<double> sizes = textSizesOf(pdf);
    QVERIFY(!sizes.isEmpty());
    int eightPoint = 0;
    for (double size : sizes) {
        const bool eight = std::abs(size - 8.0) < 0.005;
        QVERIFY2(eight || std::abs(size - 9.0) < 0.005, qPrintable(QString::number(size, 'f', 4)));
        eightPoint += eight;
    }
    QVERIFY(eightPoint > 0);

    // Courier advances 0.6 em: 4.8 pt a character at 8 pt.
    const QList<Word> words = wordsStarting(wordsOf(pdf).first(), QStringLiteral("Studente"));
    QCOMPARE(words.size(), 30);
    for (const Word &word : words)
        QVERIFY2(std::abs(word.box.width() - 8 * 4.8) < 0.1, qPrintable(QString::number(word.box.width())));
    // Line after line at the pitch, 12.667 px = 9.5 pt apart.
    QVERIFY(std::abs(words.at(29).box.top() - words.at(0).box.top() - 29 * 9.5) < 0.1);
    QVERIFY(words.first().box.left() > kPrintableLeft && words.first().box.top() > kPrintableTop);
}

void TestPrintedList::fullWidthLineStaysInsideItsFrame()
{
    // A search list line as long as the list is wide: 160 characters.
    StudentRecord record;
    record[StudentRecord::Studente] = QStringLiteral("Rossi Maria");
    record[StudentRecord::CodFisc] = QStringLiteral("RSSMRA80A41H501U");
    record[StudentRecord::Corso] = QStringLiteral("Informatica di base");
    record[StudentRecord::Classe] = QStringLiteral("3B");
    record[StudentRecord::DataEsame] = QStringLiteral("30/06/2027");
    record[StudentRecord::Esito] = QStringLiteral("Idoneo con lode");
    const QString line = StudentListLine::build(record);
    QCOMPARE(line.size(), 160);

    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("lista.pdf"));
    QCOMPARE(printList({line}, pdf), QString());
    const Page page = wordsOf(pdf).first();
    const QList<Word> ending = wordsStarting(page, QStringLiteral("lode"));
    QCOMPARE(ending.size(), 1);
    // The list's text object ends 11.34 + 1031.81 px from the printable left
    // edge; its last letter must lie inside it, not be clipped away.
    const double frameRight = kPrintableLeft + (11.33859 + 1031.81169) * kPointsPerPixel;
    QVERIFY2(ending.first().box.right() <= frameRight,
             qPrintable(QStringLiteral("%1 > %2").arg(ending.first().box.right()).arg(frameRight)));
}

QTEST_MAIN(TestPrintedList)
#include "test_printedlist.moc"
