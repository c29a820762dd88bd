// The .xlsx and .ods files as LibreOffice reads them: every cell text,
// exactly as given, never a number, date or formula; the header bold and
// frozen; the columns as wide as asked; a table longer than a sheet going on
// in a second one. And the failures, after which the target is as it was.

#include "sheet/tablewriter.h"

#include "archive/datafolder.h"
#include "archive/recordfile.h"
#include "hostileentries.h"
#include "lockedfile.h"
#include "officefile.h"
#include "tempfolder.h"

#include <QDir>
#include <QFile>
#include <QMap>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

Q_DECLARE_METATYPE(TableWriter::Format)

namespace {

// Values a spreadsheet program would re-type, and texts that test the file's
// own encoding; each goes into column B of its row, its name into column A.
const QList<QPair<const char *, QString>> &values()
{
    static const QList<QPair<const char *, QString>> table{
        {"CAP with a leading zero", QStringLiteral("06123")},
        {"mobile number with 00", QStringLiteral("0039333123")},
        {"international prefix", QStringLiteral("+39 333 1234567")},
        {"formula", QStringLiteral("=1+1")},
        {"formula with a function", QStringLiteral("=SOMMA(A1:A2)")},
        {"exponent", QStringLiteral("3e5")},
        {"decimal comma", QStringLiteral("1,50")},
        {"decimal point", QStringLiteral("1.50")},
        {"percentage", QStringLiteral("10%")},
        {"negative in brackets", QStringLiteral("(12)")},
        {"date as typed", QStringLiteral("01/02/2026")},
        {"ISO date", QStringLiteral("2026-02-01")},
        {"time", QStringLiteral("12:30")},
        {"fraction", QStringLiteral("1/2")},
        {"boolean word", QStringLiteral("TRUE")},
        {"leading apostrophe", QStringLiteral("'quoted")},
        {"accents and euro", QStringLiteral("Città, perché, € 150,00 – «ottimo»")},
        {"outside Windows-1252", QStringLiteral("Zoë Ωmega 日本 😀")},
        {"markup characters", QStringLiteral("Rossi & Figli <s.r.l.> \"Roma\" </t></c>")},
        {"inner spaces kept", QStringLiteral("a  b   c")},
        {"leading and trailing spaces", QStringLiteral("  spazi  ")},
        {"Excel escape look-alike", QStringLiteral("_x0041_")},
        {"long text", QString(300, u'x')},
    };
    return table;
}

QString sheetName()
{
    return QStringLiteral("Archivio Studenti");
}

QList<TableWriter::Column> columns()
{
    return {{QStringLiteral("Caso"), 200}, {QStringLiteral("Valore"), 400}, {QStringLiteral("Città"), 100}};
}

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QStringList entries(const QString &folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
}

using Format = TableWriter::Format;

QString extension(Format format)
{
    return format == Format::Ods ? QStringLiteral("ods") : QStringLiteral("xlsx");
}

// Writes a small table to `path`; true when it was written.
bool writeSmall(Format format, const QString &path)
{
    try {
        const auto out = TableWriter::open(format, path, sheetName(), columns());
        out->appendRow({QStringLiteral("nuovo"), QStringLiteral("foglio")});
        out->commit();
        return true;
    } catch (const FileAccessError &) {
        return false;
    }
}

// One member of a package, or empty (with a warning) when unzip is missing.
QByteArray unzipped(const QString &package, const QString &member)
{
    if (QStandardPaths::findExecutable(QStringLiteral("unzip")).isEmpty()) {
        qWarning("unzip is not installed: the package's own markup is not checked");
        return {};
    }
    QProcess unzip;
    unzip.start(QStringLiteral("unzip"), {QStringLiteral("-p"), package, member});
    unzip.waitForFinished(5 * 60 * 1000);
    return unzip.readAllStandardOutput();
}

} // namespace

class TestTableWriter : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cellKeepsItsText_data();
    void cellKeepsItsText();
    void headerBoldFrozenAndWidths_data();
    void headerBoldFrozenAndWidths();
    void rowsShorterOrLongerThanTheHeader_data();
    void rowsShorterOrLongerThanTheHeader();
    void failureLeavesTargetAsItWas_data();
    void failureLeavesTargetAsItWas();
    void odsSpacesAsTheFormatSpellsThem();
    void unfinishedWriterLeavesNothing_data();
    void unfinishedWriterLeavesNothing();
    void longTableGoesOnInASecondSheet_data();
    void longTableGoesOnInASecondSheet();

