#include "stats/archivestats.h"

#include "archive/studentfiles.h"
#include "register/testrecord.h"
#include "searchfixture.h"
#include "tempfolder.h"

#include <QtTest>

using R = StudentRecord;
using namespace ArchiveStats;

namespace {

struct CardSpec
{
    const char *course, *klass, *sex, *birth, *start, *end, *citizenship, *education;
};

StudentRecord cardOf(const CardSpec &c)
{
    return card({{R::Studente, QStringLiteral("Studente")},
                 {R::Corso, QString::fromUtf8(c.course)},
                 {R::Classe, QString::fromUtf8(c.klass)},
                 {R::Sesso, QString::fromUtf8(c.sex)},
                 {R::DataNasc, QString::fromUtf8(c.birth)},
                 {R::Inizio, QString::fromUtf8(c.start)},
                 {R::Fine, QString::fromUtf8(c.end)},
                 {R::Cittadinanza, QString::fromUtf8(c.citizenship)},
                 {R::Studio, QString::fromUtf8(c.education)}});
}

// One tests record written byte for byte, blanks and all, as another
// program might have left it.
QByteArray rawTest(const QByteArray &prova, const QByteArray &esito)
{
    QByteArray bytes(TProva::Size, '\0');
    const auto put = [&bytes](TProva::Field f, const QByteArray &text) {
        const auto &place = TProva::layout()[f];
        bytes[place.offset] = char(text.size());
        bytes.replace(place.offset + 1, text.size(), text);
    };
    put(TProva::Data, "01/02/2026");
    put(TProva::Prova, prova);
    put(TProva::Esito, esito);
    return bytes;
}

// "label=count" for every row of a section, in order.
QStringList rowsOf(const Result &result, const QString &id)
{
    const Section *section = result.section(id);
    if (!section)
        return {QStringLiteral("no section ") + id};
    QStringList rows;
    for (const Row &row : section->rows)
        rows << row.label + QLatin1Char('=') + QString::number(row.count);
    return rows;
}

const Period kYear{QDate(2025, 9, 1), QDate(2026, 8, 31)};

// The archive every count below reads: cards in every group and band, on
// both edges of the 2025/26 school year and just outside them, with dates
// and sex that cannot be read, and tests whose results differ in case and
// blanks only.
struct Archive
{
    TempFolder data;

    Archive()
    {
        const CardSpec cards[] = {
            // 1: age 16
            {"Informatica", "1A", "M", "10/10/2008", "01/10/2025", "30/06/2026", "Italiana", "Licenza media"},
            // 2: 18 on the very day the course starts; course and class in other cases
            {" informatica ", "1a", "F", "01/10/2007", "1/10/2025", "30/06/2026", "italiana ", "Diploma"},
            // 3: 25 on the day; sex in small letters
            {"Cucina", "2B", "f", "01/10/2000", "01/10/2025", "30/06/2026", "Romena", "Diploma"},
            // 4: a sex, a birth date, a citizenship and an education that cannot be read
            {"Cucina", "2B", "X", "31/02/1990", "01/10/2025", "30/06/2026", "", ""},
            // 5: ends on the first day of the year; 45 at its start
            {"Cucina", "1B", "M", "01/01/1980", "01/03/2025", "01/09/2025", "Albanese", "Laurea"},
            // 6: starts on the last day of the year; 56
            {"Saldatura", "3C", "M", "15/05/1970", "31/08/2026", "30/06/2027", "Marocchina", "Licenza media"},
            // 7: ends the day before the year: not counted
            {"Saldatura", "3C", "F", "01/01/1990", "01/09/2024", "31/08/2025", "Italiana", "Diploma"},
            // 8: starts the day after it: not counted
            {"Saldatura", "3C", "F", "01/01/1990", "01/09/2026", "30/06/2027", "Italiana", "Diploma"},
            // 9: no course date can be read: in no period
            {"Grafica", "1A", "M", "01/01/1990", "", "boh", "Italiana", "Diploma"},
            // 10: only the end can be read; no sex
            {"Grafica", "1A", "", "01/01/2000", "32/13/2025", "15/06/2026", "italiano", "Diploma"},
            // 11: 12 at the start
            {"Grafica", "1A", "F", "01/12/2012", "01/10/2025", "30/06/2026", "Romena", "Licenza elementare"},
        };
        QList<StudentRecord> records;
        for (const CardSpec &c : cards)
            records << cardOf(c);
        writeArchive(StudentFiles::archivePath(data.folder), records);

        data.writeFile(QStringLiteral("Archivio_Prove/Prove_Studente_1.pro"),
                       rawTest("Scritto", "Idoneo") + rawTest("Orale", "  IDONEO  ") + rawTest("Pratica", "idoneo")
                           + rawTest("", "Idoneo"));
        data.writeFile(QStringLiteral("Archivio_Prove/Prove_Studente_3.pro"),
                       rawTest("Scritto", "Non idoneo") + rawTest("Orale", "non  idoneo") + rawTest("Pratica", "")
                           + rawTest("Recupero", "Idoneo"));
        QByteArray many;
        for (int i = 1; i <= 12; ++i)
            many += rawTest("Prova", QStringLiteral("E%1").arg(i, 2, 10, QLatin1Char('0')).toLatin1());
        data.writeFile(QStringLiteral("Archivio_Prove/Prove_Studente_6.pro"), many);
        // Out of the period: its tests are not counted.
        data.writeFile(QStringLiteral("Archivio_Prove/Prove_Studente_7.pro"), rawTest("Scritto", "Idoneo"));
    }

