#include "tfrmdatiente.h"

#include "cardart.h"

#include "archive/codepage.h"
#include "base/forms.h"
#include "base/platform.h"
#include "base/kit.h"
#include "base/widgets.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>

namespace {

const QColor kBand(0xCE, 0xDB, 0xE9);
const QColor kDarkBlue(0x00, 0x00, 0x8B);
const QColor kDarkSlateBlue(0x48, 0x3D, 0x8B);

} // namespace

TfrmDatiEnte::TfrmDatiEnte(const AppContext &context, QWidget *parent, SchoolTextsTarget *target)
    : QDialog(parent), m_context(context), m_target(target)
{
    setObjectName(QStringLiteral("frmDatiEnte"));
    Forms::applyDataFormats();
    QWidget *panel = Forms::setupDialog(this, QStringLiteral(" Dati Scuola"), QSize(737, 363), QSize(703, 327));

    Kit::box(QStringLiteral("bkgHeader"), QRect(16, 18, 671, 31), panel, kBand, kBand, Qt::white);
    Kit::label(QStringLiteral("lblIstruzioni"),
               QStringLiteral("Inserire i dati e fare clic su Applica e chiudi per salvare le modifiche."),
               QPoint(24, 25), panel, Forms::verdana(12));

    ShapeRect *frame = Kit::box(QStringLiteral("shpCornice"), QRect(16, 55, 168, 184), panel, Qt::white, Qt::white,
                                kDarkSlateBlue);
    frame->setBorderWidth(2);
    Kit::picture(QStringLiteral("imgFoto"), QRect(22, 60, 157, 174), panel, CardArt::portrait(QSize(157, 174)));
    Kit::box(QStringLiteral("shpSfondoTitoli"), QRect(193, 56, 493, 129), panel, kDarkBlue, kDarkBlue);
    Kit::box(QStringLiteral("shpSfondoAnnotazioni"), QRect(193, 190, 493, 49), panel, kDarkBlue, kDarkBlue);

    const QFont editFont = Forms::verdanaPt(12, true);
    auto addEdit = [&](const char *name, int y, const char *highlight) {
        QLineEdit *edit = Kit::edit(QString::fromLatin1(name), QRect(207, y, 466, 22), panel, editFont);
        auto *frameHighlight = new FrameHighlight(QString::fromLatin1(highlight), edit);
        return std::make_pair(edit, frameHighlight);
    };
    auto [associazione, effAssociazione] = addEdit("txtAssociazione", 70, "effAssociazione");
    m_txtAssociazione = associazione;
    m_effAssociazione = effAssociazione;
    m_txtSottotitolo01 = addEdit("txtSottotitolo01", 109, "effSottotitolo01").first;
    m_txtSottotitolo02 = addEdit("txtSottotitolo02", 148, "effSottotitolo02").first;
    m_txtAnnotazioni = addEdit("txtAnnotazioni", 204, "effAnnotazioni").first;

    Kit::box(QStringLiteral("bkgFooter"), QRect(16, 250, 671, 58), panel, kBand, kBand, Qt::white);
    QPushButton *annulla = Kit::button(QStringLiteral("btnAnnulla"), QStringLiteral("Annulla"),
                                       QRect(388, 263, 138, 32), panel);
    QPushButton *applica = Kit::button(QStringLiteral("btnApplica"), QStringLiteral("Applica e chiudi"),
                                       QRect(536, 263, 138, 32), panel);
    // Enter presses a focused button, never one that lacks the focus.
    Kit::pressOnEnter(annulla);
    Kit::pressOnEnter(applica);
    connect(annulla, &QPushButton::clicked, this, &TfrmDatiEnte::btnAnnullaClick);
    connect(applica, &QPushButton::clicked, this, &TfrmDatiEnte::btnApplicaClick);

    QLabel *tag = Forms::addModeTag(this);
    tag->setParent(panel);
    tag->setText(QStringLiteral("lblMemory"));
    tag->move(41, 276);
    tag->hide();

    const QList<QWidget *> order{m_txtAssociazione, m_txtSottotitolo01, m_txtSottotitolo02, m_txtAnnotazioni,
                                 annulla, applica};
    for (int i = 0; i + 1 < order.size(); ++i)
        setTabOrder(order[i], order[i + 1]);
    // Enter goes round the four edits; it never confirms the dialog.
    Forms::setEnterChain({m_txtAssociazione, m_txtSottotitolo01, m_txtSottotitolo02, m_txtAnnotazioni},
                         m_txtAssociazione);
}

void TfrmDatiEnte::setSchoolTexts(const SchoolTexts &texts)
{
    m_txtAssociazione->setText(texts.denominazione);
    m_txtSottotitolo01->setText(texts.indirizzo);
    m_txtSottotitolo02->setText(texts.recapiti);
    m_txtAnnotazioni->setText(texts.note);
}

SchoolTexts TfrmDatiEnte::schoolTexts() const
{
    return SchoolData::trimmed({m_txtAssociazione->text(), m_txtSottotitolo01->text(), m_txtSottotitolo02->text(),
                                m_txtAnnotazioni->text()});
}

void TfrmDatiEnte::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (event->spontaneous())
        return;
    Forms::centre(this, parentWidget());
    m_txtAssociazione->setFocus();
    // Up from the start, also before the window system hands the dialog
    // the keyboard; the focus moving on hides it.
    m_effAssociazione->show();
}

void TfrmDatiEnte::btnAnnullaClick()
{
    reject();
}

void TfrmDatiEnte::btnApplicaClick()
{
    // The school data file holds Windows-1252 text: the operator is told of
    // characters it cannot hold and may go back to the field with one.
    const QList<QLineEdit *> edits{m_txtAssociazione, m_txtSottotitolo01, m_txtSottotitolo02, m_txtAnnotazioni};
    QString allText;
    for (const QLineEdit *edit : edits)
        allText += edit->text();
    if (!Forms::confirmStorable(*m_context.platform, this, allText)) {
        for (QLineEdit *edit : edits)
            if (!CodePage::unstorable(edit->text()).isEmpty()) {
                edit->setFocus();
                break;
            }
        return;
    }
    if (m_target && Forms::modeTagIs(this, QStringLiteral("tessera")))
        m_target->takeSchoolTexts(schoolTexts());
    accept();
}
