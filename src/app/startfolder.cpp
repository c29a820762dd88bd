#include "app/startfolder.h"

#include "archive/datafolder.h"
#include "base/platform.h"
#include "settings/passwordcipher.h"

#include <QDir>
#include <QFileInfo>

#include <cerrno>
#include <cstdio>
#include <sys/stat.h>
#include <unistd.h>

namespace StartFolder {

namespace {

const QString kItalianOption = QStringLiteral("--cartella");
const QString kEnglishOption = QStringLiteral("--data-dir");
// The password the default store holds; the login window tells it.
const QString kFirstPassword = QStringLiteral("pergolatovesca");

QString quoted(const QString &path)
{
    return QStringLiteral("«%1»").arg(QDir::toNativeSeparators(path));
}

QString ending()
{
    return QStringLiteral("\n\nIl programma verrà chiuso.");
}

QString withSlash(const QString &path)
{
    QString clean = QDir::cleanPath(QDir(path).absolutePath());
    if (!clean.endsWith(QLatin1Char('/')))
        clean += QLatin1Char('/');
    return clean;
}

// True when the process may list, read and create files in `path`; a
// read-only file system says no here as well.
bool usable(const QString &path)
{
    return ::access(QFile::encodeName(path).constData(), R_OK | W_OK | X_OK) == 0;
}

QString createFolder(const QString &path)
{
    const QString parent = QFileInfo(path).absolutePath();
    const QFileInfo parentInfo(parent);
    if (!parentInfo.exists())
        return QStringLiteral("Impossibile creare la cartella dei dati %1: la cartella %2 che dovrebbe "
                              "contenerla non esiste. Se è una cartella di rete, controllare che sia "
                              "collegata.")
                   .arg(quoted(path), quoted(parent));
    if (!parentInfo.isDir())
        return QStringLiteral("Impossibile creare la cartella dei dati %1: %2 non è una cartella.")
            .arg(quoted(path), quoted(parent));
    // Only the last folder is made: see the header.
    if (::mkdir(QFile::encodeName(path).constData(), 0777) == 0)
        return QString();
    const int error = errno;
    if (error == EEXIST)
        return QString(); // made by another workstation starting at the same moment
    if (error == EACCES || error == EPERM || error == EROFS)
        return QStringLiteral("Impossibile creare la cartella dei dati %1: non si hanno i permessi per "
                              "scrivere nella cartella %2.")
            .arg(quoted(path), quoted(parent));
    return QStringLiteral("Impossibile creare la cartella dei dati %1.").arg(quoted(path));
}

} // namespace

Choice choose(const QStringList &arguments, const QString &homeVariable, const QString &programFolder)
{
    Choice choice;
    for (const QString &argument : arguments.mid(1)) {
        if (argument == QLatin1String("--help") || argument == QLatin1String("-h")) {
            choice.action = Choice::Help;
            return choice;
        }
        if (argument == QLatin1String("--version") || argument == QLatin1String("-v")) {
            choice.action = Choice::Version;
            return choice;
        }
    }

    QString given;
    bool fromCommandLine = false;
    for (int i = 1; i < arguments.size(); ++i) {
        const QString &argument = arguments.at(i);
        QString option = argument;
        QString value;
        bool hasValue = false;
        const qsizetype equals = argument.indexOf(QLatin1Char('='));
        if (argument.startsWith(QLatin1String("--")) && equals > 0) {
            option = argument.left(equals);
            value = argument.mid(equals + 1);
            hasValue = true;
        }
        if (option != kItalianOption && option != kEnglishOption) {
            choice.action = Choice::Refuse;
            choice.error = QStringLiteral("Opzione non riconosciuta: %1. La cartella dei dati si indica con "
                                          "--cartella seguito dal suo percorso.")
                               .arg(argument) + ending();
            return choice;
        }
        if (!hasValue && i + 1 < arguments.size()) {
            value = arguments.at(++i);
            hasValue = true;
        }
        if (!hasValue || value.isEmpty()) {
            choice.action = Choice::Refuse;
            choice.error = QStringLiteral("Dopo %1 manca il percorso della cartella dei dati.").arg(option)
                           + ending();
            return choice;
        }
        given = value;
        fromCommandLine = true;
    }

    if (fromCommandLine)
        choice.folder = withSlash(given);
    else if (!homeVariable.isEmpty())
        choice.folder = withSlash(homeVariable);
    else
        choice.folder = withSlash(programFolder);
    return choice;
}

bool answerOnTerminal(const QStringList &arguments)
{
    const Choice::Action action = choose(arguments, QString(), QString()).action;
    if (action == Choice::Help)
        std::fputs(usage().toLocal8Bit().constData(), stdout);
    else if (action == Choice::Version)
        std::fputs("Lumetra " LUMETRA_VERSION "\n", stdout);
    return action == Choice::Help || action == Choice::Version;
}

QString usage()
{
    return QStringLiteral(
        "Uso: Lumetra [--cartella CARTELLA]\n"
        "Archivio degli studenti dei corsi e stampa dei tesserini di riconoscimento.\n"
        "\n"
        "  --cartella CARTELLA, --data-dir CARTELLA\n"
        "                 la cartella dei dati (archivio, foto, password), creata se\n"
        "                 non esiste; in mancanza vale la variabile LUMETRA_HOME,\n"
        "                 poi la cartella del programma\n"
        "\n"
        "Senza finestre, con la password dell'installazione letta dalla prima riga\n"
        "dello standard input o del file indicato con --password-file F (leggibile\n"
        "soltanto dal proprietario):\n"
        "  --esporta FILE esporta l'archivio in FILE, .xls, .xlsx oppure .ods\n"
        "  --importa FILE [--aggiorna]\n"
        "                 importa gli studenti da FILE (.csv, .xlsx, .ods); con\n"
        "                 --aggiorna le schede con lo stesso codice fiscale vengono\n"
        "                 aggiornate invece che saltate\n"
        "                 Uscita: 0 tutto fatto, 1 alcune righe saltate (indicate\n"
        "                 sullo standard error), 2 niente di fatto\n"
        "\n"
        "  -h, --help     mostra questo aiuto\n"
        "  -v, --version  mostra la versione\n");
}

QString prepare(const QString &folder)
{
    QString path = QDir::cleanPath(folder);
    const QFileInfo info(path);
    if (info.exists() || info.isSymLink()) {
        if (!info.isDir())
            return QStringLiteral("Impossibile usare %1 come cartella dei dati: non è una cartella.")
                       .arg(quoted(path))
                   + ending();
        if (!usable(path))
            return QStringLiteral("Impossibile usare la cartella dei dati %1: non si hanno i permessi per "
                                  "leggerla e scriverci.")
                       .arg(quoted(path))
                   + ending();
    } else {
        const QString refused = createFolder(path);
        if (!refused.isEmpty())
            return refused + ending();
    }

    const QString slashed = withSlash(path);
    DataFolder::add(slashed);
    // Never over a store that is there, whatever it holds: that would undo a
    // password change. Two workstations starting on a new shared folder at
    // once both write the same default store.
    QFileInfo store(PasswordStore::path(slashed));
    if (!store.exists() && !store.isSymLink()
        && !PasswordStore::writePassword(slashed, PasswordStore::normalise(kFirstPassword)))
        return QStringLiteral("Impossibile scrivere la password iniziale nella cartella dei dati %1.")
                   .arg(quoted(path))
               + ending();
    return QString();
}

bool open(Platform &platform, const QStringList &arguments, const QString &homeVariable,
          const QString &programFolder, QString *folder)
{
    if (answerOnTerminal(arguments))
        return false;
    const Choice choice = choose(arguments, homeVariable, programFolder);
    QString problem = choice.error;
    if (choice.action == Choice::Run)
        problem = prepare(choice.folder);
    if (problem.isEmpty()) {
        *folder = choice.folder;
        return true;
    }
    // Also for whoever started the program from a terminal or a script.
    std::fprintf(stderr, "Lumetra: %s\n", problem.toLocal8Bit().constData());
    platform.error(nullptr, problem);
    return false;
}

} // namespace StartFolder
