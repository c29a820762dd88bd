#pragma once

#include <QFile>
#include <QString>

// The data folder holds every file the program keeps (the archive, tests
// files, photos, the logo, the settings files), and it may be a folder shared
// by several workstations. A file under it is used only when it is a regular
// file reached without leaving the folder: a link (to a file or to a folder)
// that leads elsewhere is refused, so that no action reads or overwrites a
// file outside the folder through a link planted in it. Files outside every
// data folder (the ones the operator picks in a file dialog) are used as
// given.
namespace DataFolder {

// Registers `folder` (with or without its trailing '/') as a data folder. The
// program registers its folder at start; tests register their temporary ones.
void add(const QString &folder);
void remove(const QString &folder);

// Where `path` may be opened. For a file under a data folder: its location
// with every link resolved, when that lies inside the folder and is a regular
// file or does not exist yet (its folder must); empty when refused. Any
// other path comes back unchanged.
QString resolve(const QString &path);

// Opens `path` (resolved as above) for reading, or for reading and writing
// creating it when missing. Only a regular file is ever opened: a pipe or a
// device is refused before it can block the program. False when refused or
// when the file cannot be opened.
bool open(QFile &file, const QString &path, QIODevice::OpenMode mode);

} // namespace DataFolder
