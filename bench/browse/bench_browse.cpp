// Time per step when browsing cards with 12-megapixel photos, against the
// time to decode one such JPEG alone, in full and at the reduced size the
// photo frame needs (the floor of a step). Run under a real X server:
//   xvfb-run -a ./bench_browse [cards]
#include "fakeplatform.h"
#include "benchstats.h"
#include "photolike.h"

#include "base/widgets.h"
#include "archive/studentfiles.h"
#include "archive/studentrecord.h"
#include "students/tfrmstudenti.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QImageReader>
#include <QLabel>
#include <QTemporaryDir>
#include <QTest>

#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

// Decodes the photo alone, at `scaled` when valid, as the frame needs it.
double decodeMs(const QString &path, const QSize &scaled)
{
    QElapsedTimer timer;
    timer.start();
    QImageReader reader(path);
    reader.setAllocationLimit(512);
    if (scaled.isValid())
        reader.setScaledSize(scaled);
    const QImage image = reader.read();
    const double ms = timer.nsecsElapsed() / 1e6;
    if (image.isNull() || (scaled.isValid() && image.size() != scaled)) {
        std::fprintf(stderr, "cannot decode %s\n", qPrintable(path));
        std::exit(1);
    }
    return ms;
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    const int cards = argc > 1 ? qMax(2, atoi(argv[1])) : 50;

    QTemporaryDir dir;
    const QString folder = dir.path() + QLatin1Char('/');
    std::fprintf(stderr, "building %d cards with 4000x3000 photos...\n", cards);
    QByteArray archive;
    for (int n = 1; n <= cards; ++n) {
        StudentRecord card;
        card[StudentRecord::Studente] = QStringLiteral("Studente %1").arg(n);
        card[StudentRecord::Sesso] = QStringLiteral("M");
        card[StudentRecord::Corso] = QStringLiteral("Corso");
        card[StudentRecord::Classe] = QStringLiteral("1A");
        card[StudentRecord::Inizio] = QStringLiteral("01/09/2026");
        card[StudentRecord::Fine] = QStringLiteral("30/06/2027");
        archive += card.encode();
        if (!StudentFiles::saveStudentPhoto(folder, QString::number(n), Bench::photoLike(n, QSize(4000, 3000)))) {
            std::fprintf(stderr, "cannot write photo %d\n", n);
            return 1;
        }
    }
    QFile file(StudentFiles::archivePath(folder));
    if (!file.open(QIODevice::WriteOnly) || file.write(archive) != archive.size())
        return 1;
    file.close();

    FakePlatform platform;
    AppContext context{folder, &platform};
    TfrmStudenti window(context);
    window.show();
    if (!QTest::qWaitForWindowExposed(&window))
        return 1;
    auto *next = window.findChild<QWidget *>(QStringLiteral("cmdAvanti"));
    auto *position = window.findChild<QLabel *>(QStringLiteral("lblPosizione"));
    auto *picture = window.findChild<PictureBox *>(QStringLiteral("imgFoto"));

    // Browse: click Next, then let the window paint the new photo. Each step
    // is followed by decoding the same photo alone, in full and at the size
    // the frame needs, the order turning at every card, so that all three
    // see the same load on the machine.
    std::vector<double> steps, handlers, paints, decodes, reduced;
    QSize shownSize;
    for (int n = 1; n <= cards; ++n) {
        QElapsedTimer timer;
        timer.start();
        QTest::mouseClick(next, Qt::LeftButton);
        const double handled = timer.nsecsElapsed() / 1e6;
        picture->repaint();
        QApplication::processEvents();
        steps.push_back(timer.nsecsElapsed() / 1e6);
        handlers.push_back(handled);
        paints.push_back(steps.back() - handled);
        shownSize = picture->image().size();
        if (position->text() != QString::number(n) || picture->image().width() < picture->width()
            || picture->pictureRect() != QRect(0, 82, 307, 230)) {
            std::fprintf(stderr, "card %d not shown\n", n);
            return 1;
        }

        const QString path = StudentFiles::photoPath(folder, QString::number(n));
        if (n % 2) {
            decodes.push_back(decodeMs(path, QSize()));
            reduced.push_back(decodeMs(path, shownSize));
        } else {
            reduced.push_back(decodeMs(path, shownSize));
            decodes.push_back(decodeMs(path, QSize()));
        }
    }

    const double step = Bench::median(steps);
    std::printf("medians of %d, [min-max]\n", cards);
    std::printf("browse step:                      %s (read and decode %s, paint %s)\n", Bench::spreadText(steps).constData(),
                Bench::spreadText(handlers).constData(), Bench::spreadText(paints).constData());
    std::printf("decode one photo alone, full:     %s\n", Bench::spreadText(decodes).constData());
    std::printf("decode one photo alone, %dx%d: %s (the floor)\n", shownSize.width(), shownSize.height(),
                Bench::spreadText(reduced).constData());
    std::printf("step / full decode:    %.2fx (target <= 0.30x)\n", step / Bench::median(decodes));
    std::printf("step / reduced decode: %.2fx\n", step / Bench::median(reduced));
    return 0;
}
