// The export file, byte for byte, from the archive and from what the operator
// typed into the grid; and the export's failures, after which nothing is lost.

#include "exportfixture.h"
#include "lockedfile.h"

#include <QFileInfo>
#include <QLineEdit>
#include <QProcess>
#include <QtTest>

#include <unistd.h>

namespace {

const QString kAskExport = QStringLiteral(
    "L'esportazione dei dati in Excel può richiedere diversi minuti a seconda del numero di schede presenti "
    "in archivio.\r\n\r\nSi vuole esportare i dati adesso?");
const QString kAskOpen = QStringLiteral(
    "Le schede in archivio sono state esportate con successo.\r\n\r\nSi vuole aprire il file di Excel?");
const QString kFailure = QStringLiteral(
    "Attenzione: il sistema non permette di esportare i dati.\n\r\n\rAccertarsi che il file di Excel non sia "
    "già aperto.");

using Kind = Platform::MessageKind;

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

int sheetColumn(R::Field field)
{
    return int(sheetFields().indexOf(field)) + 1;
}

// Typing on a cell opens its editor with the first key; the rest goes to
// the editor, as the keyboard's focus follows it.
void typeIntoGrid(QTableView *grid, const QString &text)
{
    const auto type = [](QWidget *widget, QChar ch) {
        if (ch.unicode() < 0x80)
            QTest::keyClick(widget, char(ch.unicode()));
        else // a key of an Italian keyboard: the character comes as its text
            QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString(ch), Qt::NoModifier);
    };
    type(grid, text.at(0));
    QWidget *editor = QApplication::focusWidget();
    QVERIFY(qobject_cast<QLineEdit *>(editor));
    for (qsizetype i = 1; i < text.size(); ++i)
        type(editor, text.at(i));
}

bool editorOpen(QTableView *grid)
{
    auto *editor = qobject_cast<QLineEdit *>(QApplication::focusWidget());
    return editor && grid->isAncestorOf(editor);
}

// A tmpfs of 64 KiB mounted for the test (root only), unmounted at the end.
class TinyDisk
{
public:
    explicit TinyDisk(const QString &path) : m_path(path)
    {
        QDir().mkpath(path);
        if (::geteuid() == 0)
            m_mounted = QProcess::execute(QStringLiteral("mount"),
                                          {QStringLiteral("-t"), QStringLiteral("tmpfs"), QStringLiteral("-o"),
                                           QStringLiteral("size=64k"), QStringLiteral("tmpfs"), path})
                        == 0;
    }
    ~TinyDisk()
    {
        if (m_mounted)
            QProcess::execute(QStringLiteral("umount"), {m_path});
    }
    bool mounted() const { return m_mounted; }

    // Fills what is left of the disk with one file.
    QString fill() const
    {
        const QString filler = m_path + QStringLiteral("/filler");
        QFile file(filler);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
            return filler;
        const QByteArray block(4096, 'x');
        while (file.write(block) == block.size()) {
        }
        return filler;
    }

private:
    QString m_path;
    bool m_mounted = false;
};

} // namespace

class TestExportFile : public QObject
{
    Q_OBJECT

private slots:
    void sheetMatchesFragments_data();
    void sheetMatchesFragments();
    void typedCellsReachTheSheetNeverTheArchive();
    void questions_data();
    void questions();
    void failureKeepsPreviousSheet_data();
    void failureKeepsPreviousSheet();
    void unreadableArchiveExportsEmptyGrid();
};

