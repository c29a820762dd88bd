// What someone who may write into a shared data folder can plant there to make
// the program read or overwrite files elsewhere, block, or run out of memory
// (links, named pipes, devices, sparse files of gigabytes, a subfolder turned
// into a link, even while a save runs), and every data file loaded and saved
// with each of them in its place.
#include "archive/atomicfile.h"
#include "archive/attachmentfiles.h"
#include "archive/datafolder.h"
#include "archive/recordfile.h"
#include "archive/studentarchive.h"
#include "archive/studentfiles.h"
#include "card/cardlogo.h"
#include "card/cardprintsettings.h"
#include "hostileentries.h"
#include "register/testsfile.h"
#include "settings/inifile.h"
#include "settings/passwordcipher.h"
#include "settings/schooldata.h"
#include "tempfolder.h"

#include <QBuffer>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QTemporaryDir>
#include <QtTest>

#include <optional>
#include <thread>

#include <fcntl.h>
#include <stdio.h>

using namespace Hostile;

namespace {

enum class Kind { Archive, TestsFile, Photo, Logo, Store, SchoolIni, CardIni, Attachment };

enum class Entry {
    Regular,            // a plain file: everything works
    FolderThroughLink,  // a plain file, the data folder itself reached through a link
    LinkOutside,        // a link to a file outside the folder
    LinkToCopy,         // a link to a file of the same kind elsewhere in the folder
    LinkToDataFile,     // a link to another of the program's files
    Dangling,           // a link to a missing file outside
    Pipe,               // a named pipe with nobody at the other end
    DevZero,            // a link to /dev/zero: endless, and of size 0
    Sparse,             // a 3 GB file taking no disk space, planted content at its start
    Bom,                // the planted settings behind a UTF-8 byte-order mark
    FolderLinkOutside,  // the file's subfolder a link to a folder outside
};

constexpr qint64 kThreeGB = 3LL << 30;
const QByteArray kBom("\xEF\xBB\xBF");

QString kindName(Kind kind)
{
    switch (kind) {
    case Kind::Archive: return QStringLiteral("archive");
    case Kind::TestsFile: return QStringLiteral("tests file");
    case Kind::Photo: return QStringLiteral("photo");
    case Kind::Logo: return QStringLiteral("logo");
    case Kind::Store: return QStringLiteral("password store");
    case Kind::SchoolIni: return QStringLiteral("Lumetra.ini");
    case Kind::CardIni: return QStringLiteral("Tesserini.ini");
    case Kind::Attachment: return QStringLiteral("attachment");
    }
    return {};
}

QString relativePath(Kind kind)
{
    switch (kind) {
    case Kind::Archive: return QStringLiteral("Archivio_Studenti.pro");
    case Kind::TestsFile: return QStringLiteral("Archivio_Prove/Prove_Studente_1.pro");
    case Kind::Photo: return QStringLiteral("Anagrafica/Scheda_Studente_1.jpg");
    case Kind::Logo: return QStringLiteral("Anagrafica/Logo.bmp");
    case Kind::Store: return QStringLiteral("unins000.dll");
    case Kind::SchoolIni: return QStringLiteral("Lumetra.ini");
    case Kind::CardIni: return QStringLiteral("Tesserini.ini");
    case Kind::Attachment: return QStringLiteral("Documenti_Allegati/diploma.pdf");
    }
    return {};
}

QImage filled(int width, int height, QColor colour)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

QByteArray imageBytes(const QImage &image, const char *format)
{
    QByteArray data;
    QBuffer buffer(&data);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return data;
}

bool isBlue(const QImage &image)
{
    if (image.isNull())
        return false;
    const QColor centre = image.pixelColor(image.width() / 2, image.height() / 2);
    return centre.blue() > 200 && centre.red() < 60 && centre.green() < 60;
}

// What a file of each kind holds before a case touches it; loading it
// through the program gives what load() calls "planted".
QByteArray planted(Kind kind)
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
    case Kind::Photo: return imageBytes(filled(60, 40, Qt::red), "JPG");
    case Kind::Logo: return imageBytes(filled(CardLogo::Width, CardLogo::Height, Qt::red), "BMP");
    case Kind::Store: return "[Accesso]\r\nValore=" + EncodePassword(QStringLiteral("FUORI")).toLatin1() + "\r\n";
    case Kind::SchoolIni:
        return "[Scuola]\r\nDenominazione=Istituto Fuori\r\nIndirizzo=Via Fuori 1\r\nAltro=resta\r\n";
    case Kind::CardIni:
        return "[Margini Stampa]\r\nSuperiore=5\r\nSinistro=-3\r\n\r\n[Stampa Tesserino]\r\nOrientamento=Orizzontale\r\n";
    case Kind::Attachment: return "allegato fuori";
    }
    return {};
}

