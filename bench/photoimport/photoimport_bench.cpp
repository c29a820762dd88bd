// "Importa foto" over a folder of 12-megapixel photos of a person: per photo,
// examining it (decoded reduced, the frame proposed, the list's small
// pictures) and storing it (decoded as large as the framed part needs, cut,
// written as the student's JPEG), each beside decoding the same photo in full
// (the floor of a tool that frames it from the whole picture), interleaved.
//   ./photoimport_bench [photos]
#include "benchstats.h"
#include "photolike.h"
#include "tempfolder.h"

#include "archive/studentfiles.h"
#include "import/photoimport.h"
#include "photo/photoframing.h"

#include <QElapsedTimer>
#include <QCoreApplication>
#include <QPainter>

#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

const QString kPortrait = QStringLiteral("/usr/share/doc/opencv-doc/opencv4/html/face_swapped.jpg");

} // namespace

int main(int argc, char **argv)
{
    // The face module, as the program finds it beside itself.
    if (qEnvironmentVariableIsEmpty("LUMETRA_MODULE_DIR"))
        qputenv("LUMETRA_MODULE_DIR", LUMETRA_BUILD_MODULE_DIR);
    QCoreApplication app(argc, argv);
    const int photos = argc > 1 ? qMax(3, atoi(argv[1])) : 21;

    const QImage person = StudentFiles::loadPicture(kPortrait);
    if (person.isNull()) {
        std::fprintf(stderr, "%s is missing (Debian package opencv-doc)\n", qPrintable(kPortrait));
        return 1;
    }
    TempFolder source;
    TempFolder data;
    QStringList paths;
    for (int i = 0; i < photos; ++i) {
        // Portrait 3000x4000, as a phone held upright takes it: the person
        // a little off centre, different background per photo.
        QImage photo = Bench::photoLike(i + 1, QSize(3000, 4000));
        {
            QPainter painter(&photo);
            painter.setRenderHint(QPainter::SmoothPixmapTransform);
            painter.drawImage(QRect(200 + 40 * (i % 5), 900, 2400, 2400), person);
        }
        const QString path = source.path(QStringLiteral("%1.jpg").arg(i + 1));
        if (!StudentFiles::saveJpeg(path, photo)) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
            return 1;
        }
        paths << path;
    }
    const PhotoFramer framer;
    framer.propose(person); // the face models load once per process

    std::vector<double> decodes, examines, stores;
    int faces = 0;
    for (int i = 0; i < photos; ++i) {
        QElapsedTimer timer;
        timer.start();
        const QImage whole = StudentFiles::loadPicture(paths[i]);
        decodes.push_back(Bench::msSince(timer));
        timer.restart();
        const PhotoImport::Framing framing = PhotoImport::frame(framer, paths[i], QSize(62, 80));
        examines.push_back(Bench::msSince(timer));
        faces += framing.hasFace;
        timer.restart();
        const PhotoImport::Outcome outcome =
            PhotoImport::store(data.folder, {{paths[i], QString(), i + 1, framing.frame, false}});
        stores.push_back(Bench::msSince(timer));
        if (whole.isNull() || !framing.decoded || outcome.stored != 1) {
            std::fprintf(stderr, "photo %d failed\n", i + 1);
            return 1;
        }
    }
    const QImage stored = StudentFiles::loadStudentPhoto(data.folder, QStringLiteral("1"));
    const double decode = Bench::median(decodes);
    std::printf("%d photos 3000x4000, per photo, medians [min-max]; faces found: %d; stored %dx%d\n", photos, faces,
                stored.width(), stored.height());
    std::printf("decode in full:      %s\n", Bench::spreadText(decodes).constData());
    std::printf("examine (framing):   %s  %.2fx decode\n", Bench::spreadText(examines).constData(),
                Bench::median(examines) / decode);
    std::printf("store (cut + write): %s  %.2fx decode\n", Bench::spreadText(stores).constData(), Bench::median(stores) / decode);
    std::printf("whole import:        %.2fx decode\n", (Bench::median(examines) + Bench::median(stores)) / decode);
    return 0;
}
