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
// every file whole: each card is a card written whole, never a mix; the
// password store holds a password the writer stored; the photo is one of
// the photos written, complete.
class TestCrashConsistency : public QObject
{
    Q_OBJECT

private slots:
    void killedWriterLeavesWholeFiles();

private:
    static void checkFolder(const QString &folder);
};

void TestCrashConsistency::checkFolder(const QString &folder)
{
    StudentArchive archive(folder);
    const qint64 count = archive.count();
    // An append cut short leaves a fragment after the last whole card; the
    // archive ignores it and the next append writes over it.
    const qint64 size = QFileInfo(StudentFiles::archivePath(folder)).size();
    QVERIFY(size >= count * StudentRecord::Size && size < (count + 1) * StudentRecord::Size);
    static const QRegularExpression tagForm(QStringLiteral("^(\\d+):(\\d+)$"));
    for (qint64 number = 1; number <= count; ++number) {
        const StudentRecord record = archive.read(number);
        const QString tag = record[StudentRecord::Studente];
        const QRegularExpressionMatch match = tagForm.match(tag);
        QVERIFY2(match.hasMatch(), qPrintable(QStringLiteral("card %1 reads \"%2\"").arg(number).arg(tag)));
        QCOMPARE(match.captured(1).toLongLong(), number);
        // The card as written: the tag in every field, cut to its capacity.
        StudentRecord written;
        for (int f = 0; f < StudentRecord::FieldCount; ++f)
            written[StudentRecord::Field(f)] = tag;
        QCOMPARE(record.encode(), written.encode());
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
    const QString writer = QCoreApplication::applicationDirPath() + QStringLiteral("/crash_writer");
    std::mt19937 random(20261210);
    for (int round = 0; round < 60; ++round) {
        QProcess child;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        child.setProcessEnvironment(env);
        child.start(writer, {folder.folder});
        QVERIFY(child.waitForStarted());
        QVERIFY(child.waitForReadyRead(10000));
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

QTEST_GUILESS_MAIN(TestCrashConsistency)
#include "test_crashconsistency.moc"
