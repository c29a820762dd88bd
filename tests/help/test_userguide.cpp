#include "testutil.h"

#include "guidescreen.h"

#include "app/tfrmavvio.h"
#include "app/tfrmcambiapassword.h"
#include "app/tfrmpassword.h"
#include "card/tfrmdatiente.h"
#include "card/tfrmstampatessera.h"
#include "card/tfrmtessera.h"
#include "checks/tfrmcodfisc.h"
#include "checks/tfrmpartitaiva.h"
#include "export/tfrmexpstudenti.h"
#include "help/helptexts.h"
#include "help/tfrmguida.h"
#include "media/tfrmallegacartella.h"
#include "media/tfrmslideshow_studenti.h"
#include "media/tfrmwebcam.h"
#include "printing/tfrmstampastudenti.h"
#include "register/tfrmprove_sostenute.h"
#include "search/cardbatchdialog.h"
#include "search/tfrmimportastudenti.h"
#include "search/tfrmtrovastudenti.h"
#include "stats/tfrmstatistiche.h"
#include "students/tfrmstudenti.h"

#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>

#include <functional>
#include <memory>

using HelpTexts::Topic;
Q_DECLARE_METATYPE(HelpTexts::Topic)

using WindowFactory = std::function<QWidget *(const AppContext &)>;
Q_DECLARE_METATYPE(WindowFactory)

namespace {

// Runs of blanks, line and page breaks become one space; compatibility
// characters (ligatures) their plain letters.
QString normalised(QString text)
{
    text = text.normalized(QString::NormalizationForm_KC);
    return text.simplified();
}

QString run(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(60000) || process.exitCode() != 0)
        return {};
    return QString::fromUtf8(process.readAllStandardOutput());
}

// A picture in the PDF, as pdfimages lists it.
struct Picture
{
    int page;
    QSize size;  // pixels
    double xPpi; // pixels per inch as drawn on the page
    double yPpi;
};

// A figure of the guide: its caption names the window it shows by its title.
struct Figure
{
    int number;
    int page;
    QString window;
    Picture picture;
};

} // namespace

// How the program shows a window, and so how big its whole picture is.
enum class Shown { Dialog, Maximised };
Q_DECLARE_METATYPE(Shown)

// The user guide shipped beside the executable, as the build made it: its
// contents, the help texts it holds, and its figures, each compared with the
// window it shows.
class TestUserGuide : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void titlePage();
    void helpParagraphsOnce_data();
    void helpParagraphsOnce();
    void contents_data();
    void contents();
    void figures_data();
    void figures();
    void everyFigureIsOneWholeWindow();
    void quotesAreTheProgramsTexts();

private:
    int count(const QString &needle) const;

    QString m_text;      // the guide's text, footers removed, normalised
    QStringList m_pages; // each page's text as pdftotext reads it
    QMap<QString, int> m_contents; // heading -> page number, as the contents give them
    QList<Figure> m_figures;
    QStringList m_unpaired; // pages whose pictures and captions do not pair up
};

