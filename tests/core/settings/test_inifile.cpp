#include "settings/inifile.h"
#include "tempfolder.h"

class TestIniFile : public QObject
{
    Q_OBJECT
private slots:
    void read_data();
    void read();
    void writeKeepsOtherLines_data();
    void writeKeepsOtherLines();
    void fileRoundTrip();
};

void TestIniFile::read_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("expected");
    QTest::newRow("plain") << QByteArray("[Accesso]\r\nValore=ABCD\r\n") << QStringLiteral("ABCD");
    QTest::newRow("lf only") << QByteArray("[Accesso]\nValore=ABCD\n") << QStringLiteral("ABCD");
    QTest::newRow("names without case") << QByteArray("[accesso]\r\nVALORE=12\r\n") << QStringLiteral("12");
    QTest::newRow("blanks around") << QByteArray("[Accesso]\r\nValore =  12 \r\n") << QStringLiteral("12");
    QTest::newRow("other section") << QByteArray("[Altro]\r\nValore=1\r\n") << QStringLiteral("def");
    QTest::newRow("key in later section only") << QByteArray("[Accesso]\r\nX=1\r\n[B]\r\nValore=2\r\n") << QStringLiteral("def");
    QTest::newRow("empty value") << QByteArray("[Accesso]\r\nValore=\r\n") << QString();
    QTest::newRow("empty file") << QByteArray() << QStringLiteral("def");
    QTest::newRow("windows-1252") << QByteArray("[Scuola]\r\nNome=Citt\xE0 \x80\r\n") << QStringLiteral("def");
}

void TestIniFile::read()
{
    QFETCH(QByteArray, content);
    QFETCH(QString, expected);
    QCOMPARE(IniFile::readFrom(content, QStringLiteral("Accesso"), QStringLiteral("Valore"), QStringLiteral("def")),
             expected);
    if (QByteArray(QTest::currentDataTag()) == "windows-1252")
        QCOMPARE(IniFile::readFrom(content, QStringLiteral("Scuola"), QStringLiteral("Nome"), QString()),
                 QStringLiteral("Città €"));
}

void TestIniFile::writeKeepsOtherLines_data()
{
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<QByteArray>("after");
    QTest::newRow("replace in place")
        << QByteArray("; note\r\n[Accesso]\r\nAltro=x\r\nValore=OLD\r\nCoda=y\r\n[Z]\r\nValore=keep\r\n")
        << QByteArray("; note\r\n[Accesso]\r\nAltro=x\r\nValore=NEW\r\nCoda=y\r\n[Z]\r\nValore=keep\r\n");
    QTest::newRow("missing key added to section")
        << QByteArray("[Accesso]\r\nAltro=x\r\n\r\n[Z]\r\nK=1\r\n")
        << QByteArray("[Accesso]\r\nAltro=x\r\nValore=NEW\r\n\r\n[Z]\r\nK=1\r\n");
    QTest::newRow("missing section appended")
        << QByteArray("[Z]\r\nK=1\r\n")
        << QByteArray("[Z]\r\nK=1\r\n\r\n[Accesso]\r\nValore=NEW\r\n");
    QTest::newRow("empty file") << QByteArray() << QByteArray("[Accesso]\r\nValore=NEW\r\n");
}

void TestIniFile::writeKeepsOtherLines()
{
    QFETCH(QByteArray, before);
    QFETCH(QByteArray, after);
    QCOMPARE(IniFile::writeTo(before, QStringLiteral("Accesso"), QStringLiteral("Valore"), QStringLiteral("NEW")),
             after);
}

void TestIniFile::fileRoundTrip()
{
    TempFolder folder;
    const QString path = folder.path(QStringLiteral("Lumetra.ini"));
    QCOMPARE(IniFile::read(path, QStringLiteral("Scuola"), QStringLiteral("Nome"), QStringLiteral("none")),
             QStringLiteral("none"));
    QVERIFY(IniFile::write(path, QStringLiteral("Scuola"), QStringLiteral("Nome"), QStringLiteral("Istituto Città")));
    QCOMPARE(IniFile::read(path, QStringLiteral("Scuola"), QStringLiteral("Nome")), QStringLiteral("Istituto Città"));
    QCOMPARE(folder.readFile(QStringLiteral("Lumetra.ini")), QByteArray("[Scuola]\r\nNome=Istituto Citt\xE0\r\n"));
    QVERIFY(!IniFile::write(folder.path(QStringLiteral("no/such/dir.ini")), QStringLiteral("A"), QStringLiteral("B"),
                            QStringLiteral("C")));
}

QTEST_GUILESS_MAIN(TestIniFile)
#include "test_inifile.moc"
