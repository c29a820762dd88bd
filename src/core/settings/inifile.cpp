#include "settings/inifile.h"

#include "archive/atomicfile.h"
#include "archive/codepage.h"
#include "archive/datafolder.h"

#include <QList>

namespace {

// The settings files hold a few lines. Anything far larger is not one of
// them and is never read into memory.
constexpr qint64 kMaxBytes = 4 * 1024 * 1024;

QList<QByteArray> splitLines(const QByteArray &content)
{
    // Notepad's "UTF-8 with BOM" puts a mark before the first header; it is
    // no part of the text, and what is written back goes without it, as
    // every other workstation writes the file.
    // A file saved through two such editors has two.
    static const QByteArray kByteOrderMark("\xEF\xBB\xBF");
    qsizetype start = 0;
    while (content.mid(start, kByteOrderMark.size()) == kByteOrderMark)
        start += kByteOrderMark.size();
    QList<QByteArray> lines = content.mid(start).split('\n');
    if (!lines.isEmpty() && lines.constLast().isEmpty())
        lines.removeLast();
    for (QByteArray &line : lines)
        if (line.endsWith('\r'))
            line.chop(1);
    return lines;
}

bool isSectionHeader(const QByteArray &trimmed)
{
    return trimmed.startsWith('[') && trimmed.endsWith(']');
}

bool sameName(const QByteArray &a, const QString &b)
{
    return CodePage::toUnicode(a.trimmed()).compare(b, Qt::CaseInsensitive) == 0;
}

// Index of the key's line inside the section, the section's header line, and
// the line after the section's last key (-1 when absent).
struct Where
{
    int section = -1;
    int key = -1;
    int sectionEnd = -1;
};

Where locate(const QList<QByteArray> &lines, const QString &section, const QString &key)
{
    Where where;
    bool inside = false;
    for (int i = 0; i < lines.size(); ++i) {
        const QByteArray trimmed = lines[i].trimmed();
        if (isSectionHeader(trimmed)) {
            if (inside)
                break;
            inside = sameName(trimmed.mid(1, trimmed.size() - 2), section);
            if (inside) {
                where.section = i;
                where.sectionEnd = i + 1;
            }
            continue;
        }
        if (!inside)
            continue;
        if (!trimmed.isEmpty() && !trimmed.startsWith(';'))
            where.sectionEnd = i + 1;
        const int eq = lines[i].indexOf('=');
        if (eq > 0 && where.key < 0 && sameName(lines[i].left(eq), key))
            where.key = i;
    }
    return where;
}

} // namespace

namespace IniFile {

QString readFrom(const QByteArray &content, const QString &section, const QString &key,
                 const QString &defaultValue)
{
    const QList<QByteArray> lines = splitLines(content);
    const Where where = locate(lines, section, key);
    if (where.key < 0)
        return defaultValue;
    const QByteArray &line = lines[where.key];
    // Windows' profile reader drops the blanks around a value; so do we.
    return CodePage::toUnicode(line.mid(line.indexOf('=') + 1).trimmed());
}

QByteArray writeTo(const QByteArray &content, const QString &section, const QString &key,
                   const QString &value)
{
    QList<QByteArray> lines = splitLines(content);
    const Where where = locate(lines, section, key);
    const QByteArray entry = CodePage::fromUnicode(key) + '=' + CodePage::fromUnicode(value);
    if (where.key >= 0) {
        lines[where.key] = entry;
    } else if (where.section >= 0) {
        lines.insert(where.sectionEnd, entry);
    } else {
        if (!lines.isEmpty() && !lines.constLast().trimmed().isEmpty())
            lines.append(QByteArray());
        lines.append('[' + CodePage::fromUnicode(section) + ']');
        lines.append(entry);
    }
    QByteArray out;
    for (const QByteArray &line : lines)
        out += line + "\r\n";
    return out;
}

bool load(const QString &path, QByteArray *content)
{
    return DataFolder::readAll(path, kMaxBytes, content) != DataFolder::Read::Refused;
}

QString read(const QString &path, const QString &section, const QString &key,
             const QString &defaultValue)
{
    QByteArray content;
    load(path, &content);
    return readFrom(content, section, key, defaultValue);
}

bool write(const QString &path, const QString &section, const QString &key,
           const QString &value)
{
    QByteArray content;
    if (!load(path, &content))
        return false;
    return writeFileAtomically(path, writeTo(content, section, key, value));
}

} // namespace IniFile
