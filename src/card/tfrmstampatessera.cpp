#include "tfrmstampatessera.h"

#include "base/art/cardprintart.h"
#include "base/forms.h"
#include "base/kit.h"
#include "base/platform.h"
#include "base/widgets.h"
#include "base/windowinterfaces.h"
#include "card/cardprintsettings.h"
#include "card/cardtemplate.h"
#include "archive/fieldcodec.h"
#include "printing/reportoutput.h"

#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QShowEvent>

#include <algorithm>
#include <stdexcept>

namespace {

const QColor Brown(0xA5, 0x2A, 0x2A);
const QColor Crimson(0xDC, 0x14, 0x3C);

// A plain raised panel, as the margin and orientation groups sit on.
QWidget *panel(const QString &name, const QRect &geometry, QWidget *parent)
{
    auto *p = new QWidget(parent);
    p->setObjectName(name);
    p->setGeometry(geometry);
    p->setAttribute(Qt::WA_StyledBackground, true);
    p->setStyleSheet(QStringLiteral("#%1 { background: #F0F0F0; border: 1px solid #A0B4C8; }").arg(name));
    return p;
}

QRadioButton *radio(const QString &name, const QString &text, const QRect &geometry, QWidget *parent)
{
    auto *r = new QRadioButton(text, parent);
    r->setObjectName(name);
    r->setGeometry(geometry);
    r->setFont(Forms::verdanaPt(12, true));
    // Never narrower than its caption.
    r->resize(std::max(geometry.width(), r->sizeHint().width()), geometry.height());
    r->setCursor(Qt::PointingHandCursor);
    return r;
}

// One margin's row: - button, read-only value, + button, "mm".
QLineEdit *marginRow(QWidget *row, const QString &suffix, QPushButton **minus, QPushButton **plus)
{
    const QFont font = Forms::verdanaPt(12, true);
    *minus = Kit::button(QStringLiteral("btn%1Minus").arg(suffix), QStringLiteral("-"), QRect(8, 8, 30, 25), row, font);
    QLineEdit *value = Kit::edit(QStringLiteral("txt%1").arg(suffix), QRect(44, 8, 57, 25), row, font);
    value->setReadOnly(true);
    value->setAlignment(Qt::AlignCenter);
    value->setText(QStringLiteral("0"));
    *plus = Kit::button(QStringLiteral("btn%1Plus").arg(suffix), QStringLiteral("+"), QRect(107, 8, 30, 25), row, font);
    Kit::label(QStringLiteral("lbl%1").arg(suffix), QStringLiteral("mm"), QPoint(146, 12), row);
    return value;
}

} // namespace