void TestExportFile::sheetMatchesFragments_data()
{
    QTest::addColumn<bool>("withArchive");
    QTest::addColumn<QByteArray>("archive");
    QTest::addColumn<SheetRows>("rows");

    QTest::newRow("missing archive: ten empty rows") << false << QByteArray() << emptyRows(10);
    QTest::newRow("empty archive: ten empty rows") << true << QByteArray() << emptyRows(10);

    QTest::newRow("two cards with accents, euro and foreign letters")
        << true
        << encoded({cardWith({{R::Studente, QStringLiteral("Ferrà Nicolò")},
                              {R::DataNasc, QStringLiteral("01/02/2003")},
                              {R::Citta, QStringLiteral("Città di Castello")},
                              {R::Cap, QStringLiteral("06012")},
                              {R::Corso, QStringLiteral("Contabilità")},
                              {R::Note, QStringLiteral("Quota € 150,00")}}),
                    cardWith({{R::Studente, QStringLiteral("Zoë Ωmega")},
                              {R::LuogoNasc, QStringLiteral("Saint-Étienne")},
                              {R::Lingue, QStringLiteral("Русский")},
                              {R::Esito, QStringLiteral("Idoneo – «ottimo»")},
                              {R::Sesso, QStringLiteral("F")},
                              {R::File01, QStringLiteral("diploma.pdf")},
                              {R::Desc03, QStringLiteral("Diploma")}})})
        << SheetRows{sheetRow({{R::Studente, "Ferr\xE0 Nicol\xF2"},
                               {R::DataNasc, "01/02/2003"},
                               {R::Citta, "Citt\xE0 di Castello"},
                               {R::Cap, "06012"},
                               {R::Corso, "Contabilit\xE0"},
                               {R::Note, "Quota \x80 150,00"}}),
                     sheetRow({{R::Studente, "Zo\xEB ?mega"},
                               {R::LuogoNasc, "Saint-\xC9tienne"},
                               {R::Lingue, "???????"},
                               {R::Esito, "Idoneo \x96 \xABottimo\xBB"}})};

    QTest::newRow("markup characters are escaped")
        << true
        << encoded({cardWith({{R::Studente, QStringLiteral("Rossi & Figli")},
                              {R::Indirizzo, QStringLiteral("Via <Roma> 1")},
                              {R::Corso, QStringLiteral("<b>A&amp;B</b>")},
                              {R::Note, QStringLiteral("detto \"il Bello\" > tutti, l'unico")}})})
        << SheetRows{sheetRow({{R::Studente, "Rossi &amp; Figli"},
                               {R::Indirizzo, "Via &lt;Roma&gt; 1"},
                               {R::Corso, "&lt;b&gt;A&amp;amp;B&lt;/b&gt;"},
                               {R::Note, "detto &quot;il Bello&quot; &gt; tutti, l'unico"}})};

    QByteArray raw = StudentRecord().encode();
    putRaw(raw, R::Studente, " \t Rossi Mario \r\n");
    putRaw(raw, R::Note, QByteArray("riga uno\r\nriga due\tfine") + '\0' + "con" + '\x7F' + "altro");
    putRaw(raw, R::Cap, "0012345678XYZ", 200); // length byte above the capacity of 10
    putRaw(raw, R::Classe, "3B", 2);
    raw[R::layout()[R::Classe].offset + 3] = 'Z'; // after the length: never read
    QTest::newRow("controls trimmed at the ends and blanked inside, no line break")
        << true << raw
        << SheetRows{sheetRow({{R::Studente, "Rossi Mario"},
                               {R::Note, "riga uno  riga due fine con altro"},
                               {R::Cap, "0012345678"},
                               {R::Classe, "3B"}})};

    // Every byte from 0x21 up, as fields of one card.
    QByteArray ascii;
    for (int b = 0x21; b < 0x80; ++b)
        ascii += char(b);
    QByteArray high;
    for (int b = 0x80; b <= 0xFF; ++b)
        high += char(b);
    QByteArray everything = StudentRecord().encode();
    putRaw(everything, R::Note, ascii);
    putRaw(everything, R::Commissione, high);
    QByteArray asciiEscaped = ascii;
    asciiEscaped.replace("&", "&amp;").replace("<", "&lt;").replace(">", "&gt;").replace("\"", "&quot;");
    asciiEscaped.replace('\x7F', ' ');
    QTest::newRow("every Windows-1252 byte")
        << true << everything << SheetRows{sheetRow({{R::Note, asciiEscaped}, {R::Commissione, high}})};

    QTest::newRow("a trailing fragment is not a card")
        << true
        << encoded({cardWith({{R::Studente, QStringLiteral("Primo")}}), cardWith({{R::Studente, QStringLiteral("Secondo")}})})
               + QByteArray(1000, '\x41')
        << SheetRows{sheetRow({{R::Studente, "Primo"}}), sheetRow({{R::Studente, "Secondo"}})};
}

