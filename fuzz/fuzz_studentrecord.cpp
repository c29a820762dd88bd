// A card read from any 3389 bytes decodes without reading past the record,
// encodes back to a record of the same size, and that record decodes to the
// same card (decode-encode-decode is stable).
#include "archive/studentrecord.h"
#include "fuzzcheck.h"

#include <cstdint>
#include <memory>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < size_t(StudentRecord::Size))
        return 0;
    // Exactly one record in its own allocation, so a read past it is caught.
    std::unique_ptr<char[]> bytes(new char[StudentRecord::Size]);
    std::copy(data, data + StudentRecord::Size, bytes.get());
    const StudentRecord card = StudentRecord::decode(bytes.get());
    const QByteArray encoded = card.encode();
    FUZZ_CHECK(encoded.size() == StudentRecord::Size);
    const StudentRecord again = StudentRecord::decode(encoded);
    for (int f = 0; f < StudentRecord::FieldCount; ++f) {
        const auto field = StudentRecord::Field(f);
        FUZZ_CHECK(again[field] == card[field]);
        FUZZ_CHECK(StudentRecord::decodeField(bytes.get(), field) == card[field]);
        FUZZ_CHECK(card[field].size() <= StudentRecord::layout()[size_t(f)].capacity);
    }
    FUZZ_CHECK(again.encode() == encoded);
    return 0;
}
