// Data files reached through links, files too large to be what they claim,
// and what interrupted writes leave behind: with real files and links.
#include "archive/atomicfile.h"
#include "archive/datafolder.h"
#include "archive/filelock.h"
#include "archive/recordfile.h"
#include "archive/studentarchive.h"
#include "archive/studentfiles.h"
#include "register/testsfile.h"
#include "settings/inifile.h"
#include "settings/passwordcipher.h"
#include "tempfolder.h"

#include <QBuffer>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QThread>
#include <QtTest>

#include <csignal>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

enum class Kind { Archive, TestsFile, Photo, Store, SchoolIni, CardIni };

QString relativePath(Kind kind)
{
    switch (kind) {
    case Kind::Archive: return QStringLiteral("Archivio_Studenti.pro");
    case Kind::TestsFile: return QStringLiteral("Archivio_Prove/Prove_Studente_1.pro");
    case Kind::Photo: return QStringLiteral("Anagrafica/Scheda_Studente_1.jpg");
    case Kind::Store: return QStringLiteral("unins000.dll");
    case Kind::SchoolIni: return QStringLiteral("Lumetra.ini");
    case Kind::CardIni: return QStringLiteral("Tesserini.ini");
    }
    return {};
}

QByteArray jpeg(QColor colour)
{
    QImage image(60, 40, QImage::Format_RGB32);
    image.fill(colour);
    QByteArray data;
    QBuffer buffer(&data);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPG");
    return data;
}

// What a file of each kind holds before the test touches it.
QByteArray content(Kind kind)
{
    switch (kind) {
    case Kind::Archive: {
        StudentRecord card;
        card[StudentRecord::Studente] = QStringLiteral("Fuori Anna");
        return card.encode();
    }
    case Kind::TestsFile: {
        TProva test;
        test[TProva::Prova] = QStringLiteral("Fuori");
        return test.encode();
    }
    case Kind::Photo: return jpeg(Qt::red);
    case Kind::Store: return "[Accesso]\r\nValore=" + EncodePassword(QStringLiteral("FUORI")).toLatin1() + "\r\n";
    case Kind::SchoolIni:
    case Kind::CardIni: return "[Scuola]\r\nNome=Fuori\r\n";
    }
    return {};
}

// Reads the data file of `kind` as the program does; true when it got the
// content planted by content(kind).
bool readsPlanted(Kind kind, const QString &folder)
{
    try {
        switch (kind) {
        case Kind::Archive: {
            StudentArchive archive(folder);
            return archive.count() == 1 && archive.read(1)[StudentRecord::Studente] == QStringLiteral("Fuori Anna");
        }
        case Kind::TestsFile:
            return TestsFile::read(StudentFiles::testsPath(folder, QStringLiteral("1")), 1)[TProva::Prova]
                   == QStringLiteral("Fuori");
        case Kind::Photo:
            return !StudentFiles::loadStudentPhoto(folder, QStringLiteral("1")).isNull();
        case Kind::Store: {
            QString stored;
            return PasswordStore::readPassword(folder, &stored) && stored == QStringLiteral("FUORI");
        }
        case Kind::SchoolIni:
        case Kind::CardIni:
            return IniFile::read(folder + relativePath(kind), QStringLiteral("Scuola"), QStringLiteral("Nome"))
                   == QStringLiteral("Fuori");
        }
    } catch (const FileAccessError &) {
    }
    return false;
}

// Writes the data file of `kind` as the program does; true when it worked.
bool writes(Kind kind, const QString &folder)
{
    try {
        switch (kind) {
        case Kind::Archive: {
            StudentArchive archive(folder);
            StudentRecord card;
            card[StudentRecord::Studente] = QStringLiteral("Nuova Scheda");
            archive.append(card);
            archive.close();
            return true;
        }
        case Kind::TestsFile: {
            TProva test;
            test[TProva::Prova] = QStringLiteral("Nuova");
            TestsFile::append(TestsFile::prepare(folder, QStringLiteral("1")), test);
            return true;
        }
        case Kind::Photo: {
            QImage blue(30, 30, QImage::Format_RGB32);
            blue.fill(Qt::blue);
            return StudentFiles::saveStudentPhoto(folder, QStringLiteral("1"), blue);
        }
        case Kind::Store:
            return PasswordStore::writePassword(folder, QStringLiteral("NUOVA"));
        case Kind::SchoolIni:
        case Kind::CardIni:
            return IniFile::write(folder + relativePath(kind), QStringLiteral("Scuola"), QStringLiteral("Nome"),
                                  QStringLiteral("Nuova"));
        }
    } catch (const FileAccessError &) {
    }
    return false;
}

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool makeLink(const QString &target, const QString &link)
{
    QDir().mkpath(QFileInfo(link).absolutePath());
    return ::symlink(QFile::encodeName(target).constData(), QFile::encodeName(link).constData()) == 0;
}

