// Lumetra --esporta and --importa run as a technician runs them: the real
// program as a child process with no screen, the password on standard input
// or in a file, the exit status and standard error as a script sees them.

#include "../core/import/importfixture.h"
#include "testutil.h"

#include "export/tfrmexpstudenti.h"
#include "archive/codepage.h"
#include "archive/datafolder.h"
#include "import/sheetreader.h"

#include <QProcess>
#include <QTest>

namespace {

const QString kPassword = QStringLiteral("pergolatovesca");

struct Run
{
    int exitCode = -1;
    QString out;
    QString err;
};

Run runProgram(const QStringList &arguments, const QByteArray &input, const QString &workingFolder)
{
    QProcess program;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("DISPLAY"));
    env.remove(QStringLiteral("WAYLAND_DISPLAY"));
    env.remove(QStringLiteral("QT_QPA_PLATFORM"));
    env.remove(QStringLiteral("LUMETRA_HOME"));
    program.setProcessEnvironment(env);
    program.setWorkingDirectory(workingFolder);
    program.start(QStringLiteral(LUMETRA_PROGRAM), arguments);
    program.waitForStarted();
    program.write(input);
    program.closeWriteChannel();
    Run run;
    if (!program.waitForFinished(60000)) {
        program.kill();
        program.waitForFinished();
        return run;
    }
    run.exitCode = program.exitStatus() == QProcess::NormalExit ? program.exitCode() : -1;
    run.out = QString::fromLocal8Bit(program.readAllStandardOutput());
    run.err = QString::fromLocal8Bit(program.readAllStandardError());
    return run;
}

void writeFile(const QString &path, const QByteArray &bytes, QFile::Permissions permissions)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
    file.close();
    QVERIFY(file.setPermissions(permissions));
}

qint64 cardCount(const QString &folder)
{
    return QFileInfo(folder + QStringLiteral("Archivio_Studenti.pro")).size() / StudentRecord::Size;
}

} // namespace

class TestCommandLine : public QObject
{
    Q_OBJECT

private slots:
    void importFromTheTerminal_data();
    void importFromTheTerminal();
    void passwordRules_data();
    void passwordRules();
    void exportWritesWhatTheWindowWrites();
    void exportWorkbooks_data();
    void exportWorkbooks();
    void archiveThatCannotBeUsed();
};

void TestCommandLine::importFromTheTerminal_data()
{
    QTest::addColumn<QList<QStringList>>("rows");
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("err");
    QTest::addColumn<int>("cards");
    QTest::addColumn<QString>("course"); // of card 1 afterwards

    QTest::newRow("everything stored: 0")
        << QList<QStringList>{classRow("Verdi", validCode(2)), classRow("Viola", validCode(3))} << QStringList{} << 0
        << "" << 3 << "Corso in archivio";
    QStringList badDate = classRow("Grigi", validCode(4));
    badDate[7] = QStringLiteral("31/06/2026");
    QTest::newRow("rows skipped, each named with its reason: 1")
        << QList<QStringList>{classRow("Verdi", validCode(2)), classRow("Neri", "XYZ"), badDate,
                              classRow("Rossi", validCode(1), "Corso nuovo")}
        << QStringList{} << 1
        << "Riga 3 saltata: Codice fiscale non valido: ha 3 caratteri invece di 16 (11 cifre per "
           "una partita IVA).\n"
           "Riga 4 saltata: Data fine: Data non valida: si scrive gg/mm/aaaa, per esempio 05/09/2025.\n"
           "Riga 5 saltata: Codice fiscale già in archivio (scheda n. 1).\n"
        << 2 << "Corso in archivio";
    QTest::newRow("--aggiorna updates the card with the same codice fiscale: 0")
        << QList<QStringList>{classRow("Rossi", validCode(1), "Corso nuovo")} << QStringList{"--aggiorna"} << 0 << ""
        << 1 << "Corso nuovo";
    QTest::newRow("only rows with errors: 1, nothing stored")
        << QList<QStringList>{classRow("Neri", wrongCode(5))} << QStringList{} << 1
        << "Riga 2 saltata: Codice fiscale non valido: il carattere di controllo non corrisponde.\n"
        << 1 << "Corso in archivio";
}

