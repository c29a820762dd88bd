#include "register/testlist.h"
#include "register/testrecord.h"

#include <QtTest>

class TestTestRecord : public QObject
{
    Q_OBJECT

private slots:
    void layout_data();
    void layout();
    void encodeCutsTrimsAndZeroes();
    void decodeIgnoresBytesBeyondLength();
    void roundTripKeepsCodePageCharacters();

    void listLine_data();
    void listLine();

    void finder_data();
    void finder();
    void finderStepsThroughMatchesInACircle();
};

void TestTestRecord::layout_data()
{
    QTest::addColumn<int>("field");
    QTest::addColumn<int>("offset");
    QTest::addColumn<int>("capacity");
    QTest::addColumn<QString>("control");
    QTest::newRow("Data") << int(TProva::Data) << 0 << 10 << "txtData";
    QTest::newRow("Prova") << int(TProva::Prova) << 11 << 50 << "txtProva";
    QTest::newRow("Docente") << int(TProva::Docente) << 62 << 28 << "txtDocente";
    QTest::newRow("Aula") << int(TProva::Aula) << 91 << 28 << "txtAula";
    QTest::newRow("Esito") << int(TProva::Esito) << 120 << 28 << "txtEsito";
}

void TestTestRecord::layout()
{
    QFETCH(int, field);
    QFETCH(int, offset);
    QFETCH(int, capacity);
    QFETCH(QString, control);

    const TProva::FieldLayout &f = TProva::layout().at(field);
    QCOMPARE(int(f.field), field);
    QCOMPARE(f.offset, offset);
    QCOMPARE(f.capacity, capacity);
    QCOMPARE(QString::fromLatin1(f.control), control);

    // A full field lands at its offset: length byte, then the characters.
    TProva test;
    test[TProva::Field(field)] = QString(capacity, QLatin1Char('x'));
    const QByteArray bytes = test.encode();
    QCOMPARE(bytes.size(), 149);
    QCOMPARE(int(quint8(bytes.at(offset))), capacity);
    QCOMPARE(bytes.mid(offset + 1, capacity), QByteArray(capacity, 'x'));
    QCOMPARE(TProva::decode(bytes)[TProva::Field(field)], test[TProva::Field(field)]);
}

void TestTestRecord::encodeCutsTrimsAndZeroes()
{
    TProva test;
    test[TProva::Data] = QStringLiteral("  08/12/2026  ");
    test[TProva::Prova] = QString(60, QLatin1Char('p'));
    test[TProva::Esito] = QStringLiteral("\tBuono\r\n");
    const QByteArray bytes = test.encode();

    QCOMPARE(bytes.mid(0, 11), QByteArray("\x0A" "08/12/2026"));
    QCOMPARE(int(quint8(bytes.at(11))), 50);
    QCOMPARE(bytes.mid(12, 50), QByteArray(50, 'p'));
    QCOMPARE(int(quint8(bytes.at(62))), 0); // empty Docente
    QCOMPARE(bytes.mid(63, 28), QByteArray(28, '\0'));
    QCOMPARE(bytes.mid(120, 6), QByteArray("\x05" "Buono"));
    QCOMPARE(bytes.mid(126), QByteArray(23, '\0'));
}

void TestTestRecord::decodeIgnoresBytesBeyondLength()
{
    QByteArray bytes(149, 'Z');
    bytes[0] = 3;          // Data "ZZZ", the rest of its bytes ignored
    bytes[11] = 0;         // empty Prova
    bytes[62] = char(200); // length beyond capacity: capped at 28
    bytes[91] = 2;
    bytes[92] = ' ';       // " Z": trimmed
    bytes[120] = 1;
    const TProva test = TProva::decode(bytes);
    QCOMPARE(test[TProva::Data], QStringLiteral("ZZZ"));
    QCOMPARE(test[TProva::Prova], QString());
    QCOMPARE(test[TProva::Docente], QString(28, QLatin1Char('Z')));
    QCOMPARE(test[TProva::Aula], QStringLiteral("Z"));
    QCOMPARE(test[TProva::Esito], QStringLiteral("Z"));

    // A short record (a fragment at the end of a file) gives empty fields.
    const TProva partial = TProva::decode(bytes.left(70));
    QCOMPARE(partial[TProva::Data], QStringLiteral("ZZZ"));
    QCOMPARE(partial[TProva::Docente], QString());
}

void TestTestRecord::roundTripKeepsCodePageCharacters()
{
    TProva test;
    test[TProva::Prova] = QStringLiteral("Verifica di Italiano: più € e perché");
    test[TProva::Docente] = QStringLiteral("Niccolò D'Agostino");
    const QByteArray bytes = test.encode();
    QVERIFY(bytes.contains("pi\xF9 \x80 e perch\xE9"));
    const TProva back = TProva::decode(bytes);
    QCOMPARE(back[TProva::Prova], test[TProva::Prova]);
    QCOMPARE(back[TProva::Docente], test[TProva::Docente]);
}

