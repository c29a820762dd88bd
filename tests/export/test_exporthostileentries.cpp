// The export file in a shared data folder where someone planted a link, a
// named pipe or a device under its name: the export fails and leaves every
// file, inside the folder and out, as it was.
#include "export/archivetablemodel.h"
#include "export/spreadsheetexport.h"

#include "archive/atomicfile.h"
#include "archive/datafolder.h"
#include "archive/recordfile.h"
#include "archive/studentfiles.h"
#include "archive/studentrecord.h"
#include "hostileentries.h"
#include "tempfolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QtTest>

#include <optional>

using namespace Hostile;

namespace {

enum class Entry { Regular, FolderThroughLink, LinkOutside, LinkToCopy, LinkToArchive, Dangling, Pipe, DevZero, Sparse };

const QByteArray kOldSheet("<html>foglio di prima</html>");

QByteArray archiveBytes()
{
    StudentRecord card;
    card[StudentRecord::Studente] = QStringLiteral("Fuori Anna");
    return card.encode();
}

// Loads the folder's archive and exports it as the export window does;
// true when the export reported success.
bool exportArchive(const QString &folder)
{
    try {
        ArchiveTableModel table;
        table.load(folder);
        SpreadsheetExport::write(folder + SpreadsheetExport::fileName(), table);
        return true;
    } catch (const FileAccessError &) {
        return false;
    }
}

} // namespace

Q_DECLARE_METATYPE(Entry)

class TestExportHostileEntries : public QObject
{
    Q_OBJECT
private slots:
    void entries_data();
    void entries();
    void temporaryFileIsOneStartUpRemoves();
};

void TestExportHostileEntries::entries_data()
{
    QTest::addColumn<Entry>("entry");
    QTest::addColumn<bool>("writable");
    QTest::newRow("regular file") << Entry::Regular << true;
    QTest::newRow("data folder reached through a link") << Entry::FolderThroughLink << true;
    // The old sheet is replaced, never read.
    QTest::newRow("sparse 3 GB file") << Entry::Sparse << true;
    QTest::newRow("link to a file outside") << Entry::LinkOutside << false;
    QTest::newRow("link to a copy inside the folder") << Entry::LinkToCopy << false;
    QTest::newRow("link to the archive") << Entry::LinkToArchive << false;
    QTest::newRow("dangling link to outside") << Entry::Dangling << false;
    QTest::newRow("named pipe") << Entry::Pipe << false;
    QTest::newRow("link to /dev/zero") << Entry::DevZero << false;
}

void TestExportHostileEntries::entries()
{
    QFETCH(Entry, entry);
    QFETCH(bool, writable);

    TempFolder data;
    QTemporaryDir outside;
    QTemporaryDir via;
    QVERIFY(data.dir.isValid() && outside.isValid() && via.isValid());
    data.writeFile(QStringLiteral("Archivio_Studenti.pro"), archiveBytes());
    const QString sheet = data.path(SpreadsheetExport::fileName());
    const QString outsideSheet = outside.filePath(SpreadsheetExport::fileName());
    QString folder = data.folder;

    switch (entry) {
    case Entry::Regular:
        QVERIFY(writeBytes(sheet, kOldSheet));
        break;
    case Entry::FolderThroughLink:
        QVERIFY(writeBytes(sheet, kOldSheet));
        QVERIFY(makeLink(data.dir.path(), via.filePath(QStringLiteral("dati"))));
        folder = via.filePath(QStringLiteral("dati/"));
        break;
    case Entry::Sparse:
        QVERIFY(makeSparse(sheet, 3LL << 30, kOldSheet));
        break;
    case Entry::LinkOutside:
        QVERIFY(writeBytes(outsideSheet, kOldSheet));
        QVERIFY(makeLink(outsideSheet, sheet));
        break;
    case Entry::LinkToCopy:
        QVERIFY(writeBytes(data.path(QStringLiteral("Copie/")) + SpreadsheetExport::fileName(), kOldSheet));
        QVERIFY(makeLink(data.path(QStringLiteral("Copie/")) + SpreadsheetExport::fileName(), sheet));
        break;
    case Entry::LinkToArchive:
        QVERIFY(makeLink(StudentFiles::archivePath(data.folder), sheet));
        break;
    case Entry::Dangling:
        QVERIFY(makeLink(outsideSheet, sheet));
        break;
    case Entry::Pipe:
        QVERIFY(makePipe(sheet));
        break;
    case Entry::DevZero:
        QVERIFY(makeLink(QStringLiteral("/dev/zero"), sheet));
        break;
    }

    const Tree outsideBefore = snapshot(outside.path());
    const Tree dataBefore = snapshot(data.folder, false);

    QStringList problems = runIsolated([&] {
        Checks checks;
        if (entry == Entry::FolderThroughLink)
            DataFolder::add(folder);
        const PeakMemory memory;
        std::optional<PipeUnblocker> unblocker;
        if (entry == Entry::Pipe)
            unblocker.emplace(sheet, 3000);
        const bool written = checks.timed(QStringLiteral("exporting"), [&] { return exportArchive(folder); });
        checks.expect(written == writable, written ? QStringLiteral("the export worked")
                                                   : QStringLiteral("the export failed"));
        if (written) {
            QFile file(sheet);
            checks.expect(file.open(QIODevice::ReadOnly) && file.readAll().contains("Fuori Anna"),
                          QStringLiteral("the sheet does not hold the archive"));
        }
        checks.expect(memory.growthMB() < 64, QStringLiteral("peak memory grew by %1 MB").arg(memory.growthMB()));
        return checks.failures;
    });

    const Tree outsideAfter = snapshot(outside.path());
    if (outsideAfter != outsideBefore)
        problems << QStringLiteral("outside: ") + changes(outsideBefore, outsideAfter);
    const Tree dataAfter = snapshot(data.folder, false);
    if (writable ? dataAfter.keys() != dataBefore.keys() : dataAfter != dataBefore)
        problems << QStringLiteral("data folder: ") + changes(dataBefore, dataAfter);
    QVERIFY2(problems.isEmpty(), qPrintable(problems.join(QStringLiteral("; "))));
}

// An export stopped half way leaves its temporary file behind, which the
// clean-up at start must recognise.
void TestExportHostileEntries::temporaryFileIsOneStartUpRemoves()
{
    TempFolder data;
    data.writeFile(QStringLiteral("Archivio_Studenti.pro"), archiveBytes());
    data.writeFile(SpreadsheetExport::fileName(), kOldSheet);
    const QString sheet = data.path(SpreadsheetExport::fileName());

    CreatedNames created({data.dir.path()});
    QVERIFY(created.isWatching());
    QVERIFY(exportArchive(data.folder));
    QStringList temporaries = created.take();
    QVERIFY2(temporaries.removeAll(sheet) == 1, "the export did not replace the file");

    for (const QString &temporary : temporaries) {
        QVERIFY2(temporary.endsWith(QLatin1String(".lumetra-tmp")), qPrintable(temporary));
        QVERIFY2(!QFileInfo::exists(temporary), qPrintable(temporary + QStringLiteral(" was left behind")));
        QVERIFY(writeBytes(temporary, "interrotto"));
        QCOMPARE(removeInterruptedWrites(data.folder), 1);
        QVERIFY2(!QFileInfo::exists(temporary), qPrintable(temporary + QStringLiteral(" was not cleaned up")));
    }
}

QTEST_GUILESS_MAIN(TestExportHostileEntries)
#include "test_exporthostileentries.moc"
