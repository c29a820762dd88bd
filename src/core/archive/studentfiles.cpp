#include "studentfiles.h"

#include "atomicfile.h"
#include "datafolder.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QImageWriter>
#include <QtEndian>

namespace {
// A decoded picture above this size is refused: a crafted or enormous file
// must not exhaust memory. 12-megapixel photos need 48 MB.
constexpr int kAllocationLimitMB = 512;

// The size a picture larger than `cover` is decoded at: the stored size
// divided by the largest of 2, 4 and 8 that divides both its sides and still
// leaves the picture, turned upright, covering `cover`. The JPEG decoder
// makes these reductions while decoding, at a fraction of the full cost, and
// an exact division keeps the proportions to the pixel, so the picture fits
// a frame exactly as the full one does. Invalid when no such reduction exists.
QSize reducedSize(QImageReader &reader, QSize cover)
{
    const QSize stored = reader.size();
    if (!stored.isValid() || stored.isEmpty())
        return {};
    if (reader.transformation() & QImageIOHandler::TransformationRotate90)
        cover.transpose();
    for (int divisor = 8; divisor >= 2; divisor /= 2) {
        if (stored.width() % divisor || stored.height() % divisor)
            continue;
        const QSize reduced = stored / divisor;
        if (reduced.width() >= cover.width() && reduced.height() >= cover.height())
            return reduced;
    }
    return {};
}
// True when the picture at its own size is larger than the decoder may
// allocate (the decoder's own reckoning: whole lines of its pixel format).
bool exceedsAllocationLimit(QImageReader &reader)
{
    const QSize stored = reader.size();
    if (!stored.isValid())
        return false;
    const QImage::Format format = reader.imageFormat();
    const int depth = format == QImage::Format_Invalid ? 32 : QImage::toPixelFormat(format).bitsPerPixel();
    const qint64 lineBytes = (qint64(stored.width()) * depth + 31) / 32 * 4;
    return lineBytes * stored.height() > qint64(kAllocationLimitMB) * 1024 * 1024;
}

// No picture file the decoder accepts is larger than what it may decode to.
constexpr qint64 kMaxFileBytes = qint64(kAllocationLimitMB) * 1024 * 1024;
constexpr int kJpegQuality = 90;

// `n` bytes at `offset`, fewer at the end of the file.
QByteArray bytesAt(QIODevice &file, qint64 offset, qint64 n)
{
    return file.seek(offset) ? file.read(n) : QByteArray();
}

// True when `marker` (two bytes) occurs at or after `from`, read in chunks.
bool occursFrom(QIODevice &file, qint64 from, const char marker[2])
{
    constexpr qint64 kChunk = 1 << 20;
    char previous = 0;
    for (qint64 at = from;; at += kChunk) {
        const QByteArray chunk = bytesAt(file, at, kChunk);
        if (chunk.isEmpty())
            return false;
        if ((at > from && previous == marker[0] && chunk[0] == marker[1])
            || chunk.indexOf(QByteArray(marker, 2)) >= 0)
            return true;
        previous = chunk.back();
    }
}

// True when the image data after the first start-of-scan reaches an
// end-of-image marker. Segments before the scan (EXIF thumbnails included)
// are skipped by their lengths; the scan data itself never holds FF D9.
bool isCompleteJpeg(QIODevice &file)
{
    const qint64 size = file.size();
    qint64 at = 2;
    while (at + 4 <= size) {
        const QByteArray head = bytesAt(file, at, 4);
        if (head.size() < 4)
            return false;
        const auto *bytes = reinterpret_cast<const unsigned char *>(head.constData());
        if (bytes[0] != 0xFF)
            return false;
        const unsigned char marker = bytes[1];
        if (marker == 0xFF) { // fill byte
            ++at;
            continue;
        }
        if (marker == 0xD9)
            return true;
        if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7)) {
            at += 2;
            continue;
        }
        const qint64 length = (qint64(bytes[2]) << 8) | bytes[3];
        if (marker == 0xDA) {
            // Most files end with the marker: no need to read the whole scan.
            const qint64 scan = at + 2 + length;
            if (size - 2 >= scan && bytesAt(file, size - 2, 2) == QByteArray("\xFF\xD9"))
                return true;
            return occursFrom(file, scan, "\xFF\xD9");
        }
        at += 2 + length;
    }
    return false;
}