private:
    QString path(Format format) const;
    void formats();

    QTemporaryDir m_work;
    QMap<Format, Office::Sheet> m_sheets;
    QMap<Format, QString> m_skip;
};

QString TestTableWriter::path(Format format) const
{
    return m_work.filePath(QStringLiteral("valori-") + extension(format) + QLatin1Char('.') + extension(format));
}

// One row a format.
void TestTableWriter::formats()
{
    QTest::addColumn<Format>("format");
    QTest::newRow("xlsx") << Format::Xlsx;
    QTest::newRow("ods") << Format::Ods;
}

void TestTableWriter::initTestCase()
{
    for (const Format format : {Format::Xlsx, Format::Ods}) {
        const auto out = TableWriter::open(format, path(format), sheetName(), columns());
        for (const auto &value : values())
            out->appendRow({QString::fromUtf8(value.first), value.second, QStringLiteral("x")});
        out->appendRow({QStringLiteral("short row")});
        out->appendRow({QStringLiteral("long row"), QStringLiteral("b"), QStringLiteral("c"), QStringLiteral("dropped")});
        out->commit();

        QString why;
        const QString fods = Office::convert(path(format), QStringLiteral("fods"), m_work.path(), &why);
        if (fods.isEmpty())
            m_skip.insert(format, why);
        else
            m_sheets.insert(format, Office::readFods(fods));
    }
}

void TestTableWriter::cellKeepsItsText_data()
{
    QTest::addColumn<Format>("format");
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("value");
    for (const Format format : {Format::Xlsx, Format::Ods})
        for (int i = 0; i < values().size(); ++i)
            QTest::addRow("%s: %s", qPrintable(extension(format)), values()[i].first) << format << i + 1
                                                                                     << values()[i].second;
}

void TestTableWriter::cellKeepsItsText()
{
    QFETCH(Format, format);
    QFETCH(int, row);
    QFETCH(QString, value);
    if (m_skip.contains(format))
        QSKIP(qPrintable(m_skip.value(format)));
    const Office::Sheet::Cell &cell = m_sheets[format].cell(row, 1);
    QCOMPARE(cell.text, value);
    QCOMPARE(cell.type, QStringLiteral("string"));
    QVERIFY(!cell.bold);
}

void TestTableWriter::headerBoldFrozenAndWidths_data()
{
    formats();
}

void TestTableWriter::headerBoldFrozenAndWidths()
{
    QFETCH(Format, format);
    if (m_skip.contains(format))
        QSKIP(qPrintable(m_skip.value(format)));
    const Office::Sheet &sheet = m_sheets[format];
    QCOMPARE(sheet.name, sheetName());
    for (int c = 0; c < columns().size(); ++c) {
        QCOMPARE(sheet.cell(0, c).text, columns()[c].header);
        QCOMPARE(sheet.cell(0, c).type, QStringLiteral("string"));
        QVERIFY(sheet.cell(0, c).bold);
    }
    // Frozen below the first row and nowhere else: LibreOffice keeps no view
    // settings headless, so the package's own markup says it.
    if (format == Format::Xlsx) {
        const QByteArray markup = unzipped(path(format), QStringLiteral("xl/worksheets/sheet1.xml"));
        if (!markup.isEmpty())
            QVERIFY(markup.contains(
                "<pane ySplit=\"1\" topLeftCell=\"A2\" activePane=\"bottomLeft\" state=\"frozen\"/>"));
    } else {
        const QByteArray markup = unzipped(path(format), QStringLiteral("settings.xml"));
        if (!markup.isEmpty()) {
            const QByteArray entry = markup.mid(markup.indexOf("config:name=\"Archivio Studenti\""));
            for (const char *item : {"\"HorizontalSplitMode\" config:type=\"short\">0<",
                                     "\"VerticalSplitMode\" config:type=\"short\">2<",
                                     "\"VerticalSplitPosition\" config:type=\"int\">1<"})
                QVERIFY2(entry.contains(item), item);
        }
    }
    // The widths in proportion to one another: a sheet's unit is a character
    // of its default font, which each program draws at its own size (Excel
    // gives back the pixels, LibreOffice as many points).
    QVERIFY(sheet.columnInches.size() >= columns().size());
    for (int c = 1; c < columns().size(); ++c) {
        const double ratio = sheet.columnInches[c] / sheet.columnInches[0];
        const double wanted = double(columns()[c].widthPixels) / columns()[0].widthPixels;
        if (qAbs(ratio - wanted) > wanted * 0.05)
            QFAIL(qPrintable(QStringLiteral("column %1 is %2 times as wide as the first, not %3")
                                 .arg(c)
                                 .arg(ratio)
                                 .arg(wanted)));
    }
}

