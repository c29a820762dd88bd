#include "tfrmcambiapassword.h"

#include "base/art/passwordart.h"

#include "base/forms.h"
#include "settings/passwordcipher.h"
#include "base/platform.h"
#include "app/tfrmpassword.h"
#include "base/widgets.h"
#include "archive/fieldcodec.h"

#include <QCloseEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

const QString kChangeError = QStringLiteral(
    "Attenzione: si è verificato un errore durante la procedura di modifica della password. "
    "Si consiglia di reinstallare il software.");

} // namespace

TfrmCambiaPassword::TfrmCambiaPassword(const AppContext &context, QWidget *parent)
    : QWidget(parent), m_context(context)
{
    setObjectName(QStringLiteral("frmCambiaPassword"));
    QWidget *panel = Forms::setupDialog(this, QStringLiteral(" Cambia password"), QSize(411, 418),
                                        QSize(385, 390));

    auto *shpSfondo = new ShapeRect(QStringLiteral("shpSfondo"), QRect(8, 8, 369, 334), panel);
    shpSfondo->setGradient(QColor(0x46, 0x82, 0xB4), Qt::white);
    shpSfondo->setBorder(Qt::white);

    auto *imgLogo = new PictureBox(QStringLiteral("imgLogo"), QRect(16, 16, 353, 148), panel);
    imgLogo->setImage(drawPadlockPicture(
        imgLogo->size(), QStringLiteral("Cambia password"),
        {QStringLiteral("Per cambiare la password immetti i dati nei campi sottostanti e premi OK.")}));

    const QFont labelFont = Forms::verdanaPt(9);
    const QFont editFont = Forms::verdanaPt(14, true);

    struct Row
    {
        const char *label;
        QString caption;
        const char *edit;
        const char *highlight;
        int labelY;
    };
    const Row rows[] = {
        {"lblRigo05", QStringLiteral("Vecchia password:"), "txtPasswordOld", "effPasswordOld", 172},
        {"lblRigo06", QStringLiteral("Nuova password:"), "txtPasswordNew", "effPasswordNew", 228},
        {"lblRigo07", QStringLiteral("Conferma nuova password:"), "txtConferma", "effConferma", 284},
    };
    QLineEdit *edits[3];
    for (int i = 0; i < 3; ++i) {
        auto *label = new QLabel(rows[i].caption, panel);
        label->setTextFormat(Qt::PlainText);
        label->setObjectName(QLatin1String(rows[i].label));
        label->setFont(labelFont);
        label->move(16, rows[i].labelY);
        label->adjustSize();
        auto *edit = new QLineEdit(panel);
        edit->setObjectName(QLatin1String(rows[i].edit));
        edit->setGeometry(16, rows[i].labelY + 21, 353, 22);
        edit->setFont(editFont);
        edit->setEchoMode(QLineEdit::Password);
        new FrameHighlight(QLatin1String(rows[i].highlight), edit);
        connect(edit, &QLineEdit::textChanged, this, &TfrmCambiaPassword::fieldsChange);
        edits[i] = edit;
    }
    m_txtPasswordOld = edits[0];
    m_txtPasswordNew = edits[1];
    m_txtConferma = edits[2];

    auto *cmdEsci = new QPushButton(QStringLiteral("Chiudi"), panel);
    cmdEsci->setObjectName(QStringLiteral("cmdEsci"));
    cmdEsci->setGeometry(8, 350, 146, 32);
    cmdEsci->setCursor(Qt::PointingHandCursor);
    m_cmdOK = new QPushButton(QStringLiteral("OK"), panel);
    m_cmdOK->setObjectName(QStringLiteral("cmdOK"));
    m_cmdOK->setGeometry(232, 350, 146, 32);
    m_cmdOK->setCursor(Qt::PointingHandCursor);
    m_cmdOK->setEnabled(false);

    QWidget::setTabOrder(m_txtPasswordOld, m_txtPasswordNew);
    QWidget::setTabOrder(m_txtPasswordNew, m_txtConferma);
    QWidget::setTabOrder(m_txtConferma, cmdEsci);
    QWidget::setTabOrder(cmdEsci, m_cmdOK);

    // Enter walks the three fields round; it never presses OK here.
    Forms::setEnterChain({m_txtPasswordOld, m_txtPasswordNew, m_txtConferma}, m_txtPasswordOld);

    connect(m_cmdOK, &QPushButton::clicked, this, &TfrmCambiaPassword::cmdOKClick);
    connect(cmdEsci, &QPushButton::clicked, this, &TfrmCambiaPassword::cmdEsciClick);

    Forms::centre(this);
}

void TfrmCambiaPassword::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    m_txtPasswordOld->clear();
    m_txtPasswordNew->clear();
    m_txtConferma->clear();
    m_txtPasswordOld->setFocus();
}

void TfrmCambiaPassword::closeEvent(QCloseEvent *event)
{
    QWidget::closeEvent(event);
    if (event->isAccepted())
        emit closed();
}

void TfrmCambiaPassword::fieldsChange()
{
    m_cmdOK->setEnabled(!FieldCodec::trimControls(m_txtPasswordOld->text()).isEmpty()
                        && !FieldCodec::trimControls(m_txtPasswordNew->text()).isEmpty()
                        && !FieldCodec::trimControls(m_txtConferma->text()).isEmpty());
}

void TfrmCambiaPassword::cmdOKClick()
{
    QString stored;
    if (!PasswordStore::readPassword(m_context.folder, &stored)) {
        m_context.platform->notice(this, kChangeError);
        return;
    }
    // A missing store reads as empty, and no old password matches it.
    if (stored.isEmpty() || stored != PasswordStore::normalise(m_txtPasswordOld->text())) {
        m_context.platform->notice(this, QStringLiteral("Attenzione: vecchia password errata."));
        m_txtPasswordOld->clear();
        m_txtPasswordOld->setFocus();
        return;
    }
    if (FieldCodec::trimControls(m_txtPasswordNew->text())
        != FieldCodec::trimControls(m_txtConferma->text())) {
        m_context.platform->notice(
            this, QStringLiteral("Attenzione: la nuova password non è stata confermata correttamente. "
                                 "E' necessario reinserire entrambi i valori."));
        m_txtPasswordNew->clear();
        m_txtConferma->clear();
        m_txtPasswordNew->setFocus();
        return;
    }
    const QString newPassword = PasswordStore::normalise(m_txtPasswordNew->text());
    // Storing what the cipher cannot carry would lock the operator out.
    if (!PasswordStore::canCarry(newPassword)) {
        m_context.platform->notice(
            this, QStringLiteral("Attenzione: la nuova password può contenere al massimo 255 caratteri "
                                 "e soltanto lettere, cifre e simboli dell'alfabeto latino."));
        m_txtPasswordNew->clear();
        m_txtConferma->clear();
        m_txtPasswordNew->setFocus();
        return;
    }
    if (!PasswordStore::writePassword(m_context.folder, newPassword)) {
        m_context.platform->notice(this, kChangeError);
        return;
    }
    m_context.platform->notice(this, QStringLiteral("Modifica della password completata con successo."));
    close();
}

void TfrmCambiaPassword::cmdEsciClick()
{
    close();
}