// A sparse file of `bytes` that takes no room on disk.
void writeSparse(const QString &path, qint64 bytes, const QByteArray &head = QByteArray())
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(head);
    QVERIFY(file.resize(bytes));
}

constexpr qint64 kSixGigabytes = 6LL * 1024 * 1024 * 1024;

} // namespace

Q_DECLARE_METATYPE(Kind)

class TestDataFolder : public QObject
{
    Q_OBJECT
private slots:
    void links_data();
    void links();
    void pipesAndFoldersAreNoDataFiles_data();
    void pipesAndFoldersAreNoDataFiles();
    void pathsOutsideTheFolderAreUsedAsGiven();
    void atomicWriteReplacesALinkInsteadOfWritingThroughIt();
    void oversizedFilesAreNeverReadWhole_data();
    void oversizedFilesAreNeverReadWhole();
    void interruptedWritesAreRemoved();
    void killedWriterLeavesWhatStartRemoves();
};

void TestDataFolder::links_data()
{
    QTest::addColumn<Kind>("kind");
    QTest::addColumn<QString>("link");  // how the data file is reached
    QTest::addColumn<bool>("allowed");
    const struct { Kind kind; const char *name; } kinds[] = {
        {Kind::Archive, "archive"}, {Kind::TestsFile, "tests file"}, {Kind::Photo, "photo"},
        {Kind::Store, "password store"}, {Kind::SchoolIni, "Lumetra.ini"}, {Kind::CardIni, "Tesserini.ini"},
    };
    for (const auto &k : kinds) {
        const bool inSubfolder = relativePath(k.kind).contains(QLatin1Char('/'));
        const auto row = [&](const char *link, bool allowed) {
            QTest::addRow("%s, %s", k.name, link) << k.kind << QString::fromLatin1(link) << allowed;
        };
        row("regular file", true);
        row("link to a file outside", false);
        // Below the data folder no link is followed: one to another data
        // file would let a settings save overwrite the archive.
        row("link to a file inside", false);
        row("dangling link to outside", false);
        row("link to itself", false);
        if (inSubfolder) {
            row("its folder a link to outside", false);
            row("its folder a link to a folder inside", false);
        }
    }
}

void TestDataFolder::links()
{
    QFETCH(Kind, kind);
    QFETCH(QString, link);
    QFETCH(bool, allowed);

    TempFolder data;
    QTemporaryDir outside;
    const QString relative = relativePath(kind);
    const QString dataPath = data.path(relative);
    const QString outsidePath = outside.filePath(QFileInfo(relative).fileName());
    const QByteArray planted = content(kind);

    QString watched; // the file a refused action must leave as it was
    if (link == QLatin1String("regular file")) {
        data.writeFile(relative, planted);
        watched = dataPath;
    } else if (link == QLatin1String("link to a file outside")) {
        { QFile f(outsidePath); QVERIFY(f.open(QIODevice::WriteOnly)); f.write(planted); }
        QVERIFY(makeLink(outsidePath, dataPath));
        watched = outsidePath;
    } else if (link == QLatin1String("link to a file inside")) {
        data.writeFile(QStringLiteral("Copie/") + QFileInfo(relative).fileName(), planted);
        QVERIFY(makeLink(data.path(QStringLiteral("Copie/")) + QFileInfo(relative).fileName(), dataPath));
        watched = data.path(QStringLiteral("Copie/")) + QFileInfo(relative).fileName();
    } else if (link == QLatin1String("dangling link to outside")) {
        QVERIFY(makeLink(outsidePath, dataPath));
    } else if (link == QLatin1String("link to itself")) {
        QVERIFY(makeLink(dataPath, dataPath));
    } else if (link == QLatin1String("its folder a link to outside")) {
        { QFile f(outsidePath); QVERIFY(f.open(QIODevice::WriteOnly)); f.write(planted); }
        QVERIFY(makeLink(outside.path(), QFileInfo(dataPath).absolutePath()));
        watched = outsidePath;
    } else if (link == QLatin1String("its folder a link to a folder inside")) {
        data.writeFile(QStringLiteral("Altrove/") + QFileInfo(relative).fileName(), planted);
        QVERIFY(makeLink(data.path(QStringLiteral("Altrove")), QFileInfo(dataPath).absolutePath()));
        watched = data.path(QStringLiteral("Altrove/")) + QFileInfo(relative).fileName();
    }

    const bool hadContent = !watched.isEmpty();
    const QByteArray before = hadContent ? readAll(watched) : QByteArray();
    const QStringList outsideBefore = QDir(outside.path()).entryList(QDir::Files | QDir::NoDotAndDotDot);
    QCOMPARE(readsPlanted(kind, data.folder), allowed && hadContent);
    QCOMPARE(writes(kind, data.folder), allowed);

    if (!allowed) {
        if (hadContent)
            QCOMPARE(readAll(watched), before);
        // Nothing was created outside either.
        QCOMPARE(QDir(outside.path()).entryList(QDir::Files | QDir::NoDotAndDotDot), outsideBefore);
    } else {
        QVERIFY(readAll(watched) != before);
    }
    // No temporary file is left next to anything.
    for (const QString &dir : {data.folder, data.path(QStringLiteral("Anagrafica")), outside.path()})
        QVERIFY(QDir(dir).entryList({QStringLiteral("*.lumetra-tmp")}, QDir::Files | QDir::Hidden).isEmpty());
}

