#pragma once

#include "archive/studentrecord.h"

#include <QList>
#include <QString>
#include <QStringList>

// Which card field each column of an imported sheet fills. A target is a
// StudentRecord::Field (0 to 25: the fields the student window shows), or one
// of the values below.
namespace ImportMapping {

constexpr int Ignore = -1;
// Surname and given name in columns of their own: joined, surname first, into
// the name field "Cognome e nome".
constexpr int Surname = -2;
constexpr int GivenName = -3;

struct Choice
{
    int target;
    QString caption;
};

// What the operator may choose for a column, in the order offered: ignore,
// the card's fields in the student window's order, then surname and name.
const QList<Choice> &choices();

// A target's caption ("Cognome e nome", "Codice fiscale", "(non importare)").
QString caption(int target);

// A header or a name made comparable: accents dropped, letters case-folded,
// everything but letters and digits left out ("Città " and "citta" are
// equal).
QString normalise(const QString &header);

// The target a header names: the card's captions, the export's headers and
// the usual synonyms ("CF", "Data di nascita", "Cellulare", "Cognome"...);
// Ignore when none.
int guess(const QString &header);

// Targets for a whole header: each field taken by its first column only;
// surname and name only together, else a lone "Nome" column is the name field.
QList<int> guessAll(const QStringList &header);

} // namespace ImportMapping
