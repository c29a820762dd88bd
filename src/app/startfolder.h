#pragma once

#include <QString>
#include <QStringList>

class Platform;

// The data folder the program works on, chosen at start:
// - the folder given on the command line, "--cartella DIR" or its English
//   form "--data-dir DIR" (also "--cartella=DIR"; the last one given counts);
// - else the folder in the variable LUMETRA_HOME;
// - else the program's own folder.
// A relative path is taken from the current folder.
namespace StartFolder {

// What the command line asks for.
struct Choice
{
    enum Action { Run, Help, Version, Refuse };
    Action action = Run;
    // Run: the chosen folder, absolute, with a trailing '/'.
    QString folder;
    // Refuse: what is wrong with the command line, in Italian.
    QString error;
};

// arguments as QCoreApplication::arguments() gives them (the program first,
// Qt's own options already taken out); homeVariable the value of
// LUMETRA_HOME (empty when unset); programFolder the executable's folder.
Choice choose(const QStringList &arguments, const QString &homeVariable, const QString &programFolder);

// The text "--help" prints.
QString usage();

// Answers "--help" and "--version" on standard output: true when asked, and
// the program has nothing more to do. Needs no screen, so the program asks
// it before it starts Qt's windowing.
bool answerOnTerminal(const QStringList &arguments);

// Makes `folder` ready to be the data folder and registers it as one.
// A missing folder is created (its parent must exist: a network share that
// is not mounted must not turn into a local folder) and every folder without
// a password store gets the default one, which asks for the first password.
// Returns the Italian message saying why the folder cannot be used, empty
// when it can; a folder that cannot be used is left as it was.
QString prepare(const QString &folder);

// choose() and prepare() together, as the program starts: true with the
// ready folder in *folder; false when the program has nothing more to do:
// after an error box through `platform` (and the same text on standard
// error) when it cannot go on, or after answerOnTerminal().
bool open(Platform &platform, const QStringList &arguments, const QString &homeVariable,
          const QString &programFolder, QString *folder);

} // namespace StartFolder
