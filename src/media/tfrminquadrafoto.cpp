#include "tfrminquadrafoto.h"

#include "framingview.h"

#include "base/forms.h"
#include "base/kit.h"
#include "base/shortcuts.h"
#include "base/widgets.h"
#include "photo/facefinder.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QShowEvent>

namespace {

const QColor kBackground(0x4F, 0x73, 0x97);
const QColor kPanel(0xF4, 0xF6, 0xF8);
const QColor kPanelBottom(0xDC, 0xE2, 0xE8);
const QColor kPanelBorder(0x2E, 0x4A, 0x66);
// Half the student window's photo frame.
const QSize kPreview(154, 197);
// The preview is cut from a copy this large at most: moving the frame over a
// 12-megapixel picture must keep up with the mouse.
const QSize kPreviewSource(1600, 1600);

QLabel *wrappedLabel(const QString &name, const QString &text, const QRect &geometry, QWidget *parent,
                     const QFont &font, const QColor &colour)
{
    QLabel *label = Kit::label(name, text, geometry.topLeft(), parent, font, colour);
    label->setWordWrap(true);
    label->setGeometry(geometry);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return label;
}

} // namespace

TfrmInquadraFoto::TfrmInquadraFoto(const AppContext &context, QWidget *parent) : QDialog(parent), m_context(context)
{
    setObjectName(QStringLiteral("frmInquadraFoto"));
    Forms::applyDataFormats();
    Forms::setupDialog(this, QStringLiteral(" Inquadra la foto"), QSize(900, 600), QSize(), kBackground, Qt::white);

    auto *panel = Kit::box(QStringLiteral("panInquadratura"), QRect(16, 16, 580, 568), this, kPanel, kPanelBottom,
                           kPanelBorder);
    panel->setAttribute(Qt::WA_TransparentForMouseEvents, false);
    m_view = new FramingView(QStringLiteral("imgInquadratura"), QRect(8, 8, 564, 552), panel);

    Kit::label(QStringLiteral("lblAnteprima"), QStringLiteral("Anteprima della foto"), QPoint(612, 16), this,
               Forms::verdanaPt(10, true), Qt::white);
    auto *previewPanel = Kit::box(QStringLiteral("panAnteprima"),
                                  QRect(QPoint(612 + (272 - kPreview.width() - 16) / 2, 42),
                                        kPreview + QSize(16, 16)),
                                  this, kPanel, kPanelBottom, kPanelBorder);
    m_preview = Kit::picture(QStringLiteral("imgAnteprima"), QRect(QPoint(8, 8), kPreview), previewPanel);

    m_lblVolto = wrappedLabel(QStringLiteral("lblVolto"), QString(), QRect(612, 264, 272, 40), this,
                              Forms::verdanaPt(9, true), QColor(0x1F, 0x3A, 0x56));

    const QFont buttonFont = Forms::verdanaPt(10, true);
    auto *sinistra = Kit::button(QStringLiteral("btnRuotaSinistra"), QStringLiteral("Ruota a sinistra"),
                                 QRect(612, 310, 132, 34), this, Forms::verdanaPt(9, true));
    auto *destra = Kit::button(QStringLiteral("btnRuotaDestra"), QStringLiteral("Ruota a destra"),
                               QRect(752, 310, 132, 34), this, Forms::verdanaPt(9, true));
    wrappedLabel(QStringLiteral("lblIstruzioni"),
                 QStringLiteral("Trascinare il riquadro per spostarlo, un suo angolo per ridimensionarlo. "
                                "La rotellina del mouse avvicina o allontana l'inquadratura; i tasti + e − "
                                "ingrandiscono o riducono il riquadro, le frecce lo spostano."),
                 QRect(612, 354, 272, 110), this, Forms::verdanaPt(9), QColor(0x1F, 0x3A, 0x56));
    auto *applica = Kit::button(QStringLiteral("btnApplica"), QStringLiteral("Applica"), QRect(612, 470, 272, 34),
                                this, buttonFont);
    auto *intera = Kit::button(QStringLiteral("btnIntera"), QStringLiteral("Usa foto intera"),
                               QRect(612, 510, 272, 34), this, buttonFont);
    auto *annulla = Kit::button(QStringLiteral("btnAnnulla"), QStringLiteral("Annulla"), QRect(612, 550, 272, 34),
                                this, buttonFont);

    applica->setToolTip(QStringLiteral("Usa la parte della foto dentro il riquadro (Invio)."));
    intera->setToolTip(QStringLiteral("Usa la foto intera, senza ritagliarla (Ctrl+I)."));
    annulla->setToolTip(QStringLiteral("Chiude senza cambiare la foto della scheda (Esc)."));
    sinistra->setToolTip(QStringLiteral("Ruota la foto di 90 gradi in senso antiorario (Ctrl+Freccia sinistra)."));
    destra->setToolTip(QStringLiteral("Ruota la foto di 90 gradi in senso orario (Ctrl+Freccia destra)."));
    Shortcuts::bind(this, QStringLiteral("btnIntera"), QKeySequence(Qt::CTRL | Qt::Key_I));
    Shortcuts::bind(this, QStringLiteral("btnRuotaSinistra"), QKeySequence(Qt::CTRL | Qt::Key_Left));
    Shortcuts::bind(this, QStringLiteral("btnRuotaDestra"), QKeySequence(Qt::CTRL | Qt::Key_Right));

    const QList<QWidget *> order{m_view, sinistra, destra, applica, intera, annulla};
    for (int i = 1; i < order.size(); ++i) {
        Kit::pressOnEnter(static_cast<QPushButton *>(order[i]));
        setTabOrder(order[i - 1], order[i]);
    }
    connect(applica, &QPushButton::clicked, this, &TfrmInquadraFoto::btnApplicaClick);
    connect(intera, &QPushButton::clicked, this, &TfrmInquadraFoto::btnInteraClick);
    connect(annulla, &QPushButton::clicked, this, &TfrmInquadraFoto::btnAnnullaClick);
    connect(sinistra, &QPushButton::clicked, this, &TfrmInquadraFoto::btnRuotaSinistraClick);
    connect(destra, &QPushButton::clicked, this, &TfrmInquadraFoto::btnRuotaDestraClick);
    connect(m_view, &FramingView::frameChanged, this, &TfrmInquadraFoto::showPreview);
    connect(m_view, &FramingView::applyRequested, this, &TfrmInquadraFoto::btnApplicaClick);

    // Installed after the dialogs' own filter, so it sees Escape first: here
    // Escape cancels, as the operator expects of a framing step.
    installEventFilter(this);
}

