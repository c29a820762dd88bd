// The scan and sort built for large archives, held against a plain reading
// of the rules: every card decoded, every filter matched as text, every line
// laid out as text and the lines put in order with a stable sort.
#include "search/studentsearch.h"

#include "archive/codepage.h"
#include "archive/studentrecord.h"

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtTest>

#include <algorithm>
#include <array>

using R = StudentRecord;

namespace {

// Bytes that make near ties: the letters in both cases, accented letters in
// both cases, blanks, controls and the characters on either side of the
// letters in the order.
const QByteArray kTies = QByteArray("aAbBzZ  \x01\x1F_[`{") + "\xE0\xC0\xE8\xC8\xFF\x80\x9F\xA0\x8A\x9A";

// A field of `capacity` bytes: a prefix shared by many cards, then a tail
// drawn mostly from the tie bytes and now and then from the whole code page.
QByteArray randomText(QRandomGenerator &random, int capacity, const QList<QByteArray> &prefixes)
{
    QByteArray text = prefixes[random.bounded(int(prefixes.size()))];
    const int tail = random.bounded(capacity + 1);
    for (int i = 0; i < tail; ++i) {
        if (random.bounded(5) == 0)
            text += char(random.bounded(256));
        else
            text += kTies[random.bounded(int(kTies.size()))];
    }
    return text;
}

// Writes `text` into the field as the file holds it: a length byte, then
// the bytes. Now and then the length byte is past the capacity or the bytes
// go on past the length, as a file written elsewhere may have them.
void putField(char *record, R::Field f, const QByteArray &text, QRandomGenerator &random)
{
    const R::FieldSpec &item = R::layout()[f];
    const int n = std::min<int>(int(text.size()), item.capacity);
    record[item.offset] = char(random.bounded(40) == 0 ? std::min(255, item.capacity + 1 + random.bounded(9)) : n);
    std::memcpy(record + item.offset + 1, text.constData(), size_t(n));
}

// `cards` random records in which every byte of the code page turns up,
// with exact ties (copies of earlier lines, in other case too) and lines
// equal up to their last columns.
QByteArray randomArchive(int cards, quint32 seed)
{
    QRandomGenerator random(seed);
    const QList<QByteArray> names = {"", "rossi", "ROSSI", "Rossi Mario", "Ross", "\xC0ngelo", "\xE0ngelo",
                                     "zeta", "_under", "Mario Rossi Bianchi Verdi Neri Gialli"};
    const QList<QByteArray> shortPrefixes = {"", "A", "a", "3B", "\x80"};
    QByteArray archive;
    for (int i = 0; i < cards; ++i) {
        QByteArray record(R::Size, '\0');
        for (int b = 0; b < R::Size; ++b)
            if (random.bounded(8) == 0)
                record[b] = char(random.bounded(256)); // left over past the fields' lengths
        for (int f = 0; f < R::FieldCount; ++f) {
            const int capacity = R::layout()[f].capacity;
            const bool name = f == R::Studente;
            putField(record.data(), R::Field(f),
                     randomText(random, name ? 40 : std::min(capacity, 20), name ? names : shortPrefixes), random);
        }
        if (i > 0 && random.bounded(4) == 0) {
            // The line of one of the first cards, maybe in other case: groups
            // of many lines alike to their last columns.
            const int from = random.bounded(std::min(i, 20));
            const char *earlier = archive.constData() + qsizetype(from) * R::Size;
            for (const R::Field f : {R::Studente, R::CodFisc, R::Corso, R::Classe, R::DataEsame, R::Esito}) {
                const R::FieldSpec &item = R::layout()[f];
                std::memcpy(record.data() + item.offset, earlier + item.offset, size_t(item.capacity + 1));
                if (random.bounded(3) == 0)
                    for (int b = 1; b <= item.capacity; ++b) {
                        char &c = record[item.offset + b];
                        if (c >= 'a' && c <= 'z')
                            c = char(c - 32);
                    }
            }
            // Near ties: the same line cut short somewhere, or going on
            // past its end with a character below the blank or above it.
            const R::Field f = R::Field(std::array<int, 3>{R::Studente, R::Classe, R::Esito}[random.bounded(3)]);
            const R::FieldSpec &item = R::layout()[f];
            auto length = static_cast<unsigned char>(record[item.offset]);
            if (length > item.capacity)
                length = static_cast<unsigned char>(item.capacity);
            switch (random.bounded(3)) {
            case 0:
                if (length > 0)
                    record[item.offset] = char(random.bounded(int(length)));
                break;
            default:
                if (length + 2 <= item.capacity) {
                    const char *tails[] = {"\x01z", " z", "\0z", "az", "Az", "\xFFz"};
                    std::memcpy(record.data() + item.offset + 1 + length, tails[random.bounded(6)], 2);
                    record[item.offset] = char(length + 2);
                }
                break;
            }
        }
        archive += record;
    }
    return archive;
}

struct Line
{
    QString text;
    qint64 number;
};

// The rules read plainly.
QList<Line> reference(const QByteArray &archive, const QList<SearchFilter> &filters)
{
    QList<Line> lines;
    const qint64 count = archive.size() / R::Size;
    for (qint64 i = 0; i < count; ++i) {
        const StudentRecord record = StudentRecord::decode(archive.constData() + i * R::Size);
        bool listed = true;
        for (const SearchFilter &filter : filters)
            if (SearchText::isFilled(filter.text) && !SearchText::occurs(filter.text, record[filter.field]))
                listed = false;
        if (listed)
            lines.append({StudentListLine::build(record), i + 1});
    }
    std::stable_sort(lines.begin(), lines.end(),
                     [](const Line &a, const Line &b) { return ListOrder::less(a.text, b.text); });
    return lines;
}

QString fromBytes(const char *bytes)
{
    return CodePage::toUnicode(QByteArray(bytes));
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
}

} // namespace

