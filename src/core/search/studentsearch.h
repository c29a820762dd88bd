#pragma once

#include "archive/largememory.h"
#include "archive/studentrecord.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>

#include <atomic>
#include <memory>
#include <optional>
#include <vector>

// Text matching of the search windows: only the ASCII capitals fold to small
// letters, so "à" and "À" stay different. An empty text occurs nowhere.
namespace SearchText {

QString lower(const QString &text);
bool occurs(const QString &needle, const QString &haystack);
// A filter takes part in a search when it holds more than blanks and controls.
bool isFilled(const QString &filter);

} // namespace SearchText

// A lowered search text in Windows-1252 bytes, matched straight on the raw
// bytes of the archive so a scan never converts a field to text. The folding
// only touches ASCII, which the code page keeps as it is, so matching the
// bytes gives the same answers as matching the decoded text.
class ByteNeedle
{
public:
    explicit ByteNeedle(const QString &text);

    // False for an empty text or one holding a character the code page has
    // no byte for: such a text occurs in no field.
    bool matchable() const { return m_matchable; }
    // Whether the text occurs in `size` raw (not lowered) bytes.
    bool occursIn(const char *data, qsizetype size) const;
    // Whether it occurs in the decoded form of the record field f.
    bool occursInField(const char *record, StudentRecord::Field f) const;

private:
    QByteArray m_bytes;
    bool m_matchable = false;
};

// The fixed-width line standing for one student in the lists and their
// printed copies: name, codice fiscale, course, class, exam date, result.
namespace StudentListLine {

QString build(const StudentRecord &record);
// The same line in Windows-1252 bytes, appended to out, from raw record bytes.
void appendBytes(const char *record, QByteArray &out);

} // namespace StudentListLine

// Order of the result list: character by character, ASCII letters without
// regard to case, every other character by its code; a prefix comes first.
namespace ListOrder {

bool less(const QString &a, const QString &b);

} // namespace ListOrder

// "Il presente riepilogo contiene N schede"
QString countLine(qsizetype lines);

// The lines of a search, each with the number of the record it stands for.
// A line is kept as its six fields without the padding and the labels (less
// than half the line) and is laid out when it is asked for, so a list of a
// million students stays small; the fields live in large shared blocks.
class SearchResults
{
public:
    SearchResults();
    SearchResults(SearchResults &&other) noexcept;
    SearchResults &operator=(SearchResults &&other) noexcept;
    ~SearchResults();

    void add(const char *record, qint64 recordNumber);
    // Room for `lines` lines, when their number is known beforehand.
    void reserve(qsizetype lines);
    // Sorts by ListOrder; identical lines stay in record number order.
    void sort();
    // Takes in the lines of `other`; both sorted, the whole stays sorted.
    // Up to `threads` threads merge.
    void mergeSorted(SearchResults &&other, int threads = 1);
    void clear();

    qsizetype size() const { return qsizetype(m_entries.size()); }
    bool isEmpty() const { return m_entries.empty(); }
    // The whole line in Windows-1252 bytes.
    QByteArray lineBytes(qsizetype i) const;
    // The same, appended to out (for loops that keep one buffer).
    void appendLineBytes(qsizetype i, QByteArray &out) const;
    QString line(qsizetype i) const;
    qint64 recordNumber(qsizetype i) const { return m_entries[size_t(i)].number; }

private:
    struct Entry
    {
        quint64 key;   // the line's first eight characters as sort places
        qint64 offset; // of the fields in the blocks
        qint64 number;
    };
    struct Less;
    const unsigned char *fieldsAt(qint64 offset) const;
    // Sorts lines that agree in their first `word` eight-character words.
    void sortRun(Entry *first, Entry *last, int word, const Less &less);

    std::vector<std::unique_ptr<unsigned char[], LargeMemory::Release>> m_blocks;
    qint64 m_used = 0; // bytes used in the last block
    bool m_manyLines = false; // the first block is filled too
    std::vector<Entry, LargeMemory::Allocator<Entry>> m_entries;
};

// Find in the list: a new text is looked for from the first line to the last
// and does not wrap; the same text again moves on from the selected line,
// wrapping round to it. Remembers the last text looked for.
class ListFinder
{
public:
    void reset() { m_last.clear(); }
    const QString &lastSearchText() const { return m_last; }
    // `selected` must be a valid line. Returns the line to select, or -1.
    qsizetype find(const SearchResults &lines, qsizetype selected, const QString &text);

private:
    QString m_last;
};

// One filter field of the search and the record field it looks into.
struct SearchFilter
{
    StudentRecord::Field field;
    QString text;
};

// How far a search running on another thread has come, and the request to
// stop it. Shared by the thread that runs the search and the one that shows it.
class SearchProgress
{
public:
    void requestStop() { m_stop.store(true, std::memory_order_relaxed); }
    bool stopRequested() const { return m_stop.load(std::memory_order_relaxed); }
    // The work done, in thousandths.
    int permille() const { return m_permille.load(std::memory_order_relaxed); }
    void setPermille(int value) { m_permille.store(value, std::memory_order_relaxed); }

private:
    std::atomic<bool> m_stop{false};
    std::atomic<int> m_permille{0};
};

// The search over the archive: one sequential pass reading large blocks into
// one buffer, looking only at the fields the filled filters and the list line
// need; the lines found are then sorted.
namespace StudentSearch {

// Records read at a time (867 kB): enough to make the calls few, few enough
// for the buffer to stay small.
constexpr qint64 DefaultBlockRecords = 256;

struct Options
{
    qint64 blockRecords = DefaultBlockRecords;
    // Threads the archive is split among: each scans and sorts its part,
    // and the parts are merged.
    int threads = 1;
    SearchProgress *progress = nullptr;
};

// Blank filters take no part; with none filled every record is listed.
// Creates a missing archive. Throws FileAccessError. The result is sorted.
SearchResults run(const QString &archivePath, const QList<SearchFilter> &filters,
                  qint64 blockRecords = DefaultBlockRecords);
// The same; empty when options.progress asked it to stop.
std::optional<SearchResults> run(const QString &archivePath, const QList<SearchFilter> &filters,
                                 const Options &options);

} // namespace StudentSearch
