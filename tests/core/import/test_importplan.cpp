// The import of a class list: headers mapped to card fields, each value
// checked as the student window checks a card it saves, duplicates by
// codice fiscale skipped or updating their card, and the store of all the
// accepted rows as one change of a real archive: all of them or none, also
// when the disk refuses a write midway or the operator stops it.

#include "importfixture.h"
#include "tempfolder.h"

#include "archive/recordfile.h"
#include "checks/partitaiva.h"
#include "import/importplan.h"
#include "import/importstore.h"

#include <QTest>

#include <csignal>
#include <sys/resource.h>

using F = StudentRecord::Field;
namespace M = ImportMapping;

namespace {

// A partita IVA with a right check digit.
QString validVat()
{
    for (int d = 0; d <= 9; ++d) {
        const QString number = QStringLiteral("0123456789") + QString::number(d);
        if (PartitaIva::check(number))
            return number;
    }
    return {};
}

StudentRecord goodCard()
{
    StudentRecord card;
    card[F::Studente] = QStringLiteral("Rossi Anna");
    card[F::Sesso] = QStringLiteral("F");
    card[F::Corso] = QStringLiteral("Informatica");
    card[F::Classe] = QStringLiteral("1A");
    card[F::Inizio] = QStringLiteral("01/09/2025");
    card[F::Fine] = QStringLiteral("30/06/2026");
    card[F::CodFisc] = validCode(1);
    return card;
}

void putCards(const QString &folder, const QList<StudentRecord> &cards)
{
    StudentArchive archive(folder);
    for (const StudentRecord &card : cards)
        archive.append(card);
    archive.close();
}

QList<StudentRecord> allCards(const QString &folder)
{
    QList<StudentRecord> cards;
    StudentArchive archive(folder);
    for (qint64 n = 1; n <= archive.count(); ++n)
        cards << archive.read(n);
    return cards;
}

QList<ImportPlan::Status> statuses(const ImportPlan &plan)
{
    QList<ImportPlan::Status> list;
    for (const ImportPlan::Row &row : plan.rows())
        list << row.status;
    return list;
}

// A file size limit for this process while it lives: writes past it fail as
// on a full disk.
struct FileSizeLimit
{
    rlimit saved{};
    explicit FileSizeLimit(qint64 bytes)
    {
        std::signal(SIGXFSZ, SIG_IGN);
        getrlimit(RLIMIT_FSIZE, &saved);
        rlimit limited = saved;
        limited.rlim_cur = rlim_t(bytes);
        setrlimit(RLIMIT_FSIZE, &limited);
    }
    ~FileSizeLimit() { setrlimit(RLIMIT_FSIZE, &saved); }
};

} // namespace

using Targets = QList<int>;
using Statuses = QList<ImportPlan::Status>;
Q_DECLARE_METATYPE(Targets)
Q_DECLARE_METATYPE(Statuses)

class TestImportPlan : public QObject
{
    Q_OBJECT

private slots:
    void headersMapToFields_data();
    void headersMapToFields();
    void valuesBroughtToTheCardsForms_data();
    void valuesBroughtToTheCardsForms();
    void everyCheckWithItsReason_data();
    void everyCheckWithItsReason();
    void faultsMarkTheirColumns();
    void aCorrectionInTheGridAcceptsTheRow();
    void duplicates_data();
    void duplicates();
    void updateKeepsWhatTheSheetLeavesEmpty();
    void cardStoredElsewhereAfterThePreviewIsNotDoubled();
    void storeIsAllOrNothing_data();
    void storeIsAllOrNothing();
    void tenThousandRows();
};

