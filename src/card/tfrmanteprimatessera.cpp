#include "tfrmanteprimatessera.h"

#include "base/art/cardprintart.h"
#include "base/forms.h"
#include "base/kit.h"
#include "base/platform.h"
#include "base/widgets.h"
#include "base/windowinterfaces.h"
#include "card/cardtemplate.h"
#include "printing/reportoutput.h"

#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QShowEvent>

#include <exception>

TfrmAnteprimaTessera::TfrmAnteprimaTessera(const AppContext &context, QWidget *parent, const IdCardSource *source)
    : QDialog(parent), m_context(context), m_source(source),
      m_report(CardTemplate::create(CardTemplate::Variant::Preview, this))
{
    setObjectName(QStringLiteral("frmAnteprimaTessera"));
    Forms::setupDialog(this, QStringLiteral(" Anteprima di stampa"), QSize(364, 287));
    Forms::applyDataFormats(); // FormCreate

    auto *box = Kit::box(QStringLiteral("shpSfondo"), QRect(18, 18, 326, 214), this, Qt::white, Qt::white,
                         QColor(0xCD, 0xDF, 0xEE));
    box->lower();
    auto *picture = Kit::picture(
        QStringLiteral("imgStampante"), QRect(25, 30, 311, 182), this,
        CardPrintArt::previewInstructions(
            QSize(311, 182), QStringLiteral("Anteprima di stampa"),
            QStringLiteral("Questa operazione consente di visualizzare in anteprima i dati che appariranno in "
                           "stampa."),
            QStringLiteral("Fare clic su Mostra anteprima per visualizzare il documento sullo schermo prima di "
                           "eseguire la stampa su carta.")));
    picture->setStretch(true);

    QFont italic = Forms::verdana(11);
    italic.setItalic(true);
    m_lblAttendere = Kit::label(QStringLiteral("lblAttendere"), QStringLiteral("Elaborazione in corso. Attendere..."),
                                QPoint(112, 210), this, italic, QColor(0xDC, 0x14, 0x3C));
    m_lblAttendere->setAutoFillBackground(true); // readable over the picture's lower edge
    QPalette palette = m_lblAttendere->palette();
    palette.setColor(QPalette::Window, Qt::white);
    m_lblAttendere->setPalette(palette);
    m_lblAttendere->hide();

    auto *annulla = Kit::button(QStringLiteral("btnAnnulla"), QStringLiteral("Annulla"), QRect(18, 243, 145, 28), this,
                                Forms::verdana(12));
    m_btnStampa = Kit::button(QStringLiteral("btnStampa"), QStringLiteral("Mostra anteprima"),
                              QRect(200, 243, 145, 28), this, Forms::verdana(12));
    setTabOrder(annulla, m_btnStampa);
    annulla->setFocus();
    connect(m_btnStampa, &QPushButton::clicked, this, &TfrmAnteprimaTessera::btnStampaClick);
    connect(annulla, &QPushButton::clicked, this, &TfrmAnteprimaTessera::btnAnnullaClick);
    m_btnStampa->installEventFilter(this);
}

TfrmAnteprimaTessera::~TfrmAnteprimaTessera() = default;

QString TfrmAnteprimaTessera::failureText()
{
    return QStringLiteral("Attenzione: la visualizzazione dell'anteprima di stampa non è andata a buon fine.");
}

void TfrmAnteprimaTessera::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!m_shown && !event->spontaneous()) {
        m_shown = true;
        Forms::centre(this, parentWidget());
    }
}

bool TfrmAnteprimaTessera::eventFilter(QObject *watched, QEvent *event)
{
    // btnStampaMouseDown: the notice is on screen before the work starts.
    if (watched == m_btnStampa && event->type() == QEvent::MouseButtonPress
        && static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton)
        showWaiting(true);
    // Let go beside the button: no click follows, so no work either.
    if (watched == m_btnStampa && event->type() == QEvent::MouseButtonRelease
        && !m_btnStampa->rect().contains(static_cast<QMouseEvent *>(event)->position().toPoint()))
        showWaiting(false);
    return QDialog::eventFilter(watched, event);
}

void TfrmAnteprimaTessera::showWaiting(bool on)
{
    m_lblAttendere->setVisible(on);
    if (on)
        m_lblAttendere->repaint();
}

void TfrmAnteprimaTessera::btnStampaClick()
{
    showWaiting(true);
    try {
        // Always portrait and at the template's own place: the print
        // settings are not this window's business.
        CardTemplate::place(*m_report, ReportPage::Orientation::Portrait, 0, 0);
        if (m_source)
            CardTemplate::fill(*m_report, m_source->cardContent());
        ReportOutput::prepareReport(*m_report, *m_context.platform);
        showWaiting(false);
        ReportOutput::showReport(*m_report, *m_context.platform, this);
    } catch (const std::exception &) {
        showWaiting(false);
        m_context.platform->warning(this, failureText());
    }
    accept();
}

void TfrmAnteprimaTessera::btnAnnullaClick()
{
    reject();
}