void TestCommandLine::importFromTheTerminal()
{
    QFETCH(QList<QStringList>, rows);
    QFETCH(QStringList, options);
    QFETCH(int, exitCode);
    QFETCH(QString, err);
    QFETCH(int, cards);
    QFETCH(QString, course);
    QTemporaryDir work;
    const QString folder = work.path() + QStringLiteral("/dati/");
    QVERIFY(QDir().mkpath(folder));
    DataFolder::add(folder);
    {
        StudentArchive archive(folder);
        archive.append(storedCard("Rossi Anna", validCode(1)));
    }
    DataFolder::remove(folder);
    // As Excel saves it in Italy: semicolons, Windows-1252, CRLF.
    writeFile(work.path() + QStringLiteral("/classe.csv"), CodePage::fromUnicode(QString::fromUtf8(csvOf(classHeader(), rows))),
              QFile::ReadOwner | QFile::WriteOwner);
    const Run run = runProgram(QStringList{"--cartella", folder, "--importa", "classe.csv"} + options,
                               kPassword.toUtf8() + "\n", work.path());
    QCOMPARE(run.err, err);
    QCOMPARE(run.exitCode, exitCode);
    QVERIFY(run.out.startsWith(QStringLiteral("Schede inserite: ")));
    QCOMPARE(cardCount(folder), cards);
    DataFolder::add(folder);
    QCOMPARE(StudentArchive::readOne(folder, 1)[StudentRecord::Corso], course);
    DataFolder::remove(folder);
}

void TestCommandLine::passwordRules_data()
{
    QTest::addColumn<QString>("how");
    QTest::addColumn<QByteArray>("password");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("err");
    QTest::newRow("on standard input, typed with blanks and in lower case")
        << "stdin" << QByteArray("  PergolatoVesca \r\n") << 0 << "";
    QTest::newRow("wrong on standard input") << "stdin" << QByteArray("pergolato\n") << 2
                                             << "Attenzione: password errata.\n";
    QTest::newRow("nothing on standard input") << "stdin" << QByteArray() << 2 << "Attenzione: password errata.\n";
    QTest::newRow("in a file only its owner reads") << "file-600" << QByteArray("pergolatovesca\n") << 0 << "";
    QTest::newRow("in a file its group may read")
        << "file-640" << QByteArray("pergolatovesca\n") << 2
        << "Il file della password chiave è accessibile ad altri utenti: lo si renda leggibile soltanto dal "
           "proprietario (chmod 600 chiave).\n";
    QTest::newRow("in a file anyone may read")
        << "file-604" << QByteArray("pergolatovesca\n") << 2
        << "Il file della password chiave è accessibile ad altri utenti: lo si renda leggibile soltanto dal "
           "proprietario (chmod 600 chiave).\n";
    QTest::newRow("in a file that is not there") << "missing" << QByteArray() << 2
                                                 << "Impossibile leggere il file della password chiave.\n";
}

void TestCommandLine::passwordRules()
{
    QFETCH(QString, how);
    QFETCH(QByteArray, password);
    QFETCH(int, exitCode);
    QFETCH(QString, err);
    QTemporaryDir work;
    const QString folder = work.path() + QStringLiteral("/dati/");
    writeFile(work.path() + QStringLiteral("/classe.csv"), csvOf(classHeader(), {classRow("Verdi", validCode(2))}),
              QFile::ReadOwner | QFile::WriteOwner);
    QStringList arguments{"--cartella", folder, "--importa", "classe.csv"};
    QByteArray input;
    if (how == QLatin1String("stdin")) {
        input = password;
    } else {
        arguments << "--password-file" << "chiave";
        QFile::Permissions permissions = QFile::ReadOwner | QFile::WriteOwner;
        if (how == QLatin1String("file-640"))
            permissions |= QFile::ReadGroup;
        if (how == QLatin1String("file-604"))
            permissions |= QFile::ReadOther;
        if (how != QLatin1String("missing"))
            writeFile(work.path() + QStringLiteral("/chiave"), password, permissions);
        // What comes on standard input is not looked at.
        input = "sbagliata\n";
    }
    const Run run = runProgram(arguments, input, work.path());
    QCOMPARE(run.err, err);
    QCOMPARE(run.exitCode, exitCode);
    QCOMPARE(cardCount(folder), exitCode == 0 ? 1 : 0);
}