void TestImportPlan::headersMapToFields_data()
{
    QTest::addColumn<QStringList>("header");
    QTest::addColumn<Targets>("targets");
    QTest::newRow("the export's own headers")
        << QStringList{"N.", "Cognome e nome", "Data nascita", "Città", "CAP", "Codice fiscale", "Tel. cellulare",
                       "Esercente potestà", "Commissione esame finale"}
        << Targets{M::Ignore, F::Studente, F::DataNasc, F::Citta, F::Cap, F::CodFisc, F::Cel, F::Esercente,
                   F::Commissione};
    QTest::newRow("the student window's captions, with their colons")
        << QStringList{"Cognome e nome:", "Sesso:", "Indirizzo residenza:", "Tel. casa:", "E-mail:", "Data esame:"}
        << Targets{F::Studente, F::Sesso, F::Indirizzo, F::Tel, F::Email, F::DataEsame};
    QTest::newRow("accents, case and blanks ignored")
        << QStringList{"  CITTA ", "esercente  potesta", "Titolo di Studio", "e mail", "LINGUE CONOSCIUTE"}
        << Targets{F::Citta, F::Esercente, F::Studio, F::Email, F::Lingue};
    QTest::newRow("surname and name in two columns, and the usual synonyms")
        << QStringList{"Cognome", "Nome", "CF", "Data di nascita", "Cellulare", "Luogo di nascita", "Genere",
                       "Nazionalità"}
        << Targets{M::Surname, M::GivenName, F::CodFisc, F::DataNasc, F::Cel, F::LuogoNasc, F::Sesso, F::Cittadinanza};
    QTest::newRow("a lone Nome column is the whole name")
        << QStringList{"Nome", "Corso"} << Targets{F::Studente, F::Corso};
    QTest::newRow("a field named twice: the first column takes it")
        << QStringList{"Telefono", "Tel. casa", "Email", "Posta elettronica"}
        << Targets{F::Tel, M::Ignore, F::Email, M::Ignore};
    QTest::newRow("the name field beside its parts: the parts are ignored")
        << QStringList{"Cognome e nome", "Cognome", "Nome"} << Targets{F::Studente, M::Ignore, M::Ignore};
    QTest::newRow("unknown headers are not imported")
        << QStringList{"Matricola", "", "Colore preferito"} << Targets{M::Ignore, M::Ignore, M::Ignore};
}

void TestImportPlan::headersMapToFields()
{
    QFETCH(QStringList, header);
    QFETCH(Targets, targets);
    QCOMPARE(M::guessAll(header), targets);
}

void TestImportPlan::valuesBroughtToTheCardsForms_data()
{
    QTest::addColumn<QStringList>("header");
    QTest::addColumn<QStringList>("cells");
    QTest::addColumn<int>("field");
    QTest::addColumn<QString>("stored");
    QTest::newRow("surname and name joined") << QStringList{"Nome", "Cognome"} << QStringList{" Anna ", "Rossi"}
                                             << int(F::Studente) << "Rossi Anna";
    QTest::newRow("only a surname") << QStringList{"Cognome", "Nome"} << QStringList{"Rossi", ""} << int(F::Studente)
                                    << "Rossi";
    QTest::newRow("sex as a word") << QStringList{"Sesso"} << QStringList{"Femmina"} << int(F::Sesso) << "F";
    QTest::newRow("sex in lower case") << QStringList{"Sesso"} << QStringList{"m"} << int(F::Sesso) << "M";
    QTest::newRow("codice fiscale in capitals")
        << QStringList{"CF"} << QStringList{" rssmra80a01h501u "} << int(F::CodFisc) << "RSSMRA80A01H501U";
    QTest::newRow("date without leading zeros") << QStringList{"Data inizio"} << QStringList{"1/9/2025"}
                                                << int(F::Inizio) << "01/09/2025";
    QTest::newRow("date with dots") << QStringList{"Data fine"} << QStringList{"30.6.2026"} << int(F::Fine)
                                    << "30/06/2026";
    QTest::newRow("date year first") << QStringList{"Data di nascita"} << QStringList{"2008-03-05"}
                                     << int(F::DataNasc) << "05/03/2008";
    QTest::newRow("CAP kept as typed") << QStringList{"CAP"} << QStringList{"06123"} << int(F::Cap) << "06123";
}

void TestImportPlan::valuesBroughtToTheCardsForms()
{
    QFETCH(QStringList, header);
    QFETCH(QStringList, cells);
    QFETCH(int, field);
    QFETCH(QString, stored);
    QCOMPARE(ImportChecks::card(cells, M::guessAll(header))[F(field)], stored);
}

