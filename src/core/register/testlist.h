#pragma once

#include "register/testrecord.h"

#include <QString>
#include <QStringList>

// The fixed-width line that stands for one test in the list and in the
// printed summary.
namespace TestList {

QString line(const TProva &test);

// The letters A to Z turned to a to z; every other character unchanged.
QString lowerAscii(const QString &text);

} // namespace TestList

// Find-in-list: a new text starts at the first entry; the same text again
// continues after the selected entry, wrapping round, so repeated presses
// step through every match in a circle.
class TestListFinder
{
public:
    void reset() { m_last.clear(); }
    // The entry to select for `text`, or -1 when nothing matches. `selected`
    // is the selected entry (0 when none is).
    int find(const QStringList &entries, int selected, const QString &text);

private:
    QString m_last;
};
