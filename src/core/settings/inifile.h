#pragma once

#include <QString>

// INI-format text files as existing installations write them: 8-bit
// Windows-1252 text with CRLF lines. Writing changes one key's line in place
// and keeps every other line byte for byte.
namespace IniFile {

// The value of key in section, or defaultValue when the file, section or key
// is missing or unreadable. A file of more than 4 MB is no settings file and
// counts as unreadable; so does one the data folder refuses (DataFolder).
// Section and key names compare without case. A UTF-8 byte-order mark at
// the start is no part of the text.
QString read(const QString &path, const QString &section, const QString &key,
             const QString &defaultValue = QString());

// Sets key in section, creating the file, section or key when missing.
// The file is replaced atomically; false when it could not be written, or
// when an existing file could not be read (then it is left as it is).
bool write(const QString &path, const QString &section, const QString &key,
           const QString &value);

// The whole file into *content (empty when there is none). False when a
// file is there but cannot be read (too large, refused): it must not then be
// replaced, or its other keys would be lost.
bool load(const QString &path, QByteArray *content);

// The same on text held in memory (for tests and for callers that batch).
QString readFrom(const QByteArray &content, const QString &section, const QString &key,
                 const QString &defaultValue);
QByteArray writeTo(const QByteArray &content, const QString &section, const QString &key,
                   const QString &value);

} // namespace IniFile
