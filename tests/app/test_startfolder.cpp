#include "fakeplatform.h"

#include "app/startfolder.h"
#include "archive/datafolder.h"
#include "help/tfrmguida.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <cerrno>
#include <cstring>
#include <sched.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

using Kind = Platform::MessageKind;

namespace {

const QString kEnding = QStringLiteral("\n\nIl programma verrà chiuso.");

QByteArray readBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeBytes(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes), bytes.size());
}

// Every entry under root with its size and time: what "touched" would change.
QStringList snapshot(const QString &root)
{
    QStringList entries;
    QDirIterator it(root, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        it.next();
        const QFileInfo info = it.fileInfo();
        entries << QStringLiteral("%1 %2 %3").arg(info.filePath()).arg(info.size())
                       .arg(info.lastModified().toMSecsSinceEpoch());
    }
    entries.sort();
    return entries;
}

} // namespace

class TestStartFolder : public QObject
{
    Q_OBJECT

private:
    // A read-only place, as a folder on a read-only share is: for root, whom
    // no permission bit stops, a read-only file system in a mount namespace
    // of this process alone.
    bool makeReadOnly(const QString &dir, QString *why);

    QTemporaryDir m_root;
    bool m_ownMounts = false;
    QStringList m_mounted;

private slots:
    void cleanup();

    void commandLine_data();
    void commandLine();
    void helpAndVersion_data();
    void helpAndVersion();

    void folders_data();
    void folders();
    void defaultStoreIsTheShippedOne();
    void terminalAnswersNeedNoScreen_data();
    void terminalAnswersNeedNoScreen();

    void userGuide_data();
    void userGuide();
};

bool TestStartFolder::makeReadOnly(const QString &dir, QString *why)
{
    if (::geteuid() != 0)
        return ::chmod(QFile::encodeName(dir).constData(), 0555) == 0;
    if (!m_ownMounts) {
        if (::unshare(CLONE_NEWNS) != 0 || ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0) {
            *why = QStringLiteral("as root a read-only folder needs a mount namespace of its own: %1")
                       .arg(QString::fromLocal8Bit(strerror(errno)));
            return false;
        }
        m_ownMounts = true;
    }
    if (::mount("lumetra-ro", QFile::encodeName(dir).constData(), "tmpfs", MS_RDONLY, "size=64k") != 0) {
        *why = QStringLiteral("no read-only tmpfs: %1").arg(QString::fromLocal8Bit(strerror(errno)));
        return false;
    }
    m_mounted << dir;
    return true;
}

void TestStartFolder::cleanup()
{
    for (const QString &dir : std::as_const(m_mounted)) {
        ::umount2(QFile::encodeName(dir).constData(), MNT_DETACH);
        ::chmod(QFile::encodeName(dir).constData(), 0755);
    }
    m_mounted.clear();
    // Undo the non-root read-only folders too, so that the folder can go.
    QDirIterator it(m_root.path(), QDir::Dirs | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    while (it.hasNext())
        ::chmod(QFile::encodeName(it.next()).constData(), 0755);
}

void TestStartFolder::commandLine_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("home");
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QString>("error");

    const QString program = QStringLiteral("/opt/Lumetra");
    QTest::newRow("nothing given: the program's folder") << QStringList{} << QString() << program + "/" << QString();
    QTest::newRow("LUMETRA_HOME") << QStringList{} << "/srv/scuola" << "/srv/scuola/" << QString();
    QTest::newRow("--cartella before LUMETRA_HOME")
        << QStringList{"--cartella", "/mnt/rete/Lumetra"} << "/srv/scuola" << "/mnt/rete/Lumetra/" << QString();
    QTest::newRow("--data-dir, the English form")
        << QStringList{"--data-dir", "/mnt/rete/Lumetra"} << QString() << "/mnt/rete/Lumetra/" << QString();
    QTest::newRow("--cartella=DIR") << QStringList{"--cartella=/mnt/a b"} << QString() << "/mnt/a b/" << QString();
    QTest::newRow("the last option counts, as the launcher relies on")
        << QStringList{"--cartella", "/from/launcher", "--data-dir", "/from/user"} << QString() << "/from/user/"
        << QString();
    QTest::newRow("dots and slashes cleaned")
        << QStringList{"--cartella", "/srv//scuola/./x/../Lumetra/"} << QString() << "/srv/scuola/Lumetra/"
        << QString();
    QTest::newRow("relative: from the current folder")
        << QStringList{"--cartella", "dati"} << QString() << QDir::currentPath() + "/dati/" << QString();
    QTest::newRow("--cartella without a folder")
        << QStringList{"--cartella"} << "/srv/scuola" << QString()
        << "Dopo --cartella manca il percorso della cartella dei dati." + kEnding;
    QTest::newRow("--data-dir= empty")
        << QStringList{"--data-dir="} << QString() << QString()
        << "Dopo --data-dir manca il percorso della cartella dei dati." + kEnding;
    QTest::newRow("an option misspelt")
        << QStringList{"--cartela", "/srv"} << QString() << QString()
        << "Opzione non riconosciuta: --cartela. La cartella dei dati si indica con --cartella seguito dal suo "
           "percorso." + kEnding;
    QTest::newRow("a folder without its option")
        << QStringList{"/srv/scuola"} << QString() << QString()
        << "Opzione non riconosciuta: /srv/scuola. La cartella dei dati si indica con --cartella seguito dal "
           "suo percorso." + kEnding;
}

