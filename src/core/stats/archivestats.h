#pragma once

#include "search/studentsearch.h"

#include <QDate>
#include <QList>
#include <QString>

#include <atomic>
#include <optional>

// The archive at a glance: who attended the courses of a period and how
// their tests went, counted in one pass over the archive and the tests files.
namespace ArchiveStats {

// The course dates a card is counted by: a card belongs to the period when
// its course (Inizio to Fine) has at least one day in it.
struct Period
{
    QDate from;
    QDate to;

    // 1 September to 31 August, the school year `day` falls in.
    static Period schoolYear(const QDate &day);
    // "dal 01/09/2025 al 31/08/2026"
    QString text() const;
    bool isValid() const { return from.isValid() && to.isValid() && from <= to; }
};

// A date as the cards hold it: day/month/year with one or two digits for the
// day and the month, four for the year, '/', '-' or '.' between them, blanks
// around. Invalid for anything else, and for a day the calendar lacks.
QDate parseDate(const char *data, qsizetype size);
QDate parseDate(const QString &text);

// Age in whole years on `day`; -1 when born after it.
int ageOn(const QDate &birth, const QDate &day);

// The key values are grouped by: ASCII and Windows-1252 letters folded to
// small ones, runs of blanks taken as one blank, none at the ends. "  Idoneo",
// "IDONEO " and "idoneo" fall in one group.
QByteArray groupKey(const char *data, qsizetype size);

// The label of the group of cards whose value is missing or cannot be read.
QString notGiven(); // "non indicato"

struct Row
{
    QString label;
    qint64 count = 0;
};

// One breakdown: its rows in the order they are shown, and what their shares
// are taken of (the rows' sum).
struct Section
{
    QString id;          // a short name for controls and sheets: "corsi", "sesso", ...
    QString title;       // "Studenti per corso"
    QString groupHeader; // the first column's heading: "Corso"
    QString countHeader; // "Studenti" or "Prove"
    QList<Row> rows;
    qint64 total() const;
    // "12,5 %" (one decimal, decimal comma); "0,0 %" when the total is 0.
    QString share(qint64 count) const;
};

// Everything the window shows, prints and exports.
struct Result
{
    Period period;
    QString course; // the course filter as given; empty: every course
    qint64 cardsRead = 0;     // every card of the archive
    qint64 cardsCounted = 0;  // in the period (and of the course)
    qint64 cardsUndated = 0;  // neither Inizio nor Fine readable: in no period
    qint64 testsCounted = 0;
    // Every course with cards in the period, most students first, whatever
    // the course filter: the window offers them as its filter.
    QList<Row> courses;
    // Students per course, per class, by sex, age band, Italian or not,
    // citizenship (ten most common), education (ten most common), tests per
    // course, test results (ten most common); then a summary of the cards.
    QList<Section> sections;

    const Section *section(const QString &id) const;
};

// The rows a chart of `section` shows: all of them when they are at most
// `maxBars`, else the first maxBars - 1 and one more, "Altri", for the rest.
QList<Row> chartRows(const Section &section, int maxBars = 15);

// How far a count on another thread has come; the request to stop it: the
// same as a search's.
using Progress = SearchProgress;

struct Options
{
    Period period;
    // Cards of this course only (grouped as groupKey groups); empty: all.
    QString course;
    // Threads the archive is split among.
    int threads = 1;
    Progress *progress = nullptr;
    qint64 blockRecords = 256;
};

// Ages are taken at the course's start and put in bands: "meno di 14",
// "14-17", "18-24", "25-34", "35-49", "50 e oltre", and notGiven() when the
// birth date or the start cannot be read.
QStringList ageBands();

// Reads the archive of the data folder `folder` (trailing '/') once, in
// blocks, and the tests file of every card counted; memory does not grow
// with the archive beyond the distinct values counted. A missing archive is
// created empty, as every reader does; missing tests files are not created.
// Throws FileAccessError when the archive cannot be read. Empty when asked
// to stop.
std::optional<Result> count(const QString &folder, const Options &options);

} // namespace ArchiveStats
