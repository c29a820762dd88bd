#include "archive/studentarchive.h"
#include "archive/studentfiles.h"
#include "settings/passwordcipher.h"
#include "tempfolder.h"

#include <QDir>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QTest>

#include <random>

// A writer killed with SIGKILL at random moments, many times over, leaves
// every file whole: each card is a card written whole, never a mix, also
// when it was being rewritten in place; the password store holds a password
// the writer stored; the photo is one of the photos written, complete. And
// a reader never sees a card while two others rewrite it.
// LUMETRA_KILLS sets the number of kills of the rewriting writer (the suite
// kills it a thousand times; a long run by hand, more).
class TestCrashConsistency : public QObject
{
    Q_OBJECT

private slots:
    void killedWriterLeavesWholeFiles();
    void killedRewriteLeavesCardOldOrNew();
    void killedBatchIsStoredWholeOrNotAtAll();
    void readerRacingTwoSaversSeesWholeCards();

private:
    static void checkFolder(const QString &folder);
    // Empty when the card is one the writers wrote whole, else what is wrong.
    static QString wrongCard(const StudentRecord &record, qint64 number);
    static void startWriter(QProcess &child, const QStringList &arguments);
};

QString TestCrashConsistency::wrongCard(const StudentRecord &record, qint64 number)
{
    static const QRegularExpression tagForm(QStringLiteral("^(\\d+):(\\d+)$"));
    const QString tag = record[StudentRecord::Studente];
    const QRegularExpressionMatch match = tagForm.match(tag);
    if (!match.hasMatch() || match.captured(1).toLongLong() != number)
        return QStringLiteral("card %1 reads \"%2\"").arg(number).arg(tag);
    // The card as written: the tag in every field, cut to its capacity.
    StudentRecord written;
    for (int f = 0; f < StudentRecord::FieldCount; ++f)
        written[StudentRecord::Field(f)] = tag;
    if (record.encode() != written.encode())
        return QStringLiteral("card %1 is a mix of versions (name \"%2\", notes \"%3\", last field \"%4\")")
            .arg(number)
            .arg(tag, record[StudentRecord::Note], record[StudentRecord::Desc03]);
    return {};
}

void TestCrashConsistency::startWriter(QProcess &child, const QStringList &arguments)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    child.setProcessEnvironment(env);
    child.start(QCoreApplication::applicationDirPath() + QStringLiteral("/crash_writer"), arguments);
    QVERIFY(child.waitForStarted());
    QVERIFY(child.waitForReadyRead(10000));
}

void TestCrashConsistency::checkFolder(const QString &folder)
{
    StudentArchive archive(folder);
    const qint64 count = archive.count();
    // An append cut short leaves a fragment after the last whole card; the
    // archive ignores it and the next append writes over it.
    const qint64 size = QFileInfo(StudentFiles::archivePath(folder)).size();
    QVERIFY(size >= count * StudentRecord::Size && size < (count + 1) * StudentRecord::Size);
    for (qint64 number = 1; number <= count; ++number) {
        const QString wrong = wrongCard(archive.read(number), number);
        QVERIFY2(wrong.isEmpty(), qPrintable(wrong));
    }
    archive.close();

    if (QFileInfo::exists(folder + QStringLiteral("unins000.dll"))) {
        QString stored;
        QVERIFY(PasswordStore::readPassword(folder, &stored));
        QVERIFY2(stored.startsWith(QStringLiteral("PAROLA")), qPrintable(stored));
    }
    const QString photo = StudentFiles::photoPath(folder, QStringLiteral("1"));
    if (QFileInfo::exists(photo)) {
        const QImage picture = StudentFiles::loadPicture(photo);
        QVERIFY2(!picture.isNull(), "the photo is not a whole picture");
        QCOMPARE(picture.size(), QSize(64, 80));
        // Solid colour throughout: a photo cut short would be grey at the end.
        const QRgb corner = picture.pixel(0, 0);
        const QRgb end = picture.pixel(63, 79);
        QVERIFY(qAbs(qRed(corner) - qRed(end)) <= 8 && qAbs(qGreen(end) - qGreen(corner)) <= 8);
    }
}

void TestCrashConsistency::killedWriterLeavesWholeFiles()
{
    TempFolder folder;
    std::mt19937 random(20261210);
    for (int round = 0; round < 60; ++round) {
        QProcess child;
        startWriter(child, {folder.folder});
        QTest::qWait(int(1 + random() % 40));
        QCOMPARE(child.state(), QProcess::Running); // still writing when killed
        child.kill(); // SIGKILL
        QVERIFY(child.waitForFinished(10000));
        checkFolder(folder.folder);
        if (QTest::currentTestFailed())
            QFAIL(qPrintable(QStringLiteral("after kill number %1").arg(round + 1)));
    }
    StudentArchive archive(folder.folder);
    QVERIFY2(archive.count() > 40, "the writer never got past its first cards");
}

