#include "facefinder.h"
#include "facemodule.h"

#include "modules/programmodule.h"

namespace {

// The module, loaded once (ProgramModule says where from). Null when it
// cannot be loaded: then no face is ever found.
const FaceModuleEntry *module()
{
    static const FaceModuleEntry *const entry = [] {
        const FaceModuleEntry *found = nullptr;
        ProgramModule::entry(QStringLiteral("lumetra_faces"), LUMETRA_FACE_MODULE_ENTRY, [&found](QFunctionPointer f) {
            const FaceModuleEntry *offered = reinterpret_cast<FaceModuleEntryFunction>(f)();
            if (!offered || offered->version != FaceModuleEntry::Version)
                return false;
            found = offered;
            return true;
        });
        return found;
    }();
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