void TestImportPlan::everyCheckWithItsReason_data()
{
    QTest::addColumn<int>("field");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("reason"); // empty: accepted

    const QString required = QStringLiteral("Campo obbligatorio vuoto.");
    QTest::newRow("name missing") << int(F::Studente) << "" << required;
    QTest::newRow("sex missing") << int(F::Sesso) << "" << required;
    QTest::newRow("course missing") << int(F::Corso) << "" << required;
    QTest::newRow("class missing") << int(F::Classe) << "" << required;
    QTest::newRow("start date missing") << int(F::Inizio) << "" << required;
    QTest::newRow("end date missing") << int(F::Fine) << "" << required;
    QTest::newRow("name of exactly 50 characters") << int(F::Studente) << QString(50, QLatin1Char('x')) << "";
    QTest::newRow("name of 51 characters")
        << int(F::Studente) << QString(51, QLatin1Char('x'))
        << "Testo troppo lungo: 51 caratteri, il campo ne contiene al massimo 50.";
    QTest::newRow("sex of two letters") << int(F::Sesso) << "MF"
                                        << "Testo troppo lungo: 2 caratteri, il campo ne contiene al massimo 1.";
    QTest::newRow("euro sign counts one byte") << int(F::Cap) << QString(9, QLatin1Char('1')) + QStringLiteral("€")
                                               << "";
    QTest::newRow("a day that does not exist") << int(F::DataNasc) << "31/02/2001"
                                               << "Data non valida: si scrive gg/mm/aaaa, per esempio 05/09/2025.";
    QTest::newRow("a date in words") << int(F::Inizio) << "settembre"
                                     << "Data non valida: si scrive gg/mm/aaaa, per esempio 05/09/2025.";
    QTest::newRow("a date with a two-digit year") << int(F::DataEsame) << "05/09/25"
                                                  << "Data non valida: si scrive gg/mm/aaaa, per esempio 05/09/2025.";
    QTest::newRow("a Greek letter") << int(F::Note) << "Ωmega"
                                    << "Caratteri che l'archivio non può contenere: Ω.";
    QTest::newRow("Polish letters") << int(F::Citta) << "Łódź"
                                    << "Caratteri che l'archivio non può contenere: Łź.";
    QTest::newRow("codice fiscale with a wrong check character")
        << int(F::CodFisc) << wrongCode(7)
        << "Codice fiscale non valido: il carattere di controllo non corrisponde.";
    QTest::newRow("codice fiscale too short")
        << int(F::CodFisc) << "RSSMRA80"
        << "Codice fiscale non valido: ha 8 caratteri invece di 16 (11 cifre per una partita IVA).";
    QString wrongVat = validVat();
    wrongVat.back() = QChar('0' + (wrongVat.back().digitValue() + 1) % 10);
    QTest::newRow("partita IVA with a wrong check digit")
        << int(F::CodFisc) << wrongVat << "Partita IVA non valida: la cifra di controllo non corrisponde.";
    QTest::newRow("a right partita IVA") << int(F::CodFisc) << validVat() << "";
}

void TestImportPlan::everyCheckWithItsReason()
{
    QFETCH(int, field);
    QFETCH(QString, value);
    QFETCH(QString, reason);
    StudentRecord card = goodCard();
    card[F(field)] = value;
    const QList<CellIssue> issues = ImportChecks::check(card, true);
    if (reason.isEmpty()) {
        QVERIFY2(issues.isEmpty(), qPrintable(issues.value(0).reason));
        return;
    }
    QCOMPARE(issues.size(), 1);
    QCOMPARE(issues.at(0).target, field);
    QCOMPARE(issues.at(0).reason, reason);
}

