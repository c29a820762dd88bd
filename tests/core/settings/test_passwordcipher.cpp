#include "settings/passwordcipher.h"

#include <QRegularExpression>
#include <QTest>

class TestPasswordCipher : public QObject
{
    Q_OBJECT
private slots:
    void encode_data();
    void encode();
    void decode_data();
    void decode();
    void everyByteRoundTrips();
    void normalise_data();
    void normalise();
    void canCarry_data();
    void canCarry();
};

void TestPasswordCipher::encode_data()
{
    QTest::addColumn<QString>("plain");
    QTest::addColumn<QString>("hex");
    QTest::addColumn<QString>("decoded"); // what the store gives back
    QTest::newRow("empty") << QString() << QString() << QString();
    QTest::newRow("default password") << QStringLiteral("PERGOLATOVESCA")
                                      << QStringLiteral("D4536975EC1C100008053CC61CA5")
                                      << QStringLiteral("PERGOLATOVESCA");
    // A character's byte is the low 8 bits of its code, as on every other
    // workstation: accented letters of Latin-1 are their own codes...
    QTest::newRow("accented") << QStringLiteral("CAFFè") << QStringLiteral("C7F77E4082") << QStringLiteral("CAFFè");
    QTest::newRow("latin-1 letters") << QStringLiteral("ÿÀ") << QStringLiteral("7B55") << QStringLiteral("ÿÀ");
    // ...while the euro sign (U+20AC) is 0xAC, not its Windows-1252 byte 0x80.
    QTest::newRow("euro sign is byte 0xAC") << QStringLiteral("€") << QStringLiteral("28") << QStringLiteral("¬");
    QTest::newRow("euro inside a password") << QStringLiteral("NUOVA€X") << QStringLiteral("CA3C9F2166788E")
                                            << QStringLiteral("NUOVA¬X");
    QTest::newRow("typographic quotes") << QStringLiteral("“’”") << QStringLiteral("9813AB")
                                        << QStringLiteral("\u001C\u0019\u001D");
}

void TestPasswordCipher::encode()
{
    QFETCH(QString, plain);
    QFETCH(QString, hex);
    QFETCH(QString, decoded);
    QCOMPARE(EncodePassword(plain), hex);
    QString back;
    QVERIFY(DecodePassword(hex, &back));
    QCOMPARE(back, decoded);
}

void TestPasswordCipher::decode_data()
{
    QTest::addColumn<QString>("hex");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<QString>("plain");
    QTest::newRow("lower-case digits") << QStringLiteral("d4536975ec1c100008053cc61ca5") << true
                                       << QStringLiteral("PERGOLATOVESCA");
    QTest::newRow("odd digit count drops the last")
        << QStringLiteral("D4536975EC1C100008053CC61CA5F") << true << QStringLiteral("PERGOLATOVESCA");
    QTest::newRow("single digit") << QStringLiteral("7") << true << QString();
    QTest::newRow("non-hex pair") << QStringLiteral("D4G375") << false << QString();
    QTest::newRow("non-hex in the last pair") << QStringLiteral("D453Z9") << false << QString();
    QTest::newRow("sign is not a digit") << QStringLiteral("+4") << false << QString();
    QTest::newRow("blank inside") << QStringLiteral("D4 3") << false << QString();
}

void TestPasswordCipher::decode()
{
    QFETCH(QString, hex);
    QFETCH(bool, ok);
    QFETCH(QString, plain);
    QString result = QStringLiteral("untouched");
    QCOMPARE(DecodePassword(hex, &result), ok);
    QCOMPARE(result, ok ? plain : QStringLiteral("untouched"));
}

void TestPasswordCipher::everyByteRoundTrips()
{
    QByteArray all;
    for (int b = 0; b < 256; ++b)
        all.append(char(b));
    const QString plain = QString::fromLatin1(all);
    const QString hex = EncodePassword(plain);
    QCOMPARE(hex.size(), 512);
    QVERIFY(QRegularExpression(QStringLiteral("^[0-9A-F]*$")).match(hex).hasMatch());
    QString back;
    QVERIFY(DecodePassword(hex, &back));
    QCOMPARE(back, plain);
    // Each byte alone too: the key starts afresh at every encoding.
    for (int b = 0; b < 256; ++b) {
        const QString one = plain.mid(b, 1);
        QVERIFY(DecodePassword(EncodePassword(one), &back));
        QCOMPARE(back, one);
    }
}

void TestPasswordCipher::normalise_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("expected");
    QTest::newRow("mixed case") << QStringLiteral("PergolatoVesca") << QStringLiteral("PERGOLATOVESCA");
    QTest::newRow("blanks and controls around")
        << QStringLiteral(" \t\x01pergolatovesca\x1f  ") << QStringLiteral("PERGOLATOVESCA");
    QTest::newRow("inner blank kept") << QStringLiteral("a b") << QStringLiteral("A B");
    QTest::newRow("accented keep their case") << QStringLiteral("caffè À") << QStringLiteral("CAFFè À");
    QTest::newRow("only blanks") << QStringLiteral("   ") << QString();
}

void TestPasswordCipher::normalise()
{
    QFETCH(QString, typed);
    QFETCH(QString, expected);
    QCOMPARE(PasswordStore::normalise(typed), expected);
}

void TestPasswordCipher::canCarry_data()
{
    QTest::addColumn<QString>("password");
    QTest::addColumn<bool>("carried");
    QTest::newRow("255 characters") << QString(255, QLatin1Char('A')) << true;
    QTest::newRow("256 characters") << QString(256, QLatin1Char('A')) << false;
    QTest::newRow("latin accents") << QStringLiteral("ÀÉÎÕÜÿ") << true;
    QTest::newRow("Latin-1 above 127") << QStringLiteral("\u0080\u00A0¬ÿ") << true;
    // Their low 8 bits would stand for other characters.
    QTest::newRow("Windows-1252 symbols above 255") << QStringLiteral("€ŠŒ„") << false;
    QTest::newRow("euro sign alone") << QStringLiteral("NUOVA€X") << false;
    QTest::newRow("question mark") << QStringLiteral("WHY?") << true;
    QTest::newRow("above the code page") << QStringLiteral("PASSĀ") << false;
    QTest::newRow("cyrillic") << QStringLiteral("ПАРОЛЬ") << false;
    QTest::newRow("emoji") << QStringLiteral("A\U0001F600") << false;
}

void TestPasswordCipher::canCarry()
{
    QFETCH(QString, password);
    QFETCH(bool, carried);
    QCOMPARE(PasswordStore::canCarry(password), carried);
}

QTEST_GUILESS_MAIN(TestPasswordCipher)
#include "test_passwordcipher.moc"
