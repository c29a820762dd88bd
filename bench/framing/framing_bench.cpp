// Framing a 12-megapixel photo of a person: the proposal around the face, the
// cut of the framed part and the framing dialog from "Carica" until its
// picture is painted, each beside decoding the same photo alone (the floor
// of anything that shows it). Run under a real X server:
//   xvfb-run -a ./framing_bench [runs]
#include "fakeplatform.h"
#include "benchstats.h"
#include "photolike.h"

#include "archive/studentfiles.h"
#include "media/framingview.h"
#include "media/tfrminquadrafoto.h"
#include "photo/photoframing.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QPainter>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

const QString kPortrait = QStringLiteral("/usr/share/doc/opencv-doc/opencv4/html/face_swapped.jpg");

// Notes when the watched widget has painted.
class PaintWatch : public QObject
{
public:
    bool painted = false;

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            painted = true;
        return false;
    }
};

} // namespace

int main(int argc, char **argv)
{
    // The face module, as the program finds it beside itself.
    if (qEnvironmentVariableIsEmpty("LUMETRA_MODULE_DIR"))
        qputenv("LUMETRA_MODULE_DIR", LUMETRA_BUILD_MODULE_DIR);
    QApplication app(argc, argv);
    const int runs = argc > 1 ? qMax(3, atoi(argv[1])) : 11;

    // A person photographed at 12 megapixels: the packaged portrait enlarged
    // over a photo-like background, so that the face finder has a real face.
    const QImage person = StudentFiles::loadPicture(kPortrait);
    if (person.isNull()) {
        std::fprintf(stderr, "%s is missing (Debian package opencv-doc)\n", qPrintable(kPortrait));
        return 1;
    }
    QImage photo = Bench::photoLike(1, QSize(4000, 3000));
    {
        QPainter painter(&photo);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawImage(QRect(1100, 400, 2600, 2600), person);
    }
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("foto.jpg"));
    if (!StudentFiles::saveJpeg(path, photo)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return 1;
    }

    FakePlatform platform;
    const AppContext context{dir.path() + QLatin1Char('/'), &platform};
    const PhotoFramer framer;

    // The first proposal also loads the face model.
    QElapsedTimer timer;
    const QImage decoded = StudentFiles::loadPicture(path);
    timer.start();
    const PhotoFraming::Proposal first = framer.propose(decoded);
    const double firstMs = Bench::msSince(timer);
    if (!first.hasFace()) {
        std::fprintf(stderr, "no face found in the 12-megapixel photo\n");
        return 1;
    }

    // Interleaved, the order turning at every run, so that all see the same
    // load on the machine.
    std::vector<double> decodes, proposals, cuts, dialogs;
    for (int run = 0; run < runs; ++run) {
        for (int part = 0; part < 4; ++part) {
            switch ((part + run) % 4) {
            case 0: {
                timer.start();
                const QImage image = StudentFiles::loadPicture(path);
                decodes.push_back(Bench::msSince(timer));
                if (image.size() != QSize(4000, 3000))
                    return 1;
                break;
            }
            case 1: {
                timer.start();
                const PhotoFraming::Proposal proposal = framer.propose(decoded);
                proposals.push_back(Bench::msSince(timer));
                if (proposal.frame != first.frame)
                    return 1;
                break;
            }
            case 2: {
                timer.start();
                const QImage framed = PhotoFraming::cut(decoded, first.frame);
                cuts.push_back(Bench::msSince(timer));
                if (framed.height() != qMin(first.frame.height(), PhotoFraming::kMaxStoredHeight))
                    return 1;
                break;
            }
            case 3: {
                // As "Carica" does once the file is chosen: decode, open the
                // dialog on the proposal, until its picture is on screen.
                timer.start();
                const QImage image = StudentFiles::loadPicture(path);
                TfrmInquadraFoto dialog(context);
                dialog.setPicture(image);
                PaintWatch watch;
                dialog.findChild<FramingView *>(QStringLiteral("imgInquadratura"))->installEventFilter(&watch);
                dialog.show();
                while (!watch.painted)
                    QApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
                dialogs.push_back(Bench::msSince(timer));
                dialog.hide();
                break;
            }
            }
        }
    }

    const double decode = Bench::median(decodes);
    std::printf("12-megapixel photo (4000x3000), medians of %d runs, [min-max]\n", runs);
    std::printf("decode the photo alone, full:        %s (the floor)\n", Bench::spreadText(decodes).constData());
    std::printf("proposal (reduce, find face, frame): %s (target <= 300 ms; the first, loading the model: %.1f ms)\n",
                Bench::spreadText(proposals).constData(), firstMs);
    std::printf("cut of the framed part (%dx%d):    %s\n", first.frame.width(), first.frame.height(),
                Bench::spreadText(cuts).constData());
    std::printf("dialog open, decode to first paint:  %s (target <= 500 ms)\n", Bench::spreadText(dialogs).constData());
    std::printf("proposal / decode:  %.2fx\n", Bench::median(proposals) / decode);
    std::printf("dialog / decode:    %.2fx\n", Bench::median(dialogs) / decode);
    return 0;
}
