#include "fieldcodec.h"

#include "codepage.h"

#include <cstring>

namespace FieldCodec {

QString trimControls(const QString &text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && text.at(begin).unicode() <= 32)
        ++begin;
    while (end > begin && text.at(end - 1).unicode() <= 32)
        --end;
    return (begin == 0 && end == text.size()) ? text : text.mid(begin, end - begin);
}

QString decode(const char *field, int capacity)
{
    int length = static_cast<unsigned char>(field[0]);
    if (length > capacity)
        length = capacity;
    const char *data = field + 1;
    while (length > 0 && static_cast<unsigned char>(*data) <= 32) {
        ++data;
        --length;
    }
    while (length > 0 && static_cast<unsigned char>(data[length - 1]) <= 32)
        --length;
    // Every byte above 32 decodes to a character above 32, so trimming the
    // bytes is the same as trimming the text.
    return CodePage::toUnicode(data, length);
}

void encode(const QString &text, char *field, int capacity)
{
    const QByteArray bytes = CodePage::fromUnicode(trimControls(text).left(255));
    const int length = int(qMin<qsizetype>(bytes.size(), capacity));
    field[0] = static_cast<char>(length);
    std::memcpy(field + 1, bytes.constData(), size_t(length));
    std::memset(field + 1 + length, 0, size_t(capacity - length));
}

} // namespace FieldCodec
