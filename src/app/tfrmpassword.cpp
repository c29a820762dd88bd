#include "tfrmpassword.h"

#include "base/forms.h"
#include "settings/passwordcipher.h"
#include "base/platform.h"
#include "base/widgets.h"
#include "archive/fieldcodec.h"

#include <QApplication>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>

namespace {

const QColor kSteelBlue(0x46, 0x82, 0xB4);

QPushButton *makeButton(const QString &name, const QString &text, const QRect &geometry,
                        QWidget *parent)
{
    auto *button = new QPushButton(text, parent);
    button->setObjectName(name);
    button->setGeometry(geometry);
    button->setCursor(Qt::PointingHandCursor);
    return button;
}

} // namespace

QImage drawPadlockPicture(const QSize &size, const QString &heading, const QStringList &lines)
{
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);

    // Padlock: a steel shackle over a golden body with a keyhole.
    const qreal h = size.height();
    const QRectF body(10, h * 0.42, 86, h * 0.48);
    QPen shackle(QColor(0x8A, 0x95, 0xA3), 11, Qt::SolidLine, Qt::FlatCap);
    p.setPen(shackle);
    p.setBrush(Qt::NoBrush);
    QPainterPath arc;
    const qreal left = body.left() + 17, right = body.right() - 17;
    arc.moveTo(left, body.top() + 2);
    arc.lineTo(left, body.top() - h * 0.14);
    arc.arcTo(QRectF(left, body.top() - h * 0.14 - (right - left) / 2, right - left, right - left),
              180, -180);
    arc.lineTo(right, body.top() + 2);
    p.drawPath(arc);
    p.setPen(QPen(QColor(0xCF, 0xD6, 0xDE), 3, Qt::SolidLine, Qt::FlatCap));
    p.drawPath(arc);

    QLinearGradient gold(body.topLeft(), body.bottomRight());
    gold.setColorAt(0, QColor(0xFF, 0xE0, 0x7A));
    gold.setColorAt(0.5, QColor(0xF2, 0xB8, 0x2E));
    gold.setColorAt(1, QColor(0xC0, 0x86, 0x10));
    p.setPen(QPen(QColor(0x9A, 0x6A, 0x08), 1.5));
    p.setBrush(gold);
    p.drawRoundedRect(body, 9, 9);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x4A, 0x33, 0x05));
    const QPointF hole(body.center().x(), body.center().y() - 6);
    p.drawEllipse(hole, 7, 7);
    QPainterPath slot;
    slot.moveTo(hole.x() - 4, hole.y() + 3);
    slot.lineTo(hole.x() + 4, hole.y() + 3);
    slot.lineTo(hole.x() + 2.5, hole.y() + 20);
    slot.lineTo(hole.x() - 2.5, hole.y() + 20);
    slot.closeSubpath();
    p.drawPath(slot);

    // Heading and lines on the right.
    const int textLeft = 112;
    const QRect textArea(textLeft, 4, size.width() - textLeft - 4, size.height() - 8);
    QFont headingFont(QStringLiteral("Verdana"));
    headingFont.setPixelSize(22);
    headingFont.setBold(true);
    QFont bodyFont(QStringLiteral("Verdana"));
    bodyFont.setPixelSize(11);

    const QFontMetrics hm(headingFont);
    const QFontMetrics bm(bodyFont);
    int textHeight = hm.height() + 6;
    QList<QRect> bounds;
    for (const QString &line : lines) {
        const QRect r = bm.boundingRect(QRect(0, 0, textArea.width(), 1000), Qt::TextWordWrap, line);
        bounds.append(r);
        textHeight += r.height() + 5;
    }
    int y = textArea.top() + qMax(0, (textArea.height() - textHeight) / 2);
    p.setFont(headingFont);
    p.setPen(QColor(0x1F, 0x3F, 0x66));
    p.drawText(QRect(textArea.left(), y, textArea.width(), hm.height()), Qt::AlignLeft, heading);
    y += hm.height() + 6;
    p.setFont(bodyFont);
    p.setPen(QColor(0x10, 0x20, 0x30));
    for (int i = 0; i < lines.size(); ++i) {
        p.drawText(QRect(textArea.left(), y, textArea.width(), bounds[i].height()),
                   Qt::TextWordWrap, lines[i]);
        y += bounds[i].height() + 5;
    }
    return image;
}

