// The spreadsheet libraries in a module of their own, handed to the program
// as a table of their functions (SheetLibraries loads it).
#include "sheet/sheetlibraries.h"

#include <QtGlobal>

namespace {

const SheetLibraries kLibraries = {
    SheetLibraries::Version,
#define LUMETRA_SHEET_ADDRESS(name) &::name,
    LUMETRA_SHEET_FUNCTIONS(LUMETRA_SHEET_ADDRESS)
#undef LUMETRA_SHEET_ADDRESS
};

} // namespace

extern "C" Q_DECL_EXPORT const SheetLibraries *lumetraSheetModule()
{
    return &kLibraries;
}