void TestExportFile::sheetMatchesFragments()
{
    QFETCH(bool, withArchive);
    QFETCH(QByteArray, archive);
    QFETCH(SheetRows, rows);

    ExportWindow w;
    if (withArchive)
        w.writeArchive(archive);
    QVERIFY(w.open());
    QCOMPARE(w.grid()->model()->rowCount(), rows.size());
    w.exportSheet();

    const QByteArray expected = expectedSheet(rows);
    const QByteArray written = w.sheet();
    if (written != expected) {
        // Point at the first difference rather than print two long lines.
        qsizetype at = 0;
        while (at < written.size() && at < expected.size() && written[at] == expected[at])
            ++at;
        QFAIL(qPrintable(QStringLiteral("differs at byte %1: written \"%2\", expected \"%3\"")
                             .arg(at)
                             .arg(QString::fromLatin1(written.mid(qMax<qsizetype>(0, at - 40), 80)),
                                  QString::fromLatin1(expected.mid(qMax<qsizetype>(0, at - 40), 80)))));
    }
    QVERIFY(!written.contains('\n'));
    QVERIFY(!written.contains('\r'));
    // Reading the archive created it when missing, and never changed it.
    QVERIFY(QFileInfo::exists(w.archivePath()));
    QCOMPARE(readAll(w.archivePath()), archive);
    QCOMPARE(w.folder.platform.messages.size(), 2);
    QCOMPARE(w.folder.platform.opened, QStringList{w.sheetPath()});
}

void TestExportFile::typedCellsReachTheSheetNeverTheArchive()
{
    ExportWindow w;
    const QByteArray archive = encoded({cardWith({{R::Studente, QStringLiteral("Bianchi Anna")},
                                                  {R::Corso, QStringLiteral("Grafica")},
                                                  {R::Note, QStringLiteral("Nessuna")}}),
                                        cardWith({{R::Studente, QStringLiteral("Verdi Luca")},
                                                  {R::Corso, QStringLiteral("Cucina")}})});
    w.writeArchive(archive);
    QVERIFY(w.open());
    QTableView *grid = w.grid();
    QAbstractItemModel *model = grid->model();
    const int corso = sheetColumn(R::Corso);
    const int note = sheetColumn(R::Note);
    const int studente = sheetColumn(R::Studente);
    QCOMPARE(w.cell(0, corso), QStringLiteral("Grafica"));

    // Typing over a cell replaces its text; Enter stores it.
    grid->setCurrentIndex(model->index(0, corso));
    typeIntoGrid(grid, QStringLiteral("  Grafica & più  "));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QTRY_COMPARE(w.cell(0, corso), QStringLiteral("  Grafica & più  "));

    // A cell of a column that is not editable takes no typing.
    grid->setCurrentIndex(model->index(1, studente));
    QTest::keyClicks(grid, QStringLiteral("Neri"));
    QVERIFY(!editorOpen(grid));
    QCOMPARE(w.cell(1, studente), QStringLiteral("Verdi Luca"));

    // Text the code page cannot hold, given as the editor hands it over.
    QVERIFY(model->setData(model->index(1, note), QStringLiteral("Ωmega €")));

    // Still being typed when the export is clicked: it counts too.
    grid->setCurrentIndex(model->index(1, corso));
    typeIntoGrid(grid, QStringLiteral("Pasticceria"));
    QVERIFY(editorOpen(grid));
    w.exportSheet();

    QCOMPARE(w.sheet(), expectedSheet({sheetRow({{R::Studente, "Bianchi Anna"},
                                                 {R::Corso, "Grafica &amp; pi\xF9"},
                                                 {R::Note, "Nessuna"}}),
                                       sheetRow({{R::Studente, "Verdi Luca"},
                                                 {R::Corso, "Pasticceria"},
                                                 {R::Note, "?mega \x80"}})}));
    QCOMPARE(readAll(w.archivePath()), archive);

    // The next window shows what is stored.
    w.window.reset();
    QVERIFY(w.open());
    QCOMPARE(w.cell(0, corso), QStringLiteral("Grafica"));
    QCOMPARE(w.cell(1, corso), QStringLiteral("Cucina"));
    QCOMPARE(w.cell(1, note), QString());
}