void TestUserGuide::initTestCase()
{
    const QString guide = QStringLiteral(LUMETRA_GUIDE);
    QVERIFY2(QFileInfo::exists(guide), qPrintable(guide + " is missing"));
    QFile file(guide);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.read(5), QByteArray("%PDF-"));
    file.close();

    for (const char *tool : {"pdftotext", "pdfimages"})
        if (QStandardPaths::findExecutable(QString::fromLatin1(tool)).isEmpty())
            QSKIP("pdftotext and pdfimages (poppler-utils) are needed to read the guide");
    const QString text = run(QStringLiteral("pdftotext"), {QStringLiteral("-enc"), QStringLiteral("UTF-8"), guide,
                                                           QStringLiteral("-")});
    QVERIFY(!text.isEmpty());
    m_pages = text.split(QLatin1Char('\f'));
    // Every page after the title ends with its footer; a paragraph running
    // over a page break reads on without it.
    static const QRegularExpression footer(
        QStringLiteral("^Lumetra - Guida all'utilizzo del software - pagina \\d+$"),
        QRegularExpression::MultilineOption);
    QString body = text;
    body.remove(footer);
    m_text = normalised(body);

    // The contents, laid out: each entry's title, blanks, its page number.
    const QString layout = run(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), QStringLiteral("-enc"),
                                                             QStringLiteral("UTF-8"), guide, QStringLiteral("-")});
    const QStringList laidOut = layout.split(QLatin1Char('\f'));
    static const QRegularExpression entry(QStringLiteral("^\\s*(\\S.*?)\\s{2,}(\\d+)\\s*$"));
    for (int page = 1; page < laidOut.size(); ++page) {
        bool contentsPage = false;
        for (const QString &line : laidOut.at(page).split(QLatin1Char('\n'))) {
            const QRegularExpressionMatch match = entry.match(line);
            if (match.hasMatch() && !footer.match(line.trimmed()).hasMatch()) {
                m_contents.insert(normalised(match.captured(1)), match.captured(2).toInt());
                contentsPage = true;
            }
        }
        if (!contentsPage)
            break;
    }

    // The pictures, page by page in drawing order; the title page's is not a figure.
    QList<Picture> pictures;
    const QStringList listed = run(QStringLiteral("pdfimages"), {QStringLiteral("-list"), guide})
                                   .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    for (const QString &line : listed.mid(2)) {
        const QStringList f = line.split(QLatin1Char(' '), Qt::SkipEmptyParts);
        QVERIFY2(f.size() >= 14, qPrintable(line));
        if (f.at(2) != QLatin1String("image"))
            continue; // a mask belongs to the picture before it
        const Picture picture{f.at(0).toInt(), QSize(f.at(3).toInt(), f.at(4).toInt()), f.at(12).toDouble(),
                              f.at(13).toDouble()};
        if (picture.page > 1)
            pictures.append(picture);
    }
    // The captions, page by page in reading order; figure and caption share a page.
    static const QRegularExpression caption(QStringLiteral("Figura (\\d+)\\. «([^»]+)»"));
    for (int page = 1; page < m_pages.size(); ++page) {
        QList<Picture> onPage;
        for (const Picture &picture : std::as_const(pictures))
            if (picture.page == page + 1)
                onPage.append(picture);
        QList<QRegularExpressionMatch> captions;
        for (auto it = caption.globalMatch(normalised(m_pages.at(page))); it.hasNext();)
            captions.append(it.next());
        if (captions.size() != onPage.size()) {
            m_unpaired.append(QStringLiteral("page %1: %2 pictures, %3 captions")
                                  .arg(page + 1)
                                  .arg(onPage.size())
                                  .arg(captions.size()));
            continue;
        }
        for (int i = 0; i < captions.size(); ++i)
            m_figures.append({captions.at(i).captured(1).toInt(), page + 1, captions.at(i).captured(2), onPage.at(i)});
    }
}

int TestUserGuide::count(const QString &needle) const
{
    return int(m_text.count(normalised(needle)));
}

void TestUserGuide::titlePage()
{
    QVERIFY(m_pages.size() > 6);
    const QString title = normalised(m_pages.first());
    QVERIFY2(title.contains(QStringLiteral("Lumetra")), qPrintable(title));
    QVERIFY2(title.contains(QStringLiteral("Guida all'utilizzo del software")), qPrintable(title));
    QVERIFY2(normalised(m_pages.at(1)).startsWith(QStringLiteral("Indice")), qPrintable(m_pages.at(1)));
}

void TestUserGuide::helpParagraphsOnce_data()
{
    QTest::addColumn<Topic>("topic");
    QTest::newRow("start menu") << Topic::General;
    QTest::newRow("student window") << Topic::Students;
    QTest::newRow("card window") << Topic::Card;
    QTest::newRow("export window") << Topic::Export;
}

