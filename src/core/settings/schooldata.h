#pragma once

#include <QString>

// The school's four texts printed on every ID card, kept in "Lumetra.ini"
// (section "Scuola") in the data folder.
struct SchoolTexts
{
    QString denominazione; // school name
    QString indirizzo;     // address line
    QString recapiti;      // contacts line
    QString note;          // notes of the card's footer

    bool operator==(const SchoolTexts &other) const
    {
        return denominazione == other.denominazione && indirizzo == other.indirizzo
            && recapiti == other.recapiti && note == other.note;
    }
};

namespace SchoolData {

// `folder` is the data folder with its trailing '/'.
QString settingsPath(const QString &folder); // Lumetra.ini

// The texts a fresh installation shows.
SchoolTexts defaults();

// Every text in the same way: trimmed (codes <= 32 at both ends).
SchoolTexts trimmed(const SchoolTexts &texts);

// The texts of the settings file; a missing file, section or key, and an
// empty value, give that text's default. Never fails.
SchoolTexts load(const QString &folder);

// Writes the four texts, trimmed, replacing the file at once and keeping
// every other section and key of it. A file that holds these texts already
// is left alone. False when the file could not be read or written.
bool save(const QString &folder, const SchoolTexts &texts);

} // namespace SchoolData