void TestImportPlan::faultsMarkTheirColumns()
{
    QStringList bad = classRow(QString(), wrongCode(3));
    bad[0].clear();
    bad[1].clear(); // no name at all
    ImportPlan plan(sheetOf(classHeader(), {classRow("Rossi", validCode(1)), bad}), {});
    QCOMPARE(statuses(plan), (Statuses{ImportPlan::Status::New, ImportPlan::Status::Invalid}));
    // The missing name is marked on both its parts, the code on its column.
    QCOMPARE(plan.cellIssues(1, 0), QStringLiteral("Campo obbligatorio vuoto."));
    QCOMPARE(plan.cellIssues(1, 1), QStringLiteral("Campo obbligatorio vuoto."));
    QCOMPARE(plan.cellIssues(1, 3),
             QStringLiteral("Codice fiscale non valido: il carattere di controllo non corrisponde."));
    QVERIFY(plan.cellIssues(1, 4).isEmpty());
    QVERIFY(plan.cellIssues(0, 3).isEmpty());
    QCOMPARE(plan.rowProblem(1),
             QStringLiteral("Cognome e nome: Campo obbligatorio vuoto. Codice fiscale non valido: il "
                            "carattere di controllo non corrisponde."));
    // A required field no column fills: the row says so.
    Targets mapping = plan.mapping();
    mapping[2] = M::Ignore; // Sesso
    plan.setMapping(mapping);
    QCOMPARE(plan.count(ImportPlan::Status::Invalid), 2);
    QCOMPARE(plan.rowProblem(0), QStringLiteral("Sesso: Campo obbligatorio vuoto."));
}

void TestImportPlan::aCorrectionInTheGridAcceptsTheRow()
{
    QStringList row = classRow("Verdi", validCode(2));
    row[6] = QStringLiteral("31/09/2025");
    ImportPlan plan(sheetOf(classHeader(), {row}), {});
    QCOMPARE(plan.count(ImportPlan::Status::Invalid), 1);
    plan.setCell(0, 6, QStringLiteral("30/09/2025"));
    QCOMPARE(plan.count(ImportPlan::Status::New), 1);
    QCOMPARE(plan.rows().at(0).card[F::Inizio], QStringLiteral("30/09/2025"));
}

void TestImportPlan::duplicates_data()
{
    QTest::addColumn<bool>("update");
    QTest::addColumn<Statuses>("expected");
    QTest::addColumn<QStringList>("reasons");
    using S = ImportPlan::Status;
    QTest::newRow("skipped") << false << Statuses{S::Duplicate, S::Duplicate, S::New, S::Duplicate, S::New}
                             << QStringList{"Codice fiscale già in archivio (scheda n. 1).",
                                            "Codice fiscale presente in più schede dell'archivio (n. 2, 3): nessuna "
                                            "viene aggiornata.",
                                            "", "Codice fiscale già presente alla riga 4 del foglio.", ""};
    QTest::newRow("updating their card") << true << Statuses{S::Update, S::Duplicate, S::New, S::Duplicate, S::New}
                                         << QStringList{"",
                                                        "Codice fiscale presente in più schede dell'archivio (n. 2, "
                                                        "3): nessuna viene aggiornata.",
                                                        "", "Codice fiscale già presente alla riga 4 del foglio.", ""};
}

void TestImportPlan::duplicates()
{
    QFETCH(bool, update);
    QFETCH(Statuses, expected);
    QFETCH(QStringList, reasons);
    TempFolder data;
    putCards(data.folder, {storedCard("Bianchi Carla", validCode(10)), storedCard("Neri Ada", validCode(20)),
                           storedCard("Neri Ada bis", validCode(20))});
    // The codes typed in lower case still match.
    ImportPlan plan(sheetOf(classHeader(), {classRow("Bianchi", validCode(10).toLower(), "Nuovo corso"),
                                            classRow("Neri", validCode(20)), classRow("Gialli", validCode(30)),
                                            classRow("Gialli bis", validCode(30)), classRow("Viola", validCode(40))}),
                    ImportPlan::readArchiveCodes(data.folder));
    plan.setUpdatesDuplicates(update);
    QCOMPARE(statuses(plan), expected);
    for (int i = 0; i < reasons.size(); ++i)
        if (expected.at(i) == ImportPlan::Status::Duplicate)
            QCOMPARE(plan.rowProblem(i), reasons.at(i));

    const ImportSummary summary = ImportStore::store(data.folder, plan);
    QCOMPARE(summary.stored.size(), 2);
    QCOMPARE(summary.stored.at(0).number, 4);
    QCOMPARE(summary.stored.at(1).number, 5);
    QCOMPARE(summary.updated.size(), update ? 1 : 0);
    QCOMPARE(summary.skipped.size(), update ? 2 : 3);
    const QList<StudentRecord> cards = allCards(data.folder);
    QCOMPARE(cards.size(), 5);
    QCOMPARE(cards.at(0)[F::Corso], update ? QStringLiteral("Nuovo corso") : QStringLiteral("Corso in archivio"));
    QCOMPARE(cards.at(3)[F::Studente], QStringLiteral("Gialli Anna"));
    QCOMPARE(cards.at(4)[F::Studente], QStringLiteral("Viola Anna"));
}

