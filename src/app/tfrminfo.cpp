#include "tfrminfo.h"

#include "aboutart.h"
#include "maker.h"

#include "base/forms.h"
#include "base/kit.h"
#include "base/platform.h"
#include "base/widgets.h"
#include "help/weblink.h"

#include <QLabel>
#include <QPushButton>
#include <QShowEvent>

TfrmInfo::TfrmInfo(const AppContext &context, QWidget *parent)
    : QDialog(parent), m_context(context)
{
    setObjectName(QStringLiteral("frmInfo"));
    Forms::setupDialog(this, QStringLiteral(" Informazioni su Lumetra"), QSize(473, 579));

    auto *panel = new QWidget(this);
    panel->setObjectName(QStringLiteral("panContainer"));
    panel->setGeometry(15, 15, 442, 490);

    // Its place is below the panel's lower edge: it lies in the window, where
    // the panel would hide it.
    m_btnChiudi = Kit::button(QStringLiteral("btnChiudi"), QStringLiteral("Chiudi"),
                              QRect(panel->pos() + QPoint(280, 504), QSize(161, 41)), this, Forms::verdanaPt(12));
    Kit::pressOnEnter(m_btnChiudi);

    Kit::box(QStringLiteral("shpSfondo"), QRect(8, 8, 425, 72), panel, Qt::white, Qt::white,
             QColor(0xCD, 0xDF, 0xEE));
    Kit::picture(QStringLiteral("imgLogo"), QRect(24, 16, 392, 54), panel, AboutArt::infoHeading(QSize(392, 54)));

    // What the program is and who makes it, on a white sheet under the heading.
    auto *lblDescrizione = new QLabel(panel);
    lblDescrizione->setObjectName(QStringLiteral("lblDescrizione"));
    lblDescrizione->setGeometry(28, 108, 385, 0);
    lblDescrizione->setWordWrap(true);
    lblDescrizione->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    lblDescrizione->setTextFormat(Qt::RichText);
    lblDescrizione->setFont(Forms::verdana(13));
    lblDescrizione->setText(
        QStringLiteral("<p style='font-size:26px; font-weight:bold; color:#B01515; margin:0'>Lumetra</p>"
                       "<p style='color:#1F4E86; margin-top:2px'><b>Versione %1</b></p>"
                       "<p>Software rivolto a scuole pubbliche o private per archiviare i dati dei "
                       "frequentatori dei corsi e stampare i loro tesserini di riconoscimento.</p>"
                       "<p>Schede anagrafiche con foto e allegati, registro delle prove sostenute, "
                       "stampa dei tesserini, esportazione dell'archivio in Excel, controllo del "
                       "codice fiscale e della partita IVA.</p>"
                       "<p>Tutti i dati si trovano nella cartella del programma: copiarla su un altro "
                       "disco o su una chiavetta USB basta a trasferire o salvare l'intero archivio.</p>"
                       "<p style='margin-top:14px'>&copy; %2</p>"
                       "<p>Per richiedere informazioni, scriveteci:</p>")
            .arg(QStringLiteral(LUMETRA_VERSION), Maker::name()));
    lblDescrizione->setFixedHeight(lblDescrizione->heightForWidth(lblDescrizione->width()));
    // The sheet hugs the text.
    ShapeRect *sheet = Kit::box(QStringLiteral("shpDescrizione"), lblDescrizione->geometry().adjusted(-20, -16, 20, 16),
                                panel, Qt::white, QColor(0xF4, 0xF8, 0xFC), QColor(0xCD, 0xDF, 0xEE));
    sheet->stackUnder(lblDescrizione);

    PictureBox *imgEmail = Kit::picture(QStringLiteral("imgEmail"), QRect(15, 531, 23, 16), this,
                                        AboutArt::envelope(QSize(23, 16)));
    QLabel *lnkWeb = linkText(QStringLiteral("lnkWeb"), Maker::email(), QPoint(46, 528), this);
    auto *link = new WebLink(lnkWeb, {imgEmail});

    connect(link, &WebLink::activated, this, &TfrmInfo::lnkWebClick);
    connect(m_btnChiudi, &QPushButton::clicked, this, &TfrmInfo::btnChiudiClick);
}

QString TfrmInfo::mailLink()
{
    // Subject and body go as they are, unescaped: the mail program takes them so.
    return QLatin1Char('"') + QStringLiteral("mailto:") + Maker::email() + QStringLiteral("?subject=")
        + QStringLiteral("Software Lumetra") + QStringLiteral("&body=")
        + QStringLiteral("Salve, desidererei avere le seguenti informazioni sul software in oggetto:")
        + QLatin1Char('"');
}

void TfrmInfo::lnkWebClick()
{
    m_context.platform->shellOpen(mailLink());
}

void TfrmInfo::btnChiudiClick()
{
    close();
}

void TfrmInfo::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous()) {
        Forms::centre(this);
        m_btnChiudi->setFocus(Qt::OtherFocusReason);
    }
}
