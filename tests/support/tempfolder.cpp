#include "tempfolder.h"

#include "archive/datafolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

TempFolder::TempFolder()
{
    DataFolder::add(folder);
}

TempFolder::~TempFolder()
{
    DataFolder::remove(folder);
}

void TempFolder::writeFile(const QString &relative, const QByteArray &bytes) const
{
    const QString full = path(relative);
    QDir().mkpath(QFileInfo(full).absolutePath());
    QFile file(full);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(full));
}

QByteArray TempFolder::readFile(const QString &relative) const
{
    QFile file(path(relative));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}