// The guide holds every paragraph the guide window can show, word for word,
// and each of them once: the general text is the three areas' texts between
// paragraphs of its own, and the guide does not repeat them.
void TestUserGuide::helpParagraphsOnce()
{
    QFETCH(Topic, topic);
    const HelpTexts::HelpText help = HelpTexts::text(topic);
    QVERIFY2(m_contents.contains(normalised(help.title)), qPrintable(help.title));
    for (const QString &paragraph : HelpTexts::paragraphs(topic))
        QVERIFY2(count(paragraph) == 1,
                 qPrintable(QStringLiteral("%1 times: %2").arg(count(paragraph)).arg(paragraph.left(80))));
    if (topic != Topic::General) {
        // The area's text as its guide window shows it: the title, then the paragraphs.
        QVERIFY2(m_text.contains(normalised(help.title + QLatin1Char(' ') + help.body)), qPrintable(help.title));
    }
}

void TestUserGuide::contents_data()
{
    QTest::addColumn<QString>("heading");
    // From the first start to a printed class of cards...
    QTest::newRow("login") << "Accesso al programma";
    QTest::newRow("password change") << "Cambiare la password";
    QTest::newRow("start menu") << "Il menu principale";
    QTest::newRow("new student") << "Registrare un nuovo studente";
    QTest::newRow("photo") << "La foto dello studente";
    QTest::newRow("webcam") << "Scattare la foto con la webcam";
    QTest::newRow("tax code and VAT number") << "Controllare il codice fiscale e la partita IVA";
    QTest::newRow("browse and duplicate") << "Modificare, duplicare e scorrere le schede";
    QTest::newRow("attachments") << "Allegare file alla scheda";
    QTest::newRow("school data and logo") << "I dati e il logo della scuola";
    QTest::newRow("student onto the card") << "Portare uno studente sul tesserino";
    QTest::newRow("card preview") << "L'anteprima del tesserino";
    QTest::newRow("card margins") << "Stampare il tesserino e regolare i margini";
    QTest::newRow("class of cards") << "Stampare i tesserini di una classe";
    // ...the other tasks...
    QTest::newRow("search") << "Cercare con i filtri";
    QTest::newRow("printed lists") << "I risultati e l'elenco stampato";
    QTest::newRow("tests register") << "Il registro delle prove";
    QTest::newRow("new test") << "Aggiungere o modificare una prova";
    QTest::newRow("tests summary") << "Stampare il riepilogo";
    QTest::newRow("student sheet") << "La scheda dello studente su carta";
    QTest::newRow("slideshow") << "Lo slide show";
    QTest::newRow("export") << "Creare il file Archivio_Studenti.xls";
    QTest::newRow("statistics") << "Contare gli studenti di un anno scolastico";
    QTest::newRow("statistics printed") << "Stampare le statistiche o portarle in un foglio di calcolo";
    QTest::newRow("backup") << "Salvataggio e copia dei dati";
    // ...what to do when something goes wrong...
    QTest::newRow("export file open") << "Il file di Excel è già aperto";
    QTest::newRow("no camera") << "La webcam non si accende";
    QTest::newRow("card off-centre") << "Il tesserino non esce centrato";
    QTest::newRow("forgotten password") << "Password dimenticata";
    // ...and the help texts.
    QTest::newRow("help texts") << "I testi della guida in linea";
}

// The contents list each part of the guide with the page it starts on.
void TestUserGuide::contents()
{
    QFETCH(QString, heading);
    QVERIFY2(m_contents.contains(heading), qPrintable(QStringList(m_contents.keys()).join(QLatin1String(" | "))));
    const int page = m_contents.value(heading);
    QVERIFY2(page > 2 && page <= m_pages.size(), qPrintable(QString::number(page)));
    const QStringList lines = m_pages.at(page - 1).split(QLatin1Char('\n'));
    bool found = false;
    for (const QString &line : lines)
        found = found || normalised(line) == heading;
    QVERIFY2(found, qPrintable(QStringLiteral("not on page %1").arg(page)));
}

// The windows the guide pictures, by the title their figures name them by.
struct GuideWindow
{
    const char *row;
    QString title;
    Shown shown;
    WindowFactory create; // null: nothing to build, the window fills the screen
};

