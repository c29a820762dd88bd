#include "card/cardprintsettings.h"
#include "lockedfile.h"
#include "tempfolder.h"

#include <QFile>

class TestCardPrintSettings : public QObject
{
    Q_OBJECT
private slots:
    void load_data();
    void load();
    void firstSaveWritesTheWholeFile();
    void saveKeepsEveryOtherLine();
    void saveTrimsTheMarginAndStoresNegatives();
    void unwritableFileIsReportedAndLeftAlone();
    void parse_data();
    void parse();
    void step_data();
    void step();
};

void TestCardPrintSettings::load_data()
{
    QTest::addColumn<QByteArray>("content"); // empty: no file at all
    QTest::addColumn<QString>("top");
    QTest::addColumn<QString>("left");
    QTest::addColumn<bool>("landscape");
    QTest::newRow("no file") << QByteArray() << "0" << "0" << false;
    QTest::newRow("stored values")
        << QByteArray("[Margini Stampa]\r\nSuperiore=-3\r\nSinistro=12\r\n\r\n[Stampa Tesserino]\r\nOrientamento=Orizzontale\r\n")
        << "-3" << "12" << true;
    QTest::newRow("empty values")
        << QByteArray("[Margini Stampa]\r\nSuperiore=\r\nSinistro=  \r\n[Stampa Tesserino]\r\nOrientamento=\r\n")
        << "0" << "0" << false;
    QTest::newRow("blanks around the orientation")
        << QByteArray("[Stampa Tesserino]\r\nOrientamento=  Orizzontale \t\r\n") << "0" << "0" << true;
    QTest::newRow("orientation in other case stays portrait")
        << QByteArray("[Stampa Tesserino]\r\nOrientamento=orizzontale\r\n") << "0" << "0" << false;
    QTest::newRow("unknown orientation stays portrait")
        << QByteArray("[Stampa Tesserino]\r\nOrientamento=Diagonale\r\n") << "0" << "0" << false;
    QTest::newRow("hand-edited margins come back as stored")
        << QByteArray("[Margini Stampa]\r\nSuperiore=2,5\r\nSinistro=abc\r\n") << "2,5" << "abc" << false;
    QTest::newRow("section names without case")
        << QByteArray("[MARGINI STAMPA]\r\nsuperiore=7\r\n") << "7" << "0" << false;
}

void TestCardPrintSettings::load()
{
    QFETCH(QByteArray, content);
    QFETCH(QString, top);
    QFETCH(QString, left);
    QFETCH(bool, landscape);
    TempFolder folder;
    if (!content.isEmpty())
        folder.writeFile(QStringLiteral("Tesserini.ini"), content);
    const auto values = CardPrintSettings::load(folder.path(CardPrintSettings::fileName()));
    QCOMPARE(values.top, top);
    QCOMPARE(values.left, left);
    QCOMPARE(values.landscape, landscape);
    // Reading never creates the file.
    QCOMPARE(QFile::exists(folder.path(QStringLiteral("Tesserini.ini"))), !content.isEmpty());
}

void TestCardPrintSettings::firstSaveWritesTheWholeFile()
{
    TempFolder folder;
    const QString path = folder.path(QStringLiteral("Tesserini.ini"));
    QVERIFY(CardPrintSettings::saveTop(path, QStringLiteral("0"), false));
    QVERIFY(CardPrintSettings::saveLeft(path, QStringLiteral("0"), false));
    QCOMPARE(folder.readFile(QStringLiteral("Tesserini.ini")),
             QByteArray("[Margini Stampa]\r\nSuperiore=0\r\nSinistro=0\r\n\r\n"
                        "[Stampa Tesserino]\r\nOrientamento=Verticale\r\n"));
}

void TestCardPrintSettings::saveKeepsEveryOtherLine()
{
    TempFolder folder;
    const QString path = folder.path(QStringLiteral("Tesserini.ini"));
    folder.writeFile(QStringLiteral("Tesserini.ini"),
                     "; stampante della segreteria\r\n[Margini Stampa]\r\nSinistro=4\r\nSuperiore=1\r\n"
                     "Nota=prova\r\n\r\n[Stampa Tesserino]\r\nOrientamento=Verticale\r\n[Altro]\r\nX=1\r\n");
    QVERIFY(CardPrintSettings::saveTop(path, QStringLiteral("-2"), true));
    QVERIFY(CardPrintSettings::saveLeft(path, QStringLiteral("4"), true));
    QCOMPARE(folder.readFile(QStringLiteral("Tesserini.ini")),
             QByteArray("; stampante della segreteria\r\n[Margini Stampa]\r\nSinistro=4\r\nSuperiore=-2\r\n"
                        "Nota=prova\r\n\r\n[Stampa Tesserino]\r\nOrientamento=Orizzontale\r\n[Altro]\r\nX=1\r\n"));
}

