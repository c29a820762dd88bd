#include "stats/archivestats.h"


#include "archive/codepage.h"
#include "archive/datafolder.h"
#include "archive/studentarchive.h"
#include "archive/twoparts.h"
#include "archive/studentfiles.h"
#include "archive/studentrecord.h"
#include "register/testrecord.h"
#include "search/studentsearch.h"

#include <algorithm>
#include <array>
#include <exception>
#include <functional>
#include <string>
#include <unordered_map>
#include <vector>

namespace ArchiveStats {

namespace {

// A date as year, month and day; `packed` compares as the dates do.
struct Ymd
{
    int year = 0, month = 0, day = 0;
    bool valid = false;
    int packed() const { return year * 10000 + month * 100 + day; }
};

inline bool isBlank(unsigned char c)
{
    return c <= 32 || c == 0xA0;
}

Ymd parseYmd(const char *data, qsizetype size)
{
    const auto *p = reinterpret_cast<const unsigned char *>(data);
    qsizetype begin = 0, end = size;
    while (begin < end && isBlank(p[begin]))
        ++begin;
    while (end > begin && isBlank(p[end - 1]))
        --end;
    int parts[3] = {0, 0, 0};
    int digits[3] = {0, 0, 0};
    int part = 0;
    char separator = 0;
    for (qsizetype i = begin; i < end; ++i) {
        const unsigned char c = p[i];
        if (c >= '0' && c <= '9') {
            if (++digits[part] > 4)
                return {};
            parts[part] = parts[part] * 10 + (c - '0');
        } else if ((c == '/' || c == '-' || c == '.') && part < 2 && digits[part] > 0
                   && (separator == 0 || separator == char(c))) {
            separator = char(c);
            ++part;
        } else {
            return {};
        }
    }
    if (part != 2 || digits[0] > 2 || digits[1] > 2 || digits[2] != 4)
        return {};
    Ymd date{parts[2], parts[1], parts[0], false};
    date.valid = QDate::isValid(date.year, date.month, date.day);
    return date;
}

Ymd ymdOf(const QDate &date)
{
    return date.isValid() ? Ymd{date.year(), date.month(), date.day(), true} : Ymd{};
}

int age(const Ymd &birth, const Ymd &on)
{
    int years = on.year - birth.year;
    if (on.month < birth.month || (on.month == birth.month && on.day < birth.day))
        --years;
    return years < 0 ? -1 : years;
}

// Windows-1252 byte to its small letter: ASCII, the accented capitals
// (not the multiplication sign) and the three capitals of the 0x80 row.
const std::array<unsigned char, 256> &foldTable()
{
    static const std::array<unsigned char, 256> table = [] {
        std::array<unsigned char, 256> t{};
        for (int b = 0; b < 256; ++b) {
            int to = b;
            if (b >= 'A' && b <= 'Z')
                to = b + 32;
            else if (b >= 0xC0 && b <= 0xDE && b != 0xD7)
                to = b + 32;
            else if (b == 0x8A || b == 0x8C || b == 0x8E)
                to = b + 16;
            else if (b == 0x9F)
                to = 0xFF;
            t[size_t(b)] = static_cast<unsigned char>(to);
        }
        return t;
    }();
    return table;
}

void foldInto(const char *data, qsizetype size, std::string &key)
{
    key.clear();
    const auto &fold = foldTable();
    bool pendingBlank = false;
    for (qsizetype i = 0; i < size; ++i) {
        const unsigned char c = static_cast<unsigned char>(data[i]);
        if (isBlank(c)) {
            pendingBlank = !key.empty();
            continue;
        }
        if (pendingBlank)
            key.push_back(' ');
        pendingBlank = false;
        key.push_back(static_cast<char>(fold[c]));
    }
}

// A field's bytes with the blanks and controls at both ends removed, as the
// cards' text is read.
struct Bytes
{
    const char *data;
    qsizetype size;
};

inline Bytes field(const char *record, int offset, int capacity)
{
    const char *f = record + offset;
    int length = std::min<int>(static_cast<unsigned char>(f[0]), capacity);
    const char *data = f + 1;
    while (length > 0 && static_cast<unsigned char>(*data) <= 32) {
        ++data;
        --length;
    }
    while (length > 0 && static_cast<unsigned char>(data[length - 1]) <= 32)
        --length;
    return {data, length};
}

inline Bytes cardField(const char *record, StudentRecord::Field f)
{
    const auto &place = StudentRecord::layout()[f];
    return field(record, place.offset, place.capacity);
}

// One group: how many, and how it is written most often.
struct Tally
{
    qint64 count = 0;
    std::string spelling; // the first spelling met
    qint64 spellingCount = 0;
    std::unordered_map<std::string, qint64> others;

