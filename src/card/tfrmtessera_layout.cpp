// Building the ID card window: decoration, toolbar, the card mock-up, hints
// and keyboard shortcuts.
#include "tfrmtessera.h"

#include "cardart.h"

#include "base/art/buttonart.h"
#include "base/forms.h"
#include "base/kit.h"
#include "base/widgets.h"
#include "card/cardlogo.h"

#include <QEvent>
#include <QLabel>
#include <QMouseEvent>
#include "base/shortcuts.h"

#include <functional>

namespace {

const QColor kGradientTop(0x46, 0x82, 0xB4); // steel blue
const QColor kContainerTop(0x84, 0xAD, 0xD0);
const QColor kDarkBlue(0x00, 0x00, 0x8B);
const QColor kDarkSlateBlue(0x48, 0x3D, 0x8B);
const QColor kShadow(0xC7, 0xC7, 0xDD);
const QColor kCardBody(0xE0, 0xEB, 0xF1);
const QColor kCardOutline(0xC8, 0xD6, 0xE3);
const QColor kBrown(0xA5, 0x2A, 0x2A);
const QColor kRed(0xC8, 0x10, 0x10);
const QColor kButtonBlue(0x2A, 0x6E, 0xC2);
const QColor kGuideOrange(0xF0, 0x8A, 0x1C);
const QColor kExitRed(0xC6, 0x28, 0x28);

// Makes a label clickable: a left click released over it runs `action`.
class LabelClick : public QObject
{
public:
    LabelClick(QLabel *label, std::function<void()> action) : QObject(label), m_action(std::move(action))
    {
        label->installEventFilter(this);
        label->setCursor(Qt::PointingHandCursor);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() != QEvent::MouseButtonRelease)
            return false;
        const auto *mouse = static_cast<QMouseEvent *>(event);
        const auto *label = static_cast<QWidget *>(watched);
        if (mouse->button() == Qt::LeftButton && label->rect().contains(mouse->position().toPoint()))
            m_action();
        return false;
    }

private:
    std::function<void()> m_action;
};

ShapeRect *solid(const char *name, const QRect &geometry, QWidget *panel, const QColor &fill,
                 const QColor &border = Qt::transparent, int borderWidth = 1)
{
    ShapeRect *shape = Kit::box(QString::fromLatin1(name), geometry, panel, fill, fill, border);
    shape->setBorderWidth(borderWidth);
    return shape;
}

// A decorative picture of its own size.
PictureBox *ornament(const char *name, const QRect &geometry, QWidget *panel, const QImage &art)
{
    PictureBox *picture = Kit::picture(QString::fromLatin1(name), geometry, panel, art);
    picture->setStretch(true);
    picture->setAttribute(Qt::WA_TransparentForMouseEvents);
    return picture;
}

} // namespace

void TfrmTessera::buildLayout()
{
    m_panel = Forms::setupWorkingWindow(this, QStringLiteral(" Lumetra - Stampa Tesserini"), QSize(995, 692),
                                        kGradientTop);
    buildDecoration(m_panel);

    // Hint line.
    solid("shpInfo", QRect(16, 642, 961, 32), m_panel, kDarkBlue);
    m_panInfo = new QLabel(idleHint(), m_panel);
    m_panInfo->setTextFormat(Qt::PlainText);
    m_panInfo->setObjectName(QStringLiteral("panInfo"));
    m_panInfo->setGeometry(22, 650, 950, 18);
    m_panInfo->setAttribute(Qt::WA_TransparentForMouseEvents);
    m_panInfo->setFont(Forms::pointFont(QStringLiteral("Tahoma"), 12));
    m_panInfo->setStyleSheet(QStringLiteral("color: white; background: transparent;"));

    buildCard(m_panel);
    buildToolbar();

    // Over the window, its panel and the background (the shapes let the mouse
    // through to the panel) and over the photo, the hint line is emptied.
    for (QWidget *quiet : {static_cast<QWidget *>(this), m_panel, static_cast<QWidget *>(m_imgFoto)}) {
        quiet->setMouseTracking(true);
        Forms::quietHint(quiet, m_panInfo);
    }
}

