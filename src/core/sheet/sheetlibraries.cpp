#include "sheet/sheetlibraries.h"

#include "modules/programmodule.h"

const SheetLibraries *SheetLibraries::find()
{
    static const SheetLibraries *const entry =
        ProgramModule::table<SheetLibraries>(QStringLiteral("lumetra_sheets"), LUMETRA_SHEET_MODULE_ENTRY);
    return entry;
}
