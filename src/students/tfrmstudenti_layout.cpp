// Building the student window: shapes, edits, labels, buttons and hints.
#include "tfrmstudenti.h"

#include "studentform.h"

#include "base/art/buttonart.h"
#include "base/forms.h"
#include "base/kit.h"
#include "base/widgets.h"

#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

const QColor kGradientTop(0x42, 0x7A, 0xA8);
const QColor kSection(0xC8, 0xD6, 0xE3);
const QColor kPhotoFrame(0xE0, 0xE9, 0xF1);
const QColor kInfoBar(0x30, 0x30, 0xDD);
const QColor kSteelBlue(0x46, 0x82, 0xB4);
const QColor kBrown(0xA5, 0x2A, 0x2A);
const QColor kOrange(0xF0, 0x8A, 0x1C);

ShapeRect *shape(QWidget *panel, const char *name, const QRect &geometry, const QColor &fill)
{
    auto *s = new ShapeRect(QString::fromLatin1(name), geometry, panel);
    s->setFill(fill);
    return s;
}

} // namespace

QString TfrmStudenti::idleHint()
{
    return QStringLiteral("Pronto per archiviare una nuova scheda...");
}

void TfrmStudenti::buildLayout()
{
    m_panel = Forms::setupWorkingWindow(this, QStringLiteral(" Lumetra - Archivio Studenti"),
                                        QSize(996, 692), kGradientTop);
    QWidget *panel = m_panel;

    // Background shapes, back to front.
    auto *container = new ShapeRect(QStringLiteral("shpContainer"), QRect(8, 8, 978, 675), panel);
    container->setGradient(kGradientTop, Qt::white);
    QList<QWidget *> quiet{this, panel, container};
    quiet << shape(panel, "shpNuovo", QRect(16, 16, 210, 57), Qt::white)
          << shape(panel, "shpStampa", QRect(231, 16, 162, 57), Qt::white)
          << shape(panel, "shpAnteprima", QRect(398, 16, 162, 57), Qt::white)
          << shape(panel, "shpRecord", QRect(565, 16, 260, 57), Qt::white)
          << shape(panel, "shpRiepiloghi", QRect(831, 16, 50, 57), Qt::white)
          << shape(panel, "shpEsci", QRect(886, 16, 92, 57), Qt::white)
          << shape(panel, "shpSezione01", QRect(16, 80, 962, 554), kSection)
          << shape(panel, "shpSfondo", QRect(24, 88, 946, 538), Qt::white)
          << shape(panel, "shpFoto", QRect(30, 94, 324, 410), kPhotoFrame)
          << shape(panel, "bkgPulsantiFoto", QRect(30, 515, 324, 56), kPhotoFrame);

    auto *heading = new PictureBox(QStringLiteral("icoIntestazione"), QRect(364, 94, 600, 32), panel);
    heading->setStretch(true);
    heading->setImage(ButtonArt::headingBar(QStringLiteral("SCHEDA STUDENTE"), heading->size()));
    auto *separator = new ShapeRect(QStringLiteral("linSepara"), QRect(364, 132, 600, 6), panel);
    separator->setHorizontalGradient(kSteelBlue, Qt::white);

    // The photo and, hidden in the same place, the blank silhouette.
    m_imgBianco = new PictureBox(QStringLiteral("imgBianco"), QRect(38, 102, 307, 394), panel);
    m_imgBianco->setImage(blankPicture());
    m_imgBianco->hide();
    m_imgFoto = new PictureBox(QStringLiteral("imgFoto"), QRect(38, 102, 307, 394), panel);
    m_imgFoto->setImage(m_imgBianco->image());
    quiet << m_imgFoto;

    // Hint line.
    auto *info = shape(panel, "shpInfo", QRect(16, 642, 962, 32), kInfoBar);
    info->setAttribute(Qt::WA_TransparentForMouseEvents);
    m_panInfo = new QLabel(idleHint(), panel);
    m_panInfo->setTextFormat(Qt::PlainText);
    m_panInfo->setObjectName(QStringLiteral("panInfo"));
    m_panInfo->setGeometry(22, 650, 950, 18);
    m_panInfo->setAttribute(Qt::WA_TransparentForMouseEvents);
    m_panInfo->setFont(Forms::pointFont(QStringLiteral("Tahoma"), 12));
    m_panInfo->setStyleSheet(QStringLiteral("color: white; background: transparent;"));
    for (QWidget *w : quiet) {
        w->setMouseTracking(true);
        Forms::quietHint(w, m_panInfo);
    }

    buildEdits();
    buildButtons();
}