const SchoolTexts &newSchoolTexts()
{
    static const SchoolTexts texts{QStringLiteral("Istituto Nuovo"), QStringLiteral("Via Nuova 2"),
                                   QStringLiteral("Tel. 0123"), QStringLiteral("Nota nuova")};
    return texts;
}

const QByteArray kPickedAttachment("copia scelta dall'operatore");

// Loads the file of `kind` as the program does: "planted" when it got the
// planted content, "missing" when it got what a missing file gives (for
// the archive and tests files, which never read as missing: a
// FileAccessError), otherwise what it got. `records`: how many the planted
// archive or tests file holds.
QString load(Kind kind, const QString &folder, qint64 records)
{
    try {
        switch (kind) {
        case Kind::Archive: {
            StudentArchive archive(folder);
            const qint64 count = archive.count();
            const QString name = count > 0 ? archive.read(1)[StudentRecord::Studente] : QString();
            if (count == records && name == QLatin1String("Fuori Anna"))
                return QStringLiteral("planted");
            return QStringLiteral("%1 cards, the first \"%2\"").arg(count).arg(name);
        }
        case Kind::TestsFile: {
            const QString path = TestsFile::prepare(folder, QStringLiteral("1"));
            const QString first = TestsFile::read(path, 1)[TProva::Prova];
            // The last record is there and the next is not: the count is right.
            TestsFile::read(path, records);
            bool beyond = true;
            try {
                TestsFile::read(path, records + 1);
            } catch (const FileAccessError &) {
                beyond = false;
            }
            if (first == QLatin1String("Fuori") && !beyond)
                return QStringLiteral("planted");
            return QStringLiteral("first test \"%1\"%2").arg(first, beyond ? QStringLiteral(", more tests") : QString());
        }
        case Kind::Photo:
        case Kind::Logo: {
            const QImage picture = kind == Kind::Photo ? StudentFiles::loadStudentPhoto(folder, QStringLiteral("1"))
                                                       : CardLogo::load(folder);
            if (picture.isNull())
                return QStringLiteral("missing");
            const QColor centre = picture.pixelColor(picture.width() / 2, picture.height() / 2);
            return centre.red() > 200 && centre.blue() < 60 ? QStringLiteral("planted")
                                                             : QStringLiteral("a picture of another colour");
        }
        case Kind::Store: {
            const QString value = PasswordStore::readValue(folder);
            if (value.isEmpty())
                return QStringLiteral("missing");
            return value == EncodePassword(QStringLiteral("FUORI")) ? QStringLiteral("planted") : value;
        }
        case Kind::SchoolIni: {
            const SchoolTexts texts = SchoolData::load(folder);
            if (texts == SchoolData::defaults())
                return QStringLiteral("missing");
            if (texts.denominazione == QLatin1String("Istituto Fuori") && texts.indirizzo == QLatin1String("Via Fuori 1")
                && texts.recapiti == SchoolData::defaults().recapiti)
                return QStringLiteral("planted");
            return QStringLiteral("\"%1\", \"%2\", \"%3\"").arg(texts.denominazione, texts.indirizzo, texts.recapiti);
        }
        case Kind::CardIni: {
            const CardPrintSettings::Values values = CardPrintSettings::load(folder + CardPrintSettings::fileName());
            if (values.top == QLatin1String("0") && values.left == QLatin1String("0") && !values.landscape)
                return QStringLiteral("missing");
            if (values.top == QLatin1String("5") && values.left == QLatin1String("-3") && values.landscape)
                return QStringLiteral("planted");
            return QStringLiteral("top \"%1\", left \"%2\"").arg(values.top, values.left);
        }
        case Kind::Attachment:
            break;
        }
    } catch (const FileAccessError &) {
        return QStringLiteral("missing");
    }
    return QStringLiteral("nothing to load");
}

