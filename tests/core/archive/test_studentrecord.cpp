#include "archive/codepage.h"
#include "archive/fieldcodec.h"
#include "archive/studentrecord.h"

#include <QTest>

class TestStudentRecord : public QObject
{
    Q_OBJECT
private slots:
    void layoutIsContiguous();
    void fieldOffsets_data();
    void fieldOffsets();
    void encodeDecode_data();
    void encodeDecode();
    void lengthByteGoverns();
    void lengthAboveCapacityIsCapped();
    void byteLayoutOfSesso();
    void codePage_data();
    void codePage();
    void allBytesRoundTrip();
};

void TestStudentRecord::layoutIsContiguous()
{
    int next = 0;
    for (const auto &item : StudentRecord::layout()) {
        QCOMPARE(item.offset, next);
        next = item.offset + 1 + item.capacity;
    }
    QCOMPARE(next, StudentRecord::Size);
}

void TestStudentRecord::fieldOffsets_data()
{
    QTest::addColumn<int>("field");
    QTest::addColumn<int>("capacity");
    QTest::addColumn<int>("offset");
    QTest::addColumn<QString>("control");
    const struct { StudentRecord::Field f; int cap; int off; const char *control; } rows[] = {
        {StudentRecord::Studente, 50, 0, "txtStudente"},
        {StudentRecord::Sesso, 1, 51, "txtSesso"},
        {StudentRecord::DataNasc, 10, 53, "txtDataNasc"},
        {StudentRecord::Indirizzo, 120, 166, "txtIndirizzo"},
        {StudentRecord::CodFisc, 16, 400, "txtCodFisc"},
        {StudentRecord::Email, 50, 831, "txtEmail"},
        {StudentRecord::Corso, 50, 944, "txtCorso"},
        {StudentRecord::Fine, 10, 1057, "txtFine"},
        {StudentRecord::Assenze, 250, 1068, "txtAssenze"},
        {StudentRecord::Note, 250, 1632, "txtNote"},
        {StudentRecord::File01, 250, 1883, "lblFile01"},
        {StudentRecord::Desc03, 250, 3138, "lblDesc03"},
    };
    for (const auto &r : rows)
        QTest::newRow(StudentRecord::layout()[r.f].name) << int(r.f) << r.cap << r.off << QString::fromLatin1(r.control);
}

void TestStudentRecord::fieldOffsets()
{
    QFETCH(int, field);
    QFETCH(int, capacity);
    QFETCH(int, offset);
    QFETCH(QString, control);
    const auto f = StudentRecord::Field(field);
    QCOMPARE(StudentRecord::layout()[f].capacity, capacity);
    QCOMPARE(StudentRecord::layout()[f].offset, offset);
    QCOMPARE(StudentRecord::controlName(f), control);

    // A value written to this field lands at its offset and nowhere else.
    StudentRecord record;
    record[f] = QStringLiteral("X");
    const QByteArray bytes = record.encode();
    QCOMPARE(bytes.size(), StudentRecord::Size);
    QCOMPARE(int(bytes[offset]), 1);
    QCOMPARE(bytes[offset + 1], 'X');
    QCOMPARE(bytes.count('X'), 1);
}

void TestStudentRecord::encodeDecode_data()
{
    QTest::addColumn<int>("field");
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("stored"); // what reading back gives
    const QString fifty(50, QLatin1Char('a'));
    QTest::newRow("exactly the capacity") << int(StudentRecord::Studente) << fifty << fifty;
    QTest::newRow("one more is cut") << int(StudentRecord::Studente) << fifty + QLatin1Char('b') << fifty;
    QTest::newRow("sesso one letter") << int(StudentRecord::Sesso) << QStringLiteral("FM") << QStringLiteral("F");
    QTest::newRow("codfisc 16") << int(StudentRecord::CodFisc) << QStringLiteral("RSSMRA80A01H501UX") << QStringLiteral("RSSMRA80A01H501U");
    QTest::newRow("blanks around") << int(StudentRecord::Studente) << QStringLiteral("  Rossi Mario  ") << QStringLiteral("Rossi Mario");
    QTest::newRow("control chars around") << int(StudentRecord::Note) << QStringLiteral("\t\r\nnota\x01") << QStringLiteral("nota");
    QTest::newRow("inner blanks kept") << int(StudentRecord::Note) << QStringLiteral("a  b") << QStringLiteral("a  b");
    QTest::newRow("accents") << int(StudentRecord::Citta) << QStringLiteral("Forlì Cesena àèéìòù") << QStringLiteral("Forlì Cesena àèéìòù");
    QTest::newRow("euro and quotes") << int(StudentRecord::Note) << QStringLiteral("€ “x” – ok") << QStringLiteral("€ “x” – ok");
    QTest::newRow("greek becomes ?") << int(StudentRecord::Studente) << QStringLiteral("Αθήνα") << QStringLiteral("?????");
    QTest::newRow("emoji is one ?") << int(StudentRecord::Note) << QStringLiteral("a😀b") << QStringLiteral("a?b");
    QTest::newRow("empty") << int(StudentRecord::Note) << QString() << QString();
    QTest::newRow("only blanks") << int(StudentRecord::Note) << QStringLiteral("   ") << QString();
    const QString long300(300, QLatin1Char('z'));
    QTest::newRow("250 capacity of 300") << int(StudentRecord::Note) << long300 << QString(250, QLatin1Char('z'));
}

