// Attached files: which stored names may reach the file system, and copies
// into the attachments folder that never leave half a file behind.
#include "archive/attachmentfiles.h"
#include "archive/studentrecord.h"
#include "tempfolder.h"

#include <QDir>
#include <QFile>
#include <QtTest>

class TestAttachmentFiles : public QObject
{
    Q_OBJECT
private slots:
    void bareNames_data();
    void bareNames();
    void storableNames_data();
    void storableNames();
    void namesSurviveTheArchive();
    void store_data();
    void store();
    void storeOntoItself();
    void storeUnreadableSourceKeepsOldFile();
};

void TestAttachmentFiles::bareNames_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("bare");

    QTest::newRow("plain") << "pagella.pdf" << true;
    QTest::newRow("spaces and accents") << "Attestato di qualità è più.docx" << true;
    QTest::newRow("no extension") << "LEGGIMI" << true;
    QTest::newRow("dots inside") << "a..b.txt" << true;
    QTest::newRow("leading dot") << ".nascosto" << true;

    QTest::newRow("empty") << "" << false;
    QTest::newRow("parent, backslashes") << "..\\..\\x.exe" << false;
    QTest::newRow("parent, slashes") << "../../x.exe" << false;
    QTest::newRow("absolute unix") << "/etc/x" << false;
    QTest::newRow("drive and folder") << "C:\\x" << false;
    QTest::newRow("drive relative") << "C:x.exe" << false;
    QTest::newRow("network share") << "\\\\server\\share\\x.doc" << false;
    QTest::newRow("sub-folder") << "sotto/x.pdf" << false;
    QTest::newRow("stream") << "x.txt:nascosto" << false;
    QTest::newRow("dot") << "." << false;
    QTest::newRow("dot dot") << ".." << false;
    QTest::newRow("dots only") << "..." << false;
    QTest::newRow("control character") << QStringLiteral("x\ty.pdf") << false;
    QTest::newRow("line break") << QStringLiteral("x\n/etc/passwd") << false;
    QTest::newRow("delete character") << QStringLiteral("x\x7Fy.pdf") << false;
}

void TestAttachmentFiles::bareNames()
{
    QFETCH(QString, name);
    QFETCH(bool, bare);
    QCOMPARE(AttachmentFiles::isBareName(name), bare);
    // Only a bare name gives a path, and that path is inside the folder.
    const QString path = AttachmentFiles::path(QStringLiteral("/dati/"), name);
    QCOMPARE(path.isEmpty(), !bare);
    if (bare)
        QCOMPARE(path, QStringLiteral("/dati/Documenti_Allegati/") + name);
}

void TestAttachmentFiles::storableNames_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("storable");

    QTest::newRow("250 characters") << QString(246, QLatin1Char('a')) + ".pdf" << true;
    QTest::newRow("251 characters: cut when saved") << QString(247, QLatin1Char('a')) + ".pdf" << false;
    QTest::newRow("accented, 250") << QString(246, QChar(0xE8)) + ".pdf" << true;
    QTest::newRow("spaces inside") << "Documento di identità fronte retro.jpg" << true;
    QTest::newRow("greek: stored as ?") << QStringLiteral("\u03B1\u03B2.pdf") << false;
    QTest::newRow("trailing blank: trimmed when saved") << "x.pdf " << false;
    QTest::newRow("leading blank: trimmed when saved") << " x.pdf" << false;
    QTest::newRow("a folder part") << "..\\x.pdf" << false;
}

void TestAttachmentFiles::storableNames()
{
    QFETCH(QString, name);
    QFETCH(bool, storable);
    QCOMPARE(AttachmentFiles::isStorableName(name), storable);
}

// What isStorableName promises: the name comes back from the record unchanged.
void TestAttachmentFiles::namesSurviveTheArchive()
{
    const QStringList names{QString(246, QLatin1Char('z')) + ".pdf", QStringLiteral("Città e perché.odt"),
                            QStringLiteral("€ fattura.pdf")};
    for (const QString &name : names) {
        QVERIFY(AttachmentFiles::isStorableName(name));
        StudentRecord card;
        card[StudentRecord::File02] = name;
        QCOMPARE(StudentRecord::decode(card.encode())[StudentRecord::File02], name);
    }
}