// True when a Windows bitmap holds every pixel row its header announces. The
// bitmap decoder, like the JPEG one, fills a file that lost its end and calls
// it a success.
bool isCompleteBitmap(const QByteArray &data, qint64 dataSize)
{
    // `data` holds the headers; `dataSize` is the whole file's size.
    const auto *bytes = reinterpret_cast<const uchar *>(data.constData());
    if (data.size() < 30)
        return false;
    const quint32 fileSize = qFromLittleEndian<quint32>(bytes + 2);
    const quint32 pixelsAt = qFromLittleEndian<quint32>(bytes + 10);
    const quint32 headerSize = qFromLittleEndian<quint32>(bytes + 14);
    qint64 width = 0;
    qint64 height = 0;
    int bitCount = 0;
    quint32 compression = 0;
    if (headerSize == 12) { // the old OS/2 header
        width = qFromLittleEndian<quint16>(bytes + 18);
        height = qFromLittleEndian<qint16>(bytes + 20);
        bitCount = qFromLittleEndian<quint16>(bytes + 24);
    } else {
        if (data.size() < 34)
            return false;
        width = qFromLittleEndian<qint32>(bytes + 18);
        height = qFromLittleEndian<qint32>(bytes + 22);
        bitCount = qFromLittleEndian<quint16>(bytes + 28);
        compression = qFromLittleEndian<quint32>(bytes + 30);
    }
    width = qAbs(width);
    height = qAbs(height); // negative: rows stored top-down
    // Far beyond any picture the decoder would accept; also keeps the sums below in range.
    if (width > (1 << 24) || height > (1 << 24) || bitCount > 64)
        return false;
    constexpr quint32 kPlain = 0, kBitFields = 3, kAlphaBitFields = 6;
    if (compression == kPlain || compression == kBitFields || compression == kAlphaBitFields) {
        const qint64 rowBytes = (width * bitCount + 31) / 32 * 4;
        return dataSize >= qint64(pixelsAt) + rowBytes * height;
    }
    // Compressed rows have no fixed size: only the file's own size can tell.
    return fileSize == 0 || dataSize >= qint64(fileSize);
}

} // namespace

namespace StudentFiles {

QString archivePath(const QString &folder) { return folder + QStringLiteral("Archivio_Studenti.pro"); }
QString photoFolder(const QString &folder) { return folder + QStringLiteral("Anagrafica/"); }
QString photoPath(const QString &folder, const QString &number)
{
    return photoFolder(folder) + QStringLiteral("Scheda_Studente_") + number + QStringLiteral(".jpg");
}
QString testsFolder(const QString &folder) { return folder + QStringLiteral("Archivio_Prove/"); }
QString testsPath(const QString &folder, const QString &number)
{
    return testsFolder(folder) + QStringLiteral("Prove_Studente_") + number + QStringLiteral(".pro");
}
QString attachmentsFolder(const QString &folder) { return folder + QStringLiteral("Documenti_Allegati/"); }
QString logoPath(const QString &folder) { return photoFolder(folder) + QStringLiteral("Logo.bmp"); }

bool ensurePhotoFolder(const QString &folder)
{
    return QDir().mkpath(photoFolder(folder));
}

QImage loadPicture(const QString &path, const QSize &cover)
{
    // Never read whole: the decoder reads what it needs from the file.
    QFile file;
    if (!DataFolder::open(file, path, QIODevice::ReadOnly))
        return {};
    const qint64 size = file.size();
    if (size <= 0 || size > kMaxFileBytes)
        return {};
    // The JPEG decoder fills a cut-off file with grey and calls it a success;
    // a photo that lost its end is treated as unreadable instead.
    if (bytesAt(file, 0, 2) == QByteArray("\xFF\xD8") && !isCompleteJpeg(file))
        return {};
    if (bytesAt(file, 0, 2) == QByteArray("BM") && !isCompleteBitmap(bytesAt(file, 0, 64), size))
        return {};
    if (!file.seek(0))
        return {};
    QImageReader reader(&file);
    reader.setDecideFormatFromContent(true);
    reader.setAutoTransform(true);
    reader.setAllocationLimit(kAllocationLimitMB);
    if (cover.isValid() && !cover.isEmpty()) {
        // Refused as its full decode would be: a picture shown reduced must
        // also be one that can be printed and saved at its own size.
        if (exceedsAllocationLimit(reader))
            return {};
        const QSize scaled = reducedSize(reader, cover);
        if (scaled.isValid())
            reader.setScaledSize(scaled);
    }
    QImage image;
    if (!reader.read(&image))
        return {};
    return image;
}

QImage loadStudentPhoto(const QString &folder, const QString &number, const QSize &cover)
{
    if (!ensurePhotoFolder(folder))
        return {};
    return loadPicture(photoPath(folder, number), cover);
}

bool hasPhotoFile(const QString &folder, const QString &number)
{
    const QFileInfo entry(photoPath(folder, number));
    return entry.exists() || entry.isSymLink();
}

bool saveJpeg(const QString &path, const QImage &picture, int *error)
{
    if (error)
        *error = 0;
    if (picture.isNull())
        return false;
    QByteArray data;
    QBuffer buffer(&data);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "jpg");
    writer.setQuality(kJpegQuality);
    if (!writer.write(picture))
        return false;
    return writeFileAtomically(path, data, error);
}

bool saveStudentPhoto(const QString &folder, const QString &number, const QImage &picture)
{
    return ensurePhotoFolder(folder) && saveJpeg(photoPath(folder, number), picture);
}

} // namespace StudentFiles

namespace ArchiveMessages {

QString accessError()
{
    return QStringLiteral("Attenzione: il sistema non permette di accedere all'archivio.")
        + QStringLiteral("\n\r\n\r")
        + QStringLiteral("Accertarsi di possedere i privilegi di scrittura nella cartella di installazione del programma.");
}

QString emptyArchive()
{
    return QStringLiteral("L'archivio non contiene nessuna scheda.");
}

} // namespace ArchiveMessages