TfrmPassword::TfrmPassword(const AppContext &context, QWidget *parent)
    : QWidget(parent), m_context(context)
{
    setObjectName(QStringLiteral("frmPassword"));
    QWidget *panel = Forms::setupDialog(this, QStringLiteral(" Lumetra - Autenticazione"),
                                        QSize(388, 405), QSize(360, 378));

    auto *shpSfondo = new ShapeRect(QStringLiteral("shpSfondo"), QRect(8, 8, 344, 265), panel);
    shpSfondo->setGradient(kSteelBlue, Qt::white);
    shpSfondo->setBorder(Qt::white);
    auto *shpTitolo = new ShapeRect(QStringLiteral("shpTitolo"), QRect(16, 184, 328, 81), panel);
    shpTitolo->setGradient(QColor(0x7D, 0xA9, 0xCD), Qt::white);
    shpTitolo->setBorder(Qt::white);

    auto *imgLogo = new PictureBox(QStringLiteral("imgLogo"), QRect(16, 16, 328, 160), panel);
    imgLogo->setImage(drawPadlockPicture(
        imgLogo->size(), QStringLiteral("Password"),
        {QStringLiteral("Proteggi l'accesso al programma con una password di tua scelta."),
         QStringLiteral("Per il primo accesso la password è \"pergolatovesca\" (da digitare "
                        "senza virgolette).")}));

    QFont verdana(QStringLiteral("Verdana"));
    verdana.setPointSize(9);
    auto *lblRigo05 = new QLabel(QStringLiteral("Immetti la password e premi OK."), panel);
    lblRigo05->setObjectName(QStringLiteral("lblRigo05"));
    lblRigo05->setFont(verdana);
    lblRigo05->move(36, 200);
    lblRigo05->adjustSize();

    m_txtPassword = new QLineEdit(panel);
    m_txtPassword->setObjectName(QStringLiteral("txtPassword"));
    m_txtPassword->setGeometry(36, 222, 230, 22);
    QFont editFont(QStringLiteral("Verdana"));
    editFont.setPointSize(14);
    editFont.setBold(true);
    m_txtPassword->setFont(editFont);
    m_txtPassword->setEchoMode(QLineEdit::Password);
    m_txtPassword->setTextMargins(0, 0, 0, 0);
    new FrameHighlight(QStringLiteral("effPassword"), m_txtPassword);

    m_cmdOK = makeButton(QStringLiteral("cmdOK"), QStringLiteral("OK"), QRect(280, 216, 49, 33), panel);
    m_cmdOK->setEnabled(false);
    auto *cmdEsci = makeButton(QStringLiteral("cmdEsci"), QStringLiteral("Esci"),
                               QRect(8, 338, 146, 32), panel);
    auto *btnCambiaPassword = makeButton(QStringLiteral("btnCambiaPassword"),
                                         QStringLiteral("Cambia password"), QRect(205, 338, 146, 32), panel);

    QWidget::setTabOrder(m_txtPassword, m_cmdOK);
    QWidget::setTabOrder(m_cmdOK, cmdEsci);
    QWidget::setTabOrder(cmdEsci, btnCambiaPassword);

    connect(m_txtPassword, &QLineEdit::textChanged, this, &TfrmPassword::txtPasswordChange);
    m_txtPassword->installEventFilter(this);
    connect(m_cmdOK, &QPushButton::clicked, this, &TfrmPassword::cmdOKClick);
    connect(cmdEsci, &QPushButton::clicked, this, &TfrmPassword::cmdEsciClick);
    connect(btnCambiaPassword, &QPushButton::clicked, this, &TfrmPassword::btnCambiaPasswordClick);

    Forms::centre(this);
}

void TfrmPassword::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    m_txtPassword->setFocus();
}

bool TfrmPassword::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_txtPassword && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            if (!FieldCodec::trimControls(m_txtPassword->text()).isEmpty())
                cmdOKClick();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void TfrmPassword::txtPasswordChange()
{
    m_cmdOK->setEnabled(!FieldCodec::trimControls(m_txtPassword->text()).isEmpty());
}

void TfrmPassword::cmdOKClick()
{
    QString stored;
    if (!PasswordStore::readPassword(m_context.folder, &stored)) {
        m_context.platform->notice(
            this, QStringLiteral("Attenzione: si è verificato un errore durante la procedura di "
                                 "lettura della password. Si consiglia di reinstallare il software."));
        return;
    }
    const QString typed = PasswordStore::normalise(m_txtPassword->text());
    // An empty store matches nothing: a missing store never opens the program.
    if (!stored.isEmpty() && stored == typed) {
        emit loginAccepted();
        hide();
        return;
    }
    m_context.platform->notice(this, QStringLiteral("Attenzione: password errata."));
    m_txtPassword->clear();
    m_txtPassword->setFocus();
}

void TfrmPassword::cmdEsciClick()
{
    close();
    QApplication::quit();
}

void TfrmPassword::btnCambiaPasswordClick()
{
    emit changeRequested();
    hide();
}

void TfrmPassword::showAfterChange()
{
    m_txtPassword->clear();
    show();
    activateWindow();
    m_txtPassword->setFocus();
}
