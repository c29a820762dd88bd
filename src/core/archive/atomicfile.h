#pragma once

#include <QByteArray>
#include <QString>

// Replaces a whole file so that a crash or a full disk leaves either the old
// file or the new one, never a truncated mix. False when nothing was replaced.
bool writeFileAtomically(const QString &path, const QByteArray &data);
