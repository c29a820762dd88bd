#pragma once

// Real photographs of people, from Debian's opencv-doc package (OpenCV's own
// sample pictures), and a writer of JPEG files carrying an EXIF orientation.

#include <QBuffer>
#include <QByteArray>
#include <QFile>
#include <QImage>
#include <QString>
#include <QtEndian>

namespace SamplePhotos {

inline QString dataFolder() { return QStringLiteral("/usr/share/doc/opencv-doc/examples/data/"); }
inline QString docFolder() { return QStringLiteral("/usr/share/doc/opencv-doc/opencv4/html/"); }

// A footballer in a stadium, landscape 548 x 342: one small face.
inline QString landscape() { return dataFolder() + QStringLiteral("messi5.jpg"); }
// A head-and-shoulders portrait, 320 x 320.
inline QString portrait() { return docFolder() + QStringLiteral("face_swapped.jpg"); }
// Four faces of different sizes in a 2 x 2 grid, 200 x 200.
inline QString fourFaces() { return docFolder() + QStringLiteral("facereg.jpg"); }
// Pictures without a face.
inline QString fruits() { return dataFolder() + QStringLiteral("fruits.jpg"); }
inline QString building() { return dataFolder() + QStringLiteral("building.jpg"); }

// Empty when every sample is there, else what is missing.
inline QString missing()
{
    for (const QString &path : {landscape(), portrait(), fourFaces(), fruits(), building()})
        if (!QFile::exists(path))
            return path + QStringLiteral(" is missing: the tests need Debian's opencv-doc package");
    return {};
}

// `picture` as the bytes of a JPEG file.
inline QByteArray jpeg(const QImage &picture, int quality = 92)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    picture.save(&buffer, "JPG", quality);
    return bytes;
}

// `picture` as a JPEG file whose EXIF orientation is `orientation` (1-8):
// the pixels are stored as given, the tag tells a viewer how to turn them.
inline QByteArray jpegWithOrientation(const QImage &picture, quint16 orientation)
{
    QByteArray jpeg;
    QBuffer buffer(&jpeg);
    buffer.open(QIODevice::WriteOnly);
    picture.save(&buffer, "JPG", 95);
    // A little-endian TIFF header with one IFD of one entry: Orientation,
    // SHORT, count 1.
    QByteArray tiff("II*\0\x08\0\0\0", 8);
    char entry[2 + 12 + 4] = {};
    qToLittleEndian<quint16>(1, entry);
    qToLittleEndian<quint16>(0x0112, entry + 2);
    qToLittleEndian<quint16>(3, entry + 4);
    qToLittleEndian<quint32>(1, entry + 6);
    qToLittleEndian<quint16>(orientation, entry + 10);
    tiff += QByteArray(entry, sizeof entry);
    const QByteArray payload = QByteArray("Exif\0\0", 6) + tiff;
    QByteArray app1("\xFF\xE1", 2);
    char length[2];
    qToBigEndian<quint16>(quint16(payload.size() + 2), length);
    app1 += QByteArray(length, 2) + payload;
    // Right after the start-of-image marker, where EXIF belongs.
    return jpeg.left(2) + app1 + jpeg.mid(2);
}

} // namespace SamplePhotos
