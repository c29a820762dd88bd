#include "search/studentsearch.h"

#include "archive/recordfile.h"
#include "archive/studentfiles.h"
#include "searchfixture.h"

#include <QFileInfo>
#include <QTemporaryDir>
#include <QtTest>

using R = StudentRecord;

namespace {

QList<qint64> numbersOf(const SearchResults &results)
{
    QList<qint64> numbers;
    for (qsizetype i = 0; i < results.size(); ++i)
        numbers << results.recordNumber(i);
    return numbers;
}

SearchResults resultsOf(const QList<StudentRecord> &cards)
{
    SearchResults results;
    qint64 number = 0;
    for (const StudentRecord &record : cards)
        results.add(record.encode().constData(), ++number);
    return results;
}

} // namespace

class TestStudentSearch : public QObject
{
    Q_OBJECT

private slots:
    void filterRule_data();
    void filterRule();
    void filledFilters_data();
    void filledFilters();
    void rawFieldBytesAreDecodedBeforeMatching();

    void scanListsRecordsWhereEveryFilledFilterOccurs();
    void scanWithoutFiltersListsAllInBlocks();
    void scanCreatesMissingArchive();
    void scanFailsOnUnreadableArchive();

    void listLine_data();
    void listLine();
    void listLineBytesMatchText();

    void sortOrder_data();
    void sortOrder();
    void identicalLinesKeepFileOrder();

    void findInList_data();
    void findInList();
    void findRemembersLoweredText();

    void countLineText();

private:
    QTemporaryDir m_dir;
};

void TestStudentSearch::filterRule_data()
{
    QTest::addColumn<QString>("filter");
    QTest::addColumn<QString>("field");
    QTest::addColumn<bool>("occurs");

    QTest::newRow("small finds capitals") << "rossi" << "ROSSI MARIO" << true;
    QTest::newRow("capitals find small") << "ROSSI" << "rossi mario" << true;
    QTest::newRow("mixed case inside") << "sI mA" << "Rossi Mario" << true;
    QTest::newRow("accented small finds itself") << QString::fromUtf8("è") << QString::fromUtf8("Mosè") << true;
    QTest::newRow("accented capital misses small") << QString::fromUtf8("È") << QString::fromUtf8("Mosè") << false;
    QTest::newRow("accented small misses capital") << QString::fromUtf8("è") << QString::fromUtf8("MOSÈ") << false;
    QTest::newRow("leading blank misses the start") << " mario" << "Mario Rossi" << false;
    QTest::newRow("leading blank finds inner word") << " rossi" << "Mario Rossi" << true;
    QTest::newRow("trailing blank misses the end") << "rossi " << "Mario Rossi" << false;
    QTest::newRow("date as text") << "2010" << "12/03/2010" << true;
    QTest::newRow("date other year") << "2010" << "12/03/2011" << false;
    QTest::newRow("not contiguous") << "mario rossi" << "Mario De Rossi" << false;
    QTest::newRow("longer than the field") << "Mario Rossi Bianchi" << "Mario Rossi" << false;
    QTest::newRow("euro sign") << QString::fromUtf8("€") << QString::fromUtf8("5 €") << true;
    // The field stores '?' for it; the letter itself must not find that.
    QTest::newRow("character outside the code page") << QString::fromUtf8("α") << "?" << false;
    QTest::newRow("question mark finds question mark") << "?" << "chi?" << true;
}

void TestStudentSearch::filterRule()
{
    QFETCH(QString, filter);
    QFETCH(QString, field);
    QFETCH(bool, occurs);

    QCOMPARE(SearchText::occurs(filter, field), occurs);
    // The scan matches raw record bytes; it must agree with the text rule.
    const QByteArray bytes = card({{R::Studente, field}}).encode();
    QCOMPARE(ByteNeedle(filter).occursInField(bytes.constData(), R::Studente), occurs);
}

void TestStudentSearch::filledFilters_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("filled");
    QTest::newRow("empty") << "" << false;
    QTest::newRow("blanks") << "   " << false;
    QTest::newRow("tab and blank") << "\t " << false;
    QTest::newRow("letter with blanks") << "  a " << true;
    QTest::newRow("no-break space counts as text") << QString(QChar(0xA0)) << true;
}

