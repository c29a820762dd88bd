#pragma once

// A photo-like picture for the benchmarks that decode or print photos.

#include <QColor>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QRandomGenerator>

namespace Bench {

// A photo-like picture of `size`: a gradient, shapes and sensor-like noise,
// so that its JPEG is as heavy as a real photo; different per seed.
inline QImage photoLike(int seed, const QSize &size)
{
    const int w = size.width(), h = size.height();
    QImage image(size, QImage::Format_RGB32);
    QRandomGenerator random(seed);
    QPainter painter(&image);
    QLinearGradient gradient(0, 0, w, h);
    gradient.setColorAt(0, QColor::fromHsv(random.bounded(360), 120, 220));
    gradient.setColorAt(1, QColor::fromHsv(random.bounded(360), 200, 90));
    painter.fillRect(image.rect(), gradient);
    painter.setRenderHint(QPainter::Antialiasing);
    for (int i = 0; i < 60; ++i) {
        painter.setBrush(QColor::fromHsv(random.bounded(360), random.bounded(256), random.bounded(256), 160));
        painter.setPen(Qt::NoPen);
        painter.drawEllipse(QPointF(random.bounded(w), random.bounded(h)), random.bounded(50, 700),
                            random.bounded(50, 700));
    }
    painter.end();
    for (int y = 0; y < image.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const int n = int(random.bounded(24)) - 12;
            const QRgb p = line[x];
            line[x] = qRgb(qBound(0, qRed(p) + n, 255), qBound(0, qGreen(p) + n, 255), qBound(0, qBlue(p) + n, 255));
        }
    }
    return image;
}

} // namespace Bench
