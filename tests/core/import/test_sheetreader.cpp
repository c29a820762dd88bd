// Sheets as their producers write them: CSV text as Excel saves it in Italy
// (semicolons, Windows-1252, CRLF) and in UTF-8, and a class list saved by
// LibreOffice as .xlsx, .ods and .csv, each read back cell for cell.

#include "importfixture.h"
#include "officefile.h"
#include "tempfolder.h"

#include "archive/codepage.h"
#include "import/sheetreader.h"

#include "zipwriter.h"

#include <QTest>

using Rows = QList<QStringList>;
Q_DECLARE_METATYPE(Rows)

namespace {

QByteArray cp1252(const QString &text)
{
    return CodePage::fromUnicode(text);
}

Rows rowsOf(const ImportSheet &sheet)
{
    Rows rows;
    for (const ImportSheetRow &row : sheet.rows)
        rows << row.cells;
    return rows;
}

// The class list LibreOffice saves in each format: strings with accents,
// leading zeros and line breaks, real dates shown dd/mm/yyyy, a number.
const char *const kFlatSheet = R"(<?xml version="1.0" encoding="UTF-8"?>
<office:document xmlns:office="urn:oasis:names:tc:opendocument:xmlns:office:1.0"
 xmlns:style="urn:oasis:names:tc:opendocument:xmlns:style:1.0"
 xmlns:text="urn:oasis:names:tc:opendocument:xmlns:text:1.0"
 xmlns:table="urn:oasis:names:tc:opendocument:xmlns:table:1.0"
 xmlns:number="urn:oasis:names:tc:opendocument:xmlns:datastyle:1.0"
 xmlns:fo="urn:oasis:names:tc:opendocument:xmlns:xsl-fo-compatible:1.0"
 office:version="1.2" office:mimetype="application/vnd.oasis.opendocument.spreadsheet">
<office:automatic-styles>
<number:date-style style:name="N1"><number:day number:style="long"/><number:text>/</number:text><number:month number:style="long"/><number:text>/</number:text><number:year number:style="long"/></number:date-style>
<style:style style:name="ce1" style:family="table-cell" style:parent-style-name="Default" style:data-style-name="N1"/>
</office:automatic-styles>
<office:body><office:spreadsheet><table:table table:name="Classe 1A">
<table:table-row>
<table:table-cell office:value-type="string"><text:p>Cognome</text:p></table:table-cell>
<table:table-cell office:value-type="string"><text:p>Nome</text:p></table:table-cell>
<table:table-cell office:value-type="string"><text:p>Data di nascita</text:p></table:table-cell>
<table:table-cell office:value-type="string"><text:p>CAP</text:p></table:table-cell>
<table:table-cell office:value-type="string"><text:p>Città</text:p></table:table-cell>
<table:table-cell office:value-type="string"><text:p>Note</text:p></table:table-cell>
<table:table-cell office:value-type="string"><text:p>Esito</text:p></table:table-cell>
</table:table-row>
<table:table-row>
<table:table-cell office:value-type="string"><text:p>D'Annunzio</text:p></table:table-cell>
<table:table-cell office:value-type="string"><text:p>Niccolò</text:p></table:table-cell>
<table:table-cell table:style-name="ce1" office:value-type="date" office:date-value="2008-03-05"><text:p>05/03/2008</text:p></table:table-cell>
<table:table-cell office:value-type="string"><text:p>06123</text:p></table:table-cell>
<table:table-cell office:value-type="string"><text:p>Città di Castello</text:p></table:table-cell>
<table:table-cell office:value-type="string"><text:p>prima riga</text:p><text:p>seconda "riga"</text:p></table:table-cell>
<table:table-cell office:value-type="float" office:value="30"><text:p>30</text:p></table:table-cell>
</table:table-row>
<table:table-row table:number-rows-repeated="2"><table:table-cell table:number-columns-repeated="7"/></table:table-row>
<table:table-row>
<table:table-cell office:value-type="string"><text:p>Østergaard</text:p></table:table-cell>
<table:table-cell office:value-type="string"><text:p>Zoë</text:p></table:table-cell>
<table:table-cell table:style-name="ce1" office:value-type="date" office:date-value="1999-12-31"><text:p>31/12/1999</text:p></table:table-cell>
<table:table-cell table:number-columns-repeated="2"/>
<table:table-cell office:value-type="string"><text:p>€ 5; &lt;nota&gt;</text:p></table:table-cell>
</table:table-row>
</table:table>
<table:table table:name="Altro foglio"><table:table-row><table:table-cell office:value-type="string"><text:p>ignorato</text:p></table:table-cell></table:table-row></table:table>
</office:spreadsheet></office:body></office:document>
)";