// Saves a file of `kind` as the program does; true when the save reported success.
bool save(Kind kind, const QString &folder, const QString &pickedAttachment)
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
        case Kind::Photo:
            return StudentFiles::saveStudentPhoto(folder, QStringLiteral("1"), filled(30, 30, Qt::blue));
        case Kind::Logo:
            return CardLogo::save(folder, filled(40, 40, Qt::blue));
        case Kind::Store:
            return PasswordStore::writePassword(folder, QStringLiteral("NUOVA"));
        case Kind::SchoolIni:
            return SchoolData::save(folder, newSchoolTexts());
        case Kind::CardIni: {
            // Both margins are saved on their own; each must fail or work alike.
            const QString path = folder + CardPrintSettings::fileName();
            const bool top = CardPrintSettings::saveTop(path, QStringLiteral("7"), false);
            const bool left = CardPrintSettings::saveLeft(path, QStringLiteral("2"), false);
            return top && left;
        }
        case Kind::Attachment:
            return AttachmentFiles::store(folder, pickedAttachment, QStringLiteral("diploma.pdf"));
        }
    } catch (const FileAccessError &) {
    }
    return false;
}

// After a save that worked: "saved" when loading gives what was saved.
QString reload(Kind kind, const QString &folder, qint64 records)
{
    try {
        switch (kind) {
        case Kind::Archive: {
            StudentArchive archive(folder);
            const qint64 count = archive.count();
            const QString last = count > 0 ? archive.read(count)[StudentRecord::Studente] : QString();
            return count == records + 1 && last == QLatin1String("Nuova Scheda")
                       ? QStringLiteral("saved")
                       : QStringLiteral("%1 cards, the last \"%2\"").arg(count).arg(last);
        }
        case Kind::TestsFile: {
            const QString last = TestsFile::read(StudentFiles::testsPath(folder, QStringLiteral("1")), records + 1)[TProva::Prova];
            return last == QLatin1String("Nuova") ? QStringLiteral("saved") : QStringLiteral("last test \"%1\"").arg(last);
        }
        case Kind::Photo:
            return isBlue(StudentFiles::loadStudentPhoto(folder, QStringLiteral("1"))) ? QStringLiteral("saved")
                                                                                        : QStringLiteral("not the new photo");
        case Kind::Logo: {
            const QImage logo = CardLogo::load(folder);
            return isBlue(logo) && logo.size() == QSize(CardLogo::Width, CardLogo::Height)
                       ? QStringLiteral("saved")
                       : QStringLiteral("not the new logo");
        }
        case Kind::Store: {
            QString stored;
            return PasswordStore::readPassword(folder, &stored) && stored == QLatin1String("NUOVA")
                       ? QStringLiteral("saved")
                       : QStringLiteral("password \"%1\"").arg(stored);
        }
        case Kind::SchoolIni:
            return SchoolData::load(folder) == newSchoolTexts() ? QStringLiteral("saved")
                                                                : QStringLiteral("other school texts");
        case Kind::CardIni: {
            const CardPrintSettings::Values values = CardPrintSettings::load(folder + CardPrintSettings::fileName());
            return values.top == QLatin1String("7") && values.left == QLatin1String("2") && !values.landscape
                       ? QStringLiteral("saved")
                       : QStringLiteral("top \"%1\", left \"%2\"").arg(values.top, values.left);
        }
        case Kind::Attachment: {
            QFile file(AttachmentFiles::path(folder, QStringLiteral("diploma.pdf")));
            return file.open(QIODevice::ReadOnly) && file.readAll() == kPickedAttachment
                       ? QStringLiteral("saved")
                       : QStringLiteral("not the picked file");
        }
        }
    } catch (const FileAccessError &) {
        return QStringLiteral("FileAccessError");
    }
    return {};
}

