#pragma once

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>

// A zip holding `parts` (name, bytes), written to `path`, as a workbook packs
// its parts. Kept apart from the tests: zlib's headers confuse moc.
bool writeZip(const QString &path, const QList<QPair<QByteArray, QByteArray>> &parts);
