#include "tfrmguida.h"

#include "base/forms.h"
#include "base/kit.h"
#include "base/platform.h"
#include "base/widgets.h"
#include "help/helpart.h"
#include "help/weblink.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShowEvent>

TfrmGuida::TfrmGuida(const AppContext &context, QWidget *parent)
    : QDialog(parent), m_context(context)
{
    setObjectName(QStringLiteral("frmGuida"));
    QWidget *panel = Forms::setupDialog(this, QStringLiteral(" Guida all'utilizzo del software"), QSize(670, 572),
                                        QSize(642, 540), Qt::white, QColor(0xBF, 0xD8, 0xEF));

    // Created first: first in the tab order.
    m_btnChiudi = Kit::button(QStringLiteral("btnChiudi"), QStringLiteral("Chiudi"), QRect(472, 490, 161, 38),
                              panel, Forms::verdana(16));
    Kit::pressOnEnter(m_btnChiudi);

    Kit::box(QStringLiteral("shpSfondo"), QRect(8, 8, 625, 89), panel, Qt::white, Qt::white,
             QColor(0xF5, 0xDE, 0xB3));
    Kit::picture(QStringLiteral("imgLogo"), QRect(24, 16, 587, 69), panel, HelpArt::guideHeading(QSize(587, 69)));

    // Arial 16 pt bold, the memo Verdana 12 pt bold, at 96 dpi.
    m_lblTitolo = Kit::label(QStringLiteral("lblTitolo"), QStringLiteral("Argomento della guida."), QPoint(8, 104),
                             panel, Forms::pixelFont(QStringLiteral("Arial"), 21, true), QColor(0xDC, 0x14, 0x3C));

    m_txtGuida = new QPlainTextEdit(panel);
    m_txtGuida->setObjectName(QStringLiteral("txtGuida"));
    m_txtGuida->setGeometry(8, 128, 625, 350);
    m_txtGuida->setFont(Forms::verdana(16, true));
    m_txtGuida->setReadOnly(true);
    // Read-only, yet scrolled and copied from with the keys as well as the mouse.
    m_txtGuida->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    m_txtGuida->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    m_txtGuida->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_txtGuida->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);

    PictureBox *imgPDF = Kit::picture(QStringLiteral("imgPDF"), QRect(8, 496, 27, 27), panel,
                                      HelpArt::pdfIcon(QSize(27, 27)));
    QLabel *lnkWeb = linkText(QStringLiteral("lnkWeb"), QStringLiteral("Visualizza guida in formato PDF"),
                              QPoint(44, 500), panel);
    auto *link = new WebLink(lnkWeb, {imgPDF});

    setTabOrder(m_btnChiudi, m_txtGuida);
    connect(link, &WebLink::activated, this, &TfrmGuida::lnkWebClick);
    connect(m_btnChiudi, &QPushButton::clicked, this, &TfrmGuida::btnChiudiClick);
}

void TfrmGuida::showHelp(const AppContext &context, QWidget *parent, HelpTexts::Topic topic)
{
    TfrmGuida dialog(context, parent);
    dialog.setHelpText(HelpTexts::text(topic));
    dialog.exec();
}

void TfrmGuida::setHelpText(const HelpTexts::HelpText &text)
{
    m_lblTitolo->setText(text.title);
    m_lblTitolo->adjustSize();
    // The memo shows each CR LF as one line break, as a Windows memo does.
    QString body = text.body;
    body.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    m_txtGuida->setPlainText(body);
}

void TfrmGuida::lnkWebClick()
{
    // Quoted: the data folder may have spaces in its path.
    m_context.platform->shellOpen(QLatin1Char('"') + m_context.path(QStringLiteral("Guida.pdf")) + QLatin1Char('"'));
}

void TfrmGuida::btnChiudiClick()
{
    close();
}

void TfrmGuida::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous()) {
        Forms::centre(this);
        m_btnChiudi->setFocus(Qt::OtherFocusReason);
    }
}
