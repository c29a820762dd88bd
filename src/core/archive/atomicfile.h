#pragma once

#include <QByteArray>
#include <QString>

// Replaces a whole file so that a crash or a full disk leaves either the old
// file or the new one, never a truncated mix. The new content goes to a
// temporary file beside the target ("<name>.<6 letters or digits>.lumetra-tmp"),
// which then takes the target's name: a link at the target is replaced, never
// written through. A file in the data folder is refused when its path leads
// outside the folder (see DataFolder). False when nothing was replaced.
bool writeFileAtomically(const QString &path, const QByteArray &data);

// Copies the file at source over destination the same way: the destination is
// replaced only once the whole copy is on disk; a source that cannot be read
// to its end leaves the destination as it was. False when nothing was replaced.
bool copyFileAtomically(const QString &source, const QString &destination);

// Removes the temporary files that writes interrupted by a crash or a power
// cut left in `folder` and in its photo, tests and attachments folders. Only
// names writeFileAtomically makes are touched, and never the temporary file
// of a write still running on another workstation. Returns how many went.
int removeInterruptedWrites(const QString &folder);