QByteArray odsContent(const QByteArray &rows)
{
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
           "<office:document-content xmlns:office=\"urn:oasis:names:tc:opendocument:xmlns:office:1.0\"\n"
           " xmlns:text=\"urn:oasis:names:tc:opendocument:xmlns:text:1.0\"\n"
           " xmlns:table=\"urn:oasis:names:tc:opendocument:xmlns:table:1.0\">\n"
           "<office:body><office:spreadsheet><table:table table:name=\"Foglio1\">\n"
           "<table:table-row><table:table-cell><text:p>Cognome</text:p></table:table-cell>"
           "<table:table-cell><text:p>Nome</text:p></table:table-cell></table:table-row>\n"
           + rows + "</table:table></office:spreadsheet></office:body></office:document-content>";
}

QByteArray xlsxSheet(const QByteArray &rows)
{
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
           "<worksheet xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\"><sheetData>\n"
           "<row r=\"1\"><c r=\"A1\" t=\"inlineStr\"><is><t>Cognome</t></is></c>"
           "<c r=\"B1\" t=\"inlineStr\"><is><t>Nome</t></is></c></row>\n"
           + rows + "</sheetData></worksheet>";
}

} // namespace

class TestSheetReader : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void textSheets_data();
    void textSheets();
    void producerSheets_data();
    void producerSheets();
    void refusedFiles_data();
    void refusedFiles();
    void hostileWorkbooksStaySmall_data();
    void hostileWorkbooksStaySmall();

private:
    QTemporaryDir m_office;
    QString m_whyNoOffice;
    QHash<QString, QString> m_converted; // format -> file
};

void TestSheetReader::initTestCase()
{
    const QString source = m_office.path() + QStringLiteral("/classe.fods");
    QFile file(source);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(kFlatSheet);
    file.close();
    const QList<QPair<QString, QString>> formats{
        {QStringLiteral("xlsx"), QStringLiteral("xlsx:Calc MS Excel 2007 XML")},
        {QStringLiteral("ods"), QStringLiteral("ods")},
        // Comma, double quote, UTF-8: LibreOffice's own CSV.
        {QStringLiteral("csv"), QStringLiteral("csv:Text - txt - csv (StarCalc):44,34,76,1")},
    };
    for (const auto &format : formats) {
        const QString out = m_office.path() + QLatin1Char('/') + format.first;
        QDir().mkpath(out);
        const QString converted = Office::convert(source, format.second, out, &m_whyNoOffice);
        if (converted.isEmpty())
            return;
        m_converted.insert(format.first, converted);
    }
}

void TestSheetReader::textSheets_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("header");
    QTest::addColumn<Rows>("rows");
    QTest::addColumn<QString>("encoding");
    QTest::addColumn<QString>("separator");

    QTest::newRow("Excel in Italy: semicolons, Windows-1252, CRLF, a quoted line break")
        << cp1252(QStringLiteral("Cognome;Nome;Città;Note\r\n"
                                 "Rossi;Niccolò;Città di Castello;\"prima riga\r\nseconda \"\"citata\"\"\"\r\n"
                                 "Verdi;Zoë;Forlì;€ 5; fine\r\n"))
        << QStringList{"Cognome", "Nome", "Città", "Note"}
        << Rows{{"Rossi", "Niccolò", "Città di Castello", "prima riga\r\nseconda \"citata\""},
                {"Verdi", "Zoë", "Forlì", "€ 5", "fine"}}
        << "Windows-1252" << ";";
    QTest::newRow("UTF-8 with its byte order mark, commas, LF")
        << QByteArray("\xEF\xBB\xBF" "Cognome,Nome,CF\nRossi,\"Anna, Maria\",ABC\n")
        << QStringList{"Cognome", "Nome", "CF"} << Rows{{"Rossi", "Anna, Maria", "ABC"}} << "UTF-8" << ",";
    QTest::newRow("UTF-8 without a mark: Greek kept, empty lines and trailing empty cells left out")
        << QStringLiteral("Cognome;Nome;;\r\n\r\nΠαπαδόπουλος;Νίκος;;\r\n;;;\r\nBianchi;;;\r\n").toUtf8()
        << QStringList{"Cognome", "Nome"} << Rows{{"Παπαδόπουλος", "Νίκος"}, {"Bianchi"}} << "UTF-8" << ";";
    QTest::newRow("tabs between fields")
        << QByteArray("Cognome\tNome\tCorso\nRossi\tAnna\tInglese, livello 2\n")
        << QStringList{"Cognome", "Nome", "Corso"} << Rows{{"Rossi", "Anna", "Inglese, livello 2"}} << "UTF-8"
        << "\t";
    QTest::newRow("last line without its line end")
        << QByteArray("Cognome;Nome\r\nRossi;Anna") << QStringList{"Cognome", "Nome"} << Rows{{"Rossi", "Anna"}}
        << "UTF-8" << ";";
}

