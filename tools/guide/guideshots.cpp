// Takes the pictures of the program's windows that the user guide shows, on
// a sample archive in a temporary folder:
//
//   guideshots <pictures folder>
//
// The windows are drawn off screen, on a virtual screen of the size
// GuideScreen gives, at twice their size for print; no display is needed.
// Each window is opened the way the operator opens it (the same buttons, in
// the same order: the card, then its side windows) and pictured whole:
// windows that open maximised fill the screen, dialogs keep their own size.
// A failure leaves the guide without pictures, never without text.

#include "guidescreen.h"

#include "app/tfrmavvio.h"
#include "app/tfrmcambiapassword.h"
#include "app/tfrmpassword.h"
#include "app/windowset.h"
#include "archive/studentarchive.h"
#include "archive/studentfiles.h"
#include "base/platform.h"
#include "base/widgets.h"
#include "card/tfrmtessera.h"
#include "checks/codicefiscale.h"
#include "register/testsfile.h"
#include "settings/inifile.h"
#include "stats/tfrmstatistiche.h"
#include "students/tfrmstudenti.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDateEdit>
#include <QDialog>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPainterPath>
#include <QPrinter>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>
#include <cstdlib>
#include <functional>

namespace {

// Answers every dialog as cancelled and opens nothing: nobody is there.
class SilentPlatform : public Platform
{
public:
    bool message(QWidget *, MessageKind, const QString &text) override
    {
        std::fprintf(stderr, "guideshots: message shown: %s\n", qPrintable(text));
        return false;
    }
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
    QSize screenSize() const override { return GuideScreen::size(); }
    QDate today() const override { return QDate::currentDate(); }
};

struct Look
{
    QColor hair;
    QColor sweater;
    QColor skin;
    bool longHair;
};

// A drawn portrait for a sample student: no real person's photo.
QImage portrait(const Look &look)
{
    QImage image(300, 384, QImage::Format_RGB32);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient wall(0, 0, 0, image.height());
    wall.setColorAt(0, QColor(0xDD, 0xE8, 0xF2));
    wall.setColorAt(1, QColor(0xB8, 0xCC, 0xDF));
    p.fillRect(image.rect(), wall);
    // Hair behind the head, the shoulders in a sweater, the neck and the face.
    p.setPen(Qt::NoPen);
    p.setBrush(look.hair);
    if (look.longHair)
        p.drawRoundedRect(QRectF(78, 70, 144, 200), 70, 70);
    else
        p.drawEllipse(QRectF(90, 78, 120, 120));
    QPainterPath body;
    body.moveTo(20, 384);
    body.cubicTo(20, 300, 80, 282, 150, 282);
    body.cubicTo(220, 282, 280, 300, 280, 384);
    body.closeSubpath();
    p.setBrush(look.sweater);
    p.drawPath(body);
    p.setBrush(look.skin.darker(108));
    p.drawRect(QRectF(128, 220, 44, 70));
    p.setBrush(look.skin);
    p.drawEllipse(QRectF(96, 92, 108, 140));
    p.setBrush(look.hair);
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

// The school's logo: an open book on a blue disc, at the logo's own size.
QImage schoolLogo()
{
    QImage image(119, 118, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x1F, 0x4E, 0x86));
    p.drawEllipse(QRectF(6, 5, 107, 107));
    p.setBrush(QColor(0xF4, 0xC4, 0x30));
    QPainterPath book;
    book.moveTo(24, 44);
    book.cubicTo(40, 36, 52, 38, 59, 46);
    book.cubicTo(66, 38, 78, 36, 95, 44);
    book.lineTo(95, 80);
    book.cubicTo(78, 72, 66, 74, 59, 82);
    book.cubicTo(52, 74, 40, 72, 24, 80);
    book.closeSubpath();
    p.drawPath(book);
    p.setPen(QPen(QColor(0x1F, 0x4E, 0x86), 2));
    p.drawLine(QPointF(59, 46), QPointF(59, 82));
    return image;
}

struct Sample
{
    const char *name;
    const char *sex;
    const char *born;
    const char *course;
    const char *classe;
    Look look;
};

StudentRecord sampleStudent(const Sample &s)
{
    StudentRecord card;
    card[StudentRecord::Studente] = QString::fromUtf8(s.name);
    card[StudentRecord::Sesso] = QString::fromUtf8(s.sex);
    card[StudentRecord::DataNasc] = QString::fromUtf8(s.born);
    card[StudentRecord::LuogoNasc] = QStringLiteral("Perugia");
    card[StudentRecord::Cittadinanza] = QStringLiteral("Italiana");
    card[StudentRecord::Indirizzo] = QStringLiteral("Via dei Priori, 12");
    card[StudentRecord::Citta] = QStringLiteral("Perugia");
    card[StudentRecord::Cap] = QStringLiteral("06123");
    card[StudentRecord::Nazione] = QStringLiteral("Italia");
    card[StudentRecord::Civile] = QString::fromUtf8(*s.sex == 'F' ? "Nubile" : "Celibe");
    card[StudentRecord::Studio] = QStringLiteral("Diploma di maturità");
    card[StudentRecord::Lingue] = QStringLiteral("Inglese, francese");
    card[StudentRecord::Email] = QStringLiteral("studente@example.it");
    card[StudentRecord::Cel] = QStringLiteral("333 0000000");
    card[StudentRecord::Corso] = QString::fromUtf8(s.course);
    card[StudentRecord::Classe] = QString::fromUtf8(s.classe);
    card[StudentRecord::Inizio] = QStringLiteral("15/09/2025");
    card[StudentRecord::Fine] = QStringLiteral("12/06/2026");
    card[StudentRecord::Assenze] = QStringLiteral("3");
    card[StudentRecord::Note] = QStringLiteral("Frequenza regolare.");
    return card;
}

// A class of six in "Grafica pubblicitaria" 2A and one student of another
// course; the last card, Rossi Anna, is the one the pictures show, with her
// tax code, two attached files and three tests.
bool writeSampleData(const QString &folder)
{
    const QColor brown(0x4A, 0x2C, 0x1A), black(0x22, 0x1C, 0x18), blond(0xC8, 0x9B, 0x4E),
        auburn(0x8A, 0x3B, 0x1E);
    const QColor light(0xF1, 0xC2, 0x9E), olive(0xD9, 0xA5, 0x7A), dark(0x9C, 0x6B, 0x4A);
    const Sample samples[] = {
        {"Verdi Paolo", "M", "09/03/2003", "Fotografia digitale", "1B", {black, QColor(0x55, 0x6B, 0x2F), olive, false}},
        {"Bianchi Luca", "M", "03/02/2004", "Grafica pubblicitaria", "2A", {brown, QColor(0x8B, 0x1A, 0x1A), light, false}},
        {"Colombo Sara", "F", "27/07/2004", "Grafica pubblicitaria", "2A", {blond, QColor(0x2E, 0x8B, 0x57), light, true}},
        {"Esposito Marco", "M", "18/04/2004", "Grafica pubblicitaria", "2A", {black, QColor(0x33, 0x33, 0x66), dark, false}},
        {"Ferrari Giulia", "F", "02/12/2004", "Grafica pubblicitaria", "2A", {auburn, QColor(0x99, 0x66, 0xCC), light, true}},
        {"Greco Matteo", "M", "30/08/2004", "Grafica pubblicitaria", "2A", {brown, QColor(0xCC, 0x88, 0x22), olive, false}},
        {"Rossi Anna", "F", "14/11/2004", "Grafica pubblicitaria", "2A", {brown, QColor(0x2F, 0x6F, 0xB0), light, true}},
    };
    StudentArchive archive(folder);
    QList<qint64> numbers;
    for (const Sample &s : samples) {
        StudentRecord card = sampleStudent(s);
        if (QString::fromUtf8(s.name) == QLatin1String("Rossi Anna")) {
            QString code = QStringLiteral("RSSNNA04S54G478");
            card[StudentRecord::CodFisc] = code + CodiceFiscale::expectedCheckCharacter(code + QLatin1Char('X'));
            card[StudentRecord::File01] = QStringLiteral("Carta_identita_Rossi.pdf");
            card[StudentRecord::Desc01] = QStringLiteral("Carta d'identità");
            card[StudentRecord::File02] = QStringLiteral("Diploma_Rossi.pdf");
            card[StudentRecord::Desc02] = QStringLiteral("Diploma di maturità");
            card[StudentRecord::Email] = QStringLiteral("anna.rossi@example.it");
        }
        numbers.append(archive.append(card));
    }
    archive.close();
    for (size_t i = 0; i < std::size(samples); ++i)
        if (!StudentFiles::saveStudentPhoto(folder, QString::number(numbers.at(int(i))), portrait(samples[i].look)))
            return false;

    const QString shown = QString::number(numbers.constLast());
    const QString tests = TestsFile::prepare(folder, shown);
    const char *const registerRows[][5] = {
        {"14/10/2025", "Prova scritta di disegno", "Prof. Conti", "Aula 3", "Buono"},
        {"05/12/2025", "Prova pratica di impaginazione", "Prof.ssa Marini", "Laboratorio 1", "Ottimo"},
        {"20/01/2026", "Colloquio di storia dell'arte", "Prof. Conti", "Aula 3", "Discreto"},
    };
    for (const auto &row : registerRows) {
        TProva test;
        for (int f = 0; f < TProva::FieldCount; ++f)
            test.fields[f] = QString::fromUtf8(row[f]);
        TestsFile::append(tests, test);
    }

    const QDir attachments(StudentFiles::attachmentsFolder(folder));
    if (!QDir().mkpath(attachments.path()))
        return false;
    for (const QString &name : {QStringLiteral("Carta_identita_Rossi.pdf"), QStringLiteral("Diploma_Rossi.pdf")}) {
        QFile file(attachments.filePath(name));
        if (!file.open(QIODevice::WriteOnly) || file.write("%PDF-1.4\n") < 0)
            return false;
    }

    const QString ini = folder + QStringLiteral("Lumetra.ini");
    const QString section = QStringLiteral("Scuola");
    return StudentFiles::ensurePhotoFolder(folder)
        && schoolLogo().save(StudentFiles::logoPath(folder), "BMP")
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

// Waits (a few seconds at most) until `ready` holds, as the operator waits
// for a search to end.
bool waitFor(const std::function<bool()> &ready)
{
    QElapsedTimer clock;
    clock.start();
    while (!ready()) {
        if (clock.elapsed() > 10000)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    settle();
    return true;
}

class Shots
{
public:
    explicit Shots(const QDir &out) : m_out(out) {}

    bool ok() const { return m_ok; }

    // The window as it stands, whole, into the pictures folder.
    void take(QWidget *window, const QString &name)
    {
        settle();
        const bool saved = window->grab().save(m_out.filePath(name));
        if (!saved)
            fail(QStringLiteral("cannot write %1").arg(name));
    }

    // A long-lived working window, shown maximised as the menu shows it.
    void showWorking(QWidget *window)
    {
        window->showMaximized();
        settle();
    }

    // Presses a button of window by its name, as a click does.
    void press(QWidget *window, const char *name)
    {
        QWidget *control = window->findChild<QWidget *>(QString::fromLatin1(name));
        if (auto *button = qobject_cast<QAbstractButton *>(control))
            button->click();
        else if (auto *picture = qobject_cast<PictureBox *>(control))
            emit picture->clicked();
        else
            fail(QStringLiteral("no button %1").arg(QString::fromLatin1(name)));
    }

    void type(QWidget *window, const char *name, const QString &text)
    {
        if (auto *edit = window->findChild<QLineEdit *>(QString::fromLatin1(name)))
            edit->setText(text);
        else
            fail(QStringLiteral("no field %1").arg(QString::fromLatin1(name)));
    }

    // Presses `button` of `owner`, which opens a modal window; once it is up,
    // `inside` runs with it, and then the window is closed again.
    void modal(QWidget *owner, const char *button, const std::function<void(QWidget *)> &inside)
    {
        modal([&] { press(owner, button); }, button, inside);
    }

    // The same for a window opened by `open`, a click on something else than a button.
    void modal(const std::function<void()> &open, const char *what, const std::function<void(QWidget *)> &inside)
    {
        QWidget *before = QApplication::activeModalWidget();
        bool opened = false;
        QTimer poll;
        poll.setInterval(20);
        QObject::connect(&poll, &QTimer::timeout, [&] {
            QWidget *window = QApplication::activeModalWidget();
            if (!window || window == before)
                return;
            poll.stop();
            opened = true;
            settle();
            inside(window);
            if (auto *dialog = qobject_cast<QDialog *>(window))
                dialog->reject();
            else
                window->close();
        });
        poll.start();
        open();
        poll.stop();
        if (!opened)
            fail(QStringLiteral("%1 opened no window").arg(QString::fromLatin1(what)));
    }

    // A search run in the search window or the picker, waited for.
    void search(QWidget *window, const char *field, const QString &text)
    {
        type(window, field, text);
        press(window, "btnCerca");
        QWidget *results = window->findChild<QWidget *>(QStringLiteral("panContainer"));
        if (!results || !waitFor([results] { return results->isVisible(); }))
            fail(QStringLiteral("the search did not end"));
    }

private:
    void fail(const QString &what)
    {
        std::fprintf(stderr, "guideshots: %s\n", qPrintable(what));
        m_ok = false;
    }

    QDir m_out;
    bool m_ok = true;
};

void shootStudentWindow(Shots &shots, TfrmStudenti *students)
{
    shots.showWorking(students);
    students->cmdUltimoClick();
    shots.take(students, QStringLiteral("students.png"));

    shots.modal(students, "btnWebcam", [&](QWidget *w) { shots.take(w, QStringLiteral("webcam.png")); });
    shots.modal(students, "btnCodFisc", [&](QWidget *w) { shots.take(w, QStringLiteral("codfisc.png")); });
    // An 11-digit number in the tax code field opens the partita IVA check.
    // The number is typed back out before the next window, so that nothing
    // asks whether the changed card should be saved.
    QLineEdit *code = students->findChild<QLineEdit *>(QStringLiteral("txtCodFisc"));
    const QString stored = code ? code->text() : QString();
    shots.type(students, "txtCodFisc", QStringLiteral("01234560546"));
    shots.modal(students, "btnCodFisc", [&](QWidget *w) { shots.take(w, QStringLiteral("partitaiva.png")); });
    shots.type(students, "txtCodFisc", stored);
    shots.modal(students, "cmdFile", [&](QWidget *w) { shots.take(w, QStringLiteral("attachments.png")); });
    shots.modal(students, "cmdTrova", [&](QWidget *w) {
        shots.type(w, "txtClasse", QStringLiteral("2A"));
        shots.take(w, QStringLiteral("search.png"));
        shots.search(w, "txtClasse", QStringLiteral("2A"));
        shots.take(w, QStringLiteral("searchresults.png"));
    });
    shots.modal(students, "btnProve", [&](QWidget *w) {
        shots.take(w, QStringLiteral("tests.png"));
        shots.press(w, "btnAggiungi");
        shots.type(w, "txtData", QStringLiteral("16/02/2026"));
        shots.type(w, "txtProva", QStringLiteral("Prova pratica di fotoritocco"));
        shots.type(w, "txtDocente", QStringLiteral("Prof.ssa Marini"));
        shots.type(w, "txtAula", QStringLiteral("Laboratorio 1"));
        shots.type(w, "txtEsito", QStringLiteral("Buono"));
        shots.take(w, QStringLiteral("testsedit.png"));
    });
    shots.modal(students, "cmdStampa", [&](QWidget *w) { shots.take(w, QStringLiteral("sheetprint.png")); });
    shots.modal(students, "cmdAnteprima", [&](QWidget *dialog) {
        shots.modal(dialog, "btnStampa", [&](QWidget *w) { shots.take(w, QStringLiteral("sheetpreview.png")); });
    });
    shots.modal(students, "cmdSlideshow", [&](QWidget *w) {
        // The first photo, without waiting the six seconds of the first step.
        QMetaObject::invokeMethod(w, "cmdAvantiClick", Qt::DirectConnection);
        shots.take(w, QStringLiteral("slideshow.png"));
    });
    students->hide();
}

void shootCardWindow(Shots &shots, TfrmTessera *card)
{
    shots.showWorking(card);
    card->cmdUltimoClick();
    shots.take(card, QStringLiteral("card.png"));
    // A click on the school's name opens its data.
    shots.modal([card] { card->titAssociazioneClick(); }, "titAssociazione",
                [&](QWidget *w) { shots.take(w, QStringLiteral("schooldata.png")); });
    shots.modal(card, "cmdAnteprima", [&](QWidget *dialog) {
        shots.modal(dialog, "btnStampa", [&](QWidget *w) { shots.take(w, QStringLiteral("cardpreview.png")); });
    });
    shots.modal(card, "cmdStampa", [&](QWidget *w) { shots.take(w, QStringLiteral("cardprint.png")); });
    shots.modal(card, "cmdTrova", [&](QWidget *picker) {
        shots.search(picker, "txtClasse", QStringLiteral("2A"));
        shots.take(picker, QStringLiteral("picker.png"));
        shots.modal(picker, "btnStampaTesserini", [&](QWidget *w) { shots.take(w, QStringLiteral("cardbatch.png")); });
    });
    card->hide();
}

// The offscreen screen the pictures are drawn on, GuideScreen's size at
// twice the pixels, without window frames.
QString screenConfiguration(const QTemporaryDir &dir)
{
    const QString path = dir.filePath(QStringLiteral("screen.json"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return {};
    file.write(QStringLiteral("{\"windowFrameMargins\": false, \"screens\": [{\"name\": \"Guida\", \"x\": 0, \"y\": 0, "
                              "\"width\": %1, \"height\": %2, \"logicalDpi\": 96, \"logicalBaseDpi\": 96, \"dpr\": 1}]}")
                   .arg(GuideScreen::kWidth * GuideScreen::kScale)
                   .arg(GuideScreen::kHeight * GuideScreen::kScale)
                   .toUtf8());
    return file.error() == QFile::NoError ? path : QString();
}

} // namespace

int main(int argc, char *argv[])
{
    QTemporaryDir config;
    const QString screen = config.isValid() ? screenConfiguration(config) : QString();
    if (screen.isEmpty()) {
        std::fprintf(stderr, "guideshots: cannot write the screen configuration\n");
        return 1;
    }
    // The program's modules (the statistics' charts, the spreadsheet
    // libraries) as the program finds them beside itself.
    if (qEnvironmentVariableIsEmpty("LUMETRA_MODULE_DIR"))
        qputenv("LUMETRA_MODULE_DIR", LUMETRA_BUILD_MODULE_DIR);
    // Always the same virtual screen, whatever display the build runs on.
    qputenv("QT_QPA_PLATFORM", QStringLiteral("offscreen:configfile=%1").arg(screen).toLocal8Bit());
    qputenv("QT_SCALE_FACTOR", QByteArray::number(GuideScreen::kScale));
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

    Shots shots(out);
    WindowSet windows(context);
    windows.login()->show();
    shots.take(windows.login(), QStringLiteral("login.png"));
    windows.login()->hide();
    windows.changePassword()->show();
    shots.take(windows.changePassword(), QStringLiteral("password.png"));
    windows.changePassword()->hide();

    TfrmAvvio *menu = windows.startMenu();
    shots.showWorking(menu);
    shots.take(menu, QStringLiteral("menu.png"));
    shots.modal(menu, "imgExport", [&](QWidget *w) { shots.take(w, QStringLiteral("export.png")); });
    shots.modal(menu, "imgGuida", [&](QWidget *w) { shots.take(w, QStringLiteral("guide.png")); });
    // The statistics of the sample's school year, whatever today is.
    shots.modal(menu, "btnStatistiche", [&](QWidget *w) {
        auto *stats = static_cast<TfrmStatistiche *>(w);
        stats->findChild<QDateEdit *>(QStringLiteral("dtpDal"))->setDate(QDate(2025, 9, 1));
        stats->findChild<QDateEdit *>(QStringLiteral("dtpAl"))->setDate(QDate(2026, 8, 31));
        stats->btnCalcolaClick();
        QElapsedTimer waited;
        waited.start();
        while ((stats->isCounting() || !stats->result()) && waited.elapsed() < 20000)
            QApplication::processEvents(QEventLoop::AllEvents, 50);
        // A picture of the statistics without their charts would teach nothing.
        if (qobject_cast<QLabel *>(stats->findChild<QWidget *>(QStringLiteral("cht_corsi")))) {
            std::fprintf(stderr, "guideshots: the chart module was not found\n");
            std::exit(1);
        }
        shots.take(w, QStringLiteral("statistics.png"));
    });
    menu->hide();

    shootStudentWindow(shots, windows.students());
    shootCardWindow(shots, windows.card());
    return shots.ok() ? 0 : 1;
}
