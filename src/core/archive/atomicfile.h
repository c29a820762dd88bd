#pragma once

#include <QByteArray>
#include <QString>

// Replaces a whole file so that a crash or a full disk leaves either the old
// file or the new one, never a truncated mix. False when nothing was replaced.
bool writeFileAtomically(const QString &path, const QByteArray &data);

// Copies the file at source over destination the same way: the destination is
// replaced only once the whole copy is on disk; a source that cannot be read
// to its end leaves the destination as it was. False when nothing was replaced.
bool copyFileAtomically(const QString &source, const QString &destination);