void TestDataFolder::pipesAndFoldersAreNoDataFiles_data()
{
    QTest::addColumn<Kind>("kind");
    QTest::addColumn<bool>("pipe"); // false: a folder of that name
    for (Kind kind : {Kind::Archive, Kind::Photo, Kind::Store, Kind::SchoolIni}) {
        QTest::addRow("%s, named pipe", qPrintable(relativePath(kind))) << kind << true;
        QTest::addRow("%s, folder", qPrintable(relativePath(kind))) << kind << false;
    }
}

void TestDataFolder::pipesAndFoldersAreNoDataFiles()
{
    QFETCH(Kind, kind);
    QFETCH(bool, pipe);
    TempFolder data;
    const QString path = data.path(relativePath(kind));
    QDir().mkpath(QFileInfo(path).absolutePath());
    if (pipe)
        QVERIFY(::mkfifo(QFile::encodeName(path).constData(), 0600) == 0);
    else
        QVERIFY(QDir().mkpath(path));
    // A pipe with no writer would block a plain open for reading for good.
    QElapsedTimer clock;
    clock.start();
    QVERIFY(!readsPlanted(kind, data.folder));
    QVERIFY(!writes(kind, data.folder));
    QVERIFY(clock.elapsed() < 5000);
    QFileInfo after(path);
    QVERIFY(pipe ? !after.isFile() && after.exists() : after.isDir());
}

void TestDataFolder::pathsOutsideTheFolderAreUsedAsGiven()
{
    // Files the operator picks lie anywhere and may be links.
    TempFolder data;
    QTemporaryDir elsewhere;
    const QString picture = elsewhere.filePath(QStringLiteral("foto.jpg"));
    { QFile f(picture); QVERIFY(f.open(QIODevice::WriteOnly)); f.write(jpeg(Qt::green)); }
    const QString linked = elsewhere.filePath(QStringLiteral("collegata.jpg"));
    QVERIFY(makeLink(picture, linked));
    QVERIFY(DataFolder::isFile(linked));
    QVERIFY(!StudentFiles::loadPicture(linked).isNull());
    QVERIFY(writeFileAtomically(elsewhere.filePath(QStringLiteral("export.xls")), "<table/>"));
    QCOMPARE(readAll(elsewhere.filePath(QStringLiteral("export.xls"))), QByteArray("<table/>"));
}

void TestDataFolder::atomicWriteReplacesALinkInsteadOfWritingThroughIt()
{
    // Outside the data folder there is no folder to stay in, but the
    // replacement still never writes into a link's target.
    QTemporaryDir dir;
    const QString target = dir.filePath(QStringLiteral("bersaglio.txt"));
    const QString link = dir.filePath(QStringLiteral("scelto.txt"));
    { QFile f(target); QVERIFY(f.open(QIODevice::WriteOnly)); f.write("da non toccare"); }
    QVERIFY(makeLink(target, link));
    QVERIFY(writeFileAtomically(link, "nuovo"));
    QCOMPARE(readAll(target), QByteArray("da non toccare"));
    QVERIFY(!QFileInfo(link).isSymLink());
    QCOMPARE(readAll(link), QByteArray("nuovo"));
}

void TestDataFolder::oversizedFilesAreNeverReadWhole_data()
{
    QTest::addColumn<Kind>("kind");
    QTest::addColumn<qint64>("bytes");
    QTest::newRow("photo of 6 GB") << Kind::Photo << kSixGigabytes;
    QTest::newRow("photo just over 512 MB") << Kind::Photo << (512LL << 20) + 1;
    QTest::newRow("password store of 6 GB") << Kind::Store << kSixGigabytes;
    QTest::newRow("Lumetra.ini of 6 GB") << Kind::SchoolIni << kSixGigabytes;
    QTest::newRow("Tesserini.ini of 5 MB") << Kind::CardIni << qint64(5 << 20);
}

