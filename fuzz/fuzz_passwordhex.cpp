// Any stored value: decoding either refuses it or gives a text that encodes
// back to the same digits (up to a last odd digit, which is ignored).
#include "settings/passwordcipher.h"
#include "fuzzcheck.h"

#include <QString>

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size > 1024)
        return 0;
    const QString hex = QString::fromLatin1(reinterpret_cast<const char *>(data), qsizetype(size));
    QString plain = QStringLiteral("untouched");
    if (!DecodePassword(hex, &plain)) {
        FUZZ_CHECK(plain == QStringLiteral("untouched"));
        return 0;
    }
    FUZZ_CHECK(plain.size() == hex.size() / 2);
    const QString encoded = EncodePassword(plain);
    FUZZ_CHECK(encoded.compare(hex.left(plain.size() * 2), Qt::CaseInsensitive) == 0);
    return 0;
}