void TestCrashConsistency::killedRewriteLeavesCardOldOrNew()
{
    TempFolder folder;
    const int kills = qEnvironmentVariableIsSet("LUMETRA_KILLS") ? qEnvironmentVariableIntValue("LUMETRA_KILLS") : 1000;
    std::mt19937 random(20261211);
    int unfinished = 0;
    for (int round = 0; round < kills; ++round) {
        QProcess child;
        startWriter(child, {folder.folder, QStringLiteral("rewrite")});
        // Most kills land while a card is being written: a rewrite takes
        // about a millisecond, most of it in the two flushes to disk.
        QTest::qWait(int(random() % 12));
        QCOMPARE(child.state(), QProcess::Running);
        child.kill();
        QVERIFY(child.waitForFinished(10000));
        if (folder.readFile(QStringLiteral("Archivio_Studenti.pro.jnl")).mid(4, 4) == "WAIT")
            ++unfinished;
        // The next open of the archive, by any program of ours, finds every
        // card old or new.
        checkFolder(folder.folder);
        if (QTest::currentTestFailed())
            QFAIL(qPrintable(QStringLiteral("after kill number %1").arg(round + 1)));
    }
    qInfo("%d kills, %d left a rewrite unfinished", kills, unfinished);
    StudentArchive archive(folder.folder);
    QCOMPARE(archive.count(), 8);
}

void TestCrashConsistency::killedBatchIsStoredWholeOrNotAtAll()
{
    // Each batch rewrites cards 1-8 and appends 20, all of one version: after
    // any kill, also between two records of a batch, the next open finds
    // the last batch stored whole, so cards
    // 1-8 and the last 20 share their version, and no batch is there in part.
    TempFolder folder;
    std::mt19937 random(20261212);
    int unfinished = 0;
    for (int round = 0; round < 120; ++round) {
        QProcess child;
        startWriter(child, {folder.folder, QStringLiteral("batch")});
        // The writer may kill itself in the middle of a batch first.
        if (!child.waitForFinished(int(1 + random() % 15))) {
            child.kill();
            QVERIFY(child.waitForFinished(10000));
        }
        if (folder.readFile(QStringLiteral("Archivio_Studenti.pro.jnl")).mid(4, 4) == "WAIT")
            ++unfinished;
        checkFolder(folder.folder);
        StudentArchive archive(folder.folder);
        const qint64 count = archive.count();
        QVERIFY2((count - 8) % 20 == 0, qPrintable(QStringLiteral("%1 cards after kill %2").arg(count).arg(round + 1)));
        const QString version = archive.read(1)[StudentRecord::Studente].section(QLatin1Char(':'), 1);
        for (qint64 number = 2; number <= count; number = number == 8 ? qMax<qint64>(9, count - 19) : number + 1)
            QVERIFY2(archive.read(number)[StudentRecord::Studente].section(QLatin1Char(':'), 1) == version,
                     qPrintable(QStringLiteral("card %1 is not of the last batch (%2) after kill %3")
                                    .arg(number)
                                    .arg(version)
                                    .arg(round + 1)));
        archive.close();
        if (QTest::currentTestFailed())
            return;
    }
    qInfo("120 kills, %d left a batch unfinished", unfinished);
}

void TestCrashConsistency::readerRacingTwoSaversSeesWholeCards()
{
    TempFolder folder;
    QProcess first, second;
    startWriter(first, {folder.folder, QStringLiteral("rewrite")});
    startWriter(second, {folder.folder, QStringLiteral("rewrite")});
    QDeadlineTimer deadline(4000);
    qint64 reads = 0;
    QStringList wrong;
    while (!deadline.hasExpired() && wrong.size() < 5) {
        // As the windows read a card: one action each.
        for (qint64 number = 1; number <= 8; ++number, ++reads) {
            const QString fault = wrongCard(StudentArchive::readOne(folder.folder, number), number);
            if (!fault.isEmpty())
                wrong << fault;
        }
    }
    QCOMPARE(first.state(), QProcess::Running);
    QCOMPARE(second.state(), QProcess::Running);
    first.kill();
    second.kill();
    first.waitForFinished(10000);
    second.waitForFinished(10000);
    qInfo("%lld reads", reads);
    QVERIFY2(wrong.isEmpty(), qPrintable(wrong.join(QLatin1Char('\n'))));
}

QTEST_GUILESS_MAIN(TestCrashConsistency)
#include "test_crashconsistency.moc"
