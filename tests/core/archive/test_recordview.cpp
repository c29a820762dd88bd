// Blocks read into the buffer a scan keeps: the same bytes as plain reads,
// and a file shortened by another workstation between two blocks is an
// access failure, never stale bytes from the block before.
#include "archive/recordfile.h"
#include "archive/studentarchive.h"
#include "archive/studentrecord.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

class TestRecordView : public QObject
{
    Q_OBJECT

private slots:
    void viewsReadAsReadsAndFailPastTheEnd();
};

void TestRecordView::viewsReadAsReadsAndFailPastTheEnd()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("archive.pro"));
    QByteArray bytes;
    for (int i = 0; i < 10; ++i) {
        StudentRecord record;
        record[StudentRecord::Studente] = QStringLiteral("Studente %1").arg(i + 1);
        bytes += record.encode();
    }
    {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        QVERIFY(file.write(bytes) == bytes.size());
    }
    StudentArchive archive(StudentArchive::FilePath::Given, path);
    // Large, then smaller, then large again: the buffer is kept, its bytes
    // are always the block's.
    const std::pair<qint64, qint64> views[] = {{1, 10}, {4, 3}, {10, 1}, {2, 9}};
    for (const auto &[number, n] : views) {
        const char *view = archive.viewBlock(number, n);
        QCOMPARE(QByteArray(view, n * StudentRecord::Size), bytes.mid((number - 1) * StudentRecord::Size,
                                                                      n * StudentRecord::Size));
    }
    QVERIFY_THROWS_EXCEPTION(FileAccessError, archive.viewBlock(8, 4));

    // Shortened between two blocks of a scan.
    archive.viewBlock(1, 5);
    QVERIFY(QFile::resize(path, 7 * StudentRecord::Size + 100));
    QVERIFY_THROWS_EXCEPTION(FileAccessError, archive.viewBlock(6, 5));
    archive.close();
}

QTEST_GUILESS_MAIN(TestRecordView)
#include "test_recordview.moc"