void TestStartFolder::commandLine()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, home);
    QFETCH(QString, folder);
    QFETCH(QString, error);

    const StartFolder::Choice choice =
        StartFolder::choose(QStringList{"Lumetra"} + arguments, home, QStringLiteral("/opt/Lumetra"));
    QCOMPARE(choice.action, error.isEmpty() ? StartFolder::Choice::Run : StartFolder::Choice::Refuse);
    QCOMPARE(choice.error, error);
    if (error.isEmpty())
        QCOMPARE(choice.folder, folder);
}

void TestStartFolder::helpAndVersion_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("action");
    QTest::newRow("--help") << QStringList{"--help"} << int(StartFolder::Choice::Help);
    QTest::newRow("-h after a folder") << QStringList{"--cartella", "/x", "-h"} << int(StartFolder::Choice::Help);
    QTest::newRow("--version") << QStringList{"--version"} << int(StartFolder::Choice::Version);
    // Answered before Qt takes its own options out.
    QTest::newRow("--help beside Qt's -platform")
        << QStringList{"-platform", "offscreen", "--help"} << int(StartFolder::Choice::Help);
}

void TestStartFolder::helpAndVersion()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, action);
    QCOMPARE(int(StartFolder::choose(QStringList{"Lumetra"} + arguments, QString(), "/opt").action), action);
}

void TestStartFolder::folders_data()
{
    QTest::addColumn<QString>("setup");
    // %1 the folder, %2 its parent; empty: the folder is used.
    QTest::addColumn<QString>("message");
    QTest::addColumn<bool>("keepsOwnStore");

    QTest::newRow("missing: made, with the default store") << "missing" << QString() << false;
    QTest::newRow("empty: gets the default store") << "empty" << QString() << false;
    QTest::newRow("with a store: kept as it is") << "store" << QString() << true;
    QTest::newRow("spaces and accents in the name") << "missing:Scuola Età/Lumetra dati" << QString() << false;
    QTest::newRow("reached through a link") << "link" << QString() << false;
    QTest::newRow("a file") << "file"
                            << "Impossibile usare «%1» come cartella dei dati: non è una cartella." << false;
    QTest::newRow("a link to nowhere") << "dangling"
                                       << "Impossibile usare «%1» come cartella dei dati: non è una cartella."
                                       << false;
    QTest::newRow("its parent missing: a share not mounted")
        << "unmounted"
        << "Impossibile creare la cartella dei dati «%1»: la cartella «%2» che dovrebbe contenerla non esiste. "
           "Se è una cartella di rete, controllare che sia collegata."
        << false;
    QTest::newRow("its parent a file")
        << "parentfile" << "Impossibile creare la cartella dei dati «%1»: «%2» non è una cartella." << false;
    QTest::newRow("read-only")
        << "readonly"
        << "Impossibile usare la cartella dei dati «%1»: non si hanno i permessi per leggerla e scriverci."
        << false;
    QTest::newRow("missing in a read-only folder")
        << "readonlyparent"
        << "Impossibile creare la cartella dei dati «%1»: non si hanno i permessi per scrivere nella cartella "
           "«%2»."
        << false;
}

