#pragma once

#include "archive/studentrecord.h"

#include <QImage>
#include <QString>

// What one printed ID card shows: the school's four texts and logo, and the
// student's photo, name, course, class and the course's start and end dates.
// The card window fills it from its controls; the card print, the preview
// and the printing of a whole list fill their templates from it.
struct IdCardContent
{
    // The school's texts (the card window's titAssociazione, titSottotitolo01,
    // titSottotitolo02, titAnnotazioni) and its logo.
    QString associazione;
    QString sottotitolo01;
    QString sottotitolo02;
    QString annotazioni;
    QImage logo;

    // The student's part (txtTesserato, txtCarica, txtNumTessera, txtDataRil,
    // txtDataScade) and photo.
    QString tesserato;
    QString carica;
    QString numTessera;
    QString dataRil;
    QString dataScade;
    QImage photo;

    // The student part taken from a card of the archive, as a pick from the
    // import picker puts it on the card: Studente, Corso, Classe, Inizio, Fine.
    void setStudent(const StudentRecord &record, const QImage &studentPhoto)
    {
        tesserato = record[StudentRecord::Studente];
        carica = record[StudentRecord::Corso];
        numTessera = record[StudentRecord::Classe];
        dataRil = record[StudentRecord::Inizio];
        dataScade = record[StudentRecord::Fine];
        photo = studentPhoto;
    }
};
