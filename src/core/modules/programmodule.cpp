#include "programmodule.h"

#include <QCoreApplication>
#include <QLibrary>
#include <QMutex>
#include <QStringList>

#include <memory>
#include <vector>

namespace ProgramModule {

QFunctionPointer entry(const QString &name, const char *symbol, const std::function<bool(QFunctionPointer)> &accept)
{
    QStringList folders;
    if (QCoreApplication::instance())
        folders << QCoreApplication::applicationDirPath();
    if (const QString extra = qEnvironmentVariable("LUMETRA_MODULE_DIR"); !extra.isEmpty())
        folders << extra;
    // Modules found stay loaded to the end, and are not even unloaded at exit
    // (Qt unloads a library no QLibrary holds): what they made may outlive
    // the program's own statics. Reachable from here, so never counted lost.
    static std::vector<std::unique_ptr<QLibrary>> *const kept = new std::vector<std::unique_ptr<QLibrary>>;
    static QMutex keeping;
    for (const QString &folder : std::as_const(folders)) {
        auto library = std::make_unique<QLibrary>(folder + QLatin1Char('/') + name);
        if (QFunctionPointer function = library->resolve(symbol)) {
            if (!accept || accept(function)) {
                const QMutexLocker lock(&keeping);
                kept->push_back(std::move(library));
                return function;
            }
        }
        library->unload();
    }
    return nullptr;
}

} // namespace ProgramModule