void TestCardPrintSettings::saveTrimsTheMarginAndStoresNegatives()
{
    TempFolder folder;
    const QString path = folder.path(QStringLiteral("Tesserini.ini"));
    QVERIFY(CardPrintSettings::saveTop(path, QStringLiteral("  -2\t"), false));
    const auto values = CardPrintSettings::load(path);
    QCOMPARE(values.top, QStringLiteral("-2"));
    QVERIFY(folder.readFile(QStringLiteral("Tesserini.ini")).contains("Superiore=-2\r\n"));
}

void TestCardPrintSettings::unwritableFileIsReportedAndLeftAlone()
{
    TempFolder folder;
    const QString path = folder.path(QStringLiteral("Tesserini.ini"));
    const QByteArray before("[Margini Stampa]\r\nSuperiore=5\r\n");
    folder.writeFile(QStringLiteral("Tesserini.ini"), before);
    {
        LockedFile lockFile(path);
        LockedFile lockFolder(folder.dir.path());
        if (!lockFile.ok() || !lockFolder.ok())
            QSKIP("this file system lets the file be changed all the same");
        QVERIFY(!CardPrintSettings::saveTop(path, QStringLiteral("6"), false));
        QVERIFY(!CardPrintSettings::saveLeft(path, QStringLiteral("6"), false));
    }
    QCOMPARE(folder.readFile(QStringLiteral("Tesserini.ini")), before);
}

void TestCardPrintSettings::parse_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("number");
    QTest::addColumn<double>("mm");
    QTest::newRow("zero") << "0" << true << 0.0;
    QTest::newRow("negative") << "-3" << true << -3.0;
    QTest::newRow("plus sign") << "+4" << true << 4.0;
    QTest::newRow("blanks around") << " 12 \t" << true << 12.0;
    QTest::newRow("decimal comma") << "2,5" << true << 2.5;
    QTest::newRow("negative decimal") << "-0,75" << true << -0.75;
    QTest::newRow("comma first") << ",5" << true << 0.5;
    QTest::newRow("large") << "99999" << true << 99999.0;
    QTest::newRow("decimal point") << "2.5" << false << 0.0;
    QTest::newRow("letters") << "abc" << false << 0.0;
    QTest::newRow("empty") << "" << false << 0.0;
    QTest::newRow("sign alone") << "-" << false << 0.0;
    QTest::newRow("comma alone") << "," << false << 0.0;
    QTest::newRow("exponent") << "1e3" << false << 0.0;
    QTest::newRow("unit typed") << "3 mm" << false << 0.0;
    QTest::newRow("blank inside") << "- 3" << false << 0.0;
}

void TestCardPrintSettings::parse()
{
    QFETCH(QString, text);
    QFETCH(bool, number);
    QFETCH(double, mm);
    const auto value = CardMargin::parse(text);
    QCOMPARE(value.has_value(), number);
    if (number)
        QCOMPARE(*value, mm);
}

void TestCardPrintSettings::step_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("delta");
    QTest::addColumn<QString>("expected"); // null: not steppable
    QTest::newRow("one down") << "1" << -1 << "0";
    QTest::newRow("below zero") << "0" << -1 << "-1";
    QTest::newRow("back to zero") << "-1" << 1 << "0";
    QTest::newRow("up") << "7" << 1 << "8";
    QTest::newRow("blanks and sign") << " +3 " << 1 << "4";
    QTest::newRow("leading zeros") << "007" << -1 << "6";
    QTest::newRow("fraction kept") << "2,5" << -1 << "1,5";
    QTest::newRow("fraction across zero") << "0,5" << -1 << "-0,5";
    QTest::newRow("negative fraction up") << "-0,25" << 1 << "0,75";
    QTest::newRow("decimals as typed") << "2,50" << 1 << "3,50";
    QTest::newRow("large") << "99999" << -1 << "99998";
    QTest::newRow("letters") << "abc" << 1 << QString();
    QTest::newRow("decimal point") << "2.5" << 1 << QString();
    QTest::newRow("empty") << "" << 1 << QString();
    QTest::newRow("too long to count on") << "123456789012345678901234" << 1 << QString();
}

void TestCardPrintSettings::step()
{
    QFETCH(QString, text);
    QFETCH(int, delta);
    QFETCH(QString, expected);
    const auto next = CardMargin::step(text, delta);
    QCOMPARE(next.has_value(), !expected.isNull());
    if (next)
        QCOMPARE(*next, expected);
}

QTEST_GUILESS_MAIN(TestCardPrintSettings)
#include "test_cardprintsettings.moc"
