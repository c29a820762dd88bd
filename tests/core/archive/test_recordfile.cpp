#include "archive/recordfile.h"
#include "archive/studentfiles.h"
#include "archive/studentrecord.h"
#include "lockedfile.h"
#include "tempfolder.h"

#include <QFile>
#include <QProcess>
#include <QSet>

namespace {

QByteArray card(const QString &name)
{
    StudentRecord record;
    record[StudentRecord::Studente] = name;
    return record.encode();
}

QString nameAt(const QByteArray &bytes)
{
    return StudentRecord::decode(bytes)[StudentRecord::Studente];
}

} // namespace

class TestRecordFile : public QObject
{
    Q_OBJECT
private slots:
    void missingFileIsCreatedEmpty();
    void appendRewriteAndPositions();
    void trailingFragmentIsOverwritten();
    void readOnlyFileFails();
    void missingFolderFails();
    void readPastEndFails();
    void twoProcessesAppendWithoutLoss();
};

void TestRecordFile::missingFileIsCreatedEmpty()
{
    TempFolder folder;
    const QString path = StudentFiles::archivePath(folder.folder);
    RecordFile file(path, StudentRecord::Size);
    file.open();
    QCOMPARE(file.count(), 0);
    file.close();
    QVERIFY(QFile::exists(path));
    QCOMPARE(QFileInfo(path).size(), 0);
}

void TestRecordFile::appendRewriteAndPositions()
{
    TempFolder folder;
    const QString path = StudentFiles::archivePath(folder.folder);
    RecordFile file(path, StudentRecord::Size);
    file.open();
    QCOMPARE(file.append(card(QStringLiteral("Uno"))), 1);
    QCOMPARE(file.position(), 1);
    QCOMPARE(file.append(card(QStringLiteral("Due"))), 2);
    QCOMPARE(file.append(card(QStringLiteral("Tre"))), 3);
    file.write(1, card(QStringLiteral("Due bis")));
    QCOMPARE(file.position(), 2);
    QCOMPARE(file.count(), 3);
    QCOMPARE(nameAt(file.read(0)), QStringLiteral("Uno"));
    QCOMPARE(file.position(), 1);
    QCOMPARE(nameAt(file.read(1)), QStringLiteral("Due bis"));
    QCOMPARE(nameAt(file.read(2)), QStringLiteral("Tre"));
    QCOMPARE(file.position(), 3);
    const QByteArray block = file.readBlock(0, 3);
    QCOMPARE(block.size(), 3 * StudentRecord::Size);
    QCOMPARE(nameAt(block.mid(2 * StudentRecord::Size)), QStringLiteral("Tre"));
    file.close();
    QCOMPARE(QFileInfo(path).size(), 3 * StudentRecord::Size);
}

void TestRecordFile::trailingFragmentIsOverwritten()
{
    TempFolder folder;
    folder.writeFile(QStringLiteral("Archivio_Studenti.pro"),
                     card(QStringLiteral("Uno")) + card(QStringLiteral("Due")) + QByteArray(100, 'x'));
    RecordFile file(StudentFiles::archivePath(folder.folder), StudentRecord::Size);
    file.open();
    QCOMPARE(file.count(), 2);
    QCOMPARE(file.append(card(QStringLiteral("Tre"))), 3);
    file.close();
    const QByteArray bytes = folder.readFile(QStringLiteral("Archivio_Studenti.pro"));
    QCOMPARE(bytes.size(), 3 * StudentRecord::Size);
    QCOMPARE(nameAt(bytes.mid(2 * StudentRecord::Size)), QStringLiteral("Tre"));
}

void TestRecordFile::readOnlyFileFails()
{
    TempFolder folder;
    folder.writeFile(QStringLiteral("Archivio_Studenti.pro"), card(QStringLiteral("Uno")));
    const QString path = StudentFiles::archivePath(folder.folder);
    LockedFile readOnly(path);
    if (!readOnly.ok())
        QSKIP("cannot make a file read-only here");
    RecordFile file(path, StudentRecord::Size);
    QVERIFY_THROWS_EXCEPTION(FileAccessError, file.open());
}

void TestRecordFile::missingFolderFails()
{
    RecordFile file(QStringLiteral("/nonexistent-lumetra/Archivio_Studenti.pro"), StudentRecord::Size);
    QVERIFY_THROWS_EXCEPTION(FileAccessError, file.open());
    QVERIFY_THROWS_EXCEPTION(FileAccessError, file.count());
}

void TestRecordFile::readPastEndFails()
{
    TempFolder folder;
    RecordFile file(StudentFiles::archivePath(folder.folder), StudentRecord::Size);
    file.open();
    file.append(card(QStringLiteral("Uno")));
    QVERIFY_THROWS_EXCEPTION(FileAccessError, file.read(1));
    QVERIFY_THROWS_EXCEPTION(FileAccessError, file.write(3, card(QStringLiteral("x"))));
}

void TestRecordFile::twoProcessesAppendWithoutLoss()
{
    TempFolder folder;
    const QString path = StudentFiles::archivePath(folder.folder);
    const int each = 1500;
    const QString appender = QCoreApplication::applicationDirPath() + QStringLiteral("/archive_appender");
    QProcess a, b;
    a.start(appender, {path, QStringLiteral("A"), QString::number(each)});
    b.start(appender, {path, QStringLiteral("B"), QString::number(each)});
    QVERIFY(a.waitForFinished(120000));
    QVERIFY(b.waitForFinished(120000));
    QCOMPARE(a.exitCode(), 0);
    QCOMPARE(b.exitCode(), 0);

    RecordFile file(path, StudentRecord::Size);
    file.open();
    QCOMPARE(file.count(), 2 * each);
    QCOMPARE(QFileInfo(path).size(), qint64(2 * each) * StudentRecord::Size);
    QSet<QString> seen;
    for (qint64 i = 0; i < file.count(); ++i)
        seen.insert(nameAt(file.read(i)));
    QCOMPARE(seen.size(), 2 * each); // every card exactly once
    for (int i = 0; i < each; ++i) {
        QVERIFY(seen.contains(QStringLiteral("A %1").arg(i)));
        QVERIFY(seen.contains(QStringLiteral("B %1").arg(i)));
    }
}

QTEST_GUILESS_MAIN(TestRecordFile)
#include "test_recordfile.moc"
