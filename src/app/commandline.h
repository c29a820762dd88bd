#pragma once

#include <QString>
#include <QStringList>

#include <cstdio>

// The jobs a technician runs without a window (a scheduled backup, a class
// list loaded over SSH), on the data folder the program would use
// (StartFolder: --cartella, LUMETRA_HOME, its own folder):
//   Lumetra --esporta FILE            .xls (as the export window writes it), .xlsx or .ods
//   Lumetra --importa FILE [--aggiorna]   .csv, .xlsx or .ods; --aggiorna updates the
//                                     cards with the same codice fiscale instead of skipping them
// The installation password comes from the first line of standard input or
// of the file named by --password-file, which only its owner may read; it is
// checked as the login window checks it. Messages go to standard error in
// Italian; a row skipped by an import is named there with its reason.
// Needs no screen: run before any windowing starts.
namespace CommandLine {

enum Status { Done = 0, SomeSkipped = 1, Failed = 2 };

// True when the arguments ask for one of these jobs.
bool wanted(const QStringList &arguments);

// Runs the job: arguments as main() received them, the program first;
// homeVariable LUMETRA_HOME's value; programFolder the executable's folder.
// Returns the exit status.
int run(const QStringList &arguments, const QString &homeVariable, const QString &programFolder,
        std::FILE *input = stdin, std::FILE *output = stdout, std::FILE *errors = stderr);

} // namespace CommandLine
