#pragma once

#include "report/report.h"

#include <QStringList>

#include <memory>

// The one-page A4 sheet of a student: the photo frame, the name bar and the
// labelled boxes of the other fields.
namespace StudentSheet {

// `repDocumento`, "Scheda studente".
std::unique_ptr<Report> create(QObject *parent = nullptr);

// The student window's edits that fill the sheet, in filling order; each
// fills the template object of the same name (found without regard to case).
QStringList fieldNames();

} // namespace StudentSheet