// Header lines of `section` in an INI file's bytes.
int sectionCount(const QByteArray &content, const QByteArray &section)
{
    int count = 0;
    for (QByteArray line : content.split('\n')) {
        line = line.trimmed();
        if (line.startsWith('[') && line.endsWith(']')
            && line.mid(1, line.size() - 2).trimmed().toLower() == section.toLower())
            ++count;
    }
    return count;
}

QByteArray readRaw(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

Q_DECLARE_METATYPE(Kind)
Q_DECLARE_METATYPE(Entry)

class TestHostileEntries : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void entries_data();
    void entries();
    void temporaryFilesAreOnesStartUpRemoves_data();
    void temporaryFilesAreOnesStartUpRemoves();
    void subfolderSwappedForALinkDuringSaves();
};

void TestHostileEntries::initTestCase()
{
    // The image plugins are loaded once here, not in every case's child
    // process, where they would count as memory the case used.
    QVERIFY(!QImage::fromData(imageBytes(filled(8, 8, Qt::red), "JPG")).isNull());
    QVERIFY(!QImage::fromData(imageBytes(filled(8, 8, Qt::red), "BMP")).isNull());
}

void TestHostileEntries::entries_data()
{
    QTest::addColumn<Kind>("kind");
    QTest::addColumn<Entry>("entry");
    QTest::addColumn<bool>("readable"); // loading gives the planted content
    QTest::addColumn<bool>("writable"); // a save works and loads back

    const struct
    {
        Entry entry;
        const char *name;
    } entries[] = {
        {Entry::Regular, "regular file"},
        {Entry::FolderThroughLink, "data folder reached through a link"},
        {Entry::LinkOutside, "link to a file outside"},
        {Entry::LinkToCopy, "link to a copy inside the folder"},
        {Entry::LinkToDataFile, "link to another data file"},
        {Entry::Dangling, "dangling link to outside"},
        {Entry::Pipe, "named pipe"},
        {Entry::DevZero, "link to /dev/zero"},
        {Entry::Sparse, "sparse 3 GB file"},
        {Entry::Bom, "byte-order mark"},
        {Entry::FolderLinkOutside, "its folder a link to outside"},
    };
    for (Kind kind : {Kind::Archive, Kind::TestsFile, Kind::Photo, Kind::Logo, Kind::Store, Kind::SchoolIni,
                      Kind::CardIni, Kind::Attachment}) {
        const bool ini = kind == Kind::SchoolIni || kind == Kind::CardIni;
        for (const auto &e : entries) {
            bool readable = false;
            bool writable = false;
            switch (e.entry) {
            case Entry::Regular:
            case Entry::FolderThroughLink:
                readable = writable = true;
                break;
            case Entry::Bom:
                if (!ini)
                    continue;
                readable = writable = true;
                break;
            case Entry::Sparse:
                if (kind == Kind::Attachment)
                    continue;
                // Record files may be that big (an archive of many empty
                // cards); pictures are refused for reading but replaced
                // whole; settings files are no settings files at that size,
                // and a save keeps them rather than lose what it cannot read.
                readable = kind == Kind::Archive || kind == Kind::TestsFile;
                writable = !(ini || kind == Kind::Store);
                break;
            case Entry::FolderLinkOutside:
                if (!relativePath(kind).contains(QLatin1Char('/')))
                    continue;
                break;
            default:
                break; // every link, the pipe and the device are refused
            }
            QTest::addRow("%s, %s", qPrintable(kindName(kind)), e.name) << kind << e.entry << readable << writable;
        }
    }
}