void TestStudentSearch::filledFilters()
{
    QFETCH(QString, text);
    QFETCH(bool, filled);
    QCOMPARE(SearchText::isFilled(text), filled);
}

void TestStudentSearch::rawFieldBytesAreDecodedBeforeMatching()
{
    // Blanks kept in the file, a length byte above the capacity and bytes
    // after the length: none of them may be matched.
    QByteArray bytes = card({}).encode();
    const auto put = [&bytes](R::Field f, int length, const QByteArray &content) {
        const int at = R::layout()[f].offset;
        bytes[at] = char(length);
        bytes.replace(at + 1, content.size(), content);
    };
    put(R::Studente, 8, " ROSSI  ZZZZ");
    put(R::Sesso, 200, "FX");
    QVERIFY(ByteNeedle("rossi").occursInField(bytes.constData(), R::Studente));
    QVERIFY(!ByteNeedle(" rossi").occursInField(bytes.constData(), R::Studente));
    QVERIFY(!ByteNeedle("zz").occursInField(bytes.constData(), R::Studente));
    QVERIFY(ByteNeedle("f").occursInField(bytes.constData(), R::Sesso));
    QVERIFY(!ByteNeedle("fx").occursInField(bytes.constData(), R::Sesso));
}

void TestStudentSearch::scanListsRecordsWhereEveryFilledFilterOccurs()
{
    const QString path = m_dir.filePath(QStringLiteral("filters.pro"));
    writeArchive(path, {card({{R::Studente, "Rossi Mario"}, {R::Corso, "Informatica"}, {R::Note, "rossi"}}),
                        card({{R::Studente, "Bianchi Anna"}, {R::Corso, "Informatica"}}),
                        card({{R::Studente, "Rossi Luca"}, {R::Corso, "Disegno"}}),
                        card({{R::Studente, "Verdi Rosa"}, {R::Corso, "INFORMATICA base"}})});

    // One filter looks only into its own field.
    QCOMPARE(numbersOf(StudentSearch::run(path, {{R::Note, "ROSSI"}})), QList<qint64>({1}));
    // Two filters: both must occur.
    QCOMPARE(numbersOf(StudentSearch::run(path, {{R::Studente, "ross"}, {R::Corso, "informatica"}})),
             QList<qint64>({1}));
    QCOMPARE(numbersOf(StudentSearch::run(path, {{R::Studente, "ROS"}, {R::Corso, "info"}})),
             QList<qint64>({1, 4}));
    // Blank filters take no part.
    QCOMPARE(numbersOf(StudentSearch::run(path, {{R::Studente, "  "}, {R::Corso, "disegno"}})),
             QList<qint64>({3}));
    QCOMPARE(StudentSearch::run(path, {{R::Studente, "Neri"}}).size(), 0);
}

void TestStudentSearch::scanWithoutFiltersListsAllInBlocks()
{
    // Seven cards read two at a time, and a fragment that is not a record.
    QList<StudentRecord> cards;
    const QStringList names = {"Gialli", "Amato", "Zeta", "bruni", "Costa", "Amato", "Eco"};
    for (const QString &name : names)
        cards << card({{R::Studente, name}});
    const QString path = m_dir.filePath(QStringLiteral("blocks.pro"));
    writeArchive(path, cards, QByteArray(100, 'x'));

    const SearchResults all = StudentSearch::run(path, {{R::Studente, ""}, {R::Note, " "}}, 2);
    QCOMPARE(all.size(), 7);
    QCOMPARE(numbersOf(all), QList<qint64>({2, 6, 4, 5, 7, 1, 3}));
    QVERIFY(all.line(2).startsWith(QStringLiteral("bruni ")));
    QCOMPARE(numbersOf(StudentSearch::run(path, {}, 3)), numbersOf(all));
}

void TestStudentSearch::scanCreatesMissingArchive()
{
    const QString path = m_dir.filePath(QStringLiteral("missing.pro"));
    QVERIFY(!QFileInfo::exists(path));
    QCOMPARE(StudentSearch::run(path, {}).size(), 0);
    QVERIFY(QFileInfo::exists(path));
    QCOMPARE(QFileInfo(path).size(), 0);
}