class TestSearchScale : public QObject
{
    Q_OBJECT

private slots:
    void scanAndSortMatchThePlainRules_data();
    void scanAndSortMatchThePlainRules();
    void stoppedSearchListsNothing();
    void memoryStaysFlatBeyondTheLinesListed();

private:
    QTemporaryDir m_dir;
};

void TestSearchScale::scanAndSortMatchThePlainRules_data()
{
    QTest::addColumn<int>("cards");
    QTest::addColumn<quint32>("seed");
    QTest::addColumn<QList<SearchFilter>>("filters");
    QTest::addColumn<qint64>("blockRecords");
    QTest::addColumn<int>("threads");
    QTest::addColumn<int>("tail"); // bytes of a record cut short at the end

    const QList<SearchFilter> none;
    QTest::newRow("empty archive") << 0 << 1u << none << qint64(1024) << 2 << 0;
    QTest::newRow("a fragment only") << 0 << 1u << none << qint64(1024) << 2 << 100;
    QTest::newRow("one card") << 1 << 2u << none << qint64(1024) << 1 << 0;
    QTest::newRow("7 cards, blocks of 2, two threads, fragment") << 7 << 3u << none << qint64(2) << 2 << 3000;
    QTest::newRow("400 cards, blocks of 1, two threads") << 400 << 4u << none << qint64(1) << 2 << 0;
    QTest::newRow("4000 cards, no filter") << 4000 << 5u << none << qint64(1024) << 1 << 0;
    QTest::newRow("4000 cards, no filter, two threads, odd blocks") << 4000 << 6u << none << qint64(333) << 2 << 17;
    QTest::newRow("4000 cards, blank filters take no part")
        << 4000 << 7u << QList<SearchFilter>{{R::Studente, "  "}, {R::Note, "\t"}} << qint64(100) << 2 << 0;
    QTest::newRow("name in small letters")
        << 4000 << 8u << QList<SearchFilter>{{R::Studente, "ross"}} << qint64(1024) << 2 << 0;
    QTest::newRow("name in capitals") << 4000 << 9u << QList<SearchFilter>{{R::Studente, "ROSS"}} << qint64(64) << 1
                                      << 0;
    QTest::newRow("accented capital")
        << 4000 << 10u << QList<SearchFilter>{{R::Studente, fromBytes("\xC0ng")}} << qint64(1024) << 2 << 0;
    QTest::newRow("leading blank") << 4000 << 11u << QList<SearchFilter>{{R::Studente, " a"}} << qint64(1024) << 2
                                   << 0;
    QTest::newRow("two filters, two threads")
        << 4000 << 12u << QList<SearchFilter>{{R::Studente, "a"}, {R::Classe, "b"}} << qint64(50) << 2 << 0;
    QTest::newRow("euro sign in the notes")
        << 4000 << 13u << QList<SearchFilter>{{R::Note, fromBytes("\x80")}} << qint64(1024) << 2 << 0;
    QTest::newRow("nothing matches")
        << 4000 << 14u << QList<SearchFilter>{{R::Corso, "qqqqqqqq"}} << qint64(1024) << 2 << 0;
    QList<SearchFilter> everyField;
    for (const R::Field f : {R::Studente, R::DataNasc, R::Cittadinanza, R::LuogoNasc, R::CodFisc, R::Studio,
                             R::Corso, R::Classe, R::DataEsame, R::Note})
        everyField.append({f, QStringLiteral("a")});
    QTest::newRow("every filter field filled") << 4000 << 15u << everyField << qint64(1024) << 2 << 0;
}