    Result count(const QString &course = QString(), int threads = 1, qint64 block = 256) const
    {
        Options options;
        options.period = kYear;
        options.course = course;
        options.threads = threads;
        options.blockRecords = block;
        const std::optional<Result> result = ArchiveStats::count(data.folder, options);
        if (!result)
            qFatal("the count stopped");
        return *result;
    }
};

} // namespace

class TestArchiveStats : public QObject
{
    Q_OBJECT

private slots:
    void dates_data();
    void dates();
    void schoolYear_data();
    void schoolYear();
    void ageBand_data();
    void ageBand();
    void groupKeyFoldsCaseAndBlanks();

    void knownArchive_data();
    void knownArchive();
    void courseFilterKeepsEveryCourseOnOffer();
    void tenMostCommonAndTheRest();
    void missingTestsFilesAreNotCreated();
    void stopRequestedGivesNoResult();
};

void TestArchiveStats::dates_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QDate>("date");
    QTest::newRow("usual form") << "05/03/2026" << QDate(2026, 3, 5);
    QTest::newRow("one digit day and month") << "5/3/2026" << QDate(2026, 3, 5);
    QTest::newRow("dashes") << "05-03-2026" << QDate(2026, 3, 5);
    QTest::newRow("dots and blanks around") << "  05.03.2026 " << QDate(2026, 3, 5);
    QTest::newRow("29 February of a leap year") << "29/02/2024" << QDate(2024, 2, 29);
    QTest::newRow("29 February of another year") << "29/02/2025" << QDate();
    QTest::newRow("month 13") << "01/13/2025" << QDate();
    QTest::newRow("day 0") << "00/01/2025" << QDate();
    QTest::newRow("two-digit year") << "05/03/26" << QDate();
    QTest::newRow("mixed separators") << "05/03-2026" << QDate();
    QTest::newRow("words") << "marzo 2026" << QDate();
    QTest::newRow("empty") << "" << QDate();
    QTest::newRow("blank inside") << "05/ 03/2026" << QDate();
}

void TestArchiveStats::dates()
{
    QFETCH(QString, text);
    QFETCH(QDate, date);
    QCOMPARE(parseDate(text), date);
}

void TestArchiveStats::schoolYear_data()
{
    QTest::addColumn<QDate>("today");
    QTest::addColumn<QDate>("from");
    QTest::addColumn<QDate>("to");
    QTest::newRow("first day") << QDate(2025, 9, 1) << QDate(2025, 9, 1) << QDate(2026, 8, 31);
    QTest::newRow("new year's day") << QDate(2026, 1, 1) << QDate(2025, 9, 1) << QDate(2026, 8, 31);
    QTest::newRow("last day") << QDate(2026, 8, 31) << QDate(2025, 9, 1) << QDate(2026, 8, 31);
}

void TestArchiveStats::schoolYear()
{
    QFETCH(QDate, today);
    QFETCH(QDate, from);
    QFETCH(QDate, to);
    const Period period = Period::schoolYear(today);
    QCOMPARE(period.from, from);
    QCOMPARE(period.to, to);
    QCOMPARE(Period({QDate(2025, 9, 1), QDate(2026, 8, 31)}).text(), QStringLiteral("dal 01/09/2025 al 31/08/2026"));
}