void TestStudentRecord::encodeDecode()
{
    QFETCH(int, field);
    QFETCH(QString, input);
    QFETCH(QString, stored);
    StudentRecord record;
    record[StudentRecord::Field(field)] = input;
    const StudentRecord back = StudentRecord::decode(record.encode());
    QCOMPARE(back[StudentRecord::Field(field)], stored);
}

void TestStudentRecord::lengthByteGoverns()
{
    QByteArray bytes(StudentRecord::Size, 'Q'); // garbage everywhere
    for (const auto &item : StudentRecord::layout())
        bytes[item.offset] = 0;
    bytes[0] = 5;
    bytes.replace(1, 5, "Verdi");
    const StudentRecord record = StudentRecord::decode(bytes);
    QCOMPARE(record[StudentRecord::Studente], QStringLiteral("Verdi"));
    QCOMPARE(record[StudentRecord::Sesso], QString());
    QCOMPARE(record[StudentRecord::Desc03], QString());
}

void TestStudentRecord::lengthAboveCapacityIsCapped()
{
    QByteArray bytes(StudentRecord::Size, 'W');
    for (const auto &item : StudentRecord::layout())
        bytes[item.offset] = char(0xFF);
    const StudentRecord record = StudentRecord::decode(bytes);
    for (int f = 0; f < StudentRecord::FieldCount; ++f) {
        const auto &item = StudentRecord::layout()[f];
        // Capped at the capacity: never reads into the next field's length byte.
        QCOMPARE(record[StudentRecord::Field(f)], QString(item.capacity, QLatin1Char('W')));
    }
}

void TestStudentRecord::byteLayoutOfSesso()
{
    StudentRecord record;
    record[StudentRecord::Sesso] = QStringLiteral("F");
    const QByteArray bytes = record.encode();
    QCOMPARE(int(bytes[51]), 1);
    QCOMPARE(int(uchar(bytes[52])), 0x46);
    QCOMPARE(int(bytes[1632]), 0);
}

void TestStudentRecord::codePage_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("ascii") << QStringLiteral("Abc 1") << QByteArray("Abc 1");
    QTest::newRow("latin1") << QStringLiteral("àé") << QByteArray("\xE0\xE9");
    QTest::newRow("euro") << QStringLiteral("€") << QByteArray("\x80");
    QTest::newRow("s caron, oe") << QStringLiteral("šœŸ") << QByteArray("\x9A\x9C\x9F");
    QTest::newRow("unmappable") << QStringLiteral("ЖΩ") << QByteArray("??");
    QTest::newRow("not 0x1A") << QStringLiteral("漢") << QByteArray("?");
}

void TestStudentRecord::codePage()
{
    QFETCH(QString, text);
    QFETCH(QByteArray, bytes);
    QCOMPARE(CodePage::fromUnicode(text), bytes);
    if (!bytes.contains('?'))
        QCOMPARE(CodePage::toUnicode(bytes), text);
}

void TestStudentRecord::allBytesRoundTrip()
{
    QByteArray all;
    for (int b = 0; b < 256; ++b)
        all.append(char(b));
    QCOMPARE(CodePage::fromUnicode(CodePage::toUnicode(all)), all);
}

QTEST_APPLESS_MAIN(TestStudentRecord)
#include "test_studentrecord.moc"