    void add(const char *data, qsizetype size, qint64 n = 1)
    {
        count += n;
        if (spellingCount == 0 && others.empty()) {
            spelling.assign(data, size_t(size));
            spellingCount = n;
        } else if (spelling.size() == size_t(size) && spelling.compare(0, spelling.size(), data, size_t(size)) == 0) {
            spellingCount += n;
        } else {
            others[std::string(data, size_t(size))] += n;
        }
    }

    void merge(const Tally &other)
    {
        if (other.spellingCount > 0)
            add(other.spelling.data(), qsizetype(other.spelling.size()), other.spellingCount);
        for (const auto &entry : other.others)
            add(entry.first.data(), qsizetype(entry.first.size()), entry.second);
    }

    // The spelling met most often, blanks inside taken as one; of equals,
    // the first in list order.
    QString label() const
    {
        QString best = CodePage::toUnicode(spelling.data(), int(spelling.size())).simplified();
        qint64 bestCount = spellingCount;
        for (const auto &entry : others) {
            const QString text = CodePage::toUnicode(entry.first.data(), int(entry.first.size())).simplified();
            const bool before = ListOrder::less(text, best) || (!ListOrder::less(best, text) && text < best);
            if (entry.second > bestCount || (entry.second == bestCount && before)) {
                best = text;
                bestCount = entry.second;
            }
        }
        return best;
    }
};

using Groups = std::unordered_map<std::string, Tally>;

void mergeGroups(Groups &into, const Groups &from)
{
    for (const auto &entry : from)
        into[entry.first].merge(entry.second);
}

enum Sex { Male, Female, SexNotGiven, SexCount };
enum AgeBand { Under14, Age14, Age18, Age25, Age35, Age50, AgeNotGiven, AgeBandCount };
enum Citizenship { Italian, Foreign, CitizenshipNotGiven, CitizenshipCount };

AgeBand bandOf(int years)
{
    if (years < 0)
        return AgeNotGiven;
    if (years < 14)
        return Under14;
    if (years < 18)
        return Age14;
    if (years < 25)
        return Age18;
    if (years < 35)
        return Age25;
    if (years < 50)
        return Age35;
    return Age50;
}

bool isItalian(const std::string &key)
{
    return key == "italiana" || key == "italiano" || key == "italia" || key == "ita" || key == "it";
}

// What one thread counted.
struct Counts
{
    qint64 read = 0, counted = 0, undated = 0, tests = 0;
    Groups allCourses; // in the period, whatever the course filter
    Groups courses, classes, citizenship, education, testsByCourse, results;
    std::array<qint64, SexCount> sex{};
    std::array<qint64, AgeBandCount> ages{};
    std::array<qint64, CitizenshipCount> italian{};

    void merge(const Counts &o)
    {
        read += o.read;
        counted += o.counted;
        undated += o.undated;
        tests += o.tests;
        mergeGroups(allCourses, o.allCourses);
        mergeGroups(courses, o.courses);
        mergeGroups(classes, o.classes);
        mergeGroups(citizenship, o.citizenship);
        mergeGroups(education, o.education);
        mergeGroups(testsByCourse, o.testsByCourse);
        mergeGroups(results, o.results);
        for (size_t i = 0; i < sex.size(); ++i)
            sex[i] += o.sex[i];
        for (size_t i = 0; i < ages.size(); ++i)
            ages[i] += o.ages[i];
        for (size_t i = 0; i < italian.size(); ++i)
            italian[i] += o.italian[i];
    }
};

struct Scan
{
    int from = 0, to = 0; // the period, packed
    std::string course;   // the filter's key; empty: none
    bool filtered = false;
    QString testsFolder;
    qint64 blockRecords = 256;
    qint64 total = 1;
    Progress *progress = nullptr;
    std::atomic<qint64> scanned{0};
    std::atomic<bool> failed{false};