void TestArchiveStats::ageBand_data()
{
    QTest::addColumn<QString>("birth");
    QTest::addColumn<QString>("start");
    QTest::addColumn<QString>("band");
    // Each band's edges, a day before and on the birthday that moves a card on.
    QTest::newRow("13, the day before turning 14") << "02/10/2011" << "01/10/2025" << "meno di 14";
    QTest::newRow("14 on the day") << "01/10/2011" << "01/10/2025" << "14-17";
    QTest::newRow("17") << "02/10/2007" << "01/10/2025" << "14-17";
    QTest::newRow("18 on the day") << "01/10/2007" << "01/10/2025" << "18-24";
    QTest::newRow("24") << "02/10/2000" << "01/10/2025" << "18-24";
    QTest::newRow("25") << "01/10/2000" << "01/10/2025" << "25-34";
    QTest::newRow("34") << "02/10/1990" << "01/10/2025" << "25-34";
    QTest::newRow("35") << "01/10/1990" << "01/10/2025" << "35-49";
    QTest::newRow("49") << "02/10/1975" << "01/10/2025" << "35-49";
    QTest::newRow("50") << "01/10/1975" << "01/10/2025" << "50 e oltre";
    QTest::newRow("born on 29 February, 18 on 1 March") << "29/02/2008" << "01/03/2026" << "18-24";
    QTest::newRow("born after the start") << "01/01/2026" << "01/10/2025" << "non indicato";
    QTest::newRow("birth date unreadable") << "ieri" << "01/10/2025" << "non indicato";
    QTest::newRow("start unreadable, end in the year") << "01/01/2000" << "" << "non indicato";
}

void TestArchiveStats::ageBand()
{
    QFETCH(QString, birth);
    QFETCH(QString, start);
    QFETCH(QString, band);
    TempFolder data;
    writeArchive(StudentFiles::archivePath(data.folder),
                 {card({{R::Corso, QStringLiteral("Corso")}, {R::DataNasc, birth}, {R::Inizio, start},
                        {R::Fine, QStringLiteral("30/06/2026")}})});
    Options options;
    options.period = kYear;
    const std::optional<Result> result = count(data.folder, options);
    QVERIFY(result);
    QStringList expected;
    for (const QString &label : ageBands())
        expected << label + (label == band ? QStringLiteral("=1") : QStringLiteral("=0"));
    QCOMPARE(rowsOf(*result, QStringLiteral("eta")), expected);
}

void TestArchiveStats::groupKeyFoldsCaseAndBlanks()
{
    QCOMPARE(groupKey("  Non \t IDONEO ", 15), QByteArray("non idoneo"));
    // Accented capitals of the code page fold too: "ÈLITE" and "èlite".
    QCOMPARE(groupKey("\xC8LITE", 5), groupKey("\xE8lite", 5));
    QCOMPARE(groupKey("   ", 3), QByteArray());
}

void TestArchiveStats::knownArchive_data()
{
    QTest::addColumn<int>("threads");
    QTest::addColumn<qint64>("block");
    QTest::newRow("one thread") << 1 << qint64(256);
    QTest::newRow("two threads, one card a block") << 2 << qint64(1);
    QTest::newRow("two threads, blocks cut across cards") << 2 << qint64(2);
}

void TestArchiveStats::knownArchive()
{
    QFETCH(int, threads);
    QFETCH(qint64, block);
    const Archive archive;
    const Result r = archive.count(QString(), threads, block);

    QCOMPARE(r.cardsRead, 11);
    QCOMPARE(r.cardsCounted, 8);
    QCOMPARE(r.cardsUndated, 1);
    QCOMPARE(r.testsCounted, 19);
    QCOMPARE(rowsOf(r, "corsi"),
             QStringList({"Cucina=3", "Grafica=2", "Informatica=2", "Saldatura=1"}));
    QCOMPARE(rowsOf(r, "classi"), QStringList({"Cucina - 2B=2", "Grafica - 1A=2", "Informatica - 1A=2",
                                               "Cucina - 1B=1", "Saldatura - 3C=1"}));
    QCOMPARE(rowsOf(r, "sesso"), QStringList({"Maschi=3", "Femmine=3", "non indicato=2"}));
    QCOMPARE(rowsOf(r, "eta"), QStringList({"meno di 14=1", "14-17=1", "18-24=1", "25-34=1", "35-49=1",
                                            "50 e oltre=1", "non indicato=2"}));
    QCOMPARE(rowsOf(r, "italiani"), QStringList({"Italiana=3", "Altra=4", "non indicato=1"}));
    QCOMPARE(rowsOf(r, "cittadinanze"), QStringList({"Italiana=2", "Romena=2", "Albanese=1", "italiano=1",
                                                     "Marocchina=1", "non indicato=1"}));
    QCOMPARE(rowsOf(r, "studio"), QStringList({"Diploma=3", "Licenza media=2", "Laurea=1",
                                               "Licenza elementare=1", "non indicato=1"}));
    QCOMPARE(rowsOf(r, "prove"), QStringList({"Saldatura=12", "Cucina=4", "Informatica=3"}));
    QCOMPARE(rowsOf(r, "esiti"), QStringList({"Idoneo=4", "Non idoneo=2", "E01=1", "E02=1", "E03=1", "E04=1",
                                              "E05=1", "E06=1", "E07=1", "E08=1", "Altri esiti=4",
                                              "non indicato=1"}));
    const Section *sex = r.section("sesso");
    QCOMPARE(sex->total(), 8);
    QCOMPARE(sex->share(3), QStringLiteral("37,5 %"));
}

