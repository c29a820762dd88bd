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

void putLittleEndian(QByteArray &bytes, int at, quint64 value, int size)
{
    for (int i = 0; i < size; ++i)
        bytes[at + i] = char((value >> (8 * i)) & 0xFF);
}

// The entry with its check sum appended: FNV-1a over all but the state.
QByteArray sealed(QByteArray entry)
{
    quint64 hash = 14695981039346656037ull;
    for (int i = 0; i < entry.size(); ++i) {
        if (i >= 4 && i < 8)
            continue;
        hash ^= quint8(entry[i]);
        hash *= 1099511628211ull;
    }
    entry.append(8, '\0');
    putLittleEndian(entry, int(entry.size()) - 8, hash, 8);
    return entry;
}

// A journal entry as a writer leaves it before rewriting record `index`.
// The layout is fixed: other workstations complete each other's rewrites.
QByteArray journalEntry(qint64 index, const QByteArray &before, const QByteArray &after)
{
    const int size = int(before.size());
    QByteArray entry("LMJ1WAIT");
    entry.append(12, '\0');
    putLittleEndian(entry, 8, quint64(size), 4);
    putLittleEndian(entry, 12, quint64(index), 8);
    entry += before + after;
    return sealed(entry);
}

// A batch's journal entry as a writer leaves it before storing the batch:
// the file's end before it, the fragment it writes over and each record it
// rewrites as it was.
QByteArray batchEntry(qint64 oldEnd, const QByteArray &fragment,
                      const QList<QPair<qint64, QByteArray>> &before, int recordSize)
{
    QByteArray entry("LMB1WAIT");
    entry.append(20, '\0');
    putLittleEndian(entry, 8, quint64(recordSize), 4);
    putLittleEndian(entry, 12, quint64(oldEnd), 8);
    putLittleEndian(entry, 20, quint64(before.size()), 8);
    entry += fragment;
    for (const auto &[index, record] : before) {
        QByteArray at(8, '\0');
        putLittleEndian(at, 0, quint64(index), 8);
        entry += at + record;
    }
    return sealed(entry);
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
    void unfinishedRewriteIsCompletedOnOpen_data();
    void unfinishedRewriteIsCompletedOnOpen();
    void rewriteLeavesJournalDone();
    void unfinishedBatchIsTakenBackOnOpen_data();
    void unfinishedBatchIsTakenBackOnOpen();
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

void TestRecordFile::unfinishedRewriteIsCompletedOnOpen_data()
{
    QTest::addColumn<QByteArray>("stored");  // card 2 as the stopped writer left it
    QTest::addColumn<QByteArray>("journal"); // the journal beside the archive
    QTest::addColumn<QString>("expected");   // card 2 after the next open

    const QByteArray before = card(QStringLiteral("Vecchio"));
    const QByteArray after = card(QStringLiteral("Nuovo nome piu lungo"));
    const QByteArray entry = journalEntry(1, before, after);
    // Card 2 starts at byte 3389: the page boundary at 4096 splits it.
    const QByteArray torn = after.left(4096 - StudentRecord::Size) + before.mid(4096 - StudentRecord::Size);
    QByteArray doneEntry = entry;
    doneEntry.replace(4, 4, "DONE");
    QByteArray badSum = entry;
    badSum[30] = char(badSum[30] ^ 1);

    QTest::newRow("stopped before writing the card") << before << entry << "Nuovo nome piu lungo";
    QTest::newRow("stopped in the middle of the card") << torn << entry << "Nuovo nome piu lungo";
    QTest::newRow("stopped after writing the card") << after << entry << "Nuovo nome piu lungo";
    QTest::newRow("card written since by a program without the journal")
        << card(QStringLiteral("Altro programma")) << entry << "Altro programma";
    QTest::newRow("journal itself cut short") << before << entry.left(entry.size() - 100) << "Vecchio";
    QTest::newRow("journal with a wrong check sum") << before << badSum << "Vecchio";
    QTest::newRow("rewrite marked done") << before << doneEntry << "Vecchio";
    QTest::newRow("empty journal") << before << QByteArray() << "Vecchio";
}

void TestRecordFile::unfinishedRewriteIsCompletedOnOpen()
{
    QFETCH(QByteArray, stored);
    QFETCH(QByteArray, journal);
    QFETCH(QString, expected);
    TempFolder folder;
    folder.writeFile(QStringLiteral("Archivio_Studenti.pro"),
                     card(QStringLiteral("Primo")) + stored + card(QStringLiteral("Terzo")));
    folder.writeFile(QStringLiteral("Archivio_Studenti.pro.jnl"), journal);

    // Any action, a read as much as a save, opens the archive first.
    RecordFile file(StudentFiles::archivePath(folder.folder), StudentRecord::Size);
    file.open();
    QCOMPARE(file.count(), 3);
    QCOMPARE(nameAt(file.read(1)), expected);
    file.close();
    const QByteArray bytes = folder.readFile(QStringLiteral("Archivio_Studenti.pro"));
    QCOMPARE(bytes.size(), 3 * StudentRecord::Size);
    QCOMPARE(nameAt(bytes.left(StudentRecord::Size)), QStringLiteral("Primo"));
    QCOMPARE(nameAt(bytes.mid(StudentRecord::Size, StudentRecord::Size)), expected);
    QCOMPARE(nameAt(bytes.mid(2 * StudentRecord::Size)), QStringLiteral("Terzo"));
    // Completed once: a later change of the card by a program without the
    // journal stays as it was written.
    const QByteArray later = card(QStringLiteral("Dopo"));
    folder.writeFile(QStringLiteral("Archivio_Studenti.pro"),
                     bytes.left(StudentRecord::Size) + later + bytes.mid(2 * StudentRecord::Size));
    RecordFile again(StudentFiles::archivePath(folder.folder), StudentRecord::Size);
    again.open();
    QCOMPARE(nameAt(again.read(1)), QStringLiteral("Dopo"));
    again.close();
}

void TestRecordFile::unfinishedBatchIsTakenBackOnOpen_data()
{
    // A batch that rewrote card 2 and appended two cards, stopped before
    // its end: the next action, whatever it is, first takes it back whole.
    QTest::addColumn<QByteArray>("journal");
    QTest::addColumn<QByteArray>("fragment"); // after the third card before the batch
    QTest::addColumn<bool>("appendFirst");    // the next action is an append, not a read
    QTest::addColumn<QStringList>("expected");

    const int size = StudentRecord::Size;
    const QByteArray vecchio = card(QStringLiteral("Vecchio"));
    const QByteArray fragment = QByteArray(100, 'x');
    const QByteArray entry = batchEntry(3 * size, {}, {{1, vecchio}}, size);
    QByteArray badSum = entry;
    badSum[40] = char(badSum[40] ^ 1);
    QByteArray done = entry;
    done.replace(4, 4, "DONE");
    QByteArray huge = entry;
    putLittleEndian(huge, 20, quint64(1) << 40, 8);
    const QStringList asLeft{"Primo", "Nuovo", "Terzo", "Quarto", "Quinto"};
    const QStringList asBefore{"Primo", "Vecchio", "Terzo"};

    QTest::newRow("read after a batch stopped") << entry << QByteArray() << false << asBefore;
    QTest::newRow("append after a batch stopped")
        << entry << QByteArray() << true << (asBefore + QStringList{"Aggiunto"});
    QTest::newRow("batch written over a trailing fragment")
        << batchEntry(3 * size + 100, fragment, {{1, vecchio}}, size) << fragment << false << asBefore;
    QTest::newRow("batch marked done") << done << QByteArray() << false << asLeft;
    QTest::newRow("batch entry with a wrong check sum") << badSum << QByteArray() << false << asLeft;
    QTest::newRow("batch entry cut short") << entry.left(entry.size() - 10) << QByteArray() << false << asLeft;
    QTest::newRow("batch entry claiming 2^40 records") << huge << QByteArray() << false << asLeft;
    putLittleEndian(huge, 20, quint64(1) << 31, 8);
    QTest::newRow("batch entry claiming 2^31 records") << huge << QByteArray() << false << asLeft;
}

void TestRecordFile::unfinishedBatchIsTakenBackOnOpen()
{
    QFETCH(QByteArray, journal);
    QFETCH(QByteArray, fragment);
    QFETCH(bool, appendFirst);
    QFETCH(QStringList, expected);
    TempFolder folder;
    QByteArray left;
    for (const char *name : {"Primo", "Nuovo", "Terzo", "Quarto", "Quinto"})
        left += card(QString::fromLatin1(name));
    folder.writeFile(QStringLiteral("Archivio_Studenti.pro"), left);
    folder.writeFile(QStringLiteral("Archivio_Studenti.pro.jnl"), journal);

    RecordFile file(StudentFiles::archivePath(folder.folder), StudentRecord::Size);
    file.open();
    if (appendFirst)
        QCOMPARE(file.append(card(QStringLiteral("Aggiunto"))), qint64(4));
    QCOMPARE(file.count(), expected.size());
    QStringList names;
    for (qint64 i = 0; i < expected.size(); ++i)
        names << nameAt(file.read(i));
    file.close();
    QCOMPARE(names, expected);
    const QByteArray bytes = folder.readFile(QStringLiteral("Archivio_Studenti.pro"));
    if (!appendFirst)
        QCOMPARE(bytes.mid(expected.size() * StudentRecord::Size), fragment);
}

void TestRecordFile::rewriteLeavesJournalDone()
{
    TempFolder folder;
    const QString path = StudentFiles::archivePath(folder.folder);
    RecordFile file(path, StudentRecord::Size);
    file.open();
    file.append(card(QStringLiteral("Uno")));
    file.append(card(QStringLiteral("Due")));
    QVERIFY(!QFile::exists(RecordFile::journalPath(path))); // appends need none
    file.write(1, card(QStringLiteral("Due bis")));
    file.close();
    // The entry stays, marked done, with both versions of the card.
    const QByteArray journal = folder.readFile(QStringLiteral("Archivio_Studenti.pro.jnl"));
    QCOMPARE(journal, QByteArray(journalEntry(1, card(QStringLiteral("Due")), card(QStringLiteral("Due bis"))))
                          .replace(4, 4, "DONE"));
    // A foreign program changes the card afterwards: opening does not undo it.
    QByteArray bytes = folder.readFile(QStringLiteral("Archivio_Studenti.pro"));
    bytes.replace(StudentRecord::Size, StudentRecord::Size, card(QStringLiteral("Da fuori")));
    folder.writeFile(QStringLiteral("Archivio_Studenti.pro"), bytes);
    RecordFile again(path, StudentRecord::Size);
    again.open();
    QCOMPARE(nameAt(again.read(1)), QStringLiteral("Da fuori"));
    again.close();
}

QTEST_GUILESS_MAIN(TestRecordFile)
#include "test_recordfile.moc"
