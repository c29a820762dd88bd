#include "app/commandline.h"

#include "app/startfolder.h"
#include "archive/recordfile.h"
#include "archive/studentfiles.h"
#include "export/archivetablemodel.h"
#include "export/spreadsheetexport.h"
#include "import/importstore.h"
#include "settings/passwordcipher.h"

#include <QFileInfo>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>
#endif

namespace CommandLine {

namespace {

const QLatin1String kExport("--esporta");
const QLatin1String kImport("--importa");
const QLatin1String kUpdate("--aggiorna");
const QLatin1String kPasswordFile("--password-file");

struct Request
{
    QString exportFile;
    QString importFile;
    QString passwordFile;
    bool update = false;
    QStringList folderArguments; // what StartFolder chooses the folder from
    QString error;
};

void say(std::FILE *to, const QString &text)
{
    // The message boxes' line breaks ("\n\r\n\r") as a terminal shows them.
    QString plain = text;
    plain.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).remove(QLatin1Char('\r'));
    std::fputs((plain + QLatin1Char('\n')).toLocal8Bit().constData(), to);
    std::fflush(to);
}

Request parse(const QStringList &arguments)
{
    Request request;
    request.folderArguments << arguments.value(0);
    for (int i = 1; i < arguments.size(); ++i) {
        QString option = arguments.at(i);
        QString value;
        bool hasValue = false;
        const qsizetype equals = option.indexOf(QLatin1Char('='));
        if (option.startsWith(QLatin1String("--")) && equals > 0) {
            value = option.mid(equals + 1);
            option = option.left(equals);
            hasValue = true;
        }
        if (option == kUpdate) {
            request.update = true;
            continue;
        }
        if (option != kExport && option != kImport && option != kPasswordFile) {
            request.folderArguments << arguments.at(i);
            continue;
        }
        if (!hasValue && i + 1 < arguments.size()) {
            value = arguments.at(++i);
            hasValue = true;
        }
        if (!hasValue || value.isEmpty()) {
            request.error = QStringLiteral("Dopo %1 manca il nome del file.").arg(option);
            return request;
        }
        if (option == kExport)
            request.exportFile = value;
        else if (option == kImport)
            request.importFile = value;
        else
            request.passwordFile = value;
    }
    if (!request.exportFile.isEmpty() && !request.importFile.isEmpty())
        request.error = QStringLiteral("--esporta e --importa vanno usati in due comandi separati.");
    else if (request.update && request.importFile.isEmpty())
        request.error = QStringLiteral("--aggiorna si usa soltanto con --importa.");
    return request;
}

QString firstLine(const QByteArray &bytes)
{
    QString text = QString::fromUtf8(bytes);
    const qsizetype end = text.indexOf(QLatin1Char('\n'));
    if (end >= 0)
        text.truncate(end);
    if (text.endsWith(QLatin1Char('\r')))
        text.chop(1);
    return text;
}

// The password from the file only its owner can read, or from the input
// (without echo when it is a terminal). False with *error set when refused.
bool readPassword(const Request &request, std::FILE *input, std::FILE *errors, QString *password, QString *error)
{
#ifdef Q_OS_UNIX
    if (!request.passwordFile.isEmpty()) {
        const QByteArray name = QFile::encodeName(request.passwordFile);
        const int fd = ::open(name.constData(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
        struct stat about;
        if (fd < 0 || ::fstat(fd, &about) != 0 || !S_ISREG(about.st_mode)) {
            if (fd >= 0)
                ::close(fd);
            *error = QStringLiteral("Impossibile leggere il file della password %1.").arg(request.passwordFile);
            return false;
        }
        if ((about.st_mode & (S_IRWXG | S_IRWXO)) != 0) {
            ::close(fd);
            *error = QStringLiteral("Il file della password %1 è accessibile ad altri utenti: lo si renda "
                                    "leggibile soltanto dal proprietario (chmod 600 %1).")
                         .arg(request.passwordFile);
            return false;
        }
        QByteArray bytes;
        char buffer[4096];
        ssize_t n = 0;
        while (bytes.size() < 65536 && (n = ::read(fd, buffer, sizeof buffer)) > 0)
            bytes.append(buffer, qsizetype(n));
        ::close(fd);
        *password = firstLine(bytes);
        return true;
    }
    const int fd = ::fileno(input);
    termios saved{};
    const bool terminal = ::isatty(fd) && ::tcgetattr(fd, &saved) == 0;
    if (terminal) {
        say(errors, QStringLiteral("Password:"));
        termios quiet = saved;
        quiet.c_lflag &= ~tcflag_t(ECHO);
        ::tcsetattr(fd, TCSAFLUSH, &quiet);
    }
#endif
    QByteArray bytes;
    int c = 0;
    while (bytes.size() < 65536 && (c = std::fgetc(input)) != EOF && c != '\n')
        bytes.append(char(c));
#ifdef Q_OS_UNIX
    if (terminal)
        ::tcsetattr(fd, TCSAFLUSH, &saved);
#endif
    *password = firstLine(bytes);
    return true;
}

// The login window's rule: the typed text normalised equals the stored one,
// and an empty store matches nothing.
QString checkPassword(const QString &folder, const QString &typed)
{
    QString stored;
    if (!PasswordStore::readPassword(folder, &stored))
        return QStringLiteral("Attenzione: si è verificato un errore durante la procedura di lettura della "
                              "password. Si consiglia di reinstallare il software.");
    if (stored.isEmpty() || stored != PasswordStore::normalise(typed))
        return QStringLiteral("Attenzione: password errata.");
    return {};
}

int exportArchive(const QString &folder, const QString &file, std::FILE *output, std::FILE *errors)
{
    const QString suffix = QFileInfo(file).suffix().toLower();
    if (suffix != QLatin1String("xls") && suffix != QLatin1String("xlsx") && suffix != QLatin1String("ods")) {
        say(errors, QStringLiteral("Il file %1 non ha un'estensione che si sa scrivere: si esporta in .xls, .xlsx "
                                   "oppure .ods.")
                        .arg(file));
        return Failed;
    }
    ArchiveTableModel table;
    try {
        table.load(folder);
    } catch (const FileAccessError &) {
        say(errors, ArchiveMessages::accessError());
        return Failed;
    }
    const QString path = QFileInfo(file).absoluteFilePath();
    try {
        if (suffix == QLatin1String("xls"))
            SpreadsheetExport::write(path, table);
        else
            SpreadsheetExport::writeWorkbook(path, table);
    } catch (const FileAccessError &) {
        say(errors, QStringLiteral("Attenzione: il sistema non permette di esportare i dati nel file %1.").arg(path));
        return Failed;
    }
    say(output, QStringLiteral("Archivio esportato in %1.").arg(path));
    return Done;
}

int importSheet(const QString &folder, const QString &file, bool update, std::FILE *output, std::FILE *errors)
{
    ImportSheet sheet;
    try {
        sheet = SheetReader::read(QFileInfo(file).absoluteFilePath());
    } catch (const SheetReadError &refused) {
        say(errors, refused.message());
        return Failed;
    }
    ImportSummary summary;
    try {
        ImportPlan plan(std::move(sheet), ImportPlan::readArchiveCodes(folder));
        plan.setUpdatesDuplicates(update);
        summary = ImportStore::store(folder, plan);
    } catch (const FileAccessError &) {
        say(errors, ArchiveMessages::accessError());
        say(errors, QStringLiteral("Nessuna scheda è stata inserita o aggiornata."));
        return Failed;
    }
    for (const ImportSummary::Line &line : summary.skipped)
        say(errors, QStringLiteral("Riga %1 saltata: %2").arg(line.line).arg(line.reason));
    say(output, QStringLiteral("Schede inserite: %1. Schede aggiornate: %2. Righe saltate: %3.")
                    .arg(summary.stored.size())
                    .arg(summary.updated.size())
                    .arg(summary.skipped.size()));
    return summary.skipped.isEmpty() ? Done : SomeSkipped;
}

} // namespace

bool wanted(const QStringList &arguments)
{
    for (const QString &argument : arguments.mid(1)) {
        const QString option = argument.section(QLatin1Char('='), 0, 0);
        if (option == kExport || option == kImport)
            return true;
    }
    return false;
}

int run(const QStringList &arguments, const QString &homeVariable, const QString &programFolder, std::FILE *input,
        std::FILE *output, std::FILE *errors)
{
    const Request request = parse(arguments);
    if (!request.error.isEmpty()) {
        say(errors, request.error);
        return Failed;
    }
    const StartFolder::Choice choice = StartFolder::choose(request.folderArguments, homeVariable, programFolder);
    if (choice.action != StartFolder::Choice::Run) {
        say(errors, choice.error.isEmpty() ? StartFolder::usage() : choice.error.trimmed());
        return Failed;
    }
    const QString problem = StartFolder::prepare(choice.folder);
    if (!problem.isEmpty()) {
        say(errors, problem.trimmed());
        return Failed;
    }
    QString typed, refused;
    if (!readPassword(request, input, errors, &typed, &refused)) {
        say(errors, refused);
        return Failed;
    }
    refused = checkPassword(choice.folder, typed);
    if (!refused.isEmpty()) {
        say(errors, refused);
        return Failed;
    }
    if (!request.exportFile.isEmpty())
        return exportArchive(choice.folder, request.exportFile, output, errors);
    return importSheet(choice.folder, request.importFile, request.update, output, errors);
}

} // namespace CommandLine
