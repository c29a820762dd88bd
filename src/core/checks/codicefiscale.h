#pragma once

#include <QString>

// The check character of an Italian codice fiscale (16 characters): only the
// 16th character is verified against the first 15, nothing else.
namespace CodiceFiscale {

constexpr int Length = 16;

// The letters a to z turned to A to Z; every other character unchanged.
QString upperAscii(const QString &text);

// The expected check character for the first 15 characters of code, or a
// null QChar when one of them lies outside "0" to "Z" (the tables cover
// nothing else, so such a code cannot be judged).
QChar expectedCheckCharacter(const QString &code);

// True exactly when code has 16 characters and the 16th is the expected one.
// Lower-case letters are not accepted here: callers upper-case first.
bool check(const QString &code);

} // namespace CodiceFiscale
