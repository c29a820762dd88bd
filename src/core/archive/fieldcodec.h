#pragma once

#include <QString>

// Length-prefixed 8-bit text fields shared by the archive and the tests files:
// one length byte, then `capacity` bytes of which the first `length` count.
namespace FieldCodec {

// Removes leading and trailing characters of code 32 or lower.
QString trimControls(const QString &text);

// Field bytes at `field` (length byte first) to text: the length is capped at
// the capacity, the bytes after it are never looked at, and the text is trimmed.
QString decode(const char *field, int capacity);

// Text to field bytes at `field` (capacity + 1 bytes are written): trimmed,
// at most 255 characters, code page, cut at the capacity, rest zeroed.
void encode(const QString &text, char *field, int capacity);

} // namespace FieldCodec
