// The workbook export of the export window, driven as the operator drives it:
// the file read back by LibreOffice holds every cell as the grid shows it
// (values a spreadsheet would re-type included), the questions, and the
// failures, after which the previous file is whole and the window usable.

#include "exportfixture.h"
#include "export/exportcolumns.h"
#include "hostileentries.h"
#include "lockedfile.h"
#include "officefile.h"

#include <QFileInfo>
#include <QLabel>
#include <QTemporaryDir>
#include <QtTest>

namespace {

const QString kAskOpen = QStringLiteral(
    "Le schede in archivio sono state esportate con successo.\r\n\r\nSi vuole aprire il file di Excel?");
const QString kFailure = QStringLiteral(
    "Attenzione: il sistema non permette di esportare i dati.\n\r\n\rAccertarsi che il file di Excel non sia "
    "già aperto.");
const QString kWorkbook = QStringLiteral("Archivio_Studenti.xlsx");

using Kind = Platform::MessageKind;

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

int gridColumn(R::Field field)
{
    return int(sheetFields().indexOf(field)) + 1;
}

QStringList entries(const QString &folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
}

// A cell as the export takes it from the grid: its ends trimmed, control
// characters inside written as spaces.
QString exported(const QString &shown)
{
    QString text = shown;
    for (QChar &ch : text)
        if (ch.unicode() < 32 || ch.unicode() == 0x7F)
            ch = u' ';
    // Only controls and spaces are trimmed; they are spaces now.
    while (text.startsWith(u' '))
        text.remove(0, 1);
    while (text.endsWith(u' '))
        text.chop(1);
    return text;
}

} // namespace

class TestExportWorkbook : public QObject
{
    Q_OBJECT

private slots:
    void everyCellReadsBack_data();
    void everyCellReadsBack();
    void questions_data();
    void questions();
    void failureKeepsPreviousWorkbook_data();
    void failureKeepsPreviousWorkbook();
    void buttonHintAndKey();
};

void TestExportWorkbook::everyCellReadsBack_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("Excel workbook") << kWorkbook;
    QTest::newRow("OpenDocument spreadsheet") << QStringLiteral("Archivio_Studenti.ods");
}

void TestExportWorkbook::everyCellReadsBack()
{
    QFETCH(QString, name);
    ExportWindow w;
    QByteArray archive = encoded({
        cardWith({{R::Studente, QStringLiteral("Rossi & Figli <s.r.l.>")},
                  {R::DataNasc, QStringLiteral("01/02/2026")},
                  {R::Citta, QStringLiteral("Città di Castello")},
                  {R::Cap, QStringLiteral("06123")},
                  {R::CodFisc, QStringLiteral("RSSMRA80A01H501U")},
                  {R::Tel, QStringLiteral("0039333123")},
                  {R::Cel, QStringLiteral("+39 333 1234567")},
                  {R::Esito, QStringLiteral("3e5")},
                  {R::Note, QStringLiteral("=1+1")}}),
        cardWith({{R::Studente, QStringLiteral("Zoë Ωmega")},
                  {R::Esercente, QStringLiteral("Quota € 150,00 – saldo")},
                  {R::Assenze, QStringLiteral("12")},
                  {R::Inizio, QStringLiteral("2026-09-01")},
                  {R::Esito, QStringLiteral("Idoneo «ottimo»")}}),
    });
    // Every character of the code page, and controls inside a text.
    QByteArray ascii;
    for (int b = 0x21; b < 0x7F; ++b)
        ascii += char(b);
    QByteArray high;
    for (int b = 0x80; b <= 0xFF; ++b)
        high += char(b);
    QByteArray raw = StudentRecord().encode();
    putRaw(raw, R::Studente, "Bianchi\tAnna\r\nMaria");
    putRaw(raw, R::Note, ascii);
    putRaw(raw, R::Commissione, high);
    putRaw(raw, R::Assenze, QByteArray("due\x01tre") + '\0' + "quattro\x7F" "fine");
    archive += raw;
    w.writeArchive(archive);
    QVERIFY(w.open());

    // Cells the operator typed, kept whole: also characters the .xls cannot hold.
    QAbstractItemModel *model = w.grid()->model();
    const QList<QPair<R::Field, QString>> typed{{R::Corso, QStringLiteral("=SOMMA(A1:A2)")},
                                               {R::Classe, QStringLiteral("  3e5  ")},
                                               {R::Fine, QStringLiteral("01/02/2026")},
                                               {R::Email, QStringLiteral("Ωmega@€.it")}};
    for (const auto &cell : typed)
        QVERIFY(model->setData(model->index(1, gridColumn(cell.first)), cell.second));

    const QString path = w.folder.path(name);
    w.folder.platform.saveAnswers << path;
    w.folder.platform.confirmAnswers << false;
    w.click(QStringLiteral("cmdEsportaXlsx"));
    QCOMPARE(w.folder.platform.messages.size(), 1);
    QCOMPARE(w.folder.platform.messages[0].text, kAskOpen);
    // The format the name asks for, whatever LibreOffice would make of another.
    const QByteArray odsType = "mimetypeapplication/vnd.oasis.opendocument.spreadsheet";
    QCOMPARE(readAll(path).mid(30, odsType.size()) == odsType, name.endsWith(QLatin1String(".ods")));

    QTemporaryDir work;
    QString why;
    const QString csvPath = Office::convert(path, Office::csvFilter(), work.path(), &why);
    if (csvPath.isEmpty())
        QSKIP(qPrintable(why));
    const QList<QStringList> rows = Office::parseCsv(QString::fromUtf8(readAll(csvPath)));

    QCOMPARE(rows.size(), 1 + model->rowCount());
    for (int c = 1; c < ExportColumns::Count; ++c)
        QCOMPARE(rows[0].value(c - 1), model->headerData(c, Qt::Horizontal).toString());
    for (int r = 0; r < model->rowCount(); ++r) {
        for (int c = 1; c < ExportColumns::Count; ++c) {
            const QString expected = exported(model->index(r, c).data().toString());
            const QString read = rows[r + 1].value(c - 1);
            if (read != expected)
                QFAIL(qPrintable(QStringLiteral("row %1, %2: read \"%3\", expected \"%4\"")
                                     .arg(r + 1)
                                     .arg(model->headerData(c, Qt::Horizontal).toString(), read, expected)));
        }
    }
    // The typed cells went to the workbook, never to the archive.
    QCOMPARE(readAll(w.archivePath()), archive);
}