void TestSearchScale::scanAndSortMatchThePlainRules()
{
    QFETCH(int, cards);
    QFETCH(quint32, seed);
    QFETCH(QList<SearchFilter>, filters);
    QFETCH(qint64, blockRecords);
    QFETCH(int, threads);
    QFETCH(int, tail);

    const QByteArray archive = randomArchive(cards, seed);
    const QString path = m_dir.filePath(QStringLiteral("archive%1.pro").arg(seed));
    writeFile(path, archive + QByteArray(tail, 'x'));

    StudentSearch::Options options;
    options.blockRecords = blockRecords;
    options.threads = threads;
    SearchProgress progress;
    options.progress = &progress;
    const std::optional<SearchResults> found = StudentSearch::run(path, filters, options);
    QVERIFY(found.has_value());
    QCOMPARE(progress.permille(), 1000);
    const QList<Line> expected = reference(archive, filters);
    QCOMPARE(found->size(), expected.size());
    // A row that lists nothing would hold little against the rules.
    QCOMPARE(expected.size() > 0, cards > 0 && qstrncmp(QTest::currentDataTag(), "nothing", 7) != 0);
    for (qsizetype i = 0; i < expected.size(); ++i) {
        QCOMPARE(found->line(i), expected[i].text);
        QCOMPARE(found->recordNumber(i), expected[i].number);
    }
}

void TestSearchScale::stoppedSearchListsNothing()
{
    const QString path = m_dir.filePath(QStringLiteral("stopped.pro"));
    writeFile(path, randomArchive(50, 99));
    SearchProgress progress;
    progress.requestStop();
    StudentSearch::Options options;
    options.progress = &progress;
    QVERIFY(!StudentSearch::run(path, {}, options).has_value());
}

void TestSearchScale::memoryStaysFlatBeyondTheLinesListed()
{
    // The same 200 cards match in a small archive and in one 30 times larger;
    // the search's peak memory, in a process of its own, must not follow the
    // file's size.
    StudentRecord card;
    card[R::Studente] = QStringLiteral("Matta Anna");
    card[R::Corso] = QStringLiteral("Grafica");
    const QByteArray match = card.encode();
    card[R::Studente] = QStringLiteral("Verdi Luca");
    const QByteArray other = card.encode();
    const auto build = [&](const QString &name, int cards) {
        const QString path = m_dir.filePath(name);
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            qFatal("cannot write %s", qPrintable(path));
        QByteArray chunk;
        for (int i = 0; i < cards; ++i) {
            chunk += (i % (cards / 200) == 0) ? match : other;
            if (chunk.size() > (4 << 20) || i + 1 == cards) {
                file.write(chunk);
                chunk.clear();
            }
        }
        return path;
    };
    const QString small = build(QStringLiteral("small.pro"), 2000);
    const QString large = build(QStringLiteral("large.pro"), 60000);
    const auto peakKb = [](const QString &path, const QString &filter, qint64 *listed) {
        QProcess probe;
        probe.start(QCoreApplication::applicationDirPath() + QStringLiteral("/search_peak"), {path, filter});
        if (!probe.waitForFinished(120000) || probe.exitCode() != 0)
            return qint64(-1);
        const QList<QByteArray> out = probe.readAllStandardOutput().trimmed().split(' ');
        *listed = out.value(1).toLongLong();
        return out.value(0).toLongLong();
    };
    qint64 smallListed = 0;
    qint64 largeListed = 0;
    const qint64 smallPeak = peakKb(small, QStringLiteral("matta"), &smallListed);
    const qint64 largePeak = peakKb(large, QStringLiteral("matta"), &largeListed);
    QVERIFY(smallPeak > 0 && largePeak > 0);
    QCOMPARE(smallListed, 200);
    QCOMPARE(largeListed, 200);
    // The large archive is 196 MB more; one view of the file or two is all
    // the scan may hold beyond what it lists.
    QVERIFY2(largePeak - smallPeak < 12 * 1024,
             qPrintable(QStringLiteral("peak %1 kB against %2 kB").arg(largePeak).arg(smallPeak)));

    // Listing every card of the large archive costs less a line than the
    // laid-out line itself (150 bytes and more).
    qint64 allListed = 0;
    const qint64 allPeak = peakKb(large, QString(), &allListed);
    QCOMPARE(allListed, 60000);
    QVERIFY2((allPeak - smallPeak) * 1024 / 60000 < 150,
             qPrintable(QStringLiteral("peak %1 kB against %2 kB").arg(allPeak).arg(smallPeak)));
}

QTEST_GUILESS_MAIN(TestSearchScale)
#include "test_searchscale.moc"
