#pragma once

#include "archive/studentrecord.h"

#include <QString>

// The cards that shared_writer saves and test_sharedfolder expects: card
// <index> of writer <tag> in its version <version> (0 when new, then one more
// for each rewrite) holds "<tag> <index>[ v<version>]" in every field, cut to
// the field's capacity, so that a record made of pieces of two saves never
// passes for a card.
namespace SharedCard {

inline QString name(const QString &tag, int index, int version)
{
    QString text = tag + QLatin1Char(' ') + QString::number(index);
    if (version > 0)
        text += QStringLiteral(" v%1").arg(version);
    return text;
}

inline StudentRecord card(const QString &tag, int index, int version)
{
    StudentRecord record;
    const QString text = name(tag, index, version);
    for (int f = 0; f < StudentRecord::FieldCount; ++f)
        record[StudentRecord::Field(f)] = text;
    return record;
}

} // namespace SharedCard