TfrmStampaTessera::TfrmStampaTessera(const AppContext &context, QWidget *parent, const IdCardSource *source)
    : QDialog(parent), m_context(context), m_source(source),
      m_report(CardTemplate::create(CardTemplate::Variant::Print, this))
{
    setObjectName(QStringLiteral("frmStampaTessera"));
    QWidget *container = Forms::setupDialog(this, QStringLiteral(" Stampa tesserino"), QSize(498, 462), QSize(466, 430),
                                            QColor(0x70, 0x9E, 0xC4), Qt::white);

    auto *margini = Kit::picture(
        QStringLiteral("imgMargini"), QRect(8, 8, 449, 161), container,
        CardPrintArt::marginInstructions(
            QSize(449, 161),
            QStringLiteral("Impostare i margini superiore e sinistro per adattare la stampa del tesserino al proprio "
                           "modello di stampante (procedere per tentativi). Esprimere i valori in millimetri."),
            QStringLiteral("Attenzione: aumentare i valori numerici per spostare la stampa verso il basso e verso "
                           "destra e diminuirli rendendoli all'occorrenza anche negativi per spostarla verso l'alto "
                           "e verso sinistra.")));
    margini->setStretch(true);

    QWidget *orientamento = panel(QStringLiteral("panOrientamento"), QRect(8, 176, 449, 82), container);
    Kit::box(QStringLiteral("shpTitOrientamento"), QRect(8, 8, 433, 22), orientamento, Brown, Brown);
    Kit::label(QStringLiteral("lblTitOrientamento"), QStringLiteral("Orientamento:"), QPoint(14, 11), orientamento,
               Forms::verdana(11, true), Qt::white);
    Kit::box(QStringLiteral("shpOrientamento"), QRect(8, 32, 433, 42), orientamento, Qt::white, Qt::white);
    m_optVerticale = radio(QStringLiteral("optVerticale"), QStringLiteral("Verticale"), QRect(62, 40, 107, 25),
                           orientamento);
    m_optOrizzontale = radio(QStringLiteral("optOrizzontale"), QStringLiteral("Orizzontale"), QRect(258, 40, 118, 25),
                             orientamento);
    m_optVerticale->setChecked(true);

    Kit::box(QStringLiteral("bkgSfondoMargini"), QRect(8, 264, 449, 97), container, QColor(0x7E, 0xA9, 0xCC),
             Qt::white);
    Kit::label(QStringLiteral("lblTitTop"), QStringLiteral("Margine superiore:"), QPoint(18, 276), container,
               Forms::verdana(11, true), Qt::white);
    Kit::label(QStringLiteral("lblTitLeft"), QStringLiteral("Margine sinistro:"), QPoint(262, 276), container,
               Forms::verdana(11, true), Qt::white);
    QPushButton *topMinus = nullptr, *topPlus = nullptr, *leftMinus = nullptr, *leftPlus = nullptr;
    m_txtTop = marginRow(panel(QStringLiteral("panTop"), QRect(18, 296, 186, 41), container), QStringLiteral("Top"),
                         &topMinus, &topPlus);
    m_txtLeft = marginRow(panel(QStringLiteral("panLeft"), QRect(262, 296, 186, 41), container),
                          QStringLiteral("Left"), &leftMinus, &leftPlus);

    QFont italic = Forms::verdana(11);
    italic.setItalic(true);
    m_lblAttendere = Kit::label(QStringLiteral("lblAttendere"), QStringLiteral("Elaborazione in corso. Attendere..."),
                                QPoint(18, 340), container, italic, Crimson);
    m_lblAttendere->hide();

    Kit::box(QStringLiteral("bkgStampa"), QRect(8, 368, 449, 12), container, QColor(0x96, 0xB8, 0xD4),
             QColor(0x96, 0xB8, 0xD4));
    auto *annulla = Kit::button(QStringLiteral("btnAnnulla"), QStringLiteral("Annulla"), QRect(8, 392, 130, 30),
                                container);
    m_btnStampa = Kit::button(QStringLiteral("btnStampa"), QStringLiteral("Stampa"), QRect(328, 392, 130, 30),
                              container);
    auto *applicaTop = Kit::button(QStringLiteral("btnApplicaTop"), QString(), QRect(154, 392, 30, 30), container);
    auto *applicaLeft = Kit::button(QStringLiteral("btnApplicaLeft"), QString(), QRect(198, 392, 30, 30), container);
    applicaTop->hide();
    applicaLeft->hide();
    setTabOrder(annulla, m_btnStampa);
    annulla->setFocus();

    connect(topMinus, &QPushButton::clicked, this, &TfrmStampaTessera::btnTopMinusClick);
    connect(topPlus, &QPushButton::clicked, this, &TfrmStampaTessera::btnTopPlusClick);
    connect(leftMinus, &QPushButton::clicked, this, &TfrmStampaTessera::btnLeftMinusClick);
    connect(leftPlus, &QPushButton::clicked, this, &TfrmStampaTessera::btnLeftPlusClick);
    // Never visible; should anything press them, a failure is reported as
    // the print action reports it.
    auto guarded = [this](void (TfrmStampaTessera::*save)()) {
        return [this, save] {
            try {
                (this->*save)();
            } catch (const std::exception &) {
                m_context.platform->warning(this, failureText());
            }
        };
    };
    connect(applicaTop, &QPushButton::clicked, this, guarded(&TfrmStampaTessera::btnApplicaTopClick));
    connect(applicaLeft, &QPushButton::clicked, this, guarded(&TfrmStampaTessera::btnApplicaLeftClick));
    connect(m_btnStampa, &QPushButton::clicked, this, &TfrmStampaTessera::btnStampaClick);
    connect(annulla, &QPushButton::clicked, this, &TfrmStampaTessera::btnAnnullaClick);
    m_btnStampa->installEventFilter(this);
}

TfrmStampaTessera::~TfrmStampaTessera() = default;

QString TfrmStampaTessera::failureText()
{
    return QStringLiteral("Attenzione: la stampa non è andata a buon fine.\n\r\n\r"
                          "Accertarsi che la stampante sia configurata correttamente.");
}

QString TfrmStampaTessera::settingsPath() const
{
    return m_context.path(CardPrintSettings::fileName());
}

void TfrmStampaTessera::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!m_shown && !event->spontaneous()) {
        m_shown = true;
        Forms::centre(this, parentWidget());
        FormShow();
    }
}

bool TfrmStampaTessera::eventFilter(QObject *watched, QEvent *event)
{
    // btnStampaMouseDown: the notice is on screen before the print work starts.
    if (watched == m_btnStampa && event->type() == QEvent::MouseButtonPress
        && static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton)
        showWaiting(true);
    // Let go beside the button: no click follows, so no work either.
    if (watched == m_btnStampa && event->type() == QEvent::MouseButtonRelease
        && !m_btnStampa->rect().contains(static_cast<QMouseEvent *>(event)->position().toPoint()))
        showWaiting(false);
    return QDialog::eventFilter(watched, event);
}

