#include "facefinder.h"
#include "facemodule.h"

#include "modules/programmodule.h"

namespace {

// The module, loaded once (ProgramModule says where from). Null when it
// cannot be loaded: then no face is ever found.
const FaceModuleEntry *module()
{
    static const FaceModuleEntry *const entry =
        ProgramModule::table<FaceModuleEntry>(QStringLiteral("lumetra_faces"), LUMETRA_FACE_MODULE_ENTRY);
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
