#pragma once

#include <QString>

// The attached files of the student cards: copies kept by bare file name in
// the one folder "Documenti_Allegati" of the data folder, shared by all cards
// (two cards attaching "diploma.pdf" share one copy). `folder` is the data
// folder with its trailing '/'.
namespace AttachmentFiles {

// True for a name that can only mean a file directly inside the attachments
// folder: not empty, no folder separator ('/' or '\'), no drive or stream
// prefix (':'), not made of dots alone ("." or ".."), no control character
// (DEL included).
// Names read from the archive are handed to the shell only when this holds.
bool isBareName(const QString &name);

// True when name is bare and survives the card's File field unchanged: every
// character in the archive's code page, no more than the field holds, no
// blank at either end.
bool isStorableName(const QString &name);

// The attached file named `name`; empty when the name is not bare.
QString path(const QString &folder, const QString &name);

// Creates the attachments folder with any missing parents; false when it cannot.
bool ensureFolder(const QString &folder);

// True when the attachments folder already holds a regular file called
// `name`, reached by the data-folder rules (DataFolder).
bool exists(const QString &folder, const QString &name);

// Copies the file at source into the attachments folder as `name` (a bare
// name), replacing the file there only once the copy is complete: a failed
// copy leaves the old file whole. A source that is that very file is left
// alone (true). False on any failure, never throws.
bool store(const QString &folder, const QString &source, const QString &name);

} // namespace AttachmentFiles