static QList<GuideWindow> guideWindows()
{
    const Shown dialog = Shown::Dialog, maximised = Shown::Maximised;
    return {
        {"login", "Lumetra - Autenticazione", dialog, [](const AppContext &c) { return new TfrmPassword(c); }},
        {"password change", "Cambia password", dialog,
         [](const AppContext &c) { return new TfrmCambiaPassword(c); }},
        {"start menu", "Lumetra", maximised, [](const AppContext &c) { return new TfrmAvvio(c); }},
        {"student window", "Lumetra - Archivio Studenti", maximised,
         [](const AppContext &c) { return new TfrmStudenti(c); }},
        {"webcam", "Cattura foto con webcam", dialog, [](const AppContext &c) { return new TfrmWebCam(c); }},
        {"codice fiscale", "Controllo codice fiscale", dialog, [](const AppContext &c) { return new TfrmCodFisc(c); }},
        {"partita IVA", "Controllo partita IVA", dialog, [](const AppContext &c) { return new TfrmPartitaIva(c); }},
        {"attachments", "Allega file", dialog, [](const AppContext &c) { return new TfrmAllegaCartella(c); }},
        {"search", "Trova schede studenti in archivio", dialog,
         [](const AppContext &c) { return new TfrmTrovaStudenti(c); }},
        {"tests register", "Riepilogo prove sostenute", dialog,
         [](const AppContext &c) { return new TfrmProve_Sostenute(c); }},
        {"student sheet print", "Stampa scheda", dialog, [](const AppContext &c) { return new TfrmStampaStudenti(c); }},
        {"student sheet preview", "Scheda studente", maximised, WindowFactory()},
        {"slideshow", "Slide show foto studenti", maximised,
         [](const AppContext &c) { return new TfrmSlideshow_Studenti(c); }},
        {"card window", "Lumetra - Stampa Tesserini", maximised, [](const AppContext &c) { return new TfrmTessera(c); }},
        {"school data", "Dati Scuola", dialog, [](const AppContext &c) { return new TfrmDatiEnte(c); }},
        {"card preview", "Tesserino", maximised, WindowFactory()},
        {"card print and margins", "Stampa tesserino", dialog,
         [](const AppContext &c) { return new TfrmStampaTessera(c); }},
        {"import picker", "Importa dati studente da archivio anagrafico", dialog,
         [](const AppContext &c) { return new TfrmImportaStudenti(c); }},
        {"class of cards", "Stampa tesserini", dialog, [](const AppContext &) { return new CardBatchDialog(6); }},
        {"export", "Lumetra - Esportazione in Excel", maximised,
         [](const AppContext &c) { return new TfrmExpStudenti(c); }},
        {"statistics", "Lumetra - Statistiche", maximised,
         [](const AppContext &c) { return new TfrmStatistiche(c); }},
        {"guide window", "Guida all'utilizzo del software", dialog, [](const AppContext &c) { return new TfrmGuida(c); }},
    };
}

void TestUserGuide::figures_data()
{
    QTest::addColumn<QString>("window");
    QTest::addColumn<Shown>("shown");
    QTest::addColumn<WindowFactory>("create");
    for (const GuideWindow &w : guideWindows())
        QTest::newRow(w.row) << w.title << w.shown << w.create;
}