void TfrmTessera::buildDecoration(QWidget *panel)
{
    Kit::box(QStringLiteral("shpContainer"), QRect(8, 8, 977, 675), panel, kContainerTop, Qt::white);
    // White tiles behind the toolbar's buttons.
    solid("shpNuovo", QRect(16, 16, 164, 57), panel, Qt::white);
    solid("shpTrova", QRect(184, 16, 164, 57), panel, Qt::white);
    solid("shpAnteprima", QRect(352, 16, 164, 57), panel, Qt::white);
    solid("shpStampa", QRect(520, 16, 164, 57), panel, Qt::white);
    solid("shpRecord", QRect(688, 16, 289, 57), panel, Qt::white);
    solid("shpSfondo", QRect(16, 77, 961, 557), panel, Qt::white);

    ShapeRect *rule01 = Kit::box(QStringLiteral("shpInfo01"), QRect(104, 113, 777, 3), panel, kGradientTop,
                                 kGradientTop);
    rule01->setHorizontalGradient(kGradientTop, Qt::white);
    ShapeRect *rule02 = Kit::box(QStringLiteral("shpInfo02"), QRect(24, 537, 945, 3), panel, kGradientTop,
                                 kGradientTop);
    rule02->setHorizontalGradient(kGradientTop, Qt::white);

    const QSize mark(20, 20);
    ornament("icoDecoro01", QRect(QPoint(78, 94), mark), panel, CardArt::infoMark(mark));
    ornament("icoDecoro02", QRect(QPoint(236, 146), mark), panel, CardArt::infoMark(mark));
    ornament("icoDecoro03", QRect(QPoint(22, 515), mark), panel, CardArt::infoMark(mark));
    ornament("icoInstructions_01", QRect(104, 94, 860, 18), panel,
             CardArt::instructionLine(QStringLiteral("Per richiamare i dati di uno studente dall'archivio, utilizzare "
                                                     "il pulsante Trova o le frecce di scorrimento delle schede."),
                                      QColor(0x1F, 0x3A, 0x60), QSize(860, 18)));
    ornament("icoInstructions_02", QRect(262, 147, 700, 18), panel,
             CardArt::instructionLine(
                 QStringLiteral("Inserire o modificare il logo e i dati della Scuola facendo clic su di essi."), kRed,
                 QSize(700, 18)));
    ornament("icoInstructions_03", QRect(46, 516, 920, 18), panel,
             CardArt::instructionLine(QStringLiteral("Il logo e i dati testuali relativi alla Scuola sono salvati in "
                                                     "automatico all'uscita da questo ambiente di lavoro."),
                                      kRed, QSize(920, 18)));
}

QLabel *TfrmTessera::addLabel(const QString &name, const QRect &geometry, const QFont &font, const QColor &colour,
                              Qt::Alignment alignment)
{
    QLabel *label = Kit::label(name, QString(), geometry.topLeft(), m_panel, font, colour);
    label->setGeometry(geometry);
    label->setAlignment(alignment);
    label->setWordWrap(false);
    // The card's texts are background for the hint line, unless made clickable.
    label->setAttribute(Qt::WA_TransparentForMouseEvents);
    return label;
}

