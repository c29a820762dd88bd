#pragma once

#include <QFunctionPointer>
#include <QString>

#include <functional>

// Modules the program loads when first needed, so that the libraries they
// pull in (OpenCV, Qt Charts and OpenGL) do not load at every start.
namespace ProgramModule {

// The entry `symbol` of the module `name` (no prefix or suffix: "lumetra_faces"),
// looked for in the program's own folder (where the program and the package
// put its modules), then in the folder named by LUMETRA_MODULE_DIR (tests and
// benchmarks, which run from the build tree). The first entry that `accept`
// takes (when given) is returned; a module found is never unloaded, since
// what it made may live until the end. Null when none is found. Loads; the
// caller keeps the result.
QFunctionPointer entry(const QString &name, const char *symbol,
                       const std::function<bool(QFunctionPointer)> &accept = {});

// The table of functions a module hands out: its entry `symbol` returns a
// pointer to an `Entry` whose first member `version` must be Entry::Version.
// Null when no such module is found. Loads; the caller keeps the result.
template <typename Entry>
const Entry *table(const QString &name, const char *symbol)
{
    const Entry *found = nullptr;
    entry(name, symbol, [&found](QFunctionPointer function) {
        const Entry *offered = reinterpret_cast<const Entry *(*)()>(function)();
        if (!offered || offered->version != Entry::Version)
            return false;
        found = offered;
        return true;
    });
    return found;
}

} // namespace ProgramModule