void TestHostileEntries::entries()
{
    QFETCH(Kind, kind);
    QFETCH(Entry, entry);
    QFETCH(bool, readable);
    QFETCH(bool, writable);

    TempFolder data;
    QTemporaryDir outside;
    QTemporaryDir via;
    QTemporaryDir picked;
    QVERIFY(data.dir.isValid() && outside.isValid() && via.isValid() && picked.isValid());

    const QString relative = relativePath(kind);
    const QString dataPath = data.path(relative);
    const QString baseName = QFileInfo(relative).fileName();
    const QString outsidePath = outside.filePath(baseName);
    const QString pickedPath = picked.filePath(QStringLiteral("diploma.pdf"));
    QVERIFY(writeBytes(pickedPath, kPickedAttachment));
    QString folder = data.folder;
    qint64 records = 1;

    switch (entry) {
    case Entry::Regular:
        QVERIFY(writeBytes(dataPath, planted(kind)));
        break;
    case Entry::FolderThroughLink:
        QVERIFY(writeBytes(dataPath, planted(kind)));
        QVERIFY(makeLink(data.dir.path(), via.filePath(QStringLiteral("dati"))));
        folder = via.filePath(QStringLiteral("dati/"));
        break;
    case Entry::LinkOutside:
        QVERIFY(writeBytes(outsidePath, planted(kind)));
        QVERIFY(makeLink(outsidePath, dataPath));
        break;
    case Entry::LinkToCopy:
        QVERIFY(writeBytes(data.path(QStringLiteral("Copie/")) + baseName, planted(kind)));
        QVERIFY(makeLink(data.path(QStringLiteral("Copie/")) + baseName, dataPath));
        break;
    case Entry::LinkToDataFile: {
        // Following it would read or overwrite the archive (or, for the
        // archive itself, the school's settings).
        const Kind other = kind == Kind::Archive ? Kind::SchoolIni : Kind::Archive;
        QVERIFY(writeBytes(data.path(relativePath(other)), planted(other)));
        QVERIFY(makeLink(data.path(relativePath(other)), dataPath));
        break;
    }
    case Entry::Dangling:
        QVERIFY(makeLink(outsidePath, dataPath));
        break;
    case Entry::Pipe:
        QVERIFY(makePipe(dataPath));
        break;
    case Entry::DevZero:
        QVERIFY(makeLink(QStringLiteral("/dev/zero"), dataPath));
        break;
    case Entry::Sparse:
        QVERIFY(makeSparse(dataPath, kThreeGB, planted(kind)));
        if (kind == Kind::Archive)
            records = kThreeGB / StudentRecord::Size;
        else if (kind == Kind::TestsFile)
            records = kThreeGB / TProva::Size;
        break;
    case Entry::Bom:
        QVERIFY(writeBytes(dataPath, kBom + planted(kind)));
        break;
    case Entry::FolderLinkOutside:
        QVERIFY(writeBytes(outsidePath, planted(kind)));
        QVERIFY(makeLink(outside.path(), QFileInfo(dataPath).absolutePath()));
        break;
    }

    const Tree outsideBefore = snapshot(outside.path());
    const Tree dataBefore = snapshot(data.folder, false);

    const QStringList failures = runIsolated([&] {
        Checks checks;
        // As the program registers its folder, by the path it was given.
        if (entry == Entry::FolderThroughLink)
            DataFolder::add(folder);
        const PeakMemory memory;
        std::optional<PipeUnblocker> unblocker;
        if (entry == Entry::Pipe)
            unblocker.emplace(dataPath, 3000);
        if (kind != Kind::Attachment) {
            const QString got = checks.timed(QStringLiteral("loading"), [&] { return load(kind, folder, records); });
            const QString want = readable ? QStringLiteral("planted") : QStringLiteral("missing");
            checks.expect(got == want, QStringLiteral("loading gave %1, not %2").arg(got, want));
        }
        const bool saved = checks.timed(QStringLiteral("saving"), [&] { return save(kind, folder, pickedPath); });
        checks.expect(saved == writable, saved ? QStringLiteral("the save worked") : QStringLiteral("the save failed"));
        if (saved) {
            const QString state = checks.timed(QStringLiteral("loading again"), [&] { return reload(kind, folder, records); });
            checks.expect(state == QLatin1String("saved"), QStringLiteral("after the save, loading gave %1").arg(state));
        }
        checks.expect(memory.growthMB() < 64, QStringLiteral("peak memory grew by %1 MB").arg(memory.growthMB()));
        return checks.failures;
    });
    QStringList problems = failures;
    // Nothing outside is ever touched, whatever the case.
    const Tree outsideAfter = snapshot(outside.path());
    if (outsideAfter != outsideBefore)
        problems << QStringLiteral("outside: ") + changes(outsideBefore, outsideAfter);
    // A refused save leaves the planted entry and what it points at as they
    // were; a save that works replaces its file and leaves nothing else.
    const Tree dataAfter = snapshot(data.folder, false);
    if (writable ? dataAfter.keys() != dataBefore.keys() : dataAfter != dataBefore)
        problems << QStringLiteral("data folder: ") + changes(dataBefore, dataAfter);
    QVERIFY2(problems.isEmpty(), qPrintable(problems.join(QStringLiteral("; "))));

    if (entry == Entry::Bom) {
        // Written back without the mark, the sections found rather than
        // added again, the other keys kept.
        const QByteArray after = readRaw(dataPath);
        QVERIFY2(!after.startsWith(kBom), after.constData());
        if (kind == Kind::SchoolIni) {
            QCOMPARE(sectionCount(after, "Scuola"), 1);
            QCOMPARE(IniFile::read(dataPath, QStringLiteral("Scuola"), QStringLiteral("Altro")), QStringLiteral("resta"));
        } else {
            QCOMPARE(sectionCount(after, "Margini Stampa"), 1);
            QCOMPARE(sectionCount(after, "Stampa Tesserino"), 1);
        }
    }
}

