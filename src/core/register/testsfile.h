#pragma once

#include "register/testrecord.h"

#include <QList>
#include <QString>

#include <functional>

// A student's tests file, "Archivio_Prove/Prove_Studente_<n>.pro", opened,
// used and closed within one action. Failures throw FileAccessError.
namespace TestsFile {

// True for a record number as the student window shows a stored card:
// decimal digits without leading zeros, at least 1.
bool isRecordNumber(const QString &number);

// Creates the folder when missing, then the file's path. Throws
// FileAccessError for a number that names no stored card or a folder that
// cannot be made.
QString prepare(const QString &folder, const QString &number);

// Calls visit(position, test) for each record in file order (position
// 1-based), creating the file empty when missing. Records already visited
// stay visited when a later read fails.
void forEach(const QString &path, const std::function<void(qint64, const TProva &)> &visit);

// The record at a 1-based position.
TProva read(const QString &path, qint64 position);

// Rewrites the record at a 1-based position.
void write(const QString &path, qint64 position, const TProva &test);

// Appends a record; returns its 1-based position.
qint64 append(const QString &path, const TProva &test);

} // namespace TestsFile
