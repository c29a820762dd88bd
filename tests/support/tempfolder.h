#pragma once

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>
#include <QTest>

// A temporary data folder with real files, removed at the end of the test.
struct TempFolder
{
    QTemporaryDir dir;
    // The folder with a trailing '/', as the program's data folder is given.
    QString folder = dir.path() + QLatin1Char('/');

    QString path(const QString &relative) const { return folder + relative; }
    // Writes raw bytes to a file in the folder (creating parent folders).
    void writeFile(const QString &relative, const QByteArray &bytes) const;
    QByteArray readFile(const QString &relative) const;
};