void TestStudentSearch::scanFailsOnUnreadableArchive()
{
    // A folder where the archive should be cannot be opened.
    const QString path = m_dir.filePath(QStringLiteral("folder.pro"));
    QVERIFY(QDir().mkpath(path));
    QVERIFY_THROWS_EXCEPTION(FileAccessError, StudentSearch::run(path, {}));
}

void TestStudentSearch::listLine_data()
{
    QTest::addColumn<QString>("studente");
    QTest::addColumn<QString>("codFisc");
    QTest::addColumn<QString>("corso");
    QTest::addColumn<QString>("classe");
    QTest::addColumn<QString>("esame");
    QTest::addColumn<QString>("esito");
    QTest::addColumn<QString>("line");

    QTest::newRow("padded columns")
        << "Rossi Mario" << "RSSMRA80A01H501U" << "Informatica" << "3A" << "10/06/2011" << "Promosso"
        << "Rossi Mario                     CF: RSSMRA80A01H501U  Corso: Informatica                     "
           "Classe: 3A                Esame: 10/06/2011  Esito: Promosso";
    QTest::newRow("empty fields")
        << "" << "" << "" << "" << "" << ""
        << QString(30, QLatin1Char(' ')) + "  CF: " + QString(16, QLatin1Char(' ')) + "  Corso: "
               + QString(30, QLatin1Char(' ')) + "  Classe: " + QString(16, QLatin1Char(' ')) + "  Esame: "
               + QString(10, QLatin1Char(' ')) + "  Esito: ";
    QTest::newRow("cut columns, long result kept whole")
        << "Abcdefghijklmnopqrstuvwxyz0123456789"
        << "RSSMRA80A01H501U" << "Corso di specializzazione in informatica" << "Classe prima sezione B"
        << "10/06/2011" << QString(50, QLatin1Char('e'))
        << "Abcdefghijklmnopqrstuvwxyz0123  CF: RSSMRA80A01H501U  Corso: Corso di specializzazione in i  "
           "Classe: Classe prima sez  Esame: 10/06/2011  Esito: " + QString(50, QLatin1Char('e'));
}

void TestStudentSearch::listLine()
{
    QFETCH(QString, studente);
    QFETCH(QString, codFisc);
    QFETCH(QString, corso);
    QFETCH(QString, classe);
    QFETCH(QString, esame);
    QFETCH(QString, esito);
    QFETCH(QString, line);

    const StudentRecord record = card({{R::Studente, studente}, {R::CodFisc, codFisc}, {R::Corso, corso},
                                       {R::Classe, classe}, {R::DataEsame, esame}, {R::Esito, esito}});
    const QString built = StudentListLine::build(StudentRecord::decode(record.encode()));
    QCOMPARE(built, line);
    QCOMPARE(built.size(), 145 + esito.size());
    QCOMPARE(built.mid(30, 6), QStringLiteral("  CF: "));
    QCOMPARE(built.mid(136, 9), QStringLiteral("  Esito: "));
}

void TestStudentSearch::listLineBytesMatchText()
{
    // The byte line must read as the text line, accented letters included.
    const StudentRecord record = StudentRecord::decode(
        card({{R::Studente, QString::fromUtf8("Niccolò Àlfieri Ž € ÿ")}, {R::Corso, QString::fromUtf8("Città")},
              {R::Esito, QString::fromUtf8("Idoneo – “ottimo”")}})
            .encode());
    QByteArray bytes;
    StudentListLine::appendBytes(record.encode().constData(), bytes);
    SearchResults results;
    results.add(record.encode().constData(), 1);
    QCOMPARE(results.line(0), StudentListLine::build(record));
    QCOMPARE(bytes.size(), StudentListLine::build(record).size());
}

void TestStudentSearch::sortOrder_data()
{
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("second");

    QTest::newRow("case does not count") << "abc" << "ABD";
    QTest::newRow("case does not count, reversed") << "ABC" << "abd";
    QTest::newRow("prefix first") << "Ross" << "rossi";
    QTest::newRow("blank before letters") << "Ros i" << "Rosa";
    QTest::newRow("digits before letters") << "1" << "a";
    // Letters compare as capitals: the characters between Z and a follow them.
    QTest::newRow("underscore after letters") << "zeta" << "_x";
    QTest::newRow("accented by code after ASCII") << "Zz" << QString::fromUtf8("àb");
    QTest::newRow("accented capital before small") << QString::fromUtf8("Àz") << QString::fromUtf8("àa");
    QTest::newRow("euro by its code after accents") << QString::fromUtf8("ÿ") << QString::fromUtf8("€");
}