void TestTestRecord::listLine_data()
{
    QTest::addColumn<QStringList>("fields");
    QTest::addColumn<QString>("line");

    QTest::newRow("short fields padded")
        << QStringList{"08/12/2026", "Scritto", "Rossi", "A1", "Buono"}
        << QStringLiteral("Scritto") + QString(38, ' ') + "   Data: 08/12/2026  Docente: Rossi" + QString(19, ' ')
               + "  Aula: A1" + QString(18, ' ') + "  Esito: Buono";
    QTest::newRow("long fields cut")
        << QStringList{"1/1/26", QString(50, 'p'), QString(28, 'd'), QString(28, 'a'), QString(28, 'e')}
        << QString(45, 'p') + "   Data: 1/1/26      Docente: " + QString(24, 'd') + "  Aula: " + QString(20, 'a')
               + "  Esito: " + QString(28, 'e');
    QTest::newRow("empty esito not padded")
        << QStringList{"x", "y", "z", "w", ""}
        << QStringLiteral("y") + QString(44, ' ') + "   Data: x" + QString(9, ' ') + "  Docente: z" + QString(23, ' ') + "  Aula: w"
               + QString(19, ' ') + "  Esito: ";
    QTest::newRow("fields trimmed")
        << QStringList{" 2/2/26 ", "  Orale ", " Bianchi", "B2 ", "  8  "}
        << QStringLiteral("Orale") + QString(40, ' ') + "   Data: 2/2/26      Docente: Bianchi" + QString(17, ' ')
               + "  Aula: B2" + QString(18, ' ') + "  Esito: 8";
}

void TestTestRecord::listLine()
{
    QFETCH(QStringList, fields);
    QFETCH(QString, line);
    TProva test;
    for (int i = 0; i < TProva::FieldCount; ++i)
        test.fields[i] = fields.at(i);
    QCOMPARE(TestList::line(test), line);
    // The columns line up: the literals sit at fixed places.
    QCOMPARE(line.indexOf(QStringLiteral("   Data: ")), 45);
    QCOMPARE(line.indexOf(QStringLiteral("  Docente: ")), 64);
    QCOMPARE(line.indexOf(QStringLiteral("  Aula: ")), 99);
    QCOMPARE(line.indexOf(QStringLiteral("  Esito: ")), 127);
}

void TestTestRecord::finder_data()
{
    QTest::addColumn<QStringList>("entries");
    QTest::addColumn<int>("selected");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("found");

    const QStringList entries{"Scritto Rossi", "Orale Bianchi", "Pratico ROSSI", "Orale Verdi"};
    QTest::newRow("new search tests entry 0 first") << entries << 3 << "scritto" << 0;
    QTest::newRow("case ignored for A to Z") << entries << 0 << "VERDI" << 3;
    QTest::newRow("new search ignores selection") << entries << 3 << "rossi" << 0;
    QTest::newRow("found nowhere") << entries << 1 << "gialli" << -1;
    QTest::newRow("empty text matches nothing") << entries << 0 << "" << -1;
    QTest::newRow("blanks are part of the text") << entries << 0 << "e b" << 1;
    QTest::newRow("accented letters compared as they are")
        << QStringList{"Perché", "PERCHÉ"} << 0 << QStringLiteral("perché") << 0;
    QTest::newRow("accented capital not lowered")
        << QStringList{"PERCHÉ", "x"} << 0 << QStringLiteral("perché") << -1;
    QTest::newRow("empty list") << QStringList() << 0 << "x" << -1;
}

void TestTestRecord::finder()
{
    QFETCH(QStringList, entries);
    QFETCH(int, selected);
    QFETCH(QString, text);
    QFETCH(int, found);
    TestListFinder finder;
    QCOMPARE(finder.find(entries, selected, text), found);
}

void TestTestRecord::finderStepsThroughMatchesInACircle()
{
    const QStringList entries{"a", "b", "match one", "c", "d", "MATCH two", "e"};
    TestListFinder finder;
    int selected = 0;
    const QList<int> expected{2, 5, 2, 5};
    for (int want : expected) {
        selected = finder.find(entries, selected, QStringLiteral("match"));
        QCOMPARE(selected, want);
    }
    // A single match found again and again from itself.
    QCOMPARE(finder.find(entries, 3, QStringLiteral("two")), 5);
    QCOMPARE(finder.find(entries, 5, QStringLiteral("two")), 5);
    // Changing the text starts again from entry 0.
    QCOMPARE(finder.find(entries, 5, QStringLiteral("a")), 0);
    QCOMPARE(finder.find(entries, 0, QStringLiteral("a")), 2);
    // After a reset the same text is a new search again.
    finder.reset();
    QCOMPARE(finder.find(entries, 2, QStringLiteral("a")), 0);
}

QTEST_MAIN(TestTestRecord)
#include "test_testrecord.moc"