void TestExportWorkbook::questions_data()
{
    QTest::addColumn<QString>("where");
    QTest::addColumn<bool>("openIt");

    QTest::newRow("save dialog cancelled writes nothing") << QString() << true;
    QTest::newRow("no to opening leaves the file unopened") << "data" << false;
    QTest::newRow("yes opens the file") << "data" << true;
    QTest::newRow("a name typed without extension gets .xlsx") << "data, no extension" << true;
    QTest::newRow("a folder outside the data folder") << "outside" << true;
    QTest::newRow("a name ending in .ods") << "data, ods" << true;
}

void TestExportWorkbook::questions()
{
    QFETCH(QString, where);
    QFETCH(bool, openIt);

    ExportWindow w;
    // A data folder whose path has spaces: the desktop gets it as it is.
    w.folder.context.folder = w.folder.path(QStringLiteral("Dati della scuola/"));
    QVERIFY(QDir().mkpath(w.folder.context.folder));
    QTemporaryDir outside;
    QVERIFY(w.open());

    QString path;
    if (where == QLatin1String("data"))
        path = w.folder.context.folder + kWorkbook;
    else if (where == QLatin1String("data, no extension"))
        path = w.folder.context.folder + QStringLiteral("Classe 3A");
    else if (where == QLatin1String("data, ods"))
        path = w.folder.context.folder + QStringLiteral("Archivio_Studenti.ods");
    else if (where == QLatin1String("outside"))
        path = outside.filePath(QStringLiteral("Per la segreteria.xlsx"));
    if (!path.isEmpty())
        w.folder.platform.saveAnswers << path;
    w.folder.platform.confirmAnswers << openIt;
    const QStringList before = entries(w.folder.context.folder);
    w.click(QStringLiteral("cmdEsportaXlsx"));

    QCOMPARE(w.folder.platform.dialogTitles, QStringList{QStringLiteral("Esporta l'archivio in un foglio di calcolo")});
    QCOMPARE(w.folder.platform.proposedNames, QStringList{w.folder.context.folder + kWorkbook});
    if (where == QLatin1String("data, no extension"))
        path += QStringLiteral(".xlsx");
    if (path.isEmpty()) {
        QVERIFY(w.folder.platform.messages.isEmpty());
        QCOMPARE(entries(w.folder.context.folder), before);
    } else {
        QCOMPARE(w.folder.platform.messages.size(), 1);
        QCOMPARE(int(w.folder.platform.messages[0].kind), int(Kind::Confirmation));
        QCOMPARE(w.folder.platform.messages[0].text, kAskOpen);
        QVERIFY(readAll(path).startsWith("PK\x03\x04"));
    }
    QCOMPARE(w.folder.platform.opened, openIt && !path.isEmpty() ? QStringList{path} : QStringList());
    // The .xls is the other button's.
    QVERIFY(!QFileInfo::exists(w.folder.context.folder + QStringLiteral("Archivio_Studenti.xls")));
    QVERIFY(w.window->isVisible());
}

void TestExportWorkbook::failureKeepsPreviousWorkbook_data()
{
    QTest::addColumn<QString>("cause");
    QTest::newRow("workbook marked read-only") << "read-only";
    QTest::newRow("workbook locked") << "locked";
    QTest::newRow("data folder takes no new file") << "folder locked";
    QTest::newRow("a folder has the workbook's name") << "folder";
    QTest::newRow("the chosen folder is missing") << "missing folder";
    QTest::newRow("link planted in the data folder") << "link";
}

