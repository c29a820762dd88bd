#pragma once

#include <QImage>
#include <QList>
#include <QRect>

// What the face module (lumetra_faces, loaded at the first search for a
// face) gives the program: the functions of FaceFinder, as pointers. The
// module's one entry point is LUMETRA_FACE_MODULE_ENTRY.
struct FaceModuleEntry
{
    static constexpr int Version = 1;
    int version;
    bool (*available)();
    QList<QRect> (*faces)(const QImage &picture);
    QImage (*reduced)(const QImage &picture, const QSize &bound);
};
#define LUMETRA_FACE_MODULE_ENTRY "lumetraFaceModule"
