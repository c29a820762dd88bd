#include "search/studentsearch.h"


#include "archive/codepage.h"
#include "archive/fieldcodec.h"
#include "archive/studentarchive.h"
#include "archive/twoparts.h"

#include <QtEndian>


#include <algorithm>
#include <array>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <new>
#include <thread>

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

// Each byte's place among the distinct sort weights: bytes compare as their
// weights do, and the place fits in a byte.
const std::array<unsigned char, 256> &byteRanks()
{
    static const std::array<unsigned char, 256> table = [] {
        const auto &weight = byteWeights();
        std::array<char16_t, 256> sorted = weight;
        std::sort(sorted.begin(), sorted.end());
        const auto end = std::unique(sorted.begin(), sorted.end());
        std::array<unsigned char, 256> t{};
        for (size_t b = 0; b < 256; ++b)
            t[b] = static_cast<unsigned char>(std::lower_bound(sorted.begin(), end, weight[b]) - sorted.begin());
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

} // namespace ListOrder

QString countLine(qsizetype lines)
{
    return QStringLiteral("Il presente riepilogo contiene ") + QString::number(lines)
         + QStringLiteral(" schede");
}

namespace {

// The fields of a list line, in line order, the width each is padded or cut
// to (0: neither), and the label before each.
constexpr StudentRecord::Field kLineFields[] = {StudentRecord::Studente, StudentRecord::CodFisc,
                                                 StudentRecord::Corso,    StudentRecord::Classe,
                                                 StudentRecord::DataEsame, StudentRecord::Esito};
constexpr int kFieldCount = 6;
constexpr int kWidths[kFieldCount] = {30, 16, 30, 16, 10, 0};
constexpr const char *kLabels[kFieldCount] = {"", "  CF: ", "  Corso: ", "  Classe: ", "  Esame: ", "  Esito: "};

// A line is stored as the six field lengths followed by the fields' bytes
// (already cut to their widths). The widest a line can take:
constexpr qint64 kMaxStored = kFieldCount + 30 + 16 + 30 + 16 + 10 + 50;
constexpr int kBlockBits = 21;
constexpr qint64 kBlockSize = qint64(1) << kBlockBits;

// Where each column of a line's fixed part comes from: a field's byte (the
// field and the place in it, a blank past its end) or a label's character.
struct Column
{
    signed char field; // -1: a label
    unsigned char at;
    char label;
};
constexpr int kFixedColumns = 145;

const std::array<Column, kFixedColumns> &columns()
{
    static const std::array<Column, kFixedColumns> table = [] {
        std::array<Column, kFixedColumns> t{};
        int position = 0;
        for (int f = 0; f < kFieldCount - 1; ++f) {
            for (const char *c = kLabels[f]; *c; ++c)
                t[size_t(position++)] = {-1, 0, *c};
            for (int at = 0; at < kWidths[f]; ++at)
                t[size_t(position++)] = {static_cast<signed char>(f), static_cast<unsigned char>(at), ' '};
        }
        for (const char *c = kLabels[kFieldCount - 1]; *c; ++c)
            t[size_t(position++)] = {-1, 0, *c};
        return t;
    }();
    return table;
}

// Eight-character words cover the longest line (145 + 50 characters).
constexpr int kLineWords = (kFixedColumns + 50 + 7) / 8;

// The sort places of the laid-out line's characters [8 word, 8 word + 8),
// the first in the highest byte, 0 past the end of the line. Words compare
// as the lines do, except that a line ending where another goes on with
// character 0 compares equal: such lines are told apart by whole lines.
quint64 lineWord(const unsigned char *stored, int word, const unsigned char *rank)
{
    const unsigned char *field[kFieldCount];
    const unsigned char *p = stored + kFieldCount;
    for (int f = 0; f < kFieldCount; ++f) {
        field[f] = p;
        p += stored[f];
    }
    const auto &column = columns();
    const unsigned char blank = rank[static_cast<unsigned char>(' ')];
    quint64 value = 0;
    for (int i = 0, position = word * 8; i < 8; ++i, ++position) {
        unsigned char r = 0;
        if (position < kFixedColumns) {
            const Column &c = column[size_t(position)];
            if (c.field < 0)
                r = rank[static_cast<unsigned char>(c.label)];
            else
                r = c.at < stored[c.field] ? rank[field[c.field][c.at]] : blank;
        } else if (position - kFixedColumns < stored[kFieldCount - 1]) {
            r = rank[field[kFieldCount - 1][position - kFixedColumns]];
        }
        value = (value << 8) | r;
    }
    return value;
}

// Compares n bytes by their sort places, eight bytes at a time while they
// are the same bytes.
inline int compareRun(const unsigned char *a, const unsigned char *b, int n, const unsigned char *rank)
{
    int i = 0;
#if Q_BYTE_ORDER == Q_LITTLE_ENDIAN
    while (i + 8 <= n) {
        quint64 x;
        quint64 y;
        std::memcpy(&x, a + i, 8);
        std::memcpy(&y, b + i, 8);
        if (x == y) {
            i += 8;
            continue;
        }
        const int at = i + int(qCountTrailingZeroBits(x ^ y) / 8);
        if (rank[a[at]] != rank[b[at]])
            return rank[a[at]] < rank[b[at]] ? -1 : 1;
        // A small letter against its capital: the same place.
        i = at + 1;
    }
#endif
    for (; i < n; ++i) {
        if (a[i] != b[i] && rank[a[i]] != rank[b[i]])
            return rank[a[i]] < rank[b[i]] ? -1 : 1;
    }
    return 0;
}

// Compares two stored lines as their laid-out lines compare: field by field,
// a shorter padded field going on with blanks.
int compareStored(const unsigned char *a, const unsigned char *b, const unsigned char *rank)
{
    const unsigned char blank = rank[static_cast<unsigned char>(' ')];
    const unsigned char *pa = a + kFieldCount;
    const unsigned char *pb = b + kFieldCount;
    for (int f = 0; f < kFieldCount; ++f) {
        const int la = a[f];
        const int lb = b[f];
        const int common = std::min(la, lb);
        if (const int c = compareRun(pa, pb, common, rank))
            return c;
        if (la != lb) {
            if (kWidths[f] == 0)
                return la < lb ? -1 : 1;
            const bool aLonger = la > lb;
            const unsigned char *rest = aLonger ? pa : pb;
            for (int i = common, end = std::max(la, lb); i < end; ++i) {
                const unsigned char r = rank[rest[i]];
                if (r != blank)
                    return (r < blank) == aLonger ? -1 : 1;
            }
        }
        pa += la;
        pb += lb;
    }
    return 0;
}

} // namespace


struct SearchResults::Less
{
    const SearchResults *results;
    const unsigned char *rank = byteRanks().data();
    void prefetch(const Entry &e) const
    {
#if defined(__GNUC__)
        const unsigned char *stored = results->fieldsAt(e.offset);
        __builtin_prefetch(stored);
        __builtin_prefetch(stored + 64);
#else
        Q_UNUSED(e);
#endif
    }
    bool operator()(const Entry &a, const Entry &b) const
    {
        if (a.key != b.key)
            return a.key < b.key;
        const int c = compareStored(results->fieldsAt(a.offset), results->fieldsAt(b.offset), rank);
        return c != 0 ? c < 0 : a.number < b.number;
    }
};

SearchResults::SearchResults() = default;
SearchResults::SearchResults(SearchResults &&other) noexcept = default;
SearchResults &SearchResults::operator=(SearchResults &&other) noexcept = default;
SearchResults::~SearchResults() = default;

const unsigned char *SearchResults::fieldsAt(qint64 offset) const
{
    return m_blocks[size_t(offset >> kBlockBits)].get() + (offset & (kBlockSize - 1));
}

void SearchResults::add(const char *record, qint64 recordNumber)
{
    if (m_blocks.empty() || m_used + kMaxStored > kBlockSize) {
        // A first block that may hold a handful of lines takes small pages.
        const bool huge = m_manyLines || !m_blocks.empty();
        m_blocks.emplace_back(static_cast<unsigned char *>(LargeMemory::allocate(size_t(kBlockSize), huge)));
        m_used = 0;
    }
    const qint64 offset = (qint64(m_blocks.size() - 1) << kBlockBits) + m_used;
    unsigned char *out = m_blocks.back().get() + m_used;
    unsigned char *bytes = out + kFieldCount;
    for (int f = 0; f < kFieldCount; ++f) {
        const QByteArrayView field = fieldBytes(record, kLineFields[f]);
        const qsizetype n = kWidths[f] ? std::min<qsizetype>(field.size(), kWidths[f]) : field.size();
        out[f] = static_cast<unsigned char>(n);
        std::memcpy(bytes, field.data(), size_t(n));
        bytes += n;
    }
    m_used += bytes - out;
    m_entries.push_back({lineWord(out, 0, byteRanks().data()), offset, recordNumber});
}

void SearchResults::reserve(qsizetype lines)
{
    m_entries.reserve(size_t(lines));
    m_manyLines = m_manyLines || lines * 40 > kBlockSize;
}

void SearchResults::sort()
{
    // By the lines' first characters alone, which the entries hold: most of
    // the order comes without looking at the lines.
    std::sort(m_entries.begin(), m_entries.end(), [](const Entry &a, const Entry &b) { return a.key < b.key; });
    // Then each run of lines that begin alike by their following words.
    const Less less{this};
    Entry *const end = m_entries.data() + m_entries.size();
    for (Entry *run = m_entries.data(); run != end;) {
        Entry *next = run + 1;
        while (next != end && next->key == run->key)
            ++next;
        if (next - run > 1) {
            const quint64 key = run->key;
            sortRun(run, next, 1, less);
            // The entries hold the first word again, as merging expects.
            for (Entry *e = run; e != next; ++e)
                e->key = key;
        }
        run = next;
    }
}

void SearchResults::sortRun(Entry *first, Entry *last, int word, const Less &less)
{
    // The lines lie all over the blocks: ask for them all at once, rather
    // than wait for each as it is first looked at.
    for (Entry *e = first; e != last; ++e)
        less.prefetch(*e);
    if (last - first <= 12 || word >= kLineWords) {
        // Few lines, or lines alike to their end: compared whole.
        std::sort(first, last, less);
        return;
    }
    for (Entry *e = first; e != last; ++e)
        e->key = lineWord(fieldsAt(e->offset), word, less.rank);
    std::sort(first, last, [](const Entry &a, const Entry &b) { return a.key < b.key; });
    for (Entry *run = first; run != last;) {
        Entry *next = run + 1;
        while (next != last && next->key == run->key)
            ++next;
        if (next - run > 1)
            sortRun(run, next, word + 1, less);
        run = next;
    }
}

void SearchResults::mergeSorted(SearchResults &&other, int threads)
{
    if (other.m_entries.empty())
        return;
    if (m_entries.empty()) {
        *this = std::move(other);
        return;
    }
    // The other's blocks go after these; its lines' offsets follow them.
    const qint64 shift = qint64(m_blocks.size()) << kBlockBits;
    for (Entry &e : other.m_entries)
        e.offset += shift;
    for (auto &block : other.m_blocks)
        m_blocks.push_back(std::move(block));
    m_used = other.m_used;
    m_manyLines = m_manyLines || other.m_manyLines;

    const Less less{this};
    const Entry *a = m_entries.data();
    const Entry *b = other.m_entries.data();
    const qsizetype lengthA = size();
    const qsizetype lengthB = other.size();
    std::vector<Entry, LargeMemory::Allocator<Entry>> merged(size_t(lengthA + lengthB));
    const auto mergeRuns = [&less](const Entry *x, const Entry *xEnd, const Entry *y, const Entry *yEnd,
                                   Entry *out) {
        // The lines a comparison may need lie all over the blocks: ask for
        // those of the entries a few steps ahead.
        constexpr int ahead = 8;
        while (x != xEnd && y != yEnd) {
            if (xEnd - x > ahead)
                less.prefetch(x[ahead]);
            if (yEnd - y > ahead)
                less.prefetch(y[ahead]);
            *out++ = less(*y, *x) ? *y++ : *x++;
        }
        out = std::copy(x, xEnd, out);
        std::copy(y, yEnd, out);
    };
    const qsizetype total = lengthA + lengthB;
    if (threads > 1 && total >= 8192) {
        // The first half of the output from one thread, the second from
        // another: the split where the first `half` merged entries end.
        const qsizetype half = total / 2;
        qsizetype low = std::max<qsizetype>(0, half - lengthB);
        qsizetype high = std::min(half, lengthA);
        while (low < high) {
            const qsizetype i = (low + high) / 2;
            if (!less(b[half - i - 1], a[i]))
                low = i + 1;
            else
                high = i;
        }
        const qsizetype i = low;
        const qsizetype j = half - i;
        std::thread helper([&] { mergeRuns(a + i, a + lengthA, b + j, b + lengthB, merged.data() + half); });
        mergeRuns(a, a + i, b, b + j, merged.data());
        helper.join();
    } else {
        mergeRuns(a, a + lengthA, b, b + lengthB, merged.data());
    }
    m_entries = std::move(merged);
    other.clear();
}

void SearchResults::clear()
{
    m_blocks.clear();
    m_blocks.shrink_to_fit();
    m_entries.clear();
    m_entries.shrink_to_fit();
    m_used = 0;
    m_manyLines = false;
}

void SearchResults::appendLineBytes(qsizetype i, QByteArray &out) const
{
    const unsigned char *stored = fieldsAt(m_entries[size_t(i)].offset);
    const char *bytes = reinterpret_cast<const char *>(stored + kFieldCount);
    for (int f = 0; f < kFieldCount; ++f) {
        out.append(kLabels[f]);
        const int n = stored[f];
        out.append(bytes, n);
        if (kWidths[f] > n)
            out.append(kWidths[f] - n, ' ');
        bytes += n;
    }
}

QByteArray SearchResults::lineBytes(qsizetype i) const
{
    QByteArray out;
    out.reserve(kMaxStored + 145);
    appendLineBytes(i, out);
    return out;
}

QString SearchResults::line(qsizetype i) const
{
    const QByteArray bytes = lineBytes(i);
    return CodePage::toUnicode(bytes.constData(), int(bytes.size()));
}

qsizetype ListFinder::find(const SearchResults &lines, qsizetype selected, const QString &text)
{
    const QString t = SearchText::lower(text);
    const ByteNeedle needle(t);
    const qsizetype n = lines.size();
    QByteArray line;
    const auto occursAt = [&](qsizetype i) {
        line.clear();
        lines.appendLineBytes(i, line);
        return needle.occursIn(line.constData(), line.size());
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

namespace {

struct ActiveFilter
{
    StudentRecord::Field field;
    ByteNeedle needle;
};

// The part of the archive one thread scans, and what it found.
struct Part
{
    qint64 first = 0; // 0-based, first record
    qint64 end = 0;   // one past the last
    SearchResults results;
    std::exception_ptr failure;
};

// Shared by the parts of one search.
struct Scan
{
    const std::vector<ActiveFilter> *filters;
    qint64 blockRecords;
    qint64 total;
    SearchProgress *progress;
    std::atomic<qint64> scanned{0};
    std::atomic<bool> failed{false};

    bool stopping() const
    {
        return failed.load(std::memory_order_relaxed) || (progress && progress->stopRequested());
    }
};

// Scans the part's records in file order into its results, then sorts them.
// False when the search was asked to stop.
bool scanPart(StudentArchive &archive, Scan &scan, Part &part)
{
    if (scan.filters->empty())
        part.results.reserve(part.end - part.first);
    for (qint64 index = part.first; index < part.end; index += scan.blockRecords) {
        if (scan.stopping())
            return false;
        const qint64 n = std::min(scan.blockRecords, part.end - index);
        const char *block = archive.viewBlock(index + 1, n);
        for (qint64 j = 0; j < n; ++j) {
            const char *record = block + j * StudentRecord::Size;
            bool listed = true;
            for (const ActiveFilter &a : *scan.filters) {
                if (!a.needle.occursInField(record, a.field)) {
                    listed = false;
                    break;
                }
            }
            if (listed)
                part.results.add(record, index + j + 1);
        }
        const qint64 done = scan.scanned.fetch_add(n, std::memory_order_relaxed) + n;
        if (scan.progress)
            scan.progress->setPermille(int(done * 900 / scan.total));
    }
    part.results.sort();
    return !scan.stopping();
}

} // namespace

SearchResults run(const QString &archivePath, const QList<SearchFilter> &filters, qint64 blockRecords)
{
    Options options;
    options.blockRecords = blockRecords;
    return std::move(*run(archivePath, filters, options));
}

std::optional<SearchResults> run(const QString &archivePath, const QList<SearchFilter> &filters,
                                 const Options &options)
{
    std::vector<ActiveFilter> active;
    for (const SearchFilter &filter : filters)
        if (SearchText::isFilled(filter.text))
            active.push_back({filter.field, ByteNeedle(filter.text)});

    StudentArchive archive(StudentArchive::FilePath::Given, archivePath);
    const qint64 count = archive.count();
    Scan scan;
    scan.filters = &active;
    scan.blockRecords = std::max<qint64>(1, options.blockRecords);
    scan.total = std::max<qint64>(1, count);
    scan.progress = options.progress;

    // A second thread pays only on an archive of some size.
    const bool split = options.threads > 1 && count >= 4 * scan.blockRecords;
    Part parts[2];
    scanInTwoParts(
        archive, count, split, parts, scan.failed,
        [&archivePath] { return std::make_unique<StudentArchive>(StudentArchive::FilePath::Given, archivePath); },
        [&scan](StudentArchive &reader, Part &part) { scanPart(reader, scan, part); });
    if (scan.progress)
        scan.progress->setPermille(950);
    archive.close();
    if (scan.stopping())
        return std::nullopt;

    SearchResults results = std::move(parts[0].results);
    results.mergeSorted(std::move(parts[1].results), options.threads);
    if (scan.progress)
        scan.progress->setPermille(1000);
    return results;
}

} // namespace StudentSearch
