#pragma once

#include <QString>

// The password store "unins000.dll": an INI file whose [Accesso] Valore holds
// the password run through a 16-bit running-key XOR cipher, written as two
// uppercase hexadecimal digits per character. A character's byte is the low 8
// bits of its code, as the stores in the field hold them; decoding gives the
// characters of codes 0 to 255 back.

// Hexadecimal text of plain; callers pass the normalised password.
QString EncodePassword(const QString &plain);

// The plain text of hex into *plain. False (and *plain untouched) when a pair
// of digits is not a hexadecimal number. A last odd digit is ignored.
bool DecodePassword(const QString &hex, QString *plain);

namespace PasswordStore {

// Leading and trailing characters of code 32 or lower removed, a to z turned
// to upper case; nothing else changes (accented letters keep their case).
QString normalise(const QString &typed);

// True when the cipher can carry password exactly: at most 255 characters,
// none with a code above 255.
bool canCarry(const QString &password);

// The store in the data folder `folder` (with its trailing '/').
QString path(const QString &folder);

// The raw encoded value; empty when the file, section or key is missing.
QString readValue(const QString &folder);

// The stored password decoded and trimmed into *stored; false when the
// stored value cannot be decoded.
bool readPassword(const QString &folder, QString *stored);

// Replaces Valore with the encoding of password (already normalised and
// carried by the cipher), keeping every other line; atomic. False when the
// store could not be written.
bool writePassword(const QString &folder, const QString &password);

} // namespace PasswordStore
