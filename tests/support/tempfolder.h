#pragma once

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>
#include <QTest>

// A temporary data folder with real files, removed at the end of the test.
// It is registered as a data folder while it lives, as the program's is.
struct TempFolder
{
    QTemporaryDir dir;
    // The folder with a trailing '/', as the program's data folder is given.
    QString folder = dir.path() + QLatin1Char('/');

    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder &) = delete;
    TempFolder &operator=(const TempFolder &) = delete;

    QString path(const QString &relative) const { return folder + relative; }
    // Writes raw bytes to a file in the folder (creating parent folders).
    void writeFile(const QString &relative, const QByteArray &bytes) const;
    QByteArray readFile(const QString &relative) const;
};