    bool stopping() const
    {
        return failed.load(std::memory_order_relaxed) || (progress && progress->stopRequested());
    }
};

// Reusable room of one thread.
struct Work
{
    std::string course, key, key2;
    QByteArray tests;
    QByteArray name;
};

void countTests(const DataFolder::Folder &folder, qint64 number, const std::string &courseKey, const Bytes &course,
                Counts &c, Work &w)
{
    w.name = "Prove_Studente_";
    w.name += QByteArray::number(number);
    w.name += ".pro";
    // A tests file larger than this is not one the program wrote.
    constexpr qint64 kLimit = qint64(64) << 20;
    if (folder.read(w.name, kLimit, &w.tests) != DataFolder::Read::Done)
        return;
    const qsizetype records = w.tests.size() / TProva::Size;
    const auto &layout = TProva::layout();
    const auto &prova = layout[TProva::Prova];
    const auto &esito = layout[TProva::Esito];
    qint64 tests = 0;
    for (qsizetype i = 0; i < records; ++i) {
        const char *record = w.tests.constData() + i * TProva::Size;
        // A record without a test's name is not listed, so not counted.
        if (field(record, prova.offset, prova.capacity).size == 0)
            continue;
        ++tests;
        const Bytes result = field(record, esito.offset, esito.capacity);
        foldInto(result.data, result.size, w.key2);
        c.results[w.key2].add(result.data, result.size);
    }
    if (tests > 0) {
        c.tests += tests;
        c.testsByCourse[courseKey].add(course.data, course.size, tests);
    }
}

void countCard(const char *record, qint64 number, const Scan &scan, const DataFolder::Folder &folder, Counts &c,
               Work &w)
{
    using R = StudentRecord;
    ++c.read;
    const Bytes startBytes = cardField(record, R::Inizio);
    const Bytes endBytes = cardField(record, R::Fine);
    const Ymd start = parseYmd(startBytes.data, startBytes.size);
    Ymd end = parseYmd(endBytes.data, endBytes.size);
    if (!start.valid && !end.valid) {
        ++c.undated;
        return;
    }
    // One readable date stands for the whole course.
    const int first = start.valid ? start.packed() : end.packed();
    const int last = end.valid ? end.packed() : start.packed();
    if (std::max(first, last) < scan.from || std::min(first, last) > scan.to)
        return;

    const Bytes course = cardField(record, R::Corso);
    foldInto(course.data, course.size, w.course);
    c.allCourses[w.course].add(course.data, course.size);
    if (scan.filtered && w.course != scan.course)
        return;

    ++c.counted;
    c.courses[w.course].add(course.data, course.size);

    // A class is counted within its course: the same name in two courses is
    // two classes.
    const Bytes klass = cardField(record, R::Classe);
    foldInto(klass.data, klass.size, w.key2);
    w.key.assign(w.course);
    w.key.push_back('\x01');
    w.key.append(w.key2);
    c.classes[w.key].add(klass.data, klass.size);

    const Bytes sex = cardField(record, R::Sesso);
    const unsigned char s = sex.size == 1 ? foldTable()[static_cast<unsigned char>(sex.data[0])] : 0;
    ++c.sex[s == 'm' ? Male : s == 'f' ? Female : SexNotGiven];

    const Bytes birthBytes = cardField(record, R::DataNasc);
    const Ymd birth = parseYmd(birthBytes.data, birthBytes.size);
    ++c.ages[birth.valid && start.valid ? bandOf(age(birth, start)) : AgeNotGiven];

    const Bytes citizenship = cardField(record, R::Cittadinanza);
    foldInto(citizenship.data, citizenship.size, w.key2);
    ++c.italian[w.key2.empty() ? CitizenshipNotGiven : isItalian(w.key2) ? Italian : Foreign];
    c.citizenship[w.key2].add(citizenship.data, citizenship.size);

    const Bytes education = cardField(record, R::Studio);
    foldInto(education.data, education.size, w.key2);
    c.education[w.key2].add(education.data, education.size);

    countTests(folder, number, w.course, course, c, w);
}

struct Part
{
    qint64 first = 0, end = 0; // 0-based records
    Counts counts;
    std::exception_ptr failure;
};

void scanPart(StudentArchive &archive, Scan &scan, Part &part)
{
    const DataFolder::Folder folder(scan.testsFolder);
    Work work;
    for (qint64 index = part.first; index < part.end; index += scan.blockRecords) {
        if (scan.stopping())
            return;
        const qint64 n = std::min(scan.blockRecords, part.end - index);
        const char *block = archive.viewBlock(index + 1, n);
        for (qint64 j = 0; j < n; ++j)
            countCard(block + j * StudentRecord::Size, index + j + 1, scan, folder, part.counts, work);
        const qint64 done = scan.scanned.fetch_add(n, std::memory_order_relaxed) + n;
        if (scan.progress)
            scan.progress->setPermille(int(done * 990 / scan.total));
    }
}

bool rowBefore(const Row &a, const Row &b)
{
    if (a.count != b.count)
        return a.count > b.count;
    if (ListOrder::less(a.label, b.label) || ListOrder::less(b.label, a.label))
        return ListOrder::less(a.label, b.label);
    return a.label < b.label;
}

// The groups as rows, most first; the group of the empty value last, as
// notGiven(). With `keep` > 0 only that many, the rest summed as `rest`.
QList<Row> rowsOf(const Groups &groups, int keep = 0, const QString &rest = QString(),
                  const std::function<QString(const std::string &, const Tally &)> &labelOf = {})
{
    QList<Row> rows;
    qint64 missing = 0;
    for (const auto &entry : groups) {
        if (entry.first.empty()) {
            missing += entry.second.count;
            continue;
        }
        rows.append({labelOf ? labelOf(entry.first, entry.second) : entry.second.label(), entry.second.count});
    }
    std::sort(rows.begin(), rows.end(), rowBefore);
    if (keep > 0 && rows.size() > keep) {
        qint64 others = 0;
        for (qsizetype i = keep; i < rows.size(); ++i)
            others += rows[i].count;
        rows.resize(keep);
        rows.append({rest, others});
    }
    if (missing > 0)
        rows.append({notGiven(), missing});
    return rows;
}

Section section(const char *id, const QString &title, const QString &group, const QString &counted, QList<Row> rows)
{
    Section s;
    s.id = QString::fromLatin1(id);
    s.title = title;
    s.groupHeader = group;
    s.countHeader = counted;
    s.rows = std::move(rows);
    return s;
}

Result resultOf(const Counts &c, const Options &options)
{
    Result r;
    r.period = options.period;
    r.course = options.course;
    r.cardsRead = c.read;
    r.cardsCounted = c.counted;
    r.cardsUndated = c.undated;
    r.testsCounted = c.tests;
    r.courses = rowsOf(c.allCourses);

    const QString students = QStringLiteral("Studenti");
    const QString tests = QStringLiteral("Prove");
    const auto courseLabel = [&c](const std::string &key) {
        const auto found = c.allCourses.find(key);
        return key.empty() || found == c.allCourses.end() ? notGiven() : found->second.label();
    };
    r.sections.append(section("corsi", QStringLiteral("Studenti per corso"), QStringLiteral("Corso"), students,
                              rowsOf(c.courses)));
    // Classes: every class of every course, named with its course.
    QList<Row> classes;
    for (const auto &entry : c.classes) {
        const size_t cut = entry.first.find('\x01');
        const std::string klass = entry.first.substr(cut + 1);
        classes.append({courseLabel(entry.first.substr(0, cut)) + QStringLiteral(" - ")
                            + (klass.empty() ? notGiven() : entry.second.label()),
                        entry.second.count});
    }
    std::sort(classes.begin(), classes.end(), rowBefore);
    r.sections.append(section("classi", QStringLiteral("Studenti per classe"), QStringLiteral("Corso - classe"),
                              students, classes));
    r.sections.append(section("sesso", QStringLiteral("Studenti per sesso"), QStringLiteral("Sesso"), students,
                              {{QStringLiteral("Maschi"), c.sex[Male]},
                               {QStringLiteral("Femmine"), c.sex[Female]},
                               {notGiven(), c.sex[SexNotGiven]}}));
    QList<Row> ages;
    const QStringList bands = ageBands();
    for (int i = 0; i < AgeBandCount; ++i)
        ages.append({bands.at(i), c.ages[size_t(i)]});
    r.sections.append(section("eta", QStringLiteral("Studenti per età all'inizio del corso"),
                              QStringLiteral("Età (anni)"), students, ages));
    r.sections.append(section("italiani", QStringLiteral("Cittadinanza italiana o straniera"),
                              QStringLiteral("Cittadinanza"), students,
                              {{QStringLiteral("Italiana"), c.italian[Italian]},
                               {QStringLiteral("Altra"), c.italian[Foreign]},
                               {notGiven(), c.italian[CitizenshipNotGiven]}}));
    r.sections.append(section("cittadinanze", QStringLiteral("Le dieci cittadinanze più frequenti"),
                              QStringLiteral("Cittadinanza"), students,
                              rowsOf(c.citizenship, 10, QStringLiteral("Altre cittadinanze"))));
    r.sections.append(section("studio", QStringLiteral("Studenti per titolo di studio"),
                              QStringLiteral("Titolo di studio"), students,
                              rowsOf(c.education, 10, QStringLiteral("Altri titoli"))));
    r.sections.append(section("prove", QStringLiteral("Prove sostenute per corso"), QStringLiteral("Corso"), tests,
                              rowsOf(c.testsByCourse, 0, QString(),
                                     [&courseLabel](const std::string &key, const Tally &) { return courseLabel(key); })));
    r.sections.append(section("esiti", QStringLiteral("Esiti delle prove (i dieci più frequenti)"),
                              QStringLiteral("Esito"), tests, rowsOf(c.results, 10, QStringLiteral("Altri esiti"))));
    return r;
}

} // namespace

Period Period::schoolYear(const QDate &day)
{
    const int startYear = day.month() >= 9 ? day.year() : day.year() - 1;
    return {QDate(startYear, 9, 1), QDate(startYear + 1, 8, 31)};
}

QString Period::text() const
{
    return QStringLiteral("dal ") + from.toString(QStringLiteral("dd/MM/yyyy")) + QStringLiteral(" al ")
         + to.toString(QStringLiteral("dd/MM/yyyy"));
}

QDate parseDate(const char *data, qsizetype size)
{
    const Ymd d = parseYmd(data, size);
    return d.valid ? QDate(d.year, d.month, d.day) : QDate();
}

QDate parseDate(const QString &text)
{
    const QByteArray bytes = CodePage::fromUnicode(text);
    return parseDate(bytes.constData(), bytes.size());
}

int ageOn(const QDate &birth, const QDate &day)
{
    if (!birth.isValid() || !day.isValid())
        return -1;
    return age(ymdOf(birth), ymdOf(day));
}

QByteArray groupKey(const char *data, qsizetype size)
{
    std::string key;
    foldInto(data, size, key);
    return QByteArray(key.data(), qsizetype(key.size()));
}

QString notGiven()
{
    return QStringLiteral("non indicato");
}

QStringList ageBands()
{
    return {QStringLiteral("meno di 14"), QStringLiteral("14-17"),      QStringLiteral("18-24"),
            QStringLiteral("25-34"),      QStringLiteral("35-49"),      QStringLiteral("50 e oltre"),
            notGiven()};
}

qint64 Section::total() const
{
    qint64 sum = 0;
    for (const Row &row : rows)
        sum += row.count;
    return sum;
}

QString Section::share(qint64 count) const
{
    const qint64 all = total();
    const double percent = all > 0 ? 100.0 * double(count) / double(all) : 0.0;
    return QString::number(percent, 'f', 1).replace(QLatin1Char('.'), QLatin1Char(',')) + QStringLiteral(" %");
}

QList<Row> chartRows(const Section &section, int maxBars)
{
    if (section.rows.size() <= maxBars || maxBars < 2)
        return section.rows;
    QList<Row> rows = section.rows.mid(0, maxBars - 1);
    qint64 rest = 0;
    for (qsizetype i = maxBars - 1; i < section.rows.size(); ++i)
        rest += section.rows.at(i).count;
    rows.append({QStringLiteral("Altri"), rest});
    return rows;
}

const Section *Result::section(const QString &id) const
{
    for (const Section &s : sections)
        if (s.id == id)
            return &s;
    return nullptr;
}

std::optional<Result> count(const QString &folder, const Options &options)
{
    Scan scan;
    scan.from = ymdOf(options.period.from).packed();
    scan.to = ymdOf(options.period.to).packed();
    const QByteArray courseBytes = CodePage::fromUnicode(options.course);
    foldInto(courseBytes.constData(), courseBytes.size(), scan.course);
    scan.filtered = !scan.course.empty();
    scan.testsFolder = StudentFiles::testsFolder(folder);
    scan.blockRecords = std::max<qint64>(1, options.blockRecords);
    scan.progress = options.progress;

    StudentArchive archive(folder);
    const qint64 total = archive.count();
    scan.total = std::max<qint64>(1, total);

    // A second thread pays only on an archive of some size.
    const bool split = options.threads > 1 && total >= 4 * scan.blockRecords;
    Part parts[2];
    scanInTwoParts(
        archive, total, split, parts, scan.failed, [&folder] { return std::make_unique<StudentArchive>(folder); },
        [&scan](StudentArchive &reader, Part &part) { scanPart(reader, scan, part); });
    archive.close();
    if (scan.stopping())
        return std::nullopt;
    parts[0].counts.merge(parts[1].counts);
    Result result = resultOf(parts[0].counts, options);
    if (scan.progress)
        scan.progress->setPermille(1000);
    return result;
}

} // namespace ArchiveStats