void TestSheetReader::textSheets()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, header);
    QFETCH(Rows, rows);
    QFETCH(QString, encoding);
    QFETCH(QString, separator);
    const ImportSheet sheet = SheetReader::readCsv(bytes);
    QCOMPARE(sheet.header, header);
    QCOMPARE(rowsOf(sheet), rows);
    QCOMPARE(sheet.encoding, encoding);
    QCOMPARE(QString(sheet.separator), separator);
}

void TestSheetReader::producerSheets_data()
{
    QTest::addColumn<QString>("format");
    QTest::newRow("xlsx saved by LibreOffice") << "xlsx";
    QTest::newRow("ods saved by LibreOffice") << "ods";
    QTest::newRow("csv saved by LibreOffice") << "csv";
}

void TestSheetReader::producerSheets()
{
    QFETCH(QString, format);
    if (!m_converted.contains(format))
        QSKIP(qPrintable(m_whyNoOffice));
    const ImportSheet sheet = SheetReader::read(m_converted.value(format));
    QCOMPARE(sheet.header, (QStringList{"Cognome", "Nome", "Data di nascita", "CAP", "Città", "Note", "Esito"}));
    QCOMPARE(rowsOf(sheet),
             (Rows{{"D'Annunzio", "Niccolò", "05/03/2008", "06123", "Città di Castello", "prima riga\nseconda \"riga\"",
                    "30"},
                   {"Østergaard", "Zoë", "31/12/1999", "", "", "€ 5; <nota>"}}));
    // Numbered as the spreadsheet shows them, the two empty rows counted.
    QCOMPARE(sheet.rows.at(0).line, 2);
    QCOMPARE(sheet.rows.at(1).line, 5);
}

void TestSheetReader::refusedFiles_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("message");
    QTest::newRow("a workbook that is not a zip") << "rotto.xlsx" << QByteArray("non sono un archivio zip")
                                                  << "Il file rotto.xlsx è danneggiato o non è un foglio di calcolo.";
    QTest::newRow("an ods that is not a zip") << "rotto.ods" << QByteArray("PK")
                                              << "Il file rotto.ods è danneggiato o non è un foglio di calcolo.";
    QTest::newRow("an empty text") << "vuoto.csv" << QByteArray("\r\n\r\n")
                                   << "Il file vuoto.csv è vuoto: la prima riga deve contenere i titoli delle colonne.";
    QTest::newRow("another kind of file") << "foto.jpg" << QByteArray("\xFF\xD8")
                                          << "Il file foto.jpg non è di un tipo che si può importare: si importano "
                                             "file .csv, .xlsx e .ods.";
}

void TestSheetReader::refusedFiles()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, message);
    QTemporaryDir dir;
    const QString path = dir.path() + QLatin1Char('/') + name;
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
    file.close();
    try {
        SheetReader::read(path);
        QFAIL("read");
    } catch (const SheetReadError &refused) {
        QCOMPARE(refused.message(), message);
    }
}

