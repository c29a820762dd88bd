#include "tfrmpassword.h"

#include "base/art/passwordart.h"
#include "base/kit.h"

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

} // namespace

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

    const QFont verdana = Forms::verdanaPt(9);
    auto *lblRigo05 = new QLabel(QStringLiteral("Immetti la password e premi OK."), panel);
    lblRigo05->setTextFormat(Qt::PlainText);
    lblRigo05->setObjectName(QStringLiteral("lblRigo05"));
    lblRigo05->setFont(verdana);
    lblRigo05->move(36, 200);
    lblRigo05->adjustSize();

    m_txtPassword = new QLineEdit(panel);
    m_txtPassword->setObjectName(QStringLiteral("txtPassword"));
    m_txtPassword->setGeometry(36, 222, 230, 22);
    m_txtPassword->setFont(Forms::verdanaPt(14, true));
    m_txtPassword->setEchoMode(QLineEdit::Password);
    m_txtPassword->setTextMargins(0, 0, 0, 0);
    new FrameHighlight(QStringLiteral("effPassword"), m_txtPassword);

    m_cmdOK = Kit::button(QStringLiteral("cmdOK"), QStringLiteral("OK"), QRect(280, 216, 49, 33), panel, panel->font());
    m_cmdOK->setEnabled(false);
    auto *cmdEsci = Kit::button(QStringLiteral("cmdEsci"), QStringLiteral("Esci"),
                               QRect(8, 338, 146, 32), panel, panel->font());
    auto *btnCambiaPassword = Kit::button(QStringLiteral("btnCambiaPassword"),
                                         QStringLiteral("Cambia password"), QRect(205, 338, 146, 32), panel, panel->font());

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