void TestTableWriter::rowsShorterOrLongerThanTheHeader_data()
{
    formats();
}

void TestTableWriter::rowsShorterOrLongerThanTheHeader()
{
    QFETCH(Format, format);
    if (m_skip.contains(format))
        QSKIP(qPrintable(m_skip.value(format)));
    const Office::Sheet &sheet = m_sheets[format];
    const int shortRow = int(values().size()) + 1;
    QCOMPARE(sheet.cell(shortRow, 0).text, QStringLiteral("short row"));
    QCOMPARE(sheet.rows[shortRow].size(), 1);
    QCOMPARE(sheet.rows[shortRow + 1].size(), 3);
    QCOMPARE(sheet.rows.size(), shortRow + 2);
}

void TestTableWriter::failureLeavesTargetAsItWas_data()
{
    QTest::addColumn<Format>("format");
    QTest::addColumn<QString>("cause");
    const QList<QPair<const char *, const char *>> causes{
        {"target marked read-only", "read-only"},
        {"target locked", "locked"},
        {"folder takes no new file", "folder locked"},
        {"a folder has the target's name", "folder"},
        {"target's folder missing", "missing folder"},
        {"link planted in the data folder", "link"},
        {"pipe planted in the data folder", "pipe"},
    };
    for (const Format format : {Format::Xlsx, Format::Ods})
        for (const auto &cause : causes)
            QTest::addRow("%s: %s", qPrintable(extension(format)), cause.first)
                << format << QString::fromLatin1(cause.second);
}