void TestExportWorkbook::failureKeepsPreviousWorkbook()
{
    QFETCH(QString, cause);

    ExportWindow w;
    QTemporaryDir outside;
    const QString outsideFile = outside.filePath(QStringLiteral("altrove.xlsx"));
    QVERIFY(Hostile::writeBytes(outsideFile, "di qualcun altro"));
    w.writeArchive(encoded({cardWith({{R::Studente, QStringLiteral("Gialli Sara")}, {R::Cap, QStringLiteral("06123")}})}));
    QVERIFY(w.open());
    QString path = w.folder.path(kWorkbook);
    QByteArray previous;
    if (cause == QLatin1String("folder")) {
        QVERIFY(Hostile::writeBytes(path + QStringLiteral("/appunti.txt"), "da non perdere"));
    } else if (cause == QLatin1String("missing folder")) {
        path = w.folder.path(QStringLiteral("Esportazioni/") + kWorkbook);
    } else if (cause == QLatin1String("link")) {
        QVERIFY(Hostile::makeLink(outsideFile, path));
    } else {
        // A first export, which the failed one must leave whole.
        w.folder.platform.saveAnswers << path;
        w.folder.platform.confirmAnswers << false;
        w.click(QStringLiteral("cmdEsportaXlsx"));
        previous = readAll(path);
        QVERIFY(previous.startsWith("PK\x03\x04"));
    }
    QAbstractItemModel *model = w.grid()->model();
    QVERIFY(model->setData(model->index(0, gridColumn(R::Corso)), QStringLiteral("Trucco")));
    w.folder.platform.clear();

    std::unique_ptr<LockedFile> locked;
    if (cause == QLatin1String("read-only")) {
        QVERIFY(QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
    } else if (cause == QLatin1String("locked") || cause == QLatin1String("folder locked")) {
        locked = std::make_unique<LockedFile>(cause == QLatin1String("locked") ? path
                                                                              : QDir(w.folder.folder).absolutePath());
        if (!locked->ok())
            QSKIP("this file system cannot lock the file or folder");
    }
    const QStringList before = entries(w.folder.folder);

    w.folder.platform.saveAnswers << path;
    w.click(QStringLiteral("cmdEsportaXlsx"));
    QCOMPARE(w.folder.platform.messages.size(), 1);
    QCOMPARE(int(w.folder.platform.messages[0].kind), int(Kind::Notice));
    QCOMPARE(w.folder.platform.messages[0].text, kFailure);
    QVERIFY(w.folder.platform.opened.isEmpty());
    // Nothing lost, nothing left behind, nothing written through the link.
    QCOMPARE(entries(w.folder.folder), before);
    QCOMPARE(readAll(outsideFile), QByteArray("di qualcun altro"));
    if (cause == QLatin1String("folder"))
        QCOMPARE(readAll(path + QStringLiteral("/appunti.txt")), QByteArray("da non perdere"));
    else if (!previous.isEmpty())
        QCOMPARE(readAll(path), previous);
    QVERIFY(w.window->isVisible());

    // Once the cause is gone the same window exports what it shows.
    locked.reset();
    if (cause == QLatin1String("read-only"))
        QVERIFY(QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner));
    else if (cause == QLatin1String("folder"))
        QVERIFY(QDir(path).removeRecursively());
    else if (cause == QLatin1String("missing folder"))
        QVERIFY(QDir().mkpath(QFileInfo(path).absolutePath()));
    else if (cause == QLatin1String("link"))
        QVERIFY(QFile::remove(path));
    w.folder.platform.clear();
    w.folder.platform.saveAnswers << path;
    w.folder.platform.confirmAnswers << false;
    w.click(QStringLiteral("cmdEsportaXlsx"));
    QCOMPARE(w.folder.platform.messages.size(), 1);
    QCOMPARE(w.folder.platform.messages[0].text, kAskOpen);
    QVERIFY(readAll(path).startsWith("PK\x03\x04"));
    QVERIFY(readAll(path) != previous);
}

void TestExportWorkbook::buttonHintAndKey()
{
    ExportWindow w;
    QVERIFY(w.open());
    auto *button = findControl<PictureBox>(w.window.get(), QStringLiteral("cmdEsportaXlsx"));
    QCOMPARE(button->geometry(), QRect(766, 23, 46, 50));
    QVERIFY(button->toolTip().contains(QStringLiteral("Ctrl+Shift+E")));
    // Its hint fits the hint line whole.
    QLabel *info = findControl<QLabel>(w.window.get(), QStringLiteral("panInfo"));
    QVERIFY(info->fontMetrics().horizontalAdvance(button->accessibleName()) <= info->contentsRect().width());

    // Ctrl+Shift+E presses the button; Ctrl+E stays the .xls's.
    w.folder.platform.saveAnswers << w.folder.path(kWorkbook);
    w.folder.platform.confirmAnswers << false;
    QTest::keyClick(w.grid(), Qt::Key_E, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(w.folder.platform.dialogTitles.size(), 1);
    QVERIFY(QFileInfo::exists(w.folder.path(kWorkbook)));
    QVERIFY(!QFileInfo::exists(w.sheetPath()));
}

QTEST_MAIN(TestExportWorkbook)
#include "test_exportworkbook.moc"
