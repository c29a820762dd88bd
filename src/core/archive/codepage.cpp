#include "codepage.h"

namespace {

// 0x80..0x9F; the five bytes Windows leaves undefined map to the C1 control
// of the same value, as MultiByteToWideChar does.
constexpr char16_t kHigh[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

} // namespace

namespace CodePage {

QString toUnicode(const char *data, int size)
{
    QString out(size, Qt::Uninitialized);
    QChar *dst = out.data();
    for (int i = 0; i < size; ++i) {
        const auto b = static_cast<unsigned char>(data[i]);
        dst[i] = QChar(b >= 0x80 && b < 0xA0 ? kHigh[b - 0x80] : char16_t(b));
    }
    return out;
}

char fromUnicode(char32_t ch)
{
    if (ch < 0x80 || (ch >= 0xA0 && ch <= 0xFF))
        return static_cast<char>(ch);
    for (int i = 0; i < 32; ++i)
        if (kHigh[i] == ch)
            return static_cast<char>(0x80 + i);
    return '?';
}

QByteArray fromUnicode(const QString &text)
{
    QByteArray out;
    out.reserve(text.size());
    for (auto it = text.cbegin(); it != text.cend(); ++it) {
        char32_t ch = it->unicode();
        if (it->isHighSurrogate() && it + 1 != text.cend() && (it + 1)->isLowSurrogate()) {
            ch = QChar::surrogateToUcs4(*it, *(it + 1));
            ++it;
        }
        out.append(fromUnicode(ch));
    }
    return out;
}

QString unstorable(const QString &text)
{
    QString found;
    for (auto it = text.cbegin(); it != text.cend(); ++it) {
        QString one(*it);
        char32_t ch = it->unicode();
        if (it->isHighSurrogate() && it + 1 != text.cend() && (it + 1)->isLowSurrogate()) {
            ch = QChar::surrogateToUcs4(*it, *(it + 1));
            one.append(*++it);
        }
        if (fromUnicode(ch) == '?' && ch != U'?' && !found.contains(one))
            found += one;
    }
    return found;
}

} // namespace CodePage