void TestExportFile::questions_data()
{
    QTest::addColumn<bool>("exportIt");
    QTest::addColumn<bool>("openIt");
    QTest::addColumn<bool>("written");
    QTest::addColumn<QList<int>>("kinds");

    const int confirmation = int(Kind::Confirmation);
    QTest::newRow("no to the first question writes nothing") << false << true << false << QList<int>{confirmation};
    QTest::newRow("no to the second leaves the file unopened")
        << true << false << true << QList<int>{confirmation, confirmation};
    QTest::newRow("yes to both opens the file") << true << true << true << QList<int>{confirmation, confirmation};
}

void TestExportFile::questions()
{
    QFETCH(bool, exportIt);
    QFETCH(bool, openIt);
    QFETCH(bool, written);
    QFETCH(QList<int>, kinds);

    ExportWindow w;
    // A data folder whose path has spaces: the desktop gets it as it is.
    w.folder.context.folder = w.folder.path(QStringLiteral("Dati della scuola/"));
    QVERIFY(QDir().mkpath(w.folder.context.folder));
    QVERIFY(w.open());
    w.exportSheet(exportIt, openIt);

    const QString sheetPath = w.folder.context.folder + QStringLiteral("Archivio_Studenti.xls");
    QCOMPARE(QFileInfo::exists(sheetPath), written);
    QList<int> shown;
    for (const FakePlatform::Message &message : w.folder.platform.messages)
        shown << int(message.kind);
    QCOMPARE(shown, kinds);
    QCOMPARE(w.folder.platform.messages[0].text, kAskExport);
    if (kinds.size() > 1)
        QCOMPARE(w.folder.platform.messages[1].text, kAskOpen);
    QCOMPARE(w.folder.platform.opened, openIt && written ? QStringList{sheetPath} : QStringList());
    QVERIFY(w.window->isVisible());
}

void TestExportFile::failureKeepsPreviousSheet_data()
{
    QTest::addColumn<QString>("cause");
    QTest::newRow("sheet marked read-only") << "read-only";
    QTest::newRow("sheet locked") << "locked";
    QTest::newRow("data folder takes no new file") << "folder locked";
    QTest::newRow("a folder has the sheet's name") << "folder";
    QTest::newRow("disk full") << "disk full";
}

