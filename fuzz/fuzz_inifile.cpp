// Any file content: reading never fails loudly; writing a key keeps every
// other key's value as it read before, and the key then reads as written.
#include "settings/inifile.h"
#include "fuzzcheck.h"

#include <QByteArray>
#include <QString>

#include <cstdint>

namespace {

const QString kSection = QStringLiteral("Scuola");
const QString kKey = QStringLiteral("Nome");
const QString kOther = QStringLiteral("Indirizzo");
const QString kMissing = QStringLiteral("\x01missing");

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray content(reinterpret_cast<const char *>(data), qsizetype(size));
    const QString otherBefore = IniFile::readFrom(content, kSection, kOther, kMissing);
    const QString value = QStringLiteral("Istituto \u00C8 & 1");
    const QByteArray written = IniFile::writeTo(content, kSection, kKey, value);
    FUZZ_CHECK(IniFile::readFrom(written, kSection, kKey, kMissing) == value);
    // Another key of the same section keeps its value, unless it was the
    // line just rewritten under another spelling of the name.
    if (otherBefore != kMissing)
        FUZZ_CHECK(IniFile::readFrom(written, kSection, kOther, kMissing) == otherBefore);
    // Writing the same value again changes nothing.
    FUZZ_CHECK(IniFile::writeTo(written, kSection, kKey, value) == written);
    return 0;
}
