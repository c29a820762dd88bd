#include "cardlogo.h"

#include "archive/atomicfile.h"
#include "archive/studentfiles.h"

#include <QBuffer>
#include <QImageWriter>
#include <QPainter>

namespace CardLogo {

QString path(const QString &folder)
{
    return StudentFiles::logoPath(folder);
}

QImage stretchBitmap(const QImage &source, int width, int height)
{
    if (source.isNull() || width <= 0 || height <= 0)
        return {};
    QImage result(width, height, QImage::Format_ARGB32_Premultiplied);
    result.fill(Qt::transparent);
    QPainter painter(&result);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(QRect(0, 0, width, height), source);
    painter.end();
    return result;
}

QImage load(const QString &folder)
{
    if (!StudentFiles::ensurePhotoFolder(folder))
        return {};
    return StudentFiles::loadPicture(path(folder));
}

bool save(const QString &folder, const QImage &logo)
{
    const QImage stretched = stretchBitmap(logo, Width, Height);
    if (stretched.isNull() || !StudentFiles::ensurePhotoFolder(folder))
        return false;
    // Bitmaps are written without transparency: what is transparent in the
    // logo turns white, the colour of the frame the card shows it in, not
    // the black the bitmap writer would leave.
    QImage opaque(stretched.size(), QImage::Format_RGB32);
    opaque.fill(Qt::white);
    QPainter painter(&opaque);
    painter.drawImage(0, 0, stretched);
    painter.end();
    QByteArray data;
    QBuffer buffer(&data);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "bmp");
    if (!writer.write(opaque))
        return false;
    return writeFileAtomically(path(folder), data);
}

} // namespace CardLogo
