#include "attachmentfiles.h"

#include "atomicfile.h"
#include "codepage.h"
#include "datafolder.h"
#include "fieldcodec.h"
#include "studentfiles.h"
#include "studentrecord.h"

#include <QDir>
#include <QFileInfo>

namespace AttachmentFiles {

bool isBareName(const QString &name)
{
    if (name.isEmpty())
        return false;
    bool onlyDots = true;
    for (const QChar c : name) {
        if (c == QLatin1Char('/') || c == QLatin1Char('\\') || c == QLatin1Char(':') || c.unicode() < 32
            || c.unicode() == 127)
            return false;
        if (c != QLatin1Char('.'))
            onlyDots = false;
    }
    return !onlyDots;
}

bool isStorableName(const QString &name)
{
    if (!isBareName(name))
        return false;
    const QByteArray bytes = CodePage::fromUnicode(name);
    const int capacity = StudentRecord::layout()[StudentRecord::File01].capacity;
    // A name that is not stored whole, loses blanks at its ends, or comes back
    // with '?' in place of a letter would name some other file (or none) once
    // the card is saved.
    return bytes.size() <= capacity && CodePage::toUnicode(bytes) == name
           && FieldCodec::trimControls(name) == name;
}

QString path(const QString &folder, const QString &name)
{
    if (!isBareName(name))
        return {};
    return StudentFiles::attachmentsFolder(folder) + name;
}

bool ensureFolder(const QString &folder)
{
    return QDir().mkpath(StudentFiles::attachmentsFolder(folder));
}

bool exists(const QString &folder, const QString &name)
{
    const QString file = path(folder, name);
    return !file.isEmpty() && DataFolder::isFile(file);
}

bool store(const QString &folder, const QString &source, const QString &name)
{
    const QString destination = path(folder, name);
    if (destination.isEmpty())
        return false;
    const QFileInfo from(source);
    const QFileInfo to(destination);
    if (DataFolder::isFile(destination) && from.canonicalFilePath() == to.canonicalFilePath())
        return true;
    return copyFileAtomically(source, destination);
}

} // namespace AttachmentFiles