void TfrmTessera::buildCard(QWidget *panel)
{
    solid("shpOmbra", QRect(240, 168, 523, 335), panel, kShadow, kCardOutline);
    solid("shpTessera", QRect(248, 176, 508, 319), panel, kCardBody, kCardOutline);
    solid("shpSfondoTitoli", QRect(256, 184, 493, 65), panel, kDarkBlue);

    // The school's texts: a click opens the school data dialog.
    const QString schoolHint = QStringLiteral("Premi qui per inserire i dati della Scuola.");
    m_titAssociazione = addLabel(QStringLiteral("titAssociazione"), QRect(262, 188, 485, 22),
                                 Forms::verdanaPt(14, true), Qt::white);
    m_titSottotitolo01 = addLabel(QStringLiteral("titSottotitolo01"), QRect(262, 209, 485, 18),
                                  Forms::verdana(12, true), Qt::white);
    m_titSottotitolo02 = addLabel(QStringLiteral("titSottotitolo02"), QRect(262, 226, 485, 18),
                                  Forms::verdana(12, true), Qt::white);

    solid("shpCornice", QRect(256, 260, 148, 184), panel, Qt::white, Qt::white, 2);
    m_imgBianco = Kit::picture(QStringLiteral("imgBianco"), QRect(262, 265, 136, 174), panel, blankPicture());
    m_imgBianco->hide();
    m_imgFoto = Kit::picture(QStringLiteral("imgFoto"), QRect(262, 265, 136, 174), panel, m_imgBianco->image());

    m_txtTesserato = addLabel(QStringLiteral("txtTesserato"), QRect(418, 260, 327, 24), Forms::verdanaPt(16, true),
                              Qt::black);
    m_txtCarica = addLabel(QStringLiteral("txtCarica"), QRect(418, 284, 327, 22), Forms::verdanaPt(14, true),
                           Qt::black);
    m_txtNumTessera = addLabel(QStringLiteral("txtNumTessera"), QRect(418, 315, 191, 22), Forms::verdanaPt(12, true),
                               kBrown);
    Kit::label(QStringLiteral("titDataRil"), QStringLiteral("Data inizio:"), QPoint(418, 344), panel,
               Forms::verdana(12))
        ->setAttribute(Qt::WA_TransparentForMouseEvents);
    solid("shpDataRil", QRect(418, 362, 127, 28), panel, Qt::transparent, kDarkSlateBlue, 2);
    m_txtDataRil = addLabel(QStringLiteral("txtDataRil"), QRect(424, 366, 115, 20), Forms::verdana(13, true),
                            Qt::black, Qt::AlignCenter);
    Kit::label(QStringLiteral("titDataScade"), QStringLiteral("Data fine:"), QPoint(418, 398), panel,
               Forms::verdana(12))
        ->setAttribute(Qt::WA_TransparentForMouseEvents);
    solid("shpDataScade", QRect(418, 416, 127, 28), panel, Qt::transparent, kDarkSlateBlue, 2);
    m_txtDataScade = addLabel(QStringLiteral("txtDataScade"), QRect(424, 420, 115, 20), Forms::verdana(13, true),
                              Qt::black, Qt::AlignCenter);

    solid("shpLogo", QRect(618, 314, 131, 130), panel, Qt::white, Qt::white, 2);
    m_imgBlank = Kit::picture(QStringLiteral("imgBlank"), QRect(624, 320, 119, 118), panel,
                              CardArt::logoPlaceholder());
    m_imgBlank->hide();
    m_imgPuntino = Kit::picture(QStringLiteral("imgPuntino"), QRect(624, 320, 119, 118), panel,
                                CardArt::whitePicture());
    m_imgPuntino->hide();
    // Drawn stretched to its frame, as the next save will store it.
    m_imgLogo = addButton(QStringLiteral("imgLogo"), QRect(624, 320, CardLogo::Width, CardLogo::Height),
                          m_imgBlank->image(), QStringLiteral("Premi qui per caricare il logo della Scuola."),
                          &TfrmTessera::imgLogoClick);

    solid("shpSfondoAnnotazioni", QRect(256, 456, 493, 31), panel, kDarkBlue);
    m_titAnnotazioni = addLabel(QStringLiteral("titAnnotazioni"), QRect(262, 461, 485, 22),
                                Forms::verdanaPt(12, true), Qt::white, Qt::AlignCenter);

    for (QLabel *school : {m_titAssociazione, m_titSottotitolo01, m_titSottotitolo02, m_titAnnotazioni}) {
        school->setAttribute(Qt::WA_TransparentForMouseEvents, false);
        new LabelClick(school, [this] { titAssociazioneClick(); });
        Forms::bindHint(school, m_panInfo, schoolHint);
        // The label's own hint must not be emptied again by the panel beneath.
        school->setAttribute(Qt::WA_NoMousePropagation);
    }

    // The delete icons lie over the corners of the photo and of the logo.
    const QSize mark(22, 22);
    addButton(QStringLiteral("btnCancFoto"), QRect(QPoint(387, 431), mark), CardArt::deleteMark(mark),
              QStringLiteral("Cancella foto."), &TfrmTessera::btnCancFotoClick);
    addButton(QStringLiteral("btnCancLogo"), QRect(QPoint(723, 418), mark), CardArt::deleteMark(mark),
              QStringLiteral("Cancella logo."), &TfrmTessera::btnCancLogoClick);
}

