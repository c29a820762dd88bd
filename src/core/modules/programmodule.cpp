#include "programmodule.h"

#include <QCoreApplication>
#include <QLibrary>
#include <QStringList>

namespace ProgramModule {

QFunctionPointer entry(const QString &name, const char *symbol, const std::function<bool(QFunctionPointer)> &accept)
{
    QStringList folders;
    if (QCoreApplication::instance())
        folders << QCoreApplication::applicationDirPath();
    if (const QString extra = qEnvironmentVariable("LUMETRA_MODULE_DIR"); !extra.isEmpty())
        folders << extra;
    for (const QString &folder : std::as_const(folders)) {
        // Left loaded on purpose: QLibrary unloads only when asked.
        QLibrary library(folder + QLatin1Char('/') + name);
        if (QFunctionPointer function = library.resolve(symbol)) {
            if (!accept || accept(function))
                return function;
        }
        library.unload();
    }
    return nullptr;
}

} // namespace ProgramModule
