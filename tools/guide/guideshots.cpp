// Takes the pictures of the program's windows that the user guide shows, on
// a sample archive in a temporary folder:
//
//   guideshots <pictures folder>
//
// The windows are drawn off screen at twice their size, for print; no display
// is needed. A failure leaves the guide without pictures, never without text.

#include "app/tfrmavvio.h"
#include "app/windowset.h"
#include "base/platform.h"
#include "export/tfrmexpstudenti.h"
#include "help/tfrmguida.h"
#include "students/tfrmstudenti.h"
#include "card/tfrmtessera.h"
#include "app/tfrmpassword.h"
#include "archive/studentarchive.h"
#include "archive/studentfiles.h"
#include "settings/inifile.h"

#include <QApplication>
#include <QDir>
#include <QPainter>
#include <QPainterPath>
#include <QPrinter>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>

namespace {

// Answers every dialog as cancelled and opens nothing: nobody is there.
class SilentPlatform : public Platform
{
public:
    bool message(QWidget *, MessageKind, const QString &) override { return false; }
    QString openFileName(QWidget *, const QString &, const QString &) override { return {}; }
    QString saveFileName(QWidget *, const QString &, const QString &, const QString &,
                         const QString &) override
    {
        return {};
    }
    std::unique_ptr<QPrinter> openDefaultPrinter() override { return nullptr; }
    bool printDialog(QWidget *, QPrinter *) override { return false; }
    void shellOpen(const QString &) override {}
    std::unique_ptr<CaptureDevice> openCaptureDevice(QObject *) override { return nullptr; }
    QSize screenSize() const override { return {1280, 1024}; }
    QDate today() const override { return QDate::currentDate(); }
};

// A drawn portrait for the sample student: no real person's photo.
QImage portrait()
{
    QImage image(300, 384, QImage::Format_RGB32);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient wall(0, 0, 0, image.height());
    wall.setColorAt(0, QColor(0xDD, 0xE8, 0xF2));
    wall.setColorAt(1, QColor(0xB8, 0xCC, 0xDF));
    p.fillRect(image.rect(), wall);
    const QColor skin(0xF1, 0xC2, 0x9E), hair(0x4A, 0x2C, 0x1A);
    // Hair behind the head, the shoulders in a sweater, the neck and the face.
    p.setPen(Qt::NoPen);
    p.setBrush(hair);
    p.drawRoundedRect(QRectF(78, 70, 144, 200), 70, 70);
    QPainterPath body;
    body.moveTo(20, 384);
    body.cubicTo(20, 300, 80, 282, 150, 282);
    body.cubicTo(220, 282, 280, 300, 280, 384);
    body.closeSubpath();
    p.setBrush(QColor(0x2F, 0x6F, 0xB0));
    p.drawPath(body);
    p.setBrush(skin.darker(108));
    p.drawRect(QRectF(128, 220, 44, 70));
    p.setBrush(skin);
    p.drawEllipse(QRectF(96, 92, 108, 140));
    p.setBrush(hair);
    QPainterPath fringe;
    fringe.moveTo(94, 150);
    fringe.cubicTo(90, 80, 150, 62, 206, 120);
    fringe.cubicTo(180, 104, 130, 100, 94, 150);
    p.drawPath(fringe);
    p.setBrush(QColor(0x3A, 0x2A, 0x20));
    p.drawEllipse(QPointF(130, 160), 6, 7);
    p.drawEllipse(QPointF(170, 160), 6, 7);
    p.setPen(QPen(QColor(0xA8, 0x4A, 0x3A), 4, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(130, 176, 40, 24), 200 * 16, 140 * 16);
    return image;
}

StudentRecord sampleStudent(const QString &name, const QString &sex, const QString &course,
                            const QString &born)
{
    StudentRecord card;
    card[StudentRecord::Studente] = name;
    card[StudentRecord::Sesso] = sex;
    card[StudentRecord::DataNasc] = born;
    card[StudentRecord::LuogoNasc] = QStringLiteral("Perugia");
    card[StudentRecord::Cittadinanza] = QStringLiteral("Italiana");
    card[StudentRecord::Indirizzo] = QStringLiteral("Via dei Priori, 12");
    card[StudentRecord::Citta] = QStringLiteral("Perugia");
    card[StudentRecord::Cap] = QStringLiteral("06123");
    card[StudentRecord::Nazione] = QStringLiteral("Italia");
    card[StudentRecord::Civile] = QStringLiteral("Nubile");
    card[StudentRecord::Studio] = QStringLiteral("Diploma di maturità");
    card[StudentRecord::Lingue] = QStringLiteral("Inglese, francese");
    card[StudentRecord::Email] = QStringLiteral("studente@example.it");
    card[StudentRecord::Corso] = course;
    card[StudentRecord::Classe] = QStringLiteral("2A");
    card[StudentRecord::Inizio] = QStringLiteral("15/09/2025");
    card[StudentRecord::Fine] = QStringLiteral("12/06/2026");
    card[StudentRecord::Assenze] = QStringLiteral("3");
    card[StudentRecord::Note] = QStringLiteral("Frequenza regolare.");
    return card;
}

bool writeSampleData(const QString &folder)
{
    StudentArchive archive(folder);
    archive.append(sampleStudent(QStringLiteral("Bianchi Luca"), QStringLiteral("M"),
                                 QStringLiteral("Grafica pubblicitaria"), QStringLiteral("03/02/2004")));
    archive.append(sampleStudent(QStringLiteral("Verdi Giulia"), QStringLiteral("F"),
                                 QStringLiteral("Fotografia digitale"), QStringLiteral("21/05/2005")));
    const qint64 shown = archive.append(sampleStudent(QStringLiteral("Rossi Anna"), QStringLiteral("F"),
                                                      QStringLiteral("Web design"),
                                                      QStringLiteral("14/11/2004")));
    archive.close();
    const QString ini = folder + QStringLiteral("Lumetra.ini");
    const QString section = QStringLiteral("Scuola");
    return StudentFiles::saveStudentPhoto(folder, QString::number(shown), portrait())
        && IniFile::write(ini, section, QStringLiteral("Denominazione"), QStringLiteral("Istituto di Formazione Aurora"))
        && IniFile::write(ini, section, QStringLiteral("Indirizzo"), QStringLiteral("Corso Vannucci, 20 - 06121 Perugia"))
        && IniFile::write(ini, section, QStringLiteral("Recapiti"), QStringLiteral("Tel. 075 000000 - info@aurora.example.it"))
        && IniFile::write(ini, section, QStringLiteral("Note"), QStringLiteral("Anno formativo 2025/2026"));
}

void settle()
{
    for (int i = 0; i < 5; ++i)
        QCoreApplication::processEvents();
}

// The window at its design size, drawn and saved.
bool shoot(QWidget *window, const QString &path, const char *step = nullptr)
{
    if (window->isWindow() && window->width() < 1016 && !qobject_cast<QDialog *>(window))
        window->resize(1016, 713);
    window->show();
    settle();
    // The last record, where the window browses the archive.
    if (step && window->metaObject()->indexOfMethod(step) >= 0) {
        const QByteArray name(step, int(qstrlen(step)) - 2); // without "()"
        QMetaObject::invokeMethod(window, name.constData(), Qt::DirectConnection);
        settle();
    }
    const bool saved = window->grab().save(path);
    window->hide();
    if (!saved)
        std::fprintf(stderr, "guideshots: cannot write %s\n", qPrintable(path));
    return saved;
}

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("QT_SCALE_FACTOR", "2");
    WindowSet::prepareProcess();
    QApplication app(argc, argv);
    WindowSet::setupApplication(app);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() != 2) {
        std::fprintf(stderr, "usage: guideshots <pictures folder>\n");
        return 2;
    }
    const QDir out(args.at(1));
    if (!out.exists() && !QDir().mkpath(out.path()))
        return 1;

