#include "studentfiles.h"

#include "atomicfile.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImageReader>
#include <QImageWriter>
#include <QtEndian>

namespace {
// A decoded picture above this size is refused: a crafted or enormous file
// must not exhaust memory. 12-megapixel photos need 48 MB.
constexpr int kAllocationLimitMB = 512;
constexpr int kJpegQuality = 90;
} // namespace

namespace {

// True when the image data after the first start-of-scan reaches an
// end-of-image marker. Segments before the scan (EXIF thumbnails included)
// are skipped by their lengths; the scan data itself never holds FF D9.
bool isCompleteJpeg(const QByteArray &data)
{
    const auto *bytes = reinterpret_cast<const unsigned char *>(data.constData());
    const qsizetype size = data.size();
    qsizetype at = 2;
    while (at + 4 <= size) {
        if (bytes[at] != 0xFF)
            return false;
        const unsigned char marker = bytes[at + 1];
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
        const qsizetype length = (qsizetype(bytes[at + 2]) << 8) | bytes[at + 3];
        if (marker == 0xDA)
            return data.indexOf("\xFF\xD9", at + 2 + length) >= 0;
        at += 2 + length;
    }
    return false;
}

// True when a Windows bitmap holds every pixel row its header announces. The
// bitmap decoder, like the JPEG one, fills a file that lost its end and calls
// it a success.
bool isCompleteBitmap(const QByteArray &data)
{
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
        return data.size() >= qint64(pixelsAt) + rowBytes * height;
    }
    // Compressed rows have no fixed size: only the file's own size can tell.
    return fileSize == 0 || data.size() >= qint64(fileSize);
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

QImage loadPicture(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray data = file.readAll();
    file.close();
    // The JPEG decoder fills a cut-off file with grey and calls it a success;
    // a photo that lost its end is treated as unreadable instead.
    if (data.startsWith("\xFF\xD8") && !isCompleteJpeg(data))
        return {};
    if (data.startsWith("BM") && !isCompleteBitmap(data))
        return {};
    QBuffer buffer;
    buffer.setData(data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    reader.setAutoTransform(true);
    reader.setAllocationLimit(kAllocationLimitMB);
    QImage image;
    if (!reader.read(&image))
        return {};
    return image;
}

QImage loadStudentPhoto(const QString &folder, const QString &number)
{
    if (!ensurePhotoFolder(folder))
        return {};
    return loadPicture(photoPath(folder, number));
}

bool saveJpeg(const QString &path, const QImage &picture)
{
    if (picture.isNull())
        return false;
    QByteArray data;
    QBuffer buffer(&data);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "jpg");
    writer.setQuality(kJpegQuality);
    if (!writer.write(picture))
        return false;
    return writeFileAtomically(path, data);
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