void TestExportFile::failureKeepsPreviousSheet()
{
    QFETCH(QString, cause);

    ExportWindow w;
    std::unique_ptr<TinyDisk> disk;
    if (cause == QLatin1String("disk full")) {
        disk = std::make_unique<TinyDisk>(w.folder.path(QStringLiteral("disk")));
        if (!disk->mounted())
            QSKIP("a full disk is made with a small tmpfs, which only root can mount");
        w.folder.context.folder = w.folder.path(QStringLiteral("disk/"));
    }
    const QString data = w.folder.context.folder;
    const QString sheetPath = data + QStringLiteral("Archivio_Studenti.xls");
    {
        QFile archive(data + QStringLiteral("Archivio_Studenti.pro"));
        QVERIFY(archive.open(QIODevice::WriteOnly));
        archive.write(encoded({cardWith({{R::Studente, QStringLiteral("Gialli Sara")}, {R::Corso, QStringLiteral("Estetica")}}),
                               cardWith({{R::Studente, QStringLiteral("Blu Marco")}})}));
    }
    QVERIFY(w.open());

    // A first export, then a change that the failed one would have written.
    QByteArray previous;
    if (cause != QLatin1String("folder")) {
        w.exportSheet();
        previous = readAll(sheetPath);
        QVERIFY(previous.contains("Estetica"));
    } else {
        QVERIFY(QDir().mkpath(sheetPath));
        QFile inside(sheetPath + QStringLiteral("/appunti.txt"));
        QVERIFY(inside.open(QIODevice::WriteOnly));
        inside.write("da non perdere");
    }
    QAbstractItemModel *model = w.grid()->model();
    QVERIFY(model->setData(model->index(0, sheetColumn(R::Corso)), QStringLiteral("Trucco")));
    w.folder.platform.clear();

    std::unique_ptr<LockedFile> locked;
    QString filler;
    if (cause == QLatin1String("read-only")) {
        QVERIFY(QFile::setPermissions(sheetPath, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
    } else if (cause == QLatin1String("locked")) {
        locked = std::make_unique<LockedFile>(sheetPath);
        if (!locked->ok())
            QSKIP("this file system cannot lock the file");
    } else if (cause == QLatin1String("folder locked")) {
        locked = std::make_unique<LockedFile>(QDir(data).absolutePath());
        if (!locked->ok())
            QSKIP("this file system cannot lock the folder");
    } else if (cause == QLatin1String("disk full")) {
        filler = disk->fill();
    }
    const QStringList entriesBefore = QDir(data).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);

    w.exportSheet();
    QCOMPARE(w.folder.platform.messages.size(), 2);
    QCOMPARE(int(w.folder.platform.messages[0].kind), int(Kind::Confirmation));
    QCOMPARE(int(w.folder.platform.messages[1].kind), int(Kind::Notice));
    QCOMPARE(w.folder.platform.messages[1].text, kFailure);
    QVERIFY(w.folder.platform.opened.isEmpty());
    // Nothing lost, nothing left behind.
    if (cause == QLatin1String("folder"))
        QCOMPARE(readAll(sheetPath + QStringLiteral("/appunti.txt")), QByteArray("da non perdere"));
    else
        QCOMPARE(readAll(sheetPath), previous);
    QCOMPARE(QDir(data).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot), entriesBefore);
    QVERIFY(w.window->isVisible());

    // Once the cause is gone the same window exports what it shows.
    locked.reset();
    if (cause == QLatin1String("read-only"))
        QVERIFY(QFile::setPermissions(sheetPath, QFile::ReadOwner | QFile::WriteOwner));
    else if (cause == QLatin1String("folder"))
        QVERIFY(QDir(sheetPath).removeRecursively());
    else if (!filler.isEmpty())
        QVERIFY(QFile::remove(filler));
    w.folder.platform.clear();
    w.exportSheet();
    QCOMPARE(w.folder.platform.messages.size(), 2);
    QCOMPARE(w.folder.platform.messages[1].text, kAskOpen);
    QVERIFY(readAll(sheetPath).contains("<td style=\"text-align: left;\">Trucco</td>"));
}

void TestExportFile::unreadableArchiveExportsEmptyGrid()
{
    ExportWindow w;
    // An archive that cannot be opened: no message, the grid keeps its ten empty rows.
    QVERIFY(QDir().mkpath(w.archivePath()));
    QVERIFY(w.open());
    QVERIFY(w.folder.platform.messages.isEmpty());
    QCOMPARE(w.grid()->model()->rowCount(), 10);
    w.exportSheet();
    QCOMPARE(w.sheet(), expectedSheet(emptyRows(10)));
}

QTEST_MAIN(TestExportFile)
#include "test_exportfile.moc"