void TestArchiveStats::courseFilterKeepsEveryCourseOnOffer()
{
    const Archive archive;
    // The filter is grouped as the courses are.
    const Result r = archive.count(QStringLiteral("  CUCINA "));
    QCOMPARE(r.cardsCounted, 3);
    QCOMPARE(rowsOf(r, "corsi"), QStringList({"Cucina=3"}));
    QCOMPARE(rowsOf(r, "sesso"), QStringList({"Maschi=1", "Femmine=1", "non indicato=1"}));
    QCOMPARE(rowsOf(r, "prove"), QStringList({"Cucina=4"}));
    QCOMPARE(r.testsCounted, 4);
    QCOMPARE(r.courses.size(), 4);
    QCOMPARE(r.courses.first().label, QStringLiteral("Cucina"));
}

void TestArchiveStats::tenMostCommonAndTheRest()
{
    // Twelve citizenships, the k-th on k cards: the two rarest are summed.
    TempFolder data;
    QList<StudentRecord> cards;
    for (int k = 1; k <= 12; ++k)
        for (int i = 0; i < k; ++i)
            cards << card({{R::Inizio, QStringLiteral("01/10/2025")},
                           {R::Cittadinanza, QStringLiteral("Paese %1").arg(k, 2, 10, QLatin1Char('0'))}});
    writeArchive(StudentFiles::archivePath(data.folder), cards);
    Options options;
    options.period = kYear;
    const Result r = *count(data.folder, options);
    const QStringList rows = rowsOf(r, "cittadinanze");
    QCOMPARE(rows.size(), 11);
    QCOMPARE(rows.first(), QStringLiteral("Paese 12=12"));
    QCOMPARE(rows.at(9), QStringLiteral("Paese 03=3"));
    QCOMPARE(rows.last(), QStringLiteral("Altre cittadinanze=3"));
    QCOMPARE(rowsOf(r, "italiani"), QStringList({"Italiana=0", "Altra=78", "non indicato=0"}));
}

void TestArchiveStats::missingTestsFilesAreNotCreated()
{
    const Archive archive;
    archive.count();
    QVERIFY(!QFile::exists(archive.data.path(QStringLiteral("Archivio_Prove/Prove_Studente_2.pro"))));
    // A tests "file" that is a folder, or a link to a file elsewhere, is
    // skipped, not a failure: the data folder's rules hold here too.
    QDir().mkpath(archive.data.path(QStringLiteral("Archivio_Prove/Prove_Studente_2.pro")));
    QTemporaryDir elsewhere;
    const QString outside = elsewhere.filePath(QStringLiteral("tests.pro"));
    QFile file(outside);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(rawTest("Scritto", "Idoneo"));
    file.close();
    QVERIFY(QFile::link(outside, archive.data.path(QStringLiteral("Archivio_Prove/Prove_Studente_4.pro"))));
    QCOMPARE(archive.count().testsCounted, 19);
}

void TestArchiveStats::stopRequestedGivesNoResult()
{
    const Archive archive;
    Progress progress;
    progress.requestStop();
    Options options;
    options.period = kYear;
    options.progress = &progress;
    QVERIFY(!count(archive.data.folder, options));
}

QTEST_GUILESS_MAIN(TestArchiveStats)
#include "test_archivestats.moc"
