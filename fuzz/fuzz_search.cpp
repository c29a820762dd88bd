// Any record and filter text: matching the raw bytes gives the same answer
// as matching the decoded field, and the list line built from raw bytes is
// the line built from the decoded card.
#include "archive/codepage.h"
#include "archive/studentrecord.h"
#include "search/studentsearch.h"
#include "fuzzcheck.h"

#include <cstdint>
#include <memory>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < size_t(StudentRecord::Size) + 1)
        return 0;
    std::unique_ptr<char[]> record(new char[StudentRecord::Size]);
    std::copy(data, data + StudentRecord::Size, record.get());
    const StudentRecord card = StudentRecord::decode(record.get());

    const size_t rest = size - size_t(StudentRecord::Size);
    const auto field = StudentRecord::Field(data[StudentRecord::Size] % 26);
    const QByteArray needleBytes(reinterpret_cast<const char *>(data) + StudentRecord::Size + 1,
                                 qsizetype(std::min<size_t>(rest - 1, 40)));
    const QString needle = CodePage::toUnicode(needleBytes);
    const ByteNeedle byteNeedle(needle);
    if (byteNeedle.matchable())
        FUZZ_CHECK(byteNeedle.occursInField(record.get(), field)
                   == SearchText::occurs(needle, card[field]));

    QByteArray line;
    StudentListLine::appendBytes(record.get(), line);
    FUZZ_CHECK(CodePage::toUnicode(line) == StudentListLine::build(card));
    return 0;
}