    QTemporaryDir data;
    if (!data.isValid())
        return 1;
    SilentPlatform platform;
    AppContext context;
    context.folder = data.path() + QLatin1Char('/');
    context.platform = &platform;
    try {
        if (!writeSampleData(context.folder))
            return 1;
    } catch (...) {
        return 1;
    }

    WindowSet windows(context);
    bool ok = shoot(windows.login(), out.filePath(QStringLiteral("login.png")));
    ok = shoot(windows.startMenu(), out.filePath(QStringLiteral("menu.png"))) && ok;
    ok = shoot(windows.students(), out.filePath(QStringLiteral("students.png")), "cmdUltimoClick()") && ok;
    ok = shoot(windows.card(), out.filePath(QStringLiteral("card.png")), "cmdUltimoClick()") && ok;
    {
        TfrmExpStudenti exportWindow(context, windows.startMenu());
        exportWindow.resize(1016, 713);
        ok = shoot(&exportWindow, out.filePath(QStringLiteral("export.png"))) && ok;
    }
    {
        TfrmGuida guide(context, windows.startMenu());
        guide.setHelpText(HelpTexts::text(HelpTexts::Topic::General));
        ok = shoot(&guide, out.filePath(QStringLiteral("guide.png"))) && ok;
    }
    return ok ? 0 : 1;
}
