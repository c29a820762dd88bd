#include "search/studentsearch.h"

#include "archive/codepage.h"
#include "archive/fieldcodec.h"
#include "archive/recordfile.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace {

// Byte to its ASCII-lowered byte.
const std::array<unsigned char, 256> &lowerTable()
{
    static const std::array<unsigned char, 256> table = [] {
        std::array<unsigned char, 256> t{};
        for (int b = 0; b < 256; ++b)
            t[size_t(b)] = static_cast<unsigned char>(b >= 'A' && b <= 'Z' ? b + 32 : b);
        return t;
    }();
    return table;
}

// Sort weight of a character: its code, with the ASCII small letters taken as
// capitals.
inline char16_t sortWeight(char16_t c)
{
    return (c >= u'a' && c <= u'z') ? char16_t(c - 32) : c;
}

// Sort weight of a Windows-1252 byte: the weight of the character it decodes
// to, so byte lines sort exactly as their text would.
const std::array<char16_t, 256> &byteWeights()
{
    static const std::array<char16_t, 256> table = [] {
        std::array<char16_t, 256> t{};
        for (int b = 0; b < 256; ++b) {
            const char byte = static_cast<char>(b);
            t[size_t(b)] = sortWeight(CodePage::toUnicode(&byte, 1).at(0).unicode());
        }
        return t;
    }();
    return table;
}

// The bytes a field decodes from: length capped at the capacity, blanks and
// controls removed at both ends (as the field codec does).
inline QByteArrayView fieldBytes(const char *record, StudentRecord::Field f)
{
    const StudentRecord::FieldSpec &item = StudentRecord::layout()[f];
    const char *field = record + item.offset;
    int length = static_cast<unsigned char>(field[0]);
    if (length > item.capacity)
        length = item.capacity;
    const char *data = field + 1;
    while (length > 0 && static_cast<unsigned char>(*data) <= 32) {
        ++data;
        --length;
    }
    while (length > 0 && static_cast<unsigned char>(data[length - 1]) <= 32)
        --length;
    return QByteArrayView(data, length);
}

QString padded(const QString &text, int width)
{
    const QString cut = text.left(width);
    return cut + QString(width - cut.size(), QLatin1Char(' '));
}

void appendPadded(QByteArray &out, QByteArrayView bytes, qsizetype width)
{
    const qsizetype n = std::min(bytes.size(), width);
    out.append(bytes.data(), n);
    out.append(width - n, ' ');
}

} // namespace

namespace SearchText {

QString lower(const QString &text)
{
    QString out = text;
    for (QChar &c : out)
        if (c.unicode() >= 'A' && c.unicode() <= 'Z')
            c = QChar(c.unicode() + 32);
    return out;
}

bool occurs(const QString &needle, const QString &haystack)
{
    return !needle.isEmpty() && lower(haystack).contains(lower(needle), Qt::CaseSensitive);
}

bool isFilled(const QString &filter)
{
    return !FieldCodec::trimControls(filter).isEmpty();
}

} // namespace SearchText

ByteNeedle::ByteNeedle(const QString &text)
{
    const QString lowered = SearchText::lower(text);
    m_bytes = CodePage::fromUnicode(lowered);
    // A character without a byte comes back as '?', which would wrongly match
    // a real question mark.
    m_matchable = !m_bytes.isEmpty() && CodePage::toUnicode(m_bytes) == lowered;
}

bool ByteNeedle::occursIn(const char *data, qsizetype size) const
{
    if (!m_matchable)
        return false;
    const qsizetype n = m_bytes.size();
    if (n > size)
        return false;
    const auto &lower = lowerTable();
    const auto *needle = reinterpret_cast<const unsigned char *>(m_bytes.constData());
    const auto *hay = reinterpret_cast<const unsigned char *>(data);
    const unsigned char first = needle[0];
    for (qsizetype i = 0, last = size - n; i <= last; ++i) {
        if (lower[hay[i]] != first)
            continue;
        qsizetype k = 1;
        while (k < n && lower[hay[i + k]] == needle[k])
            ++k;
        if (k == n)
            return true;
    }
    return false;
}

bool ByteNeedle::occursInField(const char *record, StudentRecord::Field f) const
{
    const QByteArrayView bytes = fieldBytes(record, f);
    return occursIn(bytes.data(), bytes.size());
}