void TestCommandLine::exportWritesWhatTheWindowWrites()
{
    TestFolder data;
    {
        StudentArchive archive(data.folder);
        StudentRecord card = storedCard("Città & <Figli>", validCode(1));
        card[StudentRecord::Cap] = QStringLiteral("06123");
        archive.append(card);
        archive.append(storedCard("Zoë Østergaard", validCode(2)));
    }
    TfrmExpStudenti window(data.context);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    data.platform.confirmAnswers << true << false;
    window.cmdEsportaClick();
    const QByteArray fromWindow = data.readFile(QStringLiteral("Archivio_Studenti.xls"));
    QVERIFY(fromWindow.contains("06123"));

    QTemporaryDir work;
    const Run run = runProgram({"--cartella", data.folder, "--esporta", "copia.xls"}, kPassword.toUtf8() + "\n",
                               work.path());
    QCOMPARE(run.err, QString());
    QCOMPARE(run.exitCode, 0);
    QFile copy(work.path() + QStringLiteral("/copia.xls"));
    QVERIFY(copy.open(QIODevice::ReadOnly));
    QCOMPARE(copy.readAll(), fromWindow);
}

void TestCommandLine::exportWorkbooks_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("xlsx") << "archivio.xlsx";
    QTest::newRow("ods") << "archivio.ods";
}

void TestCommandLine::exportWorkbooks()
{
    QFETCH(QString, name);
    TempFolder data;
    {
        StudentArchive archive(data.folder);
        StudentRecord card = storedCard("Rossi Anna", validCode(1));
        card[StudentRecord::Cap] = QStringLiteral("06123");
        card[StudentRecord::Note] = QStringLiteral("=1+1");
        archive.append(card);
    }
    QTemporaryDir work;
    const Run run = runProgram({"--cartella", data.folder, "--esporta", name}, kPassword.toUtf8() + "\n", work.path());
    QCOMPARE(run.err, QString());
    QCOMPARE(run.exitCode, 0);
    const ImportSheet sheet = SheetReader::read(work.path() + QLatin1Char('/') + name);
    QCOMPARE(sheet.header.value(0), QStringLiteral("Cognome e nome"));
    QCOMPARE(sheet.rows.size(), size_t(1));
    const QStringList &cells = sheet.rows.at(0).cells;
    QCOMPARE(cells.value(0), QStringLiteral("Rossi Anna"));
    QCOMPARE(cells.value(6), QStringLiteral("06123"));
    QCOMPARE(cells.value(24), QStringLiteral("=1+1"));
}

void TestCommandLine::archiveThatCannotBeUsed()
{
    QTemporaryDir work;
    const QString folder = work.path() + QStringLiteral("/dati/");
    // The archive's name taken by a folder: nothing can be read or stored.
    QVERIFY(QDir().mkpath(folder + QStringLiteral("Archivio_Studenti.pro")));
    writeFile(work.path() + QStringLiteral("/classe.csv"), csvOf(classHeader(), {classRow("Verdi", validCode(2))}),
              QFile::ReadOwner | QFile::WriteOwner);
    const QString archiveMessage =
        QStringLiteral("Attenzione: il sistema non permette di accedere all'archivio.\n\n"
                       "Accertarsi di possedere i privilegi di scrittura nella cartella di installazione del programma.\n");
    Run run = runProgram({"--cartella", folder, "--importa", "classe.csv"}, kPassword.toUtf8() + "\n", work.path());
    QCOMPARE(run.exitCode, 2);
    QCOMPARE(run.err, archiveMessage + QStringLiteral("Nessuna scheda è stata inserita o aggiornata.\n"));
    run = runProgram({"--cartella", folder, "--esporta", "a.xlsx"}, kPassword.toUtf8() + "\n", work.path());
    QCOMPARE(run.exitCode, 2);
    QCOMPARE(run.err, archiveMessage);
    QVERIFY(!QFile::exists(work.path() + QStringLiteral("/a.xlsx")));
    // A sheet that cannot be read is named.
    run = runProgram({"--cartella", folder, "--importa", "manca.csv"}, kPassword.toUtf8() + "\n", work.path());
    QCOMPARE(run.exitCode, 2);
    QCOMPARE(run.err, QStringLiteral("Impossibile leggere il file manca.csv.\n"));
}

QTEST_MAIN(TestCommandLine)
#include "test_commandline.moc"