void TestStudentSearch::sortOrder()
{
    QFETCH(QString, first);
    QFETCH(QString, second);
    QVERIFY(ListOrder::less(first, second));
    QVERIFY(!ListOrder::less(second, first));

    // The result list sorts its byte lines the same way.
    SearchResults results = resultsOf({card({{R::Studente, second}}), card({{R::Studente, first}})});
    results.sort();
    QCOMPARE(numbersOf(results), QList<qint64>({2, 1}));
}

void TestStudentSearch::identicalLinesKeepFileOrder()
{
    const StudentRecord a = card({{R::Studente, "Rossi Mario"}, {R::Note, "first"}});
    const StudentRecord b = card({{R::Studente, "ROSSI MARIO"}});
    const StudentRecord c = card({{R::Studente, "Rossi Mario"}, {R::Note, "second"}});
    SearchResults results = resultsOf({c, b, a, c});
    results.sort();
    // Lines equal without regard to case keep their file order too.
    QCOMPARE(numbersOf(results), QList<qint64>({1, 2, 3, 4}));
}

void TestStudentSearch::findInList_data()
{
    QTest::addColumn<QString>("last");      // text of the previous Trova
    QTest::addColumn<int>("selected");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("found");

    // Lines, sorted: 0 Bianchi, 1 Neri, 2 Rossi Anna, 3 Rossi Luca, 4 Verdi.
    QTest::newRow("new search starts at the top") << "" << 3 << "rossi" << 2;
    QTest::newRow("new search, capitals") << "" << 0 << "VERDI" << 4;
    QTest::newRow("new search does not wrap") << "neri" << 4 << "bianchi" << 0;
    QTest::newRow("new search, nothing found") << "" << 1 << "gialli" << -1;
    QTest::newRow("repeated moves to the next") << "rossi" << 2 << "Rossi" << 3;
    QTest::newRow("repeated wraps to the first") << "rossi" << 3 << "rossi" << 2;
    QTest::newRow("repeated, only the selected matches") << "verdi" << 4 << "verdi" << 4;
    QTest::newRow("repeated, nothing found") << "gialli" << 1 << "gialli" << -1;
    QTest::newRow("empty text finds nothing") << "" << 1 << "" << -1;
    QTest::newRow("labels are searched too") << "" << 3 << "esito:" << 0;
    QTest::newRow("repeated label search moves on") << "corso" << 3 << "CORSO" << 4;
}

void TestStudentSearch::findInList()
{
    QFETCH(QString, last);
    QFETCH(int, selected);
    QFETCH(QString, text);
    QFETCH(int, found);

    SearchResults lines = resultsOf({card({{R::Studente, "Rossi Luca"}}), card({{R::Studente, "Verdi"}}),
                                     card({{R::Studente, "Bianchi"}}), card({{R::Studente, "Rossi Anna"}}),
                                     card({{R::Studente, "Neri"}})});
    lines.sort();
    QVERIFY(lines.line(2).startsWith(QStringLiteral("Rossi Anna")));

    ListFinder finder;
    if (!last.isEmpty())
        finder.find(lines, 0, last);
    QCOMPARE(finder.find(lines, selected, text), qsizetype(found));
}

void TestStudentSearch::findRemembersLoweredText()
{
    SearchResults lines = resultsOf({card({{R::Studente, "A"}})});
    ListFinder finder;
    finder.find(lines, 0, QString::fromUtf8("RoSSi È "));
    QCOMPARE(finder.lastSearchText(), QString::fromUtf8("rossi È "));
    finder.reset();
    QCOMPARE(finder.lastSearchText(), QString());
}

void TestStudentSearch::countLineText()
{
    QCOMPARE(countLine(0), QStringLiteral("Il presente riepilogo contiene 0 schede"));
    QCOMPARE(countLine(1), QStringLiteral("Il presente riepilogo contiene 1 schede"));
    QCOMPARE(countLine(100000), QStringLiteral("Il presente riepilogo contiene 100000 schede"));
}

QTEST_GUILESS_MAIN(TestStudentSearch)
#include "test_studentsearch.moc"