namespace StudentListLine {

QString build(const StudentRecord &record)
{
    using R = StudentRecord;
    return padded(record[R::Studente], 30) + QStringLiteral("  CF: ")
         + padded(record[R::CodFisc], 16) + QStringLiteral("  Corso: ")
         + padded(record[R::Corso], 30) + QStringLiteral("  Classe: ")
         + padded(record[R::Classe], 16) + QStringLiteral("  Esame: ")
         + padded(record[R::DataEsame], 10) + QStringLiteral("  Esito: ") + record[R::Esito];
}

void appendBytes(const char *record, QByteArray &out)
{
    using R = StudentRecord;
    appendPadded(out, fieldBytes(record, R::Studente), 30);
    out.append("  CF: ");
    appendPadded(out, fieldBytes(record, R::CodFisc), 16);
    out.append("  Corso: ");
    appendPadded(out, fieldBytes(record, R::Corso), 30);
    out.append("  Classe: ");
    appendPadded(out, fieldBytes(record, R::Classe), 16);
    out.append("  Esame: ");
    appendPadded(out, fieldBytes(record, R::DataEsame), 10);
    out.append("  Esito: ");
    out.append(fieldBytes(record, R::Esito));
}

} // namespace StudentListLine

namespace ListOrder {

bool less(const QString &a, const QString &b)
{
    const qsizetype n = std::min(a.size(), b.size());
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t wa = sortWeight(a.at(i).unicode());
        const char16_t wb = sortWeight(b.at(i).unicode());
        if (wa != wb)
            return wa < wb;
    }
    return a.size() < b.size();
}

int compareBytes(QByteArrayView a, QByteArrayView b)
{
    const auto &weight = byteWeights();
    const auto *pa = reinterpret_cast<const unsigned char *>(a.data());
    const auto *pb = reinterpret_cast<const unsigned char *>(b.data());
    const qsizetype n = std::min(a.size(), b.size());
    for (qsizetype i = 0; i < n; ++i) {
        if (pa[i] == pb[i])
            continue;
        const char16_t wa = weight[pa[i]];
        const char16_t wb = weight[pb[i]];
        if (wa != wb)
            return wa < wb ? -1 : 1;
    }
    return a.size() < b.size() ? -1 : (a.size() > b.size() ? 1 : 0);
}

} // namespace ListOrder

QString countLine(qsizetype lines)
{
    return QStringLiteral("Il presente riepilogo contiene ") + QString::number(lines)
         + QStringLiteral(" schede");
}

void SearchResults::add(const char *record, qint64 recordNumber)
{
    const qsizetype offset = m_text.size();
    StudentListLine::appendBytes(record, m_text);
    m_entries.push_back({offset, m_text.size() - offset, recordNumber});
}

void SearchResults::sort()
{
    const char *text = m_text.constData();
    std::sort(m_entries.begin(), m_entries.end(), [text](const Entry &a, const Entry &b) {
        const int c = ListOrder::compareBytes(QByteArrayView(text + a.offset, a.length),
                                              QByteArrayView(text + b.offset, b.length));
        return c != 0 ? c < 0 : a.number < b.number;
    });
}

void SearchResults::clear()
{
    m_text.clear();
    m_entries.clear();
}

QByteArrayView SearchResults::lineBytes(qsizetype i) const
{
    const Entry &e = m_entries[size_t(i)];
    return QByteArrayView(m_text.constData() + e.offset, e.length);
}

QString SearchResults::line(qsizetype i) const
{
    const QByteArrayView bytes = lineBytes(i);
    return CodePage::toUnicode(bytes.data(), int(bytes.size()));
}

qsizetype ListFinder::find(const SearchResults &lines, qsizetype selected, const QString &text)
{
    const QString t = SearchText::lower(text);
    const ByteNeedle needle(t);
    const qsizetype n = lines.size();
    const auto occursAt = [&](qsizetype i) {
        const QByteArrayView line = lines.lineBytes(i);
        return needle.occursIn(line.data(), line.size());
    };
    qsizetype found = -1;
    if (t == m_last) {
        for (qsizetype k = 1; k <= n && found < 0; ++k) {
            const qsizetype i = (selected + k) % n;
            if (occursAt(i))
                found = i;
        }
    } else {
        for (qsizetype i = 0; i < n && found < 0; ++i)
            if (occursAt(i))
                found = i;
    }
    m_last = t;
    return found;
}

namespace StudentSearch {

SearchResults run(const QString &archivePath, const QList<SearchFilter> &filters,
                  qint64 blockRecords)
{
    struct Active
    {
        StudentRecord::Field field;
        ByteNeedle needle;
    };
    std::vector<Active> active;
    for (const SearchFilter &filter : filters)
        if (SearchText::isFilled(filter.text))
            active.push_back({filter.field, ByteNeedle(filter.text)});

    SearchResults results;
    RecordFile file(archivePath, StudentRecord::Size);
    file.open();
    const qint64 count = file.count();
    for (qint64 index = 0; index < count; index += blockRecords) {
        const qint64 n = std::min(blockRecords, count - index);
        const QByteArray block = file.readBlock(index, n);
        for (qint64 j = 0; j < n; ++j) {
            const char *record = block.constData() + j * StudentRecord::Size;
            bool listed = true;
            for (const Active &a : active) {
                if (!a.needle.occursInField(record, a.field)) {
                    listed = false;
                    break;
                }
            }
            if (listed)
                results.add(record, index + j + 1);
        }
    }
    file.close();
    results.sort();
    return results;
}

} // namespace StudentSearch