void TestStartFolder::folders()
{
    QFETCH(QString, setup);
    QFETCH(QString, message);
    QFETCH(bool, keepsOwnStore);

    QTemporaryDir place(m_root.path() + QStringLiteral("/t-XXXXXX"));
    // Removed with the root, once cleanup() has undone any read-only mount.
    place.setAutoRemove(false);
    QString folder = place.path() + QStringLiteral("/Lumetra");
    const QByteArray ownStore = "[Accesso]\r\nValore=00\r\n";
    QString why;
    if (setup.startsWith(QLatin1String("missing:"))) {
        folder = place.path() + QLatin1Char('/') + setup.mid(8);
        QVERIFY(QDir().mkpath(QFileInfo(folder).absolutePath()));
    } else if (setup == QLatin1String("empty")) {
        QVERIFY(QDir().mkdir(folder));
    } else if (setup == QLatin1String("store")) {
        writeBytes(folder + QStringLiteral("/unins000.dll"), ownStore);
    } else if (setup == QLatin1String("link")) {
        QVERIFY(QDir().mkdir(place.path() + QStringLiteral("/real")));
        QVERIFY(QFile::link(place.path() + QStringLiteral("/real"), folder));
    } else if (setup == QLatin1String("file")) {
        writeBytes(folder, "not a folder");
    } else if (setup == QLatin1String("dangling")) {
        QVERIFY(QFile::link(place.path() + QStringLiteral("/gone"), folder));
    } else if (setup == QLatin1String("unmounted")) {
        folder = place.path() + QStringLiteral("/share/Lumetra");
    } else if (setup == QLatin1String("parentfile")) {
        writeBytes(place.path() + QStringLiteral("/share"), "x");
        folder = place.path() + QStringLiteral("/share/Lumetra");
    } else if (setup == QLatin1String("readonly")) {
        QVERIFY(QDir().mkdir(folder));
        if (!makeReadOnly(folder, &why))
            QSKIP(qPrintable(why));
    } else if (setup == QLatin1String("readonlyparent")) {
        QVERIFY(QDir().mkdir(place.path() + QStringLiteral("/share")));
        if (!makeReadOnly(place.path() + QStringLiteral("/share"), &why))
            QSKIP(qPrintable(why));
        folder = place.path() + QStringLiteral("/share/Lumetra");
    }
    const QStringList before = snapshot(place.path());

    FakePlatform platform;
    QString chosen;
    const bool ok = StartFolder::open(platform, {"Lumetra", "--cartella", folder}, QString(), "/opt", &chosen);
    DataFolder::remove(folder);

    if (!message.isEmpty()) {
        QVERIFY(!ok);
        QCOMPARE(platform.messages.size(), 1);
        QCOMPARE(platform.lastKind(), Kind::Error);
        QCOMPARE(platform.lastText(),
                 QString(message)
                         .replace(QLatin1String("%1"), folder)
                         .replace(QLatin1String("%2"), QFileInfo(folder).absolutePath())
                     + kEnding);
        QCOMPARE(snapshot(place.path()), before);
        return;
    }
    QVERIFY2(ok, qPrintable(platform.lastText()));
    QVERIFY(platform.messages.isEmpty());
    QCOMPARE(chosen, folder + QLatin1Char('/'));
    // Nothing but the store: the first start copies nothing else.
    QCOMPARE(QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
             QStringList{"unins000.dll"});
    const QByteArray store = readBytes(folder + QStringLiteral("/unins000.dll"));
    QCOMPARE(store, keepsOwnStore ? ownStore : readBytes(QStringLiteral(LUMETRA_DEFAULT_STORE)));
}