void TestSheetReader::hostileWorkbooksStaySmall_data()
{
    // A few bytes that ask for billions of cells: read within the sheet's
    // bounds (1024 columns, the header's width kept), or refused.
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("part");
    QTest::addColumn<Rows>("rows");
    QTest::addColumn<QString>("message"); // empty: read

    const QByteArray cell = "<table:table-cell><text:p>Rossi</text:p></table:table-cell>";
    QTest::newRow("ods: two billion empty cells before one")
        << "vuote.ods"
        << odsContent("<table:table-row><table:table-cell table:number-columns-repeated=\"2000000000\"/>"
                      "<table:table-cell table:number-columns-repeated=\"2000000000\"/>"
                      + cell + "</table:table-row>")
        << Rows{} << QString();
    QTest::newRow("ods: a cell repeated two billion times")
        << "ripetute.ods"
        << odsContent("<table:table-row><table:table-cell table:number-columns-repeated=\"2000000000\">"
                      "<text:p>Rossi</text:p></table:table-cell></table:table-row>")
        << Rows{QStringList(1024, QStringLiteral("Rossi"))} << QString();
    QTest::newRow("ods: two billion spaces")
        << "spazi.ods"
        << odsContent("<table:table-row><table:table-cell><text:p>A<text:s text:c=\"2000000000\"/>B</text:p>"
                      "</table:table-cell></table:table-row>")
        << Rows{{"A" + QString(1024, QLatin1Char(' ')) + "B"}} << QString();
    QTest::newRow("ods: a row repeated two billion times")
        << "righe.ods"
        << odsContent("<table:table-row table:number-rows-repeated=\"2000000000\">" + cell + "</table:table-row>")
        << Rows{}
        << "Il foglio è troppo grande per importarlo in una volta (più di 1048576 righe, o più di 8388608 celle): "
           "dividerlo in fogli più piccoli.";
    // A wide row (a cell at the 1024th column) on each of 40,000 rows: no
    // more than a megabyte and a half of XML.
    QByteArray wide;
    for (int r = 2; r <= 40001; ++r)
        wide += "<row r=\"" + QByteArray::number(r) + "\"><c r=\"AMJ" + QByteArray::number(r)
                + "\" t=\"inlineStr\"><is><t>x</t></is></c></row>";
    QTest::newRow("xlsx: 40,000 rows a thousand cells wide")
        << "larghe.xlsx" << xlsxSheet(wide) << Rows{}
        << "Il foglio è troppo grande per importarlo in una volta (più di 1048576 righe, o più di 8388608 celle): "
           "dividerlo in fogli più piccoli.";
    QTest::newRow("xlsx: cells at the last column and past any")
        << "colonne.xlsx"
        << xlsxSheet("<row r=\"2\"><c r=\"A2\" t=\"inlineStr\"><is><t>Rossi</t></is></c>"
                     "<c r=\"XFD2\" t=\"inlineStr\"><is><t>lontano</t></is></c>"
                     "<c r=\"ZZZZZZZZZZZZ2\" t=\"inlineStr\"><is><t>oltre</t></is></c></row>")
        << Rows{{"Rossi"}} << QString();
}

void TestSheetReader::hostileWorkbooksStaySmall()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, part);
    QFETCH(Rows, rows);
    QFETCH(QString, message);
    QTemporaryDir dir;
    const QString path = dir.path() + QLatin1Char('/') + name;
    const QList<QPair<QByteArray, QByteArray>> parts =
        name.endsWith(QLatin1String(".ods"))
            ? QList<QPair<QByteArray, QByteArray>>{{"mimetype", "application/vnd.oasis.opendocument.spreadsheet"},
                                                   {"content.xml", part}}
            : QList<QPair<QByteArray, QByteArray>>{{"xl/workbook.xml", "<workbook><sheets><sheet name=\"Foglio1\" "
                                                                       "sheetId=\"1\"/></sheets></workbook>"},
                                                   {"xl/worksheets/sheet1.xml", part}};
    QVERIFY(writeZip(path, parts));
    try {
        const ImportSheet sheet = SheetReader::read(path);
        QVERIFY2(message.isEmpty(), "read, not refused");
        QCOMPARE(sheet.header, (QStringList{"Cognome", "Nome"}));
        QCOMPARE(rowsOf(sheet), rows);
    } catch (const SheetReadError &refused) {
        QCOMPARE(refused.message(), message);
    }
}

QTEST_GUILESS_MAIN(TestSheetReader)
#include "test_sheetreader.moc"