void TfrmInquadraFoto::setPicture(const QImage &picture)
{
    m_original = picture;
    m_turns = 0;
    m_picture = picture;
    propose();
}

QRect TfrmInquadraFoto::frame() const
{
    return m_view->frame();
}

void TfrmInquadraFoto::propose()
{
    m_proposal = PhotoFramer().propose(m_picture);
    m_previewSource = FaceFinder::reduced(m_picture, kPreviewSource);
    m_lblVolto->setText(m_proposal.hasFace()
                            ? QStringLiteral("Riquadro proposto intorno al volto.")
                            : QStringLiteral("Nessun volto riconosciuto: riquadro al centro della foto."));
    m_view->setPicture(m_picture, m_proposal.frame);
}

void TfrmInquadraFoto::showPreview(const QRect &frame)
{
    if (m_previewSource.isNull() || m_picture.isNull())
        return;
    const double scale = double(m_previewSource.width()) / m_picture.width();
    const QRect part = QRectF(frame.x() * scale, frame.y() * scale, frame.width() * scale, frame.height() * scale)
                           .toRect()
                           .intersected(m_previewSource.rect());
    m_preview->setImage(m_previewSource.copy(part));
}

void TfrmInquadraFoto::turn(int quarterTurns)
{
    m_turns = (m_turns + quarterTurns + 4) % 4;
    m_picture = PhotoFraming::turned(m_original, m_turns);
    // A picture turned upright may show a face the sideways one hid.
    propose();
}

void TfrmInquadraFoto::btnRuotaSinistraClick()
{
    turn(-1);
}

void TfrmInquadraFoto::btnRuotaDestraClick()
{
    turn(1);
}

void TfrmInquadraFoto::btnApplicaClick()
{
    m_photo = PhotoFraming::cut(m_picture, m_view->frame());
    m_choice = Choice::Framed;
    accept();
}

void TfrmInquadraFoto::btnInteraClick()
{
    m_photo = m_picture;
    m_choice = Choice::Whole;
    accept();
}

void TfrmInquadraFoto::btnAnnullaClick()
{
    m_photo = QImage();
    m_choice = Choice::Cancelled;
    reject();
}

void TfrmInquadraFoto::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous()) {
        Forms::centre(this, parentWidget());
        m_view->setFocus(Qt::OtherFocusReason);
    }
}

bool TfrmInquadraFoto::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == this && event->type() == QEvent::KeyPress) {
        auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() == Qt::Key_Escape) {
            btnAnnullaClick();
            return true;
        }
        // Keys the focused button leaves alone still move and resize the
        // frame, wherever the focus is.
        switch (key->key()) {
        case Qt::Key_Left:
        case Qt::Key_Right:
        case Qt::Key_Up:
        case Qt::Key_Down:
        case Qt::Key_Plus:
        case Qt::Key_Equal:
        case Qt::Key_Minus:
            if (!(key->modifiers() & Qt::ControlModifier)) {
                QKeyEvent copy(key->type(), key->key(), key->modifiers(), key->text());
                QCoreApplication::sendEvent(m_view, &copy);
                return true;
            }
            break;
        default:
            break;
        }
    }
    return QDialog::eventFilter(watched, event);
}

std::optional<QImage> TfrmInquadraFoto::choose(const AppContext &context, QWidget *parent, const QImage &picture)
{
    TfrmInquadraFoto dialog(context, parent);
    dialog.setPicture(picture);
    if (dialog.exec() != QDialog::Accepted || dialog.photo().isNull())
        return std::nullopt;
    return dialog.photo();
}
