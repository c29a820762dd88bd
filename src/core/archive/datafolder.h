#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

// The data folder holds every file the program keeps (the archive, tests
// files, photos, the logo, the settings files, the export, attachments),
// and it may be a folder shared by several workstations and writable by
// others. Every data file is opened here, by these rules:
// - only a regular file is used: a pipe, a device or a socket is refused
//   before it can block the program;
// - below the data folder no symbolic link is followed, neither the file's
//   own name nor a subfolder's (the data folder itself may be reached
//   through one);
// - names are looked up from an open handle of each folder in turn, so a
//   subfolder swapped for a link between a check and a write cannot
//   redirect the write.
// Files outside every data folder (the ones the operator picks in a file
// dialog) are used as given, links included, but still only when regular.
namespace DataFolder {

// Registers `folder` (with or without its trailing '/') as a data folder. The
// program registers its folder at start; tests register their temporary ones.
void add(const QString &folder);
void remove(const QString &folder);

// Opens `path` for reading, or for reading and writing creating it when
// missing (the folder it is in must exist). False when refused or when the
// file cannot be opened.
bool open(QFile &file, const QString &path, QIODevice::OpenMode mode);

// True when `path` names a regular file that open() would read.
bool isFile(const QString &path);

enum class Read { Done, Missing, Refused };
// Reads the whole file at `path`, at most `limit` bytes: Missing when there
// is no such file (an empty *content), Refused when it cannot be read, is
// refused above, or is larger than the limit (never read into memory).
Read readAll(const QString &path, qint64 limit, QByteArray *content);

// The folder a file is to be written in, opened by the rules above, and the
// file's name in it: the handle for creating, replacing and removing that
// file without looking the path up again.
class Place
{
public:
    explicit Place(const QString &path);
    ~Place();
    Place(const Place &) = delete;
    Place &operator=(const Place &) = delete;

    // False when the path is refused or its folder cannot be opened.
    bool isOpen() const { return m_folder >= 0; }
    // The folder's handle, and the file's name in it.
    int folder() const { return m_folder; }
    const QByteArray &name() const { return m_name; }
    // Under a data folder: the rules apply to what is created there.
    bool isInData() const { return !m_outside; }

private:
    int m_folder = -1;
    QByteArray m_name;
    bool m_outside = false;
};

// A folder below a data folder opened once by the rules above, for reading
// many files in it by name (the tests files of a whole archive) without
// looking the folder's path up again for each.
class Folder
{
public:
    // `path`: the folder, with or without its trailing '/'.
    explicit Folder(const QString &path);
    ~Folder();
    Folder(const Folder &) = delete;
    Folder &operator=(const Folder &) = delete;

    // False when the folder is missing or refused.
    bool isOpen() const;
    // Reads the file `name` (a plain name, no '/') of the folder as readAll
    // does, as large as it was when opened; `content` keeps its room from
    // call to call.
    Read read(const QByteArray &name, qint64 limit, QByteArray *content) const;

private:
    QString m_path;
    int m_folder = -1;
};

} // namespace DataFolder