// Each window is pictured whole: a dialog at its own size, a window that
// opens maximised filling the screen the pictures are taken on, which holds
// its whole panel. The picture is drawn with its proportions.
void TestUserGuide::figures()
{
    QFETCH(QString, window);
    QFETCH(Shown, shown);
    QFETCH(WindowFactory, create);

    QSize expected = GuideScreen::size();
    if (create) {
        TestFolder folder;
        folder.platform.screen = GuideScreen::size(); // the slideshow fits its panel to it
        std::unique_ptr<QWidget> built(create(folder.context));
        QCOMPARE(built->windowTitle().trimmed(), window);
        if (shown == Shown::Dialog) {
            QCOMPARE(built->minimumSize(), built->maximumSize()); // fixed size
            expected = built->minimumSize();
        } else if (const QWidget *panel = built->findChild<QWidget *>(QStringLiteral("panContainer"))) {
            const QSize design = panel->size();
            QVERIFY2(design.width() <= expected.width() && design.height() <= expected.height(),
                     qPrintable(QStringLiteral("panel %1 x %2").arg(design.width()).arg(design.height())));
        }
    }

    int shownIn = 0;
    for (const Figure &figure : std::as_const(m_figures)) {
        if (figure.window != window)
            continue;
        ++shownIn;
        const QString where = QStringLiteral("figure %1, page %2").arg(figure.number).arg(figure.page);
        QVERIFY2(figure.picture.size == expected * GuideScreen::kScale,
                 qPrintable(QStringLiteral("%1: %2 x %3 pixels, the window is %4 x %5")
                                .arg(where)
                                .arg(figure.picture.size.width())
                                .arg(figure.picture.size.height())
                                .arg(expected.width())
                                .arg(expected.height())));
        QVERIFY2(qAbs(figure.picture.xPpi - figure.picture.yPpi) <= 0.015 * figure.picture.xPpi,
                 qPrintable(QStringLiteral("%1: stretched, %2 by %3 ppi")
                                .arg(where)
                                .arg(figure.picture.xPpi)
                                .arg(figure.picture.yPpi)));
    }
    QVERIFY2(shownIn > 0, qPrintable(QStringLiteral("no figure shows «%1»").arg(window)));
}

// Figures are numbered in order, each is one picture on its caption's page
// (not drawn twice, not cut in pieces) and names a window the figures test
// compares.
void TestUserGuide::everyFigureIsOneWholeWindow()
{
    QVERIFY2(m_unpaired.isEmpty(), qPrintable(m_unpaired.join(QLatin1String("; "))));
    QVERIFY(!m_figures.isEmpty());
    QStringList windows;
    for (const GuideWindow &w : guideWindows())
        windows.append(w.title);
    for (int i = 0; i < m_figures.size(); ++i) {
        const Figure &figure = m_figures.at(i);
        QCOMPARE(figure.number, i + 1);
        QVERIFY2(windows.contains(figure.window), qPrintable(figure.window));
    }
}

// Every text the guide quotes between « and » is a text of the program, as
// the program writes it: a caption, a button, a message, a question.
void TestUserGuide::quotesAreTheProgramsTexts()
{
    // The program's string literals, those written side by side joined.
    QString literals;
    static const QRegularExpression piece(QStringLiteral("\"((?:[^\"\\\\\\n]|\\\\.)*)\"(\\s*)"));
    QDirIterator sources(QStringLiteral(LUMETRA_SOURCE_DIR), {QStringLiteral("*.cpp"), QStringLiteral("*.h")},
                         QDir::Files, QDirIterator::Subdirectories);
    while (sources.hasNext()) {
        QFile source(sources.next());
        QVERIFY(source.open(QIODevice::ReadOnly));
        const QString code = QString::fromUtf8(source.readAll());
        int joinedUpTo = -1;
        for (auto it = piece.globalMatch(code); it.hasNext();) {
            const QRegularExpressionMatch match = it.next();
            QString text = match.captured(1);
            text.replace(QLatin1String("\\\""), QLatin1String("\""));
            text.replace(QLatin1String("\\n"), QLatin1String("\n"));
            text.replace(QLatin1String("\\r"), QLatin1String("\r"));
            text.replace(QLatin1String("\\\\"), QLatin1String("\\"));
            if (match.capturedStart() != joinedUpTo)
                literals += QLatin1Char('\x1F'); // a new literal
            literals += text;
            joinedUpTo = match.capturedEnd();
        }
    }
    QStringList strangers;
    int quotes = 0;
    static const QRegularExpression quote(QStringLiteral("«([^»]+)»"));
    for (auto it = quote.globalMatch(m_text); it.hasNext(); ++quotes) {
        const QString quoted = it.next().captured(1);
        if (!literals.contains(quoted))
            strangers.append(quoted);
    }
    QVERIFY(quotes > 0);
    strangers.removeDuplicates();
    QVERIFY2(strangers.isEmpty(), qPrintable(strangers.join(QLatin1String(" | "))));
}

QTEST_MAIN(TestUserGuide)
#include "test_userguide.moc"