void TfrmStampaTessera::FormShow()
{
    const CardPrintSettings::Values values = CardPrintSettings::load(settingsPath());
    m_txtTop->setText(values.top);
    m_txtLeft->setText(values.left);
    if (values.landscape)
        m_optOrizzontale->setChecked(true);
    else
        m_optVerticale->setChecked(true);
}

void TfrmStampaTessera::stepMargin(QLineEdit *edit, int delta, const QString &which)
{
    if (const auto next = CardMargin::step(edit->text(), delta)) {
        edit->setText(*next);
        return;
    }
    // A value edited by hand in the settings file: say what it was before
    // starting again from 0, rather than guess what was meant.
    m_context.platform->warning(
        this, QStringLiteral("Attenzione: il margine %1 contiene \"%2\", che non è un numero di millimetri "
                             "utilizzabile.\n\r\n\rIl valore viene riportato a 0.")
                  .arg(which, FieldCodec::trimControls(edit->text())));
    edit->setText(QStringLiteral("0"));
}

void TfrmStampaTessera::btnTopMinusClick()
{
    stepMargin(m_txtTop, -1, QStringLiteral("superiore"));
}

void TfrmStampaTessera::btnTopPlusClick()
{
    stepMargin(m_txtTop, 1, QStringLiteral("superiore"));
}

void TfrmStampaTessera::btnLeftMinusClick()
{
    stepMargin(m_txtLeft, -1, QStringLiteral("sinistro"));
}

void TfrmStampaTessera::btnLeftPlusClick()
{
    stepMargin(m_txtLeft, 1, QStringLiteral("sinistro"));
}

void TfrmStampaTessera::btnApplicaTopClick()
{
    if (!CardPrintSettings::saveTop(settingsPath(), m_txtTop->text(), m_optOrizzontale->isChecked()))
        throw std::runtime_error("the card print settings could not be written");
}

void TfrmStampaTessera::btnApplicaLeftClick()
{
    if (!CardPrintSettings::saveLeft(settingsPath(), m_txtLeft->text(), m_optOrizzontale->isChecked()))
        throw std::runtime_error("the card print settings could not be written");
}

void TfrmStampaTessera::showWaiting(bool on)
{
    m_lblAttendere->setVisible(on);
    if (on)
        m_lblAttendere->repaint();
}

bool TfrmStampaTessera::cardReachesPaper()
{
    const auto top = CardMargin::parse(m_txtTop->text());
    const auto left = CardMargin::parse(m_txtLeft->text());
    if (!top || !left)
        return true; // not a number: the print action's failure says so
    const auto orientation = m_optVerticale->isChecked() ? ReportPage::Orientation::Portrait
                                                         : ReportPage::Orientation::Landscape;
    CardTemplate::place(*m_report, orientation, *top, *left);
    const CardTemplate::OffPaper off = CardTemplate::offPaper(m_report->firstPage());
    if (!off.any())
        return true;
    const QString which = off.top && off.left ? QStringLiteral("i margini superiore e sinistro")
                          : off.top           ? QStringLiteral("il margine superiore")
                                              : QStringLiteral("il margine sinistro");
    const bool reset = m_context.platform->confirm(
        this, QStringLiteral("Attenzione: con i margini impostati il tesserino cadrebbe interamente fuori dal "
                             "foglio e la stampa risulterebbe vuota.\n\r\n\rRiportare a 0 %1?")
                  .arg(which));
    if (reset) {
        if (off.top)
            m_txtTop->setText(QStringLiteral("0"));
        if (off.left)
            m_txtLeft->setText(QStringLiteral("0"));
    }
    return false;
}

void TfrmStampaTessera::printCard()
{
    btnApplicaTopClick();
    btnApplicaLeftClick();
    showWaiting(true);
    const auto orientation = m_optVerticale->isChecked() ? ReportPage::Orientation::Portrait
                                                         : ReportPage::Orientation::Landscape;
    const auto top = CardMargin::parse(m_txtTop->text());
    const auto left = CardMargin::parse(m_txtLeft->text());
    if (!top || !left)
        throw ReportError("a margin is not a number");
    CardTemplate::place(*m_report, orientation, *top, *left);
    if (m_source)
        CardTemplate::fill(*m_report, m_source->cardContent());
    ReportOutput::prepareReport(*m_report, *m_context.platform);
    if (ReportOutput::print(*m_report, *m_context.platform, this) == ReportOutput::PrintResult::Failed)
        throw ReportError("the card could not be printed");
}

void TfrmStampaTessera::btnStampaClick()
{
    if (!cardReachesPaper()) {
        // Nothing printed or saved; the operator corrects the margins first.
        showWaiting(false);
        return;
    }
    try {
        printCard();
    } catch (const std::exception &) {
        showWaiting(false);
        m_context.platform->warning(this, failureText());
    }
    showWaiting(false);
    accept();
}

void TfrmStampaTessera::btnAnnullaClick()
{
    reject();
}
