// A file shortened by another workstation while a scan has it mapped: the
// scan reads zeros and is told, where the process would otherwise die.
#include "archive/mappedview.h"
#include "archive/recordfile.h"
#include "archive/studentarchive.h"
#include "archive/studentrecord.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

class TestMappedView : public QObject
{
    Q_OBJECT

private slots:
    void cutUnderTheViewReadsZerosAndTells();
    void recordViewsMatchReadsAndReportACut();

private:
    QTemporaryDir m_dir;
};

void TestMappedView::cutUnderTheViewReadsZerosAndTells()
{
    if (!MappedView::isAvailable())
        QSKIP("no file mapping here");
    const QString path = m_dir.filePath(QStringLiteral("pages.bin"));
    const qint64 page = 4096;
    QFile writer(path);
    QVERIFY(writer.open(QIODevice::ReadWrite | QIODevice::Truncate));
    QVERIFY(writer.write(QByteArray(8 * page, 'x')) == 8 * page);
    writer.flush();

    QFile reader(path);
    QVERIFY(reader.open(QIODevice::ReadOnly));
    MappedView view;
    QVERIFY(view.map(int(reader.handle()), 100, 7 * page));
    QCOMPARE(view.data()[0], 'x');
    QVERIFY(!view.wasCut());

    // Cut inside the third page of the view.
    QVERIFY(writer.resize(2 * page + 500));
    qint64 sum = 0;
    for (qint64 i = 0; i < view.size(); ++i)
        sum += static_cast<unsigned char>(view.data()[i]);
    QVERIFY(view.wasCut());
    // What was left of the file reads as it was, the rest as zeros.
    QCOMPARE(sum, (2 * page + 500 - 100) * qint64('x'));

    // A new view starts clean.
    QVERIFY(view.map(int(reader.handle()), 0, page));
    QVERIFY(!view.wasCut());
    QCOMPARE(view.data()[page - 1], 'x');
    view.unmap();
    QVERIFY(view.data() == nullptr);
}

void TestMappedView::recordViewsMatchReadsAndReportACut()
{
    const QString path = m_dir.filePath(QStringLiteral("archive.pro"));
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
    // Views of any size and place read as the plain reads do.
    const std::pair<qint64, qint64> views[] = {{1, 10}, {4, 3}, {10, 1}};
    for (const auto &[number, n] : views) {
        const char *view = archive.viewBlock(number, n);
        QCOMPARE(QByteArray(view, n * StudentRecord::Size), archive.readBlock(number, n));
        archive.endView();
    }
    // A view past the end of the file fails as a read does.
    QVERIFY_THROWS_EXCEPTION(FileAccessError, archive.viewBlock(8, 4));

    const char *view = archive.viewBlock(1, 10);
    QVERIFY(QFile::resize(path, 2 * StudentRecord::Size + 7));
    // The scan goes on over the part that is gone, and is told at the end.
    qint64 sum = 0;
    for (qint64 i = 0; i < 10 * StudentRecord::Size; ++i)
        sum += static_cast<unsigned char>(view[i]);
    QVERIFY(sum > 0);
    if (MappedView::isAvailable())
        QVERIFY_THROWS_EXCEPTION(FileAccessError, archive.endView());
    archive.close();
}

QTEST_GUILESS_MAIN(TestMappedView)
#include "test_mappedview.moc"
