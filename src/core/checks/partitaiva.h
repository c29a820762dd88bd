#pragma once

#include <QString>

// The check digit of an Italian partita IVA (11 digits) and the VAT office
// named by its digits 8 to 10.
namespace PartitaIva {

constexpr int Length = 11;

// True exactly when number has 11 characters, all digits 0 to 9, and the
// 11th is the Luhn check digit of the first ten.
bool check(const QString &number);

// The office of a three-digit code ("001" ... "102", "120", "121"); empty
// when the code is in no entry.
QString officeName(const QString &code);

// Number of entries in the office table.
int officeCount();

} // namespace PartitaIva
