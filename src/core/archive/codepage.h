#pragma once

#include <QByteArray>
#include <QString>

// Windows-1252, the code page of every existing archive, on every platform.
// Written by hand because Qt's converters are ICU-backed (or absent) and
// store unmappable characters as 0x1A instead of '?'.
namespace CodePage {

QString toUnicode(const char *data, int size);
inline QString toUnicode(const QByteArray &bytes) { return toUnicode(bytes.constData(), int(bytes.size())); }

// Characters the code page cannot hold become '?'. A surrogate pair is one
// character, so it becomes one '?'.
QByteArray fromUnicode(const QString &text);

// One character's byte, or '?' when it has none.
char fromUnicode(char32_t ch);

// The characters of `text` the code page cannot hold (each once, in the order
// they first appear): what fromUnicode would turn into '?'.
QString unstorable(const QString &text);

} // namespace CodePage
