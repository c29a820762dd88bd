// The export file opened by a real spreadsheet program: LibreOffice, without
// a window, turns the sheet into CSV, and every cell must read back as the
// grid showed it.

#include "exportfixture.h"

#include <QProcess>
#include <QStandardPaths>
#include <QtTest>

namespace {

// RFC 4180: fields separated by commas, quoted when they hold commas, quotes
// or line breaks, a quote inside doubled.
QList<QStringList> parseCsv(const QString &text)
{
    QList<QStringList> rows;
    QStringList row;
    QString field;
    bool quoted = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar ch = text.at(i);
        if (quoted) {
            if (ch == u'"' && i + 1 < text.size() && text.at(i + 1) == u'"') {
                field += u'"';
                ++i;
            } else if (ch == u'"') {
                quoted = false;
            } else {
                field += ch;
            }
        } else if (ch == u'"') {
            quoted = true;
        } else if (ch == u',') {
            row << field;
            field.clear();
        } else if (ch == u'\n' || ch == u'\r') {
            if (ch == u'\r' && i + 1 < text.size() && text.at(i + 1) == u'\n')
                ++i;
            row << field;
            rows << row;
            row.clear();
            field.clear();
        } else {
            field += ch;
        }
    }
    if (!field.isEmpty() || !row.isEmpty())
        rows << (row << field);
    return rows;
}

// A cell as a spreadsheet shows it: the controls inside written as spaces,
// and runs of spaces shown as one, as in any HTML page.
QString asShown(const QString &text)
{
    QString out;
    for (const QChar ch : text) {
        const QChar shown = (ch.unicode() < 32 || ch.unicode() == 0x7F) ? QChar(u' ') : ch;
        if (shown == u' ' && out.endsWith(u' '))
            continue;
        out += shown;
    }
    return out;
}

} // namespace

class TestExportSpreadsheet : public QObject
{
    Q_OBJECT

private slots:
    void everyCellReadsBack();
};

void TestExportSpreadsheet::everyCellReadsBack()
{
    const QString office = !QStandardPaths::findExecutable(QStringLiteral("soffice")).isEmpty()
                               ? QStringLiteral("soffice")
                               : QStandardPaths::findExecutable(QStringLiteral("libreoffice"));
    if (office.isEmpty())
        QSKIP("LibreOffice (soffice) is not installed: the Debian package libreoffice-calc-nogui provides it");

    ExportWindow w;
    QByteArray archive = encoded({
        cardWith({{R::Studente, QStringLiteral("Rossi & Figli <s.r.l.>")},
                  {R::Indirizzo, QStringLiteral("Via \"Roma\" <b>1</b>")},
                  {R::Citta, QStringLiteral("Città di Castello")},
                  {R::Corso, QStringLiteral("A&amp;B > C")},
                  {R::Note, QStringLiteral("</td></tr></table>fuori")}}),
        cardWith({{R::Studente, QStringLiteral("Zoë Ωmega")},
                  {R::Esercente, QStringLiteral("Quota € 150,00 – saldo")},
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
    const QList<StudentRecord> cards = {StudentRecord::decode(archive.mid(0, R::Size)),
                                        StudentRecord::decode(archive.mid(R::Size, R::Size)),
                                        StudentRecord::decode(raw)};

    QVERIFY(w.open());
    // And a cell the operator typed.
    QAbstractItemModel *model = w.grid()->model();
    const int esitoColumn = int(sheetFields().indexOf(R::Esito)) + 1;
    QVERIFY(model->setData(model->index(0, esitoColumn), QStringLiteral("Promossa & <lodata>")));
    w.exportSheet(true, false);
    QVERIFY(QFile::exists(w.sheetPath()));

    QTemporaryDir work;
    QProcess convert;
    convert.setProcessChannelMode(QProcess::MergedChannels);
    convert.start(office, {QStringLiteral("-env:UserInstallation=file://") + work.path() + QStringLiteral("/profile"),
                           QStringLiteral("--headless"), QStringLiteral("--norestore"),
                           QStringLiteral("--convert-to"),
                           // Comma, double quote, UTF-8, from the first line.
                           QStringLiteral("csv:Text - txt - csv (StarCalc):44,34,76,1"),
                           QStringLiteral("--outdir"), work.path(), w.sheetPath()});
    if (!convert.waitForStarted())
        QSKIP("LibreOffice did not start");
    if (!convert.waitForFinished(10 * 60 * 1000)) {
        convert.kill();
        convert.waitForFinished();
        QSKIP("LibreOffice did not finish the conversion within ten minutes");
    }
    QFile csv(work.path() + QStringLiteral("/Archivio_Studenti.csv"));
    if (!csv.open(QIODevice::ReadOnly))
        QSKIP(qPrintable(QStringLiteral("LibreOffice made no CSV: ") + QString::fromLocal8Bit(convert.readAll())));
    const QList<QStringList> rows = parseCsv(QString::fromUtf8(csv.readAll()));

    QCOMPARE(rows.size(), 1 + cards.size());
    const QStringList captions = {
        "Cognome e nome", "Data nascita", "Cittadinanza", "Luogo nascita", "Indirizzo", "Città", "CAP",
        "Nazione", "Codice fiscale", "Stato civile", "Esercente potestà", "Titolo di studio",
        "Lingue conosciute", "E-mail", "Tel. casa", "Tel. cellulare", "Corso", "Classe", "Data inizio",
        "Data fine", "Assenze", "Commissione esame finale", "Data esame", "Esito", "Note"};
    QCOMPARE(rows[0].mid(0, 25), captions);
    for (int r = 0; r < cards.size(); ++r) {
        for (int c = 0; c < 25; ++c) {
            const R::Field field = sheetFields()[c];
            QString expected = asShown(cards[r][field]);
            if (r == 0 && field == R::Esito)
                expected = QStringLiteral("Promossa & <lodata>");
            const QString read = c < rows[r + 1].size() ? rows[r + 1][c] : QString();
            if (read != expected)
                QFAIL(qPrintable(QStringLiteral("card %1, %2: read \"%3\", expected \"%4\"")
                                     .arg(r + 1)
                                     .arg(QString::fromLatin1(R::layout()[field].name), read, expected)));
        }
    }
}

QTEST_MAIN(TestExportSpreadsheet)
#include "test_exportspreadsheet.moc"