void TestHostileEntries::temporaryFilesAreOnesStartUpRemoves_data()
{
    QTest::addColumn<Kind>("kind");
    QTest::addColumn<QString>("name"); // the attachment's

    const QString attachment = QStringLiteral("diploma.pdf");
    QTest::newRow("Lumetra.ini") << Kind::SchoolIni << attachment;
    QTest::newRow("Tesserini.ini") << Kind::CardIni << attachment;
    QTest::newRow("password store") << Kind::Store << attachment;
    QTest::newRow("photo") << Kind::Photo << attachment;
    QTest::newRow("logo") << Kind::Logo << attachment;
    QTest::newRow("attachment") << Kind::Attachment << attachment;
    // No room for a suffix after the name itself.
    QTest::newRow("attachment, 250-character name") << Kind::Attachment << QString(246, QLatin1Char('n')) + ".pdf";
}

// A save stopped half way leaves its temporary file behind; the clean-up at
// start finds only names it knows, so every save must make such names.
void TestHostileEntries::temporaryFilesAreOnesStartUpRemoves()
{
    QFETCH(Kind, kind);
    QFETCH(QString, name);

    TempFolder data;
    QTemporaryDir picked;
    const QString target = kind == Kind::Attachment ? data.path(QStringLiteral("Documenti_Allegati/")) + name
                                                    : data.path(relativePath(kind));
    const QString pickedPath = picked.filePath(QStringLiteral("diploma.pdf"));
    QVERIFY(writeBytes(pickedPath, kPickedAttachment));
    QVERIFY(writeBytes(target, kind == Kind::Attachment ? QByteArray("vecchio") : planted(kind)));
    const QStringList folders{data.dir.path(), data.path(QStringLiteral("Anagrafica")),
                              data.path(QStringLiteral("Documenti_Allegati"))};
    for (const QString &folder : folders)
        QVERIFY(QDir().mkpath(folder));

    CreatedNames created(folders);
    QVERIFY(created.isWatching());
    const bool saved = kind == Kind::Attachment ? AttachmentFiles::store(data.folder, pickedPath, name)
                                                : save(kind, data.folder, pickedPath);
    QVERIFY(saved);
    QStringList temporaries = created.take();
    QVERIFY2(temporaries.removeAll(target) == 1, "the save did not replace the file");

    for (const QString &temporary : temporaries) {
        QVERIFY2(temporary.endsWith(QLatin1String(".lumetra-tmp")), qPrintable(temporary));
        QVERIFY2(!QFileInfo::exists(temporary), qPrintable(temporary + QStringLiteral(" was left behind")));
        // Left over by a save that was stopped: the clean-up removes it.
        QVERIFY(writeBytes(temporary, "interrotto"));
        QCOMPARE(removeInterruptedWrites(data.folder), 1);
        QVERIFY2(!QFileInfo::exists(temporary), qPrintable(temporary + QStringLiteral(" was not cleaned up")));
    }
}

