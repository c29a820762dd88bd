#include "tfrmcodfisc.h"

#include "app/forms.h"
#include "app/platform.h"
#include "app/widgets.h"
#include "archive/fieldcodec.h"
#include "checkslogo.h"
#include "codicefiscale.h"

#include <QFont>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>

namespace {

const QColor Green(0x00, 0x80, 0x00);

} // namespace

TfrmCodFisc::TfrmCodFisc(const AppContext &context, QWidget *parent)
    : QDialog(parent), m_context(context)
{
    setObjectName(QStringLiteral("frmCodFisc"));
    QWidget *panel = Forms::setupDialog(this, QStringLiteral(" Controllo codice fiscale"), QSize(478, 254),
                                        QSize(453, 222), Green, Qt::white);
    Forms::applyDataFormats();

    auto *shpContainer = new ShapeRect(QStringLiteral("shpContainer"), QRect(8, 8, 437, 169), panel);
    shpContainer->setFill(QColor(0xF3, 0xF1, 0xF1));
    shpContainer->setBorder(QColor(0x0C, 0xD8, 0x0C));

    auto *imgLogo = new PictureBox(QStringLiteral("imgLogo"), QRect(16, 16, 421, 73), panel);
    imgLogo->setImage(ChecksLogo::draw(QSize(421, 73), QStringLiteral("Controllo codice fiscale"),
                                       Green, ChecksLogo::Card));

    auto *lblTitolo = new QLabel(QStringLiteral("Immettere il codice fiscale e premere il pulsante di controllo."),
                                 panel);
    lblTitolo->setObjectName(QStringLiteral("lblTitolo"));
    lblTitolo->setFont(Forms::pixelFont(QStringLiteral("Arial"), 12));
    lblTitolo->move(16, 98);
    lblTitolo->adjustSize();

    auto *shpCodFisc = new ShapeRect(QStringLiteral("shpCodFisc"), QRect(16, 118, 421, 50), panel);
    shpCodFisc->setGradient(Green, Qt::white);
    shpCodFisc->setBorder(QColor(0x4A, 0xF7, 0x4A));

    m_txtCodFisc = new QLineEdit(panel);
    m_txtCodFisc->setObjectName(QStringLiteral("txtCodFisc"));
    m_txtCodFisc->setGeometry(26, 128, 233, 28);
    m_txtCodFisc->setFont(Forms::pixelFont(QStringLiteral("Courier New"), 20, true));
    m_txtCodFisc->setMaxLength(CodiceFiscale::Length);

    m_btnControlla = new QPushButton(QStringLiteral("Controlla"), panel);
    m_btnControlla->setObjectName(QStringLiteral("btnControlla"));
    m_btnControlla->setGeometry(268, 128, 160, 28);
    m_btnControlla->setFont(Forms::pixelFont(QStringLiteral("Verdana"), 11));
    m_btnControlla->setCursor(Qt::PointingHandCursor);
    m_btnControlla->setAutoDefault(true);

    auto *btnChiudi = new QPushButton(QStringLiteral("Chiudi"), panel);
    btnChiudi->setObjectName(QStringLiteral("btnChiudi"));
    btnChiudi->setGeometry(170, 184, 116, 28);
    btnChiudi->setFont(Forms::pixelFont(QStringLiteral("Verdana"), 11));
    btnChiudi->setCursor(Qt::PointingHandCursor);
    btnChiudi->setAutoDefault(true);

    setTabOrder(m_txtCodFisc, m_btnControlla);
    setTabOrder(m_btnControlla, btnChiudi);

    // Enter only moves on to the button; the check runs on its click.
    Forms::setEnterNext(m_txtCodFisc, m_btnControlla);

    connect(m_txtCodFisc, &QLineEdit::textEdited, this, &TfrmCodFisc::txtCodFiscTyping);
    connect(m_btnControlla, &QPushButton::clicked, this, &TfrmCodFisc::btnControllaClick);
    connect(btnChiudi, &QPushButton::clicked, this, &TfrmCodFisc::btnChiudiClick);
}

void TfrmCodFisc::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous()) {
        Forms::centre(this);
        m_txtCodFisc->setFocus(Qt::OtherFocusReason);
    }
}

void TfrmCodFisc::txtCodFiscTyping()
{
    const QString text = m_txtCodFisc->text();
    const QString cleaned = CodiceFiscale::upperAscii(FieldCodec::trimControls(text));
    if (cleaned == text)
        return;
    // Keep the caret where the operator was typing, less any blanks removed before it.
    int cursor = m_txtCodFisc->cursorPosition();
    int leading = 0;
    while (leading < text.size() && text.at(leading).unicode() <= 32)
        ++leading;
    cursor = qBound(0, cursor - leading, int(cleaned.size()));
    m_txtCodFisc->setText(cleaned);
    m_txtCodFisc->setCursorPosition(cursor);
}

void TfrmCodFisc::btnControllaClick()
{
    const QString code = CodiceFiscale::upperAscii(m_txtCodFisc->text());
    if (code.size() != CodiceFiscale::Length) {
        m_context.platform->warning(
            this, QStringLiteral("Attenzione: il codice fiscale deve essere composto da 16 caratteri alfanumerici."));
        m_txtCodFisc->setFocus(Qt::OtherFocusReason);
        return;
    }
    if (CodiceFiscale::check(code))
        m_context.platform->information(this, QStringLiteral("Il codice fiscale digitato è VALIDO."));
    else
        m_context.platform->warning(this, QStringLiteral("Attenzione: il codice fiscale digitato è ERRATO."));
    close();
}

void TfrmCodFisc::btnChiudiClick()
{
    close();
}
