#include "archive/archivebrowse.h"

#include "archive/fieldcodec.h"
#include "archive/studentarchive.h"

namespace ArchiveBrowse {

std::optional<qint64> parsePosition(const QString &text, bool *ok)
{
    const QString trimmed = FieldCodec::trimControls(text);
    *ok = true;
    if (trimmed.isEmpty())
        return std::nullopt;
    // Optional sign and decimal digits only; anything else is not a number.
    const int start = (trimmed[0] == QLatin1Char('-') || trimmed[0] == QLatin1Char('+')) ? 1 : 0;
    const QString digits = trimmed.mid(start);
    bool allDigits = !digits.isEmpty() && digits.size() <= 15;
    for (const QChar c : digits)
        allDigits = allDigits && c >= QLatin1Char('0') && c <= QLatin1Char('9');
    if (!allDigits) {
        *ok = false;
        return std::nullopt;
    }
    const qint64 value = digits.toLongLong();
    return trimmed[0] == QLatin1Char('-') ? -value : value;
}

namespace {

std::optional<qint64> numberShown(const QString &position)
{
    bool valid = false;
    const std::optional<qint64> shown = parsePosition(position, &valid);
    if (!valid)
        throw FileAccessError("position is not a number");
    return shown;
}

Step shown(StudentArchive &archive, qint64 number)
{
    Step step;
    step.outcome = Step::Shown;
    step.record = archive.read(number);
    step.number = number;
    return step;
}

} // namespace

Step step(StudentArchive &archive, Move move, const QString &position)
{
    Step empty;
    empty.outcome = Step::Empty;

    switch (move) {
    case Move::First:
    case Move::Last: {
        const qint64 count = archive.count();
        if (count == 0)
            return empty;
        return shown(archive, move == Move::Last ? count : 1);
    }
    case Move::Next: {
        const qint64 count = archive.count();
        if (count == 0) {
            empty.clearPosition = true;
            return empty;
        }
        // No record shown counts as position 0, so Next shows the first.
        const qint64 n = numberShown(position).value_or(0);
        if (n >= count)
            return {};
        return shown(archive, n + 1);
    }
    case Move::Previous: {
        if (FieldCodec::trimControls(position) == QLatin1String("1"))
            return {};
        if (archive.count() == 0)
            return empty;
        const std::optional<qint64> n = numberShown(position);
        if (n && *n == 1)
            return {};
        // From no record shown, Previous shows the first.
        return shown(archive, n ? *n - 1 : 1);
    }
    }
    return {};
}

} // namespace ArchiveBrowse