void TestTableWriter::failureLeavesTargetAsItWas()
{
    QFETCH(Format, format);
    QFETCH(QString, cause);
    TempFolder data;
    QTemporaryDir outside;
    const QString outsideFile = outside.filePath(QStringLiteral("altrove.xlsx"));
    QVERIFY(Hostile::writeBytes(outsideFile, "di qualcun altro"));
    QString target = data.path(QStringLiteral("Archivio_Studenti.") + extension(format));
    const QByteArray previous = "il foglio di prima";

    std::unique_ptr<LockedFile> locked;
    if (cause == QLatin1String("folder")) {
        QVERIFY(QDir().mkpath(target));
        QVERIFY(Hostile::writeBytes(target + QStringLiteral("/appunti.txt"), previous));
    } else if (cause == QLatin1String("missing folder")) {
        target = data.path(QStringLiteral("manca/Archivio_Studenti.") + extension(format));
    } else if (cause == QLatin1String("link")) {
        QVERIFY(Hostile::makeLink(outsideFile, target));
    } else if (cause == QLatin1String("pipe")) {
        QVERIFY(Hostile::makePipe(target));
    } else {
        QVERIFY(Hostile::writeBytes(target, previous));
        if (cause == QLatin1String("read-only")) {
            QVERIFY(QFile::setPermissions(target, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
        } else {
            locked = std::make_unique<LockedFile>(cause == QLatin1String("locked") ? target : QDir(data.folder).absolutePath());
            if (!locked->ok())
                QSKIP("this file system cannot lock the file or folder");
        }
    }
    const QStringList before = entries(data.folder);

    QVERIFY(!writeSmall(format, target));

    QCOMPARE(entries(data.folder), before);
    QCOMPARE(readAll(outsideFile), QByteArray("di qualcun altro"));
    if (cause == QLatin1String("folder"))
        QCOMPARE(readAll(target + QStringLiteral("/appunti.txt")), previous);
    else if (cause == QLatin1String("link"))
        QVERIFY(QFileInfo(target).isSymLink());
    else if (cause != QLatin1String("missing folder") && cause != QLatin1String("pipe"))
        QCOMPARE(readAll(target), previous);

    // Once the cause is gone the same path takes the workbook.
    locked.reset();
    if (cause == QLatin1String("read-only"))
        QVERIFY(QFile::setPermissions(target, QFile::ReadOwner | QFile::WriteOwner));
    else if (cause == QLatin1String("folder"))
        QVERIFY(QDir(target).removeRecursively());
    else if (cause == QLatin1String("missing folder"))
        QVERIFY(QDir().mkpath(QFileInfo(target).absolutePath()));
    else if (cause == QLatin1String("link") || cause == QLatin1String("pipe"))
        QVERIFY(QFile::remove(target));
    QVERIFY(writeSmall(format, target));
    QVERIFY(readAll(target).startsWith("PK\x03\x04"));
}

// OpenDocument readers fold runs of spaces and drop them at a paragraph's
// ends unless they are written as space elements. LibreOffice keeps them
// either way, so the markup itself is checked.
void TestTableWriter::odsSpacesAsTheFormatSpellsThem()
{
    const QByteArray content = unzipped(path(Format::Ods), QStringLiteral("content.xml"));
    if (content.isEmpty())
        QSKIP("unzip is not installed");
    QVERIFY(content.contains("<text:p>a<text:s text:c=\"2\"/>b<text:s text:c=\"3\"/>c</text:p>"));
    QVERIFY(content.contains("<text:p><text:s text:c=\"2\"/>spazi<text:s text:c=\"2\"/></text:p>"));
    QVERIFY(content.contains("<text:p>Rossi &amp; Figli &lt;s.r.l.&gt; \"Roma\" &lt;/t&gt;&lt;/c&gt;</text:p>"));
}

void TestTableWriter::unfinishedWriterLeavesNothing_data()
{
    formats();
}

void TestTableWriter::unfinishedWriterLeavesNothing()
{
    QFETCH(Format, format);
    TempFolder data;
    const QString name = QStringLiteral("Archivio_Studenti.") + extension(format);
    const QString target = data.path(name);
    QVERIFY(Hostile::writeBytes(target, "il foglio di prima"));
    {
        const auto out = TableWriter::open(format, target, sheetName(), columns());
        out->appendRow({QStringLiteral("mai"), QStringLiteral("scritto")});
        // Dropped without commit(): an action ended by a failure elsewhere.
    }
    QCOMPARE(readAll(target), QByteArray("il foglio di prima"));
    QCOMPARE(entries(data.folder), QStringList{name});
}

void TestTableWriter::longTableGoesOnInASecondSheet_data()
{
    formats();
}

// A sheet holds 1,048,576 rows: the header and 1,048,575 of the table. The
// next row opens a second sheet, with the header again.
void TestTableWriter::longTableGoesOnInASecondSheet()
{
    QFETCH(Format, format);
    const QString target = m_work.filePath(QStringLiteral("lunga.") + extension(format));
    {
        const auto out = TableWriter::open(format, target, sheetName(), columns());
        QStringList row{QString()};
        for (qint64 r = 1; r <= TableWriter::RowsPerSheet + 1; ++r) {
            row[0] = QString::number(r);
            out->appendRow(row);
        }
        out->commit();
    }
    if (format == Format::Xlsx) {
        const QByteArray first = unzipped(target, QStringLiteral("xl/worksheets/sheet1.xml"));
        if (first.isEmpty())
            return;
        QVERIFY(first.contains("<dimension ref=\"A1:C1048576\"/>"));
        QVERIFY(first.contains("<t>1048575</t>"));
        QVERIFY(!first.contains("<t>1048576</t>"));
        const QByteArray second = unzipped(target, QStringLiteral("xl/worksheets/sheet2.xml"));
        QVERIFY(second.contains("<t>Caso</t>"));
        QVERIFY(second.contains("<c r=\"A2\" s=\"2\" t=\"inlineStr\"><is><t>1048576</t></is></c>"));
        QVERIFY(unzipped(target, QStringLiteral("xl/workbook.xml")).contains("name=\"Archivio Studenti (2)\""));
    } else {
        const QByteArray content = unzipped(target, QStringLiteral("content.xml"));
        if (content.isEmpty())
            return;
        const qsizetype second = content.indexOf("<table:table table:name=\"Archivio Studenti (2)\"");
        QVERIFY(second > 0);
        QCOMPARE(content.count("<table:table-row>"), 2 * 1 + TableWriter::RowsPerSheet + 1);
        QVERIFY(content.lastIndexOf("<text:p>1048575</text:p>") < second);
        QVERIFY(content.indexOf("<text:p>1048576</text:p>") > second);
        QVERIFY(content.indexOf("<text:p>Caso</text:p>", second) > second);
    }
}

QTEST_GUILESS_MAIN(TestTableWriter)
#include "test_tablewriter.moc"