PictureBox *TfrmTessera::addButton(const QString &name, const QRect &geometry, const QImage &art,
                                   const QString &hint, void (TfrmTessera::*handler)())
{
    PictureBox *button = Kit::pictureButton(name, geometry, m_panel, art, m_panInfo, hint);
    connect(button, &PictureBox::clicked, this, handler);
    return button;
}

void TfrmTessera::buildToolbar()
{
    using G = ButtonArt::Glyph;
    using T = TfrmTessera;
    const QSize wide(148, 32);
    struct Wide { const char *name; int x; const char *caption; G glyph; const char *hint; void (T::*handler)(); };
    const Wide wides[] = {
        {"cmdNuovo", 24, "Nuovo", G::New, "Cancella i dati del tesserino.", &T::cmdNuovoClick},
        {"cmdTrova", 192, "Trova", G::Find, "Importa i dati e la foto di uno studente dall'archivio anagrafico.",
         &T::cmdTrovaClick},
        {"cmdAnteprima", 360, "Anteprima", G::Preview, "Visualizza l'anteprima di stampa del tesserino.",
         &T::cmdAnteprimaClick},
        {"cmdStampa", 528, "Stampa", G::Print, "Stampa il tesserino.", &T::cmdStampaClick},
    };
    for (const Wide &w : wides)
        addButton(QString::fromLatin1(w.name), QRect(QPoint(w.x, 26), wide),
                  ButtonArt::wideButton(QString::fromLatin1(w.caption), wide, kButtonBlue, w.glyph),
                  QString::fromUtf8(w.hint), w.handler);

    const QSize arrow(37, 39);
    struct Arrow { const char *name; int x; G glyph; const char *hint; void (T::*handler)(); };
    const Arrow arrows[] = {
        {"cmdPrimo", 696, G::First, "Visualizza la prima scheda in archivio.", &T::cmdPrimoClick},
        {"cmdIndietro", 738, G::Previous, "Visualizza la scheda precedente in archivio.", &T::cmdIndietroClick},
        {"cmdAvanti", 891, G::Next, "Visualizza la scheda successiva in archivio.", &T::cmdAvantiClick},
        {"cmdUltimo", 933, G::Last, "Visualizza l'ultima scheda in archivio.", &T::cmdUltimoClick},
    };
    for (const Arrow &a : arrows)
        addButton(QString::fromLatin1(a.name), QRect(QPoint(a.x, 26), arrow), ButtonArt::icon(a.glyph, arrow),
                  QString::fromUtf8(a.hint), a.handler);

    m_lblPosizione = addLabel(QStringLiteral("lblPosizione"), QRect(776, 32, 113, 24), Forms::verdana(16, true),
                              Qt::black, Qt::AlignCenter);

    const QSize big(197, 40);
    addButton(QStringLiteral("imgGuida"), QRect(QPoint(34, 574), big),
              ButtonArt::wideButton(QStringLiteral("Guida"), big, kGuideOrange, G::Help),
              QStringLiteral("Visualizza la guida in linea."), &T::imgGuidaClick);
    addButton(QStringLiteral("imgEsci"), QRect(QPoint(762, 574), big),
              ButtonArt::wideButton(QStringLiteral("Esci"), big, kExitRed, G::Exit),
              QStringLiteral("Esci da questa schermata di lavoro."), &T::imgEsciClick);
}

void TfrmTessera::buildShortcuts()
{
    Shortcuts::bindToolbar(this);
}