// Anagrafica swapped between the real folder and a link to a folder outside
// as fast as the machine goes, while photos and logos are saved and loaded:
// saves may fail, but nothing is ever written to or read from outside.
void TestHostileEntries::subfolderSwappedForALinkDuringSaves()
{
    TempFolder data;
    QTemporaryDir outside;
    QVERIFY(writeBytes(outside.filePath(QStringLiteral("Logo.bmp")), planted(Kind::Logo)));
    QVERIFY(writeBytes(outside.filePath(QStringLiteral("Scheda_Studente_1.jpg")), planted(Kind::Photo)));
    const Tree outsideBefore = snapshot(outside.path());

    const QString photos = data.path(QStringLiteral("Anagrafica"));
    const QString parked = data.path(QStringLiteral("Scambio"));
    QVERIFY(QDir().mkpath(photos));
    QVERIFY(makeLink(outside.path(), parked));
    const QByteArray photosName = encoded(photos);
    const QByteArray parkedName = encoded(parked);
    if (::renameat2(AT_FDCWD, photosName.constData(), AT_FDCWD, parkedName.constData(), RENAME_EXCHANGE) != 0)
        QSKIP("the file system cannot exchange two names");

    std::atomic<bool> stop{false};
    std::atomic<long> swaps{0};
    std::thread swapper([&] {
        // One rename exchanges both names at once: "Anagrafica" is always
        // there, the real folder or the link.
        while (!stop) {
            if (::renameat2(AT_FDCWD, photosName.constData(), AT_FDCWD, parkedName.constData(), RENAME_EXCHANGE) == 0)
                ++swaps;
        }
    });

    int rounds = 0;
    int logosSaved = 0;
    int photosSaved = 0;
    QStringList readOutside;
    QElapsedTimer clock;
    clock.start();
    for (int round = 0; round < 300 && clock.elapsed() < 5000; ++round, ++rounds) {
        const QColor colour = round % 2 ? QColor(Qt::blue) : QColor(Qt::green);
        logosSaved += CardLogo::save(data.folder, filled(40, 40, colour));
        photosSaved += StudentFiles::saveStudentPhoto(data.folder, QStringLiteral("1"), filled(30, 30, colour));
        // Red is only what lies outside.
        for (const QImage &picture : {CardLogo::load(data.folder), StudentFiles::loadStudentPhoto(data.folder, QStringLiteral("1"))}) {
            if (!picture.isNull() && picture.pixelColor(picture.width() / 2, picture.height() / 2).red() > 200)
                readOutside << QStringLiteral("round %1").arg(round);
        }
    }
    stop = true;
    swapper.join();

    qDebug("%ld swaps in %d rounds, %lld ms; %d logos and %d photos saved", swaps.load(), rounds,
           clock.elapsed(), logosSaved, photosSaved);
    QVERIFY(swaps > 100);
    const Tree outsideAfter = snapshot(outside.path());
    QVERIFY2(outsideAfter == outsideBefore, qPrintable(changes(outsideBefore, outsideAfter)));
    QVERIFY2(readOutside.isEmpty(), qPrintable(QStringLiteral("read the outside files in ") + readOutside.join(QStringLiteral(", "))));
    // Failed saves cleaned up after themselves in the real folder too.
    const QString real = QFileInfo(photos).isSymLink() ? parked : photos;
    QVERIFY(QDir(real).entryList({QStringLiteral("*.lumetra-tmp")}, QDir::Files | QDir::Hidden).isEmpty());
}

QTEST_GUILESS_MAIN(TestHostileEntries)
#include "test_hostileentries.moc"