void TfrmStudenti::buildEdits()
{
    const QFont editFont = Forms::verdanaPt(12, true);
    QFont captionFont(QStringLiteral("Verdana"));
    captionFont.setPixelSize(12);

    QList<QWidget *> chain;
    for (const StudentForm::EditSpec &item : StudentForm::edits()) {
        auto *caption = new QLabel(QString::fromUtf8(item.caption), m_panel);
        caption->setTextFormat(Qt::PlainText);
        caption->setObjectName(QString::fromLatin1(item.captionName));
        caption->setGeometry(item.x, item.y - 18, item.width + 6, 17);
        caption->setFont(captionFont);
        caption->setStyleSheet(item.brownCaption ? QStringLiteral("color: #A52A2A;")
                                                 : QStringLiteral("color: black;"));

        auto *e = new QLineEdit(m_panel);
        e->setObjectName(StudentRecord::controlName(item.field));
        e->setGeometry(item.x, item.y, item.width, 22);
        e->setFont(editFont);
        e->setMaxLength(StudentRecord::layout()[item.field].capacity);
        m_edits[item.field] = e;
        chain << e;
    }
    edit(StudentRecord::Sesso)->setAlignment(Qt::AlignCenter);

    // Tab order is the order of the table, and so is the Enter key's.
    for (int i = 1; i < chain.size(); ++i)
        setTabOrder(chain[i - 1], chain[i]);
    Forms::setEnterChain(chain, chain.first());
    Forms::installStyleHighlight(m_panel);

    for (int i = 0; i < 6; ++i) {
        auto *label = new QLabel(m_panel);
        label->setTextFormat(Qt::PlainText);
        label->setObjectName(StudentRecord::controlName(StudentRecord::Field(StudentRecord::File01 + i)));
        label->hide();
        m_attachments[i] = label;
    }

    m_lblPosizione = new QLabel(m_panel);
    m_lblPosizione->setTextFormat(Qt::PlainText);
    m_lblPosizione->setObjectName(QStringLiteral("lblPosizione"));
    m_lblPosizione->setGeometry(649, 34, 91, 24);
    m_lblPosizione->setAlignment(Qt::AlignCenter);
    QFont positionFont(QStringLiteral("Verdana"));
    positionFont.setPixelSize(16);
    positionFont.setBold(true);
    m_lblPosizione->setFont(positionFont);
}

PictureBox *TfrmStudenti::addButton(const QString &name, const QRect &geometry, const QImage &art,
                                    const QString &hint, void (TfrmStudenti::*handler)())
{
    PictureBox *button = Kit::pictureButton(name, geometry, m_panel, art, m_panInfo, hint);
    connect(button, &PictureBox::clicked, this, handler);
    return button;
}

