#pragma once

#include "archive/studentrecord.h"

#include <QString>

#include <optional>

class StudentArchive;

// Browsing the archive one card at a time from the record number a window
// shows in its position label. The student window and the ID card window
// browse alike; each shows the card its own way.
namespace ArchiveBrowse {

enum class Move { First, Previous, Next, Last };

struct Step
{
    enum Outcome {
        Unchanged, // nothing to show (Previous on record 1, Next on the last)
        Empty,     // the archive holds no card: the window says so
        Shown      // `record`, numbered `number`, is to be shown
    };
    Outcome outcome = Unchanged;
    qint64 number = 0;
    StudentRecord record;
    // Next on an empty archive also empties the position label.
    bool clearPosition = false;
};

// The step `move` takes from `position` (the label's text; empty: no record
// shown) in an opened archive. Throws FileAccessError on any file failure,
// and when the position is not a number.
Step step(StudentArchive &archive, Move move, const QString &position);

// The record number a position label shows: empty (after trimming) means no
// record (nullopt with ok = true); text that is not a decimal number gives
// ok = false.
std::optional<qint64> parsePosition(const QString &text, bool *ok);

} // namespace ArchiveBrowse
