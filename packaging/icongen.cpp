// Draws the program's icon, the start menu's round picture of a student, as
// PNG files at the sizes desktops look for:
//   lumetra_icons <folder> <size>...   writes <folder>/<size>x<size>/apps/lumetra.png
#include "base/art/menuart.h"

#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <cstdio>

int main(int argc, char *argv[])
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s <folder> <size>...\n", argv[0]);
        return 2;
    }
    // No screen is needed to paint into an image.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);

    // The picture is drawn for the menu's size; smaller icons are scaled
    // down from it rather than drawn with strokes too fine to show.
    const int drawn = 288;
    QImage master(drawn, drawn, QImage::Format_ARGB32_Premultiplied);
    master.fill(Qt::transparent);
    {
        QPainter p(&master);
        p.setRenderHint(QPainter::Antialiasing);
        MenuArt::drawStaff(p, master.size());
    }
    // Down to the disc and its frame: the menu leaves a margin around it.
    const int margin = 1;
    master = master.copy(margin, margin, drawn - 2 * margin, drawn - 2 * margin);

    const QString folder = QString::fromLocal8Bit(argv[1]);
    for (int i = 2; i < argc; ++i) {
        const int size = QString::fromLatin1(argv[i]).toInt();
        if (size <= 0) {
            std::fprintf(stderr, "not a size: %s\n", argv[i]);
            return 2;
        }
        const QString dir = QStringLiteral("%1/%2x%2/apps").arg(folder).arg(size);
        const QImage icon = master.scaled(size, size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                                .convertToFormat(QImage::Format_ARGB32);
        if (!QDir().mkpath(dir) || !icon.save(dir + QStringLiteral("/lumetra.png"), "PNG")) {
            std::fprintf(stderr, "cannot write the %dx%d icon in %s\n", size, size, qPrintable(dir));
            return 1;
        }
    }
    return 0;
}