void TfrmStudenti::buildButtons()
{
    using G = ButtonArt::Glyph;
    using T = TfrmStudenti;
    const QSize tool(37, 39);
    struct Tool { const char *name; int x; G glyph; const char *hint; void (T::*handler)(); };
    const Tool tools[] = {
        {"cmdNuovo", 24, G::New, "Prepara la schermata per l'inserimento di una nuova scheda.", &T::cmdNuovoClick},
        {"cmdDuplica", 64, G::Duplicate, "Prepara la schermata per l'inserimento di una nuova scheda duplicando i dati correnti.", &T::cmdDuplicaClick},
        {"cmdSalva", 104, G::Save, "Salva la scheda in archivio.", &T::cmdSalvaClick},
        {"cmdTrova", 144, G::Find, "Trova una scheda in archivio.", &T::cmdTrovaClick},
        {"cmdFile", 184, G::Attach, "Allega file alla scheda.", &T::cmdFileClick},
        {"cmdPrimo", 572, G::First, "Visualizza la prima scheda in archivio.", &T::cmdPrimoClick},
        {"cmdIndietro", 614, G::Previous, "Visualizza la scheda precedente in archivio.", &T::cmdIndietroClick},
        {"cmdAvanti", 740, G::Next, "Visualizza la scheda successiva in archivio.", &T::cmdAvantiClick},
        {"cmdUltimo", 782, G::Last, "Visualizza l'ultima scheda in archivio.", &T::cmdUltimoClick},
        {"cmdSlideshow", 838, G::Slideshow, "Esegui lo slide show.", &T::cmdSlideshowClick},
        {"cmdGuida", 894, G::Help, "Visualizza la guida in linea.", &T::cmdGuidaClick},
        {"cmdEsci", 936, G::Exit, "Esci da questa schermata di lavoro.", &T::cmdEsciClick},
    };
    for (const Tool &t : tools)
        addButton(QString::fromLatin1(t.name), QRect(QPoint(t.x, 26), tool), ButtonArt::icon(t.glyph, tool),
                  QString::fromUtf8(t.hint), t.handler);

    const QColor blue(0x2A, 0x6E, 0xC2);
    addButton(QStringLiteral("cmdAnteprima"), QRect(238, 28, 148, 32),
              ButtonArt::wideButton(QStringLiteral("Anteprima"), QSize(148, 32), blue, G::Preview),
              QStringLiteral("Visualizza l'anteprima di stampa della scheda."), &T::cmdAnteprimaClick);
    addButton(QStringLiteral("cmdStampa"), QRect(405, 28, 148, 32),
              ButtonArt::wideButton(QStringLiteral("Stampa"), QSize(148, 32), blue, G::Print),
              QStringLiteral("Stampa la scheda."), &T::cmdStampaClick);

    // Photo buttons under the photo.
    addButton(QStringLiteral("btnCaricaFoto"), QRect(38, 523, 108, 40),
              ButtonArt::wideButton(QStringLiteral("Carica"), QSize(108, 40), blue, G::Folder),
              QStringLiteral("Carica una foto esistente."), &T::btnCaricaFotoClick);
    const QSize photo(42, 40);
    struct Photo { const char *name; int x; G glyph; const char *hint; void (T::*handler)(); };
    const Photo photos[] = {
        {"btnWebcam", 154, G::Webcam, "Cattura la foto con una webcam.", &T::btnWebcamClick},
        {"btnSalvaFoto", 204, G::SavePhoto, "Salva la foto su disco.", &T::btnSalvaFotoClick},
        {"btnCancFoto", 254, G::DeletePhoto, "Cancella la foto.", &T::btnCancFotoClick},
        {"btnZoomFoto", 304, G::Zoom, "Visualizza la foto nelle sue dimensioni reali.", &T::btnZoomFotoClick},
    };
    for (const Photo &b : photos)
        addButton(QString::fromLatin1(b.name), QRect(QPoint(b.x, 523), photo), ButtonArt::icon(b.glyph, photo),
                  QString::fromUtf8(b.hint), b.handler);

    // Field buttons.
    addButton(QStringLiteral("btnCodFisc"), QRect(582, 308, 22, 22), ButtonArt::icon(G::Check, QSize(22, 22)),
              QStringLiteral("Controlla il codice fiscale."), &T::btnCodFiscClick);
    addButton(QStringLiteral("btnEmail"), QRect(582, 404, 22, 22), ButtonArt::icon(G::Email, QSize(22, 22)),
              QStringLiteral("Invia una e-mail all'indirizzo indicato."), &T::btnEmailClick);
    addButton(QStringLiteral("btnProve"), QRect(766, 580, 197, 40),
              ButtonArt::wideButton(QStringLiteral("Prove sostenute"), QSize(197, 40), kOrange, G::Tests),
              QStringLiteral("Registra le prove sostenute dallo studente."), &T::btnProveClick);

    // The save's focus target: present and focusable, but draws nothing. It
    // stays out of the Tab chain, so Tab from the notes goes back to the name
    // instead of to a control nobody can see.
    m_btnFocus = new QPushButton(m_panel);
    m_btnFocus->setObjectName(QStringLiteral("btnFocus"));
    m_btnFocus->setGeometry(536, 648, 1, 1);
    m_btnFocus->setFlat(true);
    m_btnFocus->setFocusPolicy(Qt::ClickFocus);
    m_btnFocus->setStyleSheet(QStringLiteral("QPushButton { border: none; background: transparent; }"));
    connect(m_btnFocus, &QPushButton::clicked, this, &TfrmStudenti::btnFocusClick);
}