void TestImportPlan::updateKeepsWhatTheSheetLeavesEmpty()
{
    TempFolder data;
    StudentRecord stored = storedCard("Bianchi Carla", validCode(10));
    stored[F::File01] = QStringLiteral("pagella.pdf");
    putCards(data.folder, {stored});
    // Only the code, the class and an empty course: an update need not
    // repeat the required fields the card already has.
    ImportPlan plan(sheetOf({"CF", "Classe", "Corso"}, {{validCode(10), "3C", ""}}),
                    ImportPlan::readArchiveCodes(data.folder));
    plan.setUpdatesDuplicates(true);
    QCOMPARE(statuses(plan), Statuses{ImportPlan::Status::Update});
    const ImportSummary summary = ImportStore::store(data.folder, plan);
    QCOMPARE(summary.updated.size(), 1);
    StudentRecord expected = stored;
    expected[F::Classe] = QStringLiteral("3C");
    QCOMPARE(allCards(data.folder), QList<StudentRecord>{expected});
    QCOMPARE(summary.text("classe.csv"),
             QStringLiteral("Importazione studenti da classe.csv\n\nSchede inserite: 0\nSchede aggiornate: 1\nRighe "
                            "saltate: 0\n\nAggiornate:\nRiga 2, scheda n. 1 (Bianchi Carla)\n"));
}

void TestImportPlan::cardStoredElsewhereAfterThePreviewIsNotDoubled()
{
    TempFolder data;
    putCards(data.folder, {storedCard("Bianchi Carla", validCode(10))});
    ImportPlan plan(sheetOf(classHeader(), {classRow("Rossi", validCode(1)), classRow("Verdi", validCode(2))}),
                    ImportPlan::readArchiveCodes(data.folder));
    QCOMPARE(statuses(plan), (Statuses{ImportPlan::Status::New, ImportPlan::Status::New}));
    // Meanwhile another workstation saves Verdi's card by hand.
    {
        StudentArchive other(data.folder);
        other.append(storedCard("Verdi Mario", validCode(2).toLower()));
        other.close();
    }
    const ImportSummary summary = ImportStore::store(data.folder, plan);
    QCOMPARE(summary.stored.size(), 1);
    QCOMPARE(summary.stored.at(0).number, qint64(3));
    QCOMPARE(summary.skipped.size(), 1);
    QCOMPARE(summary.skipped.at(0).reason,
             QStringLiteral("Il codice fiscale è già nella scheda n. 2, inserita da un'altra postazione dopo "
                            "l'anteprima."));
    const QList<StudentRecord> cards = allCards(data.folder);
    QCOMPARE(cards.size(), 3);
    QCOMPARE(cards.at(2)[F::CodFisc], validCode(1));
}

void TestImportPlan::storeIsAllOrNothing_data()
{
    QTest::addColumn<QString>("failure");
    QTest::newRow("the disk refuses a write of the new cards midway") << "disk";
    QTest::newRow("the operator stops it among the new cards") << "stop-appending";
    QTest::newRow("the operator stops it among the updates") << "stop-updating";
}

