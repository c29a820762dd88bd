#include "tfrmcodfisc.h"

#include "base/forms.h"
#include "base/platform.h"
#include "base/widgets.h"
#include "archive/fieldcodec.h"
#include "base/art/checkslogo.h"
#include "checkwindowparts.h"
#include "checks/codicefiscale.h"

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

    const CheckWindowParts parts = CheckWindowParts::build(
        panel, QStringLiteral("Immettere il codice fiscale e premere il pulsante di controllo."), 98,
        QStringLiteral("txtCodFisc"), CodiceFiscale::Length, Green, QColor(0x4A, 0xF7, 0x4A));
    m_txtCodFisc = parts.edit;
    m_txtCodFisc->setMaxLength(CodiceFiscale::Length);
    m_btnControlla = parts.btnControlla;
    QPushButton *btnChiudi = parts.btnChiudi;

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
