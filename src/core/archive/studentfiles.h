#pragma once

#include <QImage>
#include <QString>

// Names of the archive and of the files that hang on a student's record
// number. `folder` is the program's data folder with a trailing '/'.
namespace StudentFiles {

QString archivePath(const QString &folder);           // Archivio_Studenti.pro
QString photoFolder(const QString &folder);           // Anagrafica/
QString photoPath(const QString &folder, const QString &number); // Anagrafica/Scheda_Studente_<n>.jpg
QString testsFolder(const QString &folder);           // Archivio_Prove/
QString testsPath(const QString &folder, const QString &number); // Archivio_Prove/Prove_Studente_<n>.pro
QString attachmentsFolder(const QString &folder);     // Documenti_Allegati/
QString logoPath(const QString &folder);              // Anagrafica/Logo.bmp

// Creates "Anagrafica" with any missing parents; false when it cannot.
bool ensurePhotoFolder(const QString &folder);

// Decodes a picture file, never reading more of it than the decoder needs;
// null when missing, unreadable, cut short, not an image, larger than 512 MB or than
// the decoder may allocate, or refused by the data folder (DataFolder).
// Never throws. With `cover` given, a larger picture is decoded straight at
// a half, a quarter or an eighth of its size, the smallest of them that still
// covers `cover` (never enlarged): a 12-megapixel photo shown in a frame costs
// a fraction of its full decode. Only exact divisions are made, so the
// reduced picture has the very proportions of the full one; a picture whose
// sides no such division fits is decoded at its own size.
QImage loadPicture(const QString &path, const QSize &cover = QSize());

// The student's photo (creating "Anagrafica" first); null when there is none
// or it cannot be shown. `cover` as for loadPicture.
QImage loadStudentPhoto(const QString &folder, const QString &number, const QSize &cover = QSize());

// True when something stands under the student's photo name, whether or not
// it can be shown: a photo that failed to load is told from no photo at all.
bool hasPhotoFile(const QString &folder, const QString &number);

// Writes picture as the student's JPEG photo, replacing the old file only once
// the new one is complete. False on any failure.
bool saveStudentPhoto(const QString &folder, const QString &number, const QImage &picture);

// Writes picture as a JPEG file at path, atomically. False on any failure;
// `error`, when given, then receives the system's error number of the write,
// or 0 when the picture could not be encoded.
bool saveJpeg(const QString &path, const QImage &picture, int *error = nullptr);

} // namespace StudentFiles

// The two messages every window shows about the archive.
namespace ArchiveMessages {
QString accessError();  // error box
QString emptyArchive(); // information box
} // namespace ArchiveMessages
