// A test record read from any 149 bytes encodes back to 149 bytes that
// decode to the same record.
#include "register/testrecord.h"
#include "fuzzcheck.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < size_t(TProva::Size))
        return 0;
    const QByteArray bytes(reinterpret_cast<const char *>(data), TProva::Size);
    const TProva record = TProva::decode(bytes);
    const QByteArray encoded = record.encode();
    FUZZ_CHECK(encoded.size() == TProva::Size);
    const TProva again = TProva::decode(encoded);
    for (int f = 0; f < TProva::FieldCount; ++f)
        FUZZ_CHECK(again[TProva::Field(f)] == record[TProva::Field(f)]);
    FUZZ_CHECK(again.encode() == encoded);
    return 0;
}