void TestAttachmentFiles::store_data()
{
    QTest::addColumn<QByteArray>("old"); // empty: no file of that name yet
    QTest::addColumn<QString>("name");

    QTest::newRow("new file") << QByteArray() << "diploma.pdf";
    QTest::newRow("over an existing copy") << QByteArray("vecchio contenuto") << "diploma.pdf";
    QTest::newRow("accents and spaces") << QByteArray() << "Carta d'identità (fronte).jpg";
    QTest::newRow("250-character name") << QByteArray("vecchio") << QString(246, QLatin1Char('n')) + ".txt";
}

void TestAttachmentFiles::store()
{
    QFETCH(QByteArray, old);
    QFETCH(QString, name);

    TempFolder data;
    // Larger than one piece of the copy, so that it takes several.
    QByteArray content(3 * 1024 * 1024 + 17, '\0');
    for (int i = 0; i < content.size(); ++i)
        content[i] = char(i * 31 + i / 7);
    data.writeFile(QStringLiteral("origine/") + name, content);
    if (!old.isEmpty())
        data.writeFile(QStringLiteral("Documenti_Allegati/") + name, old);

    QVERIFY(AttachmentFiles::ensureFolder(data.folder));
    QCOMPARE(AttachmentFiles::exists(data.folder, name), !old.isEmpty());
    QVERIFY(AttachmentFiles::store(data.folder, data.path(QStringLiteral("origine/") + name), name));

    QCOMPARE(data.readFile(QStringLiteral("Documenti_Allegati/") + name), content);
    QCOMPARE(QDir(data.path(QStringLiteral("Documenti_Allegati"))).entryList(QDir::Files | QDir::Hidden),
             QStringList{name});
}

// Picking the stored copy itself (it lies in the attachments folder) leaves it
// as it is.
void TestAttachmentFiles::storeOntoItself()
{
    TempFolder data;
    data.writeFile(QStringLiteral("Documenti_Allegati/voti.xls"), "contenuto");
    QVERIFY(AttachmentFiles::store(data.folder, data.path(QStringLiteral("Documenti_Allegati/voti.xls")),
                                   QStringLiteral("voti.xls")));
    QCOMPARE(data.readFile(QStringLiteral("Documenti_Allegati/voti.xls")), QByteArray("contenuto"));
}

// A copy that fails, before or during reading, leaves the old copy whole and
// no temporary file beside it.
void TestAttachmentFiles::storeUnreadableSourceKeepsOldFile()
{
    struct Case
    {
        const char *what;
        QString source;
    };
    TempFolder data;
    QList<Case> cases{{"source vanished", data.path(QStringLiteral("sparito.pdf"))},
                      {"source is a folder", data.folder}};
    // Opens, then fails on the first read: a read error in mid-copy.
    if (QFile::exists(QStringLiteral("/proc/self/mem")))
        cases.append({"read error", QStringLiteral("/proc/self/mem")});

    for (const Case &c : cases) {
        data.writeFile(QStringLiteral("Documenti_Allegati/vecchio.pdf"), "copia buona");
        QVERIFY2(!AttachmentFiles::store(data.folder, c.source, QStringLiteral("vecchio.pdf")), c.what);
        QCOMPARE(data.readFile(QStringLiteral("Documenti_Allegati/vecchio.pdf")), QByteArray("copia buona"));
        QCOMPARE(QDir(data.path(QStringLiteral("Documenti_Allegati"))).entryList(QDir::Files | QDir::Hidden),
                 QStringList{QStringLiteral("vecchio.pdf")});
    }
    // A name with a folder part is never written, whatever the source.
    data.writeFile(QStringLiteral("fuori.txt"), "intatto");
    data.writeFile(QStringLiteral("buono.txt"), "nuovo");
    QVERIFY(!AttachmentFiles::store(data.folder, data.path(QStringLiteral("buono.txt")),
                                    QStringLiteral("../fuori.txt")));
    QCOMPARE(data.readFile(QStringLiteral("fuori.txt")), QByteArray("intatto"));
}

QTEST_GUILESS_MAIN(TestAttachmentFiles)
#include "test_attachmentfiles.moc"
