#include "facefinder.h"
#include "facemodule.h"

#include <QCoreApplication>
#include <QLibrary>

#include <mutex>

namespace {

// The module, loaded once: from the program's own folder (where the program
// and the package put it), else from the folder in LUMETRA_MODULE_DIR (the
// tests and benchmarks, which run from the build tree). Null when it cannot
// be loaded: then no face is ever found.
const FaceModuleEntry *module()
{
    static const FaceModuleEntry *entry = nullptr;
    static std::once_flag loaded;
    std::call_once(loaded, [] {
        QStringList folders;
        if (QCoreApplication::instance())
            folders << QCoreApplication::applicationDirPath();
        if (const QString extra = qEnvironmentVariable("LUMETRA_MODULE_DIR"); !extra.isEmpty())
            folders << extra;
        // Never unloaded: the detector it holds lives until the end.
        static QLibrary *const library = new QLibrary;
        for (const QString &folder : std::as_const(folders)) {
            library->setFileName(folder + QStringLiteral("/lumetra_faces"));
            if (auto function = reinterpret_cast<FaceModuleEntryFunction>(library->resolve(LUMETRA_FACE_MODULE_ENTRY))) {
                const FaceModuleEntry *found = function();
                if (found && found->version == FaceModuleEntry::Version) {
                    entry = found;
                    return;
                }
            }
            library->unload();
        }
    });
    return entry;
}

} // namespace

namespace FaceFinder {

bool available()
{
    const FaceModuleEntry *entry = module();
    return entry && entry->available();
}

QList<QRect> faces(const QImage &picture)
{
    const FaceModuleEntry *entry = module();
    return entry ? entry->faces(picture) : QList<QRect>();
}

QRect largestFace(const QImage &picture)
{
    const QList<QRect> found = faces(picture);
    return found.isEmpty() ? QRect() : found.first();
}

QImage reduced(const QImage &picture, const QSize &bound)
{
    if (const FaceModuleEntry *entry = module())
        return entry->reduced(picture, bound);
    if (picture.isNull() || bound.isEmpty() || (picture.width() <= bound.width() && picture.height() <= bound.height()))
        return picture;
    return picture.scaled(bound, Qt::KeepAspectRatio, Qt::SmoothTransformation);
}

} // namespace FaceFinder