void TestImportPlan::storeIsAllOrNothing()
{
    QFETCH(QString, failure);
    TempFolder data;
    QList<StudentRecord> cards;
    for (int i = 0; i < 5; ++i)
        cards << storedCard(QStringLiteral("Studente %1").arg(i), validCode(100 + i));
    putCards(data.folder, cards);
    // A fragment after the last card, as a save cut short may leave: the
    // first new card goes over it, so it must come back too.
    {
        QFile archive(data.path("Archivio_Studenti.pro"));
        QVERIFY(archive.open(QIODevice::Append));
        archive.write(QByteArray(100, 'z'));
    }
    const QByteArray before = data.readFile("Archivio_Studenti.pro");

    QList<QStringList> rows;
    for (int i = 0; i < 5; ++i)
        rows << classRow(QStringLiteral("Aggiornato %1").arg(i), validCode(100 + i), "Corso nuovo");
    for (int i = 0; i < 1000; ++i)
        rows << classRow(QStringLiteral("Nuovo %1").arg(i), validCode(1000 + i));
    ImportPlan plan(sheetOf(classHeader(), rows), ImportPlan::readArchiveCodes(data.folder));
    plan.setUpdatesDuplicates(true);
    QCOMPARE(plan.count(ImportPlan::Status::Update), 5);
    QCOMPARE(plan.count(ImportPlan::Status::New), 1000);

    qint64 seen = 0;
    const auto progress = [&](qint64 done, qint64 total) {
        seen = done;
        if (total != 1005)
            return false;
        if (failure == QLatin1String("stop-appending"))
            return done < 500;
        if (failure == QLatin1String("stop-updating"))
            return done < 3;
        return true;
    };
    if (failure == QLatin1String("disk")) {
        // Room for about 300 of the new cards.
        const FileSizeLimit limit(before.size() + 300 * StudentRecord::Size);
        QVERIFY_THROWS_EXCEPTION(FileAccessError, ImportStore::store(data.folder, plan, progress));
        QVERIFY(seen >= 5 && seen < 1005); // the updates were made, then undone
    } else {
        const ImportSummary summary = ImportStore::store(data.folder, plan, progress);
        QVERIFY(summary.cancelled);
        QVERIFY(summary.stored.isEmpty() && summary.updated.isEmpty());
        QVERIFY(summary.text("x.csv").contains(QStringLiteral("Importazione annullata")));
    }
    QCOMPARE(data.readFile("Archivio_Studenti.pro"), before);
    // No rewrite left pending in the journal for the next workstation.
    {
        RecordFile file(data.path("Archivio_Studenti.pro"), StudentRecord::Size);
        file.open();
        QCOMPARE(file.count(), 5);
        file.read(0);
    }
    QCOMPARE(data.readFile("Archivio_Studenti.pro"), before);

    // Once the cause is gone, the same plan stores everything.
    const ImportSummary again = ImportStore::store(data.folder, plan);
    QCOMPARE(again.stored.size(), 1000);
    QCOMPARE(again.updated.size(), 5);
    const QList<StudentRecord> after = allCards(data.folder);
    QCOMPARE(after.size(), 1005);
    QCOMPARE(after.at(0)[F::Corso], QStringLiteral("Corso nuovo"));
    QCOMPARE(after.at(1004)[F::Studente], QStringLiteral("Nuovo 999 Anna"));
}

void TestImportPlan::tenThousandRows()
{
    TempFolder data;
    QList<QStringList> rows;
    for (int i = 0; i < 10000; ++i)
        rows << classRow(QStringLiteral("Studente%1").arg(i), validCode(i));
    rows[4321][6] = QStringLiteral("32/01/2025");
    data.writeFile("classe.csv", csvOf(classHeader(), rows));
    ImportPlan plan(SheetReader::read(data.path("classe.csv")), ImportPlan::readArchiveCodes(data.folder));
    QCOMPARE(int(plan.rows().size()), 10000);
    QCOMPARE(plan.count(ImportPlan::Status::New), 9999);
    const ImportSummary summary = ImportStore::store(data.folder, plan);
    QCOMPARE(summary.stored.size(), 9999);
    QCOMPARE(summary.skipped.size(), 1);
    QCOMPARE(summary.skipped.at(0).line, 4323);
    StudentArchive archive(data.folder);
    QCOMPARE(archive.count(), 9999);
    QCOMPARE(archive.read(9999)[F::Studente], QStringLiteral("Studente9999 Anna"));
    QCOMPARE(archive.read(4322)[F::Studente], QStringLiteral("Studente4322 Anna"));
}

QTEST_GUILESS_MAIN(TestImportPlan)
#include "test_importplan.moc"
