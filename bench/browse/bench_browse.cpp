// Time per step when browsing cards with 12-megapixel photos, against the
// time to decode one such JPEG alone. Run under a real X server:
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
#include <QPainter>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {



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
    // is followed by decoding the same photo alone, so both see the same load
    // on the machine.
    std::vector<double> steps, handlers, paints, decodes;
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
        if (position->text() != QString::number(n) || picture->image().width() != 4000) {
            std::fprintf(stderr, "card %d not shown\n", n);
            return 1;
        }

        timer.restart();
        QImageReader reader(StudentFiles::photoPath(folder, QString::number(n)));
        reader.setAllocationLimit(512);
        const QImage image = reader.read();
        decodes.push_back(timer.nsecsElapsed() / 1e6);
        if (image.isNull())
            return 1;
    }

    const double step = Bench::median(steps);
    const double decode = Bench::median(decodes);
    std::printf("browse step (median of %d): %.1f ms (read and decode %.1f, paint %.1f)\n", cards, step,
                Bench::median(handlers), Bench::median(paints));
    std::printf("decode one photo alone (median of %d): %.1f ms\n", cards, decode);
    std::printf("ratio: %.2fx (target <= 1.20x)\n", step / decode);
    return 0;
}
