#include "checks/codicefiscale.h"

#include <array>

namespace {

constexpr char First = '0';
constexpr char Last = 'Z';
constexpr int TableSize = Last - First + 1;

// Values for characters in odd positions (1st, 3rd, ... 15th), indexed from
// "0"; the punctuation between "9" and "A" counts 0.
constexpr std::array<int, TableSize> OddValues = {
    1, 0, 5, 7, 9, 13, 15, 17, 19, 21,                  // 0..9
    0, 0, 0, 0, 0, 0, 0,                                // : ; < = > ? @
    1, 0, 5, 7, 9, 13, 15, 17, 19, 21, 2, 4, 18,        // A..M
    20, 11, 3, 6, 8, 12, 14, 16, 10, 22, 25, 24, 23,    // N..Z
};

// Values for characters in even positions (2nd, 4th, ... 14th).
constexpr std::array<int, TableSize> EvenValues = {
    0, 1, 2, 3, 4, 5, 6, 7, 8, 9,                       // 0..9
    0, 0, 0, 0, 0, 0, 0,                                // : ; < = > ? @
    0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12,           // A..M
    13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23, 24, 25, // N..Z
};

} // namespace

namespace CodiceFiscale {

QString upperAscii(const QString &text)
{
    QString result = text;
    for (QChar &c : result)
        if (c >= QLatin1Char('a') && c <= QLatin1Char('z'))
            c = QChar(c.unicode() - ('a' - 'A'));
    return result;
}

QChar expectedCheckCharacter(const QString &code)
{
    if (code.size() < Length - 1)
        return QChar();
    int sum = 0;
    for (int i = 0; i < Length - 1; ++i) {
        const char16_t c = code.at(i).unicode();
        if (c < First || c > Last)
            return QChar();
        // i is 0-based: even i is an odd position.
        sum += (i % 2 == 0 ? OddValues : EvenValues)[c - First];
    }
    return QChar('A' + sum % 26);
}

bool check(const QString &code)
{
    if (code.size() != Length)
        return false;
    const QChar expected = expectedCheckCharacter(code);
    return !expected.isNull() && code.at(Length - 1) == expected;
}

} // namespace CodiceFiscale
