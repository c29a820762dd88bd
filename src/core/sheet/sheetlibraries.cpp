#include "sheet/sheetlibraries.h"

#include "modules/programmodule.h"

const SheetLibraries *SheetLibraries::find()
{
    static const SheetLibraries *const entry = [] {
        const SheetLibraries *found = nullptr;
        ProgramModule::entry(QStringLiteral("lumetra_sheets"), LUMETRA_SHEET_MODULE_ENTRY, [&found](QFunctionPointer f) {
            const SheetLibraries *offered = reinterpret_cast<SheetLibrariesEntryFunction>(f)();
            if (!offered || offered->version != SheetLibraries::Version)
                return false;
            found = offered;
            return true;
        });
        return found;
    }();
    return entry;
}
