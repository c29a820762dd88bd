// A class list read from any bytes as CSV text: either refused with a
// message, or a sheet whose rows are numbered upwards past the header, each
// with at least one cell and no more than a sheet's 1024 columns.
#include "import/sheetreader.h"
#include "fuzzcheck.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>

// Without the CSV parser's module every input would be refused: nothing
// would be tried. scripts/fuzz.sh says where the module is.
extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    if (!SheetReader::available()) {
        std::fprintf(stderr, "fuzz_sheetcsv: the module lumetra_sheets was not found (LUMETRA_MODULE_DIR)\n");
        std::abort();
    }
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    ImportSheet sheet;
    try {
        sheet = SheetReader::readCsv(bytes);
    } catch (const SheetReadError &refused) {
        FUZZ_CHECK(!refused.message().isEmpty());
        return 0;
    }
    FUZZ_CHECK(sheet.separator == QLatin1Char(',') || sheet.separator == QLatin1Char(';')
               || sheet.separator == QLatin1Char('\t'));
    FUZZ_CHECK(sheet.header.size() <= 1024);
    int last = 1;
    for (const ImportSheetRow &row : sheet.rows) {
        FUZZ_CHECK(!sheet.header.isEmpty());
        FUZZ_CHECK(row.line > last);
        FUZZ_CHECK(!row.cells.isEmpty() && row.cells.size() <= 1024);
        last = row.line;
    }
    return 0;
}
