// The student window's rules that need no widget.
#include "students/studentform.h"

#include <QSet>
#include <QtTest>

class TestStudentForm : public QObject
{
    Q_OBJECT

private slots:
    void everyCardFieldHasOneEdit();
    void upperAsciiTrimmed_data();
    void upperAsciiTrimmed();
    void isAllDigits_data();
    void isAllDigits();
    void parsePosition_data();
    void parsePosition();
    void firstMissingFollowsTheOrder();
};

void TestStudentForm::everyCardFieldHasOneEdit()
{
    QSet<int> seen;
    for (const auto &item : StudentForm::edits()) {
        QVERIFY(item.field < StudentRecord::File01);
        QVERIFY2(!seen.contains(item.field), item.captionName);
        seen.insert(item.field);
    }
    QCOMPARE(seen.size(), 26);
}

void TestStudentForm::upperAsciiTrimmed_data()
{
    QTest::addColumn<QString>("in");
    QTest::addColumn<QString>("out");
    QTest::newRow("lower") << "rssmra" << "RSSMRA";
    QTest::newRow("mixed with digits") << "ab12cD" << "AB12CD";
    QTest::newRow("blanks and controls at the ends") << "\t m \n" << "M";
    QTest::newRow("inner blank kept") << "a b" << "A B";
    QTest::newRow("accented letters unchanged") << "àéz" << "àéZ";
    QTest::newRow("german sharp s unchanged") << "ß" << "ß";
    QTest::newRow("empty") << "" << "";
}

void TestStudentForm::upperAsciiTrimmed()
{
    QFETCH(QString, in);
    QFETCH(QString, out);
    QCOMPARE(StudentForm::upperAsciiTrimmed(in), out);
}

void TestStudentForm::isAllDigits_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("digits");
    QTest::newRow("eleven digits") << "01234567897" << true;
    QTest::newRow("empty") << "" << true;
    QTest::newRow("ten digits and a letter") << "0123456789X" << false;
    QTest::newRow("inner blank") << "123 456" << false;
    QTest::newRow("arabic-indic digit") << QString::fromUtf8("12\u0663") << false;
    QTest::newRow("fullwidth digit") << QString::fromUtf8("\uFF11") << false;
}

void TestStudentForm::isAllDigits()
{
    QFETCH(QString, text);
    QFETCH(bool, digits);
    QCOMPARE(StudentForm::isAllDigits(text), digits);
}

void TestStudentForm::parsePosition_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<qint64>("value"); // -1000: no number (new card)
    QTest::newRow("empty: new card") << "" << true << qint64(-1000);
    QTest::newRow("blanks: new card") << "  " << true << qint64(-1000);
    QTest::newRow("number") << "12" << true << qint64(12);
    QTest::newRow("number with blanks") << " 7 " << true << qint64(7);
    QTest::newRow("zero") << "0" << true << qint64(0);
    QTest::newRow("negative") << "-3" << true << qint64(-3);
    QTest::newRow("word") << "tre" << false << qint64(-1000);
    QTest::newRow("digits then letters") << "2a" << false << qint64(-1000);
    QTest::newRow("hexadecimal") << "0x1A" << false << qint64(-1000);
    QTest::newRow("sign alone") << "-" << false << qint64(-1000);
    QTest::newRow("too long") << "99999999999999999999" << false << qint64(-1000);
}

void TestStudentForm::parsePosition()
{
    QFETCH(QString, text);
    QFETCH(bool, ok);
    QFETCH(qint64, value);
    bool valid = false;
    const auto parsed = StudentForm::parsePosition(text, &valid);
    QCOMPARE(valid, ok);
    QCOMPARE(parsed.value_or(-1000), value);
}

void TestStudentForm::firstMissingFollowsTheOrder()
{
    StudentRecord card;
    const auto &required = StudentForm::requiredFields();
    for (const auto &field : required) {
        const auto missing = StudentForm::firstMissing(card);
        QVERIFY(missing);
        QCOMPARE(missing->field, field.field);
        card[field.field] = QStringLiteral(" \t"); // blanks only still count as empty
        QCOMPARE(StudentForm::firstMissing(card)->field, field.field);
        card[field.field] = QStringLiteral("x");
    }
    QVERIFY(!StudentForm::firstMissing(card));
}

QTEST_MAIN(TestStudentForm)
#include "test_studentform.moc"