void TestDataFolder::oversizedFilesAreNeverReadWhole()
{
    QFETCH(Kind, kind);
    QFETCH(qint64, bytes);
    TempFolder data;
    const QString path = data.path(relativePath(kind));
    // A real beginning, so that only the size is wrong.
    writeSparse(path, bytes, content(kind));

    QElapsedTimer clock;
    clock.start();
    QVERIFY(!readsPlanted(kind, data.folder));
    if (kind == Kind::Photo) {
        QVERIFY(StudentFiles::loadPicture(path).isNull());
    } else {
        // A settings write that cannot read the file leaves it alone.
        QVERIFY(!writes(kind, data.folder));
        QCOMPARE(QFileInfo(path).size(), bytes);
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.read(content(kind).size()), content(kind));
    }
    QVERIFY2(clock.elapsed() < 3000, qPrintable(QString::number(clock.elapsed())));
}

void TestDataFolder::interruptedWritesAreRemoved()
{
    TempFolder data;
    const QStringList leftovers = {
        QStringLiteral("unins000.dll.a8Xk2Q.lumetra-tmp"),
        QStringLiteral("Lumetra.ini.ZZZZZZ.lumetra-tmp"),
        QStringLiteral("Anagrafica/Scheda_Studente_1.jpg.Ab3xYz.lumetra-tmp"),
        QStringLiteral("Anagrafica/Logo.bmp.000000.lumetra-tmp"),
    };
    // Names the program never makes, and the operator's own files.
    const QStringList kept = {
        QStringLiteral("unins000.dll"),
        QStringLiteral("unins000.dll.backup"),
        QStringLiteral("Lumetra.ini.AbCdEf"),
        QStringLiteral("nota.lumetra-tmp"),
        QStringLiteral("Lumetra.ini.abc.lumetra-tmp"),
        QStringLiteral("Anagrafica/Scheda_Studente_1.jpg"),
        QStringLiteral("Anagrafica/Scheda_Studente_1.jpg.Ab3xYz.lumetra-tmp.old"),
        QStringLiteral("Altro/x.ini.a8Xk2Q.lumetra-tmp"),
    };
    for (const QString &name : leftovers + kept)
        data.writeFile(name, "x");

    // A write still running (on this or another workstation) holds its file.
    const QString running = data.path(QStringLiteral("Tesserini.ini.RuNnIn.lumetra-tmp"));
    data.writeFile(QStringLiteral("Tesserini.ini.RuNnIn.lumetra-tmp"), "in corso");
    const int fd = ::open(QFile::encodeName(running).constData(), O_RDWR);
    QVERIFY(fd >= 0);
    {
        FileLock writer(fd, 0);
        QVERIFY(writer.isLocked());
        QCOMPARE(removeInterruptedWrites(data.folder), int(leftovers.size()));
    }
    ::close(fd);
    QVERIFY(QFile::exists(running));
    for (const QString &name : leftovers)
        QVERIFY2(!QFile::exists(data.path(name)), qPrintable(name));
    for (const QString &name : kept)
        QVERIFY2(QFile::exists(data.path(name)), qPrintable(name));

    // Once that writer is gone, its file is a leftover too.
    QCOMPARE(removeInterruptedWrites(data.folder), 1);
    QVERIFY(!QFile::exists(running));
}

void TestDataFolder::killedWriterLeavesWhatStartRemoves()
{
    TempFolder data;
    data.writeFile(QStringLiteral("unins000.dll"), "originale");
    const QString writerProgram = QCoreApplication::applicationDirPath() + QStringLiteral("/atomic_writer");
    QStringList left;
    for (int attempt = 0; attempt < 5 && left.isEmpty(); ++attempt) {
        QProcess writer;
        writer.start(writerProgram, {data.path(QStringLiteral("unins000.dll")), QStringLiteral("32")});
        QVERIFY(writer.waitForStarted());
        QElapsedTimer clock;
        clock.start();
        while (clock.elapsed() < 10000
               && QDir(data.folder).entryList({QStringLiteral("*.lumetra-tmp")}, QDir::Files).isEmpty())
            QThread::usleep(200);
        ::kill(pid_t(writer.processId()), SIGKILL);
        writer.waitForFinished();
        left = QDir(data.folder).entryList({QStringLiteral("*.lumetra-tmp")}, QDir::Files);
    }
    QCOMPARE(left.size(), 1);
    // The store itself is whole: the old content or a complete new one.
    const QByteArray store = data.readFile(QStringLiteral("unins000.dll"));
    QVERIFY(store == "originale" || store == QByteArray(32 << 20, 'n'));

    QCOMPARE(removeInterruptedWrites(data.folder), 1);
    QVERIFY(QDir(data.folder).entryList({QStringLiteral("*.lumetra-tmp")}, QDir::Files).isEmpty());
    QCOMPARE(data.readFile(QStringLiteral("unins000.dll")), store);
}

QTEST_GUILESS_MAIN(TestDataFolder)
#include "test_datafolder.moc"