void TestStartFolder::defaultStoreIsTheShippedOne()
{
    // run.sh puts the shipped file into a fresh program folder, the program
    // writes its own into a fresh data folder: the first password must be
    // the same either way, to the byte.
    QTemporaryDir place(m_root.path() + QStringLiteral("/t-XXXXXX"));
    QCOMPARE(StartFolder::prepare(place.path() + QStringLiteral("/d")), QString());
    DataFolder::remove(place.path() + QStringLiteral("/d"));
    const QByteArray shipped = readBytes(QStringLiteral(LUMETRA_DEFAULT_STORE));
    QVERIFY(!shipped.isEmpty());
    QCOMPARE(readBytes(place.path() + QStringLiteral("/d/unins000.dll")), shipped);
}

void TestStartFolder::terminalAnswersNeedNoScreen_data()
{
    QTest::addColumn<QString>("option");
    QTest::addColumn<QString>("starts");
    QTest::newRow("--help") << "--help" << "Uso: Lumetra [--cartella CARTELLA]\n";
    QTest::newRow("--version") << "--version" << "Lumetra " LUMETRA_VERSION "\n";
}

void TestStartFolder::terminalAnswersNeedNoScreen()
{
    QFETCH(QString, option);
    QFETCH(QString, starts);
    QProcess program;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("DISPLAY"));
    env.remove(QStringLiteral("WAYLAND_DISPLAY"));
    env.remove(QStringLiteral("QT_QPA_PLATFORM"));
    program.setProcessEnvironment(env);
    // From a folder of its own: an answer must create nothing anywhere.
    QTemporaryDir here(m_root.path() + QStringLiteral("/t-XXXXXX"));
    program.setWorkingDirectory(here.path());
    program.start(QStringLiteral(LUMETRA_PROGRAM), {option});
    QVERIFY(program.waitForFinished(20000));
    QCOMPARE(program.exitStatus(), QProcess::NormalExit);
    QCOMPARE(program.exitCode(), 0);
    QVERIFY2(QString::fromUtf8(program.readAllStandardOutput()).startsWith(starts),
             qPrintable(QString::fromUtf8(program.readAllStandardError())));
    QVERIFY(QDir(here.path()).isEmpty(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden));
}

void TestStartFolder::userGuide_data()
{
    QTest::addColumn<QStringList>("guides");  // where Guida.pdf lies, under the test's root
    QTest::addColumn<QString>("programFolder");
    QTest::addColumn<QString>("expected");

    QTest::newRow("program folder: beside the executable")
        << QStringList{"Lumetra/Guida.pdf"} << "Lumetra" << "Lumetra/Guida.pdf";
    QTest::newRow("installed package: its documentation folder")
        << QStringList{"usr/share/doc/lumetra/Guida.pdf"} << "usr/lib/lumetra" << "usr/share/doc/lumetra/Guida.pdf";
    QTest::newRow("the program's own before an old one in the data folder")
        << QStringList{"usr/share/doc/lumetra/Guida.pdf", "data/Guida.pdf"} << "usr/lib/lumetra"
        << "usr/share/doc/lumetra/Guida.pdf";
    QTest::newRow("none shipped: the data folder's")
        << QStringList{"data/Guida.pdf"} << "usr/lib/lumetra" << "data/Guida.pdf";
    QTest::newRow("none anywhere: the data folder's name, for the shell to report")
        << QStringList{} << "usr/lib/lumetra" << "data/Guida.pdf";
    QTest::newRow("a folder named Guida.pdf is no guide")
        << QStringList{"usr/lib/lumetra/Guida.pdf/"} << "usr/lib/lumetra" << "data/Guida.pdf";
}

void TestStartFolder::userGuide()
{
    QFETCH(QStringList, guides);
    QFETCH(QString, programFolder);
    QFETCH(QString, expected);

    QTemporaryDir place(m_root.path() + QStringLiteral("/t-XXXXXX"));
    const QString root = place.path() + QLatin1Char('/');
    QVERIFY(QDir().mkpath(root + programFolder));
    QVERIFY(QDir().mkpath(root + QStringLiteral("data")));
    for (const QString &guide : guides) {
        if (guide.endsWith(QLatin1Char('/')))
            QVERIFY(QDir().mkpath(root + guide));
        else
            writeBytes(root + guide, "%PDF-1.4\n");
    }
    QCOMPARE(TfrmGuida::userGuidePath(root + programFolder, root + QStringLiteral("data/")), root + expected);
}

QTEST_GUILESS_MAIN(TestStartFolder)
#include "test_startfolder.moc"
