// The student window's actions that store cards, handle the photo and open
// the side windows.
#include "tfrmstudenti.h"

#include "studentform.h"

#include "base/platform.h"
#include "base/widgets.h"
#include "archive/codepage.h"
#include "archive/fieldcodec.h"
#include "archive/studentarchive.h"
#include "archive/studentfiles.h"
#include "base/forms.h"
#include "checks/tfrmcodfisc.h"
#include "checks/tfrmpartitaiva.h"
#include "help/tfrmguida.h"
#include "media/tfrmallegacartella.h"
#include "media/tfrminquadrafoto.h"
#include "media/tfrmslideshow_studenti.h"
#include "media/tfrmwebcam.h"
#include "media/tfrmzoom.h"
#include "printing/tfrmanteprimastudenti.h"
#include "printing/tfrmstampastudenti.h"
#include "register/tfrmprove_sostenute.h"
#include "search/tfrmtrovastudenti.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <optional>

namespace {

// Sets a control of a side window when it has one by that name.
template<typename T>
void setIfPresent(QWidget *window, const char *name, const QString &text)
{
    if (auto *control = window->findChild<T *>(QString::fromLatin1(name)))
        control->setText(text);
}

} // namespace

void TfrmStudenti::cmdNuovoClick()
{
    if (settleUnsavedCard())
        ClearStudentForm();
}

void TfrmStudenti::btnFocusClick()
{
    QLineEdit *name = edit(StudentRecord::Studente);
    name->setText(FieldCodec::trimControls(name->text()));
}

void TfrmStudenti::cmdSalvaClick()
{
    saveCard();
}

bool TfrmStudenti::saveCard()
{
    m_btnFocus->setFocus();

    const StudentRecord card = currentCard();
    if (const auto missing = StudentForm::firstMissing(card)) {
        m_context.platform->warning(this, QString::fromUtf8(missing->warning));
        edit(missing->field)->setFocus();
        return false;
    }
    // Characters the archive cannot hold: asked before anything is stored,
    // the operator may go back to the first field holding one.
    QString allText;
    for (int f = 0; f < StudentRecord::FieldCount; ++f)
        allText += card[StudentRecord::Field(f)];
    if (!Forms::confirmStorable(*m_context.platform, this, allText)) {
        for (int f = 0; f < int(m_edits.size()); ++f)
            if (m_edits[f] && !CodePage::unstorable(m_edits[f]->text()).isEmpty()) {
                m_edits[f]->setFocus();
                break;
            }
        return false;
    }

    bool appended = false;
    const bool ok = withArchive([&](StudentArchive &archive) {
        bool valid = false;
        const std::optional<qint64> shown = StudentForm::parsePosition(m_lblPosizione->text(), &valid);
        if (!valid)
            throw FileAccessError("position is not a number");
        qint64 number = 0;
        if (shown) {
            archive.rewrite(*shown, card);
            number = *shown;
        } else {
            number = archive.append(card);
            appended = true;
        }
        m_lblPosizione->setText(QString::number(number));
    });
    if (!ok)
        return false;

    m_shownCard = card;
    SaveStudentPhoto();
    m_context.platform->information(
        this, appended ? QStringLiteral("La scheda corrente è stata inserita in archivio.")
                       : QStringLiteral("Le modifiche apportate alla scheda corrente sono state salvate in archivio."));
    return true;
}

void TfrmStudenti::cmdDuplicaClick()
{
    if (position().isEmpty()) {
        m_context.platform->warning(
            this, QStringLiteral("Attenzione: la duplicazione di una scheda può avvenire soltanto dopo che "
                                 "questa è stata inserita in archivio."));
        return;
    }
    for (QLabel *label : m_attachments)
        label->clear();
    m_lblPosizione->clear();
    setPhoto(QImage(), PhotoState::Blank);
    // The copy holds nothing typed yet.
    m_shownCard = currentCard();
    edit(StudentRecord::Studente)->setFocus();
    m_context.platform->information(
        this, QStringLiteral("E' ora possibile apportare le proprie modifiche alla scheda corrente.")
                  + QStringLiteral("\n\r\n\r")
                  + QStringLiteral("Al termine premere Salva per inserire la scheda in archivio."));
}

void TfrmStudenti::btnCaricaFotoClick()
{
    const QString path = m_context.platform->openFileName(
        this, QStringLiteral("Selezionare un file di immagine in formato Jpeg o Bitmap."),
        QStringLiteral("Immagine JPEG (*.jpg *.jpeg);;Immagine Bitmap (*.bmp)"));
    if (path.isEmpty())
        return;
    const QImage picture = StudentFiles::loadPicture(path);
    // A file that cannot be shown changes nothing the save would store.
    if (picture.isNull()) {
        setPhoto(QImage(), PhotoState::Fallback);
        return;
    }
    if (const auto chosen = TfrmInquadraFoto::choose(m_context, this, picture))
        replacePhoto(*chosen);
}

void TfrmStudenti::btnSalvaFotoClick()
{
    const QString path = m_context.platform->saveFileName(
        this, QStringLiteral("Selezionare la cartella in cui si desidera salvare il file Jpeg."),
        QStringLiteral("File Jpeg (*.jpg)"), QStringLiteral("Foto.jpg"), QStringLiteral("jpg"));
    if (path.isEmpty())
        return;
    // The photo at its own size; a stored photo that can no longer be read
    // again fails as a write would.
    if (!StudentFiles::saveJpeg(path, fullPhoto()))
        setPhoto(QImage(), PhotoState::Fallback);
}

void TfrmStudenti::btnCancFotoClick()
{
    // Clearing a card that has no photo changes nothing.
    if (photoState() != PhotoState::Blank)
        setPhoto(QImage(), PhotoState::Changed);
}

void TfrmStudenti::btnEmailClick()
{
    const QString address = FieldCodec::trimControls(edit(StudentRecord::Email)->text());
    m_context.platform->shellOpen(QStringLiteral("\"mailto:") + address + QStringLiteral("\""));
}

void TfrmStudenti::btnCodFiscClick()
{
    const QString code = FieldCodec::trimControls(edit(StudentRecord::CodFisc)->text());
    if (!code.isEmpty() && StudentForm::isAllDigits(code)) {
        // Only digits: a partita IVA.
        TfrmPartitaIva dialog(m_context, this);
        setIfPresent<QLineEdit>(&dialog, "txtPartitaIva", code);
        dialog.exec();
    } else {
        TfrmCodFisc dialog(m_context, this);
        setIfPresent<QLineEdit>(&dialog, "txtCodFisc", code);
        dialog.exec();
    }
}

void TfrmStudenti::btnProveClick()
{
    if (position().isEmpty()) {
        m_context.platform->warning(
            this, QStringLiteral("Attenzione: la registrazione delle prove sostenute può avvenire soltanto dopo "
                                 "aver salvato la scheda dello studente."));
        return;
    }
    if (FieldCodec::trimControls(edit(StudentRecord::Studente)->text()).isEmpty()) {
        m_context.platform->warning(
            this, QStringLiteral("Attenzione: per registrare le prove sostenute è necessario indicare il nome "
                                 "dello studente."));
        edit(StudentRecord::Studente)->setFocus();
        return;
    }
    TfrmProve_Sostenute dialog(m_context, this);
    dialog.exec();
}

void TfrmStudenti::cmdTrovaClick()
{
    if (!settleUnsavedCard())
        return;
    TfrmTrovaStudenti dialog(m_context, this, this);
    setIfPresent<QLabel>(&dialog, "lblMemory", QStringLiteral("studenti"));
    dialog.exec();
}

void TfrmStudenti::cmdStampaClick()
{
    TfrmStampaStudenti dialog(m_context, this);
    dialog.exec();
}

void TfrmStudenti::cmdAnteprimaClick()
{
    TfrmAnteprimaStudenti dialog(m_context, this);
    dialog.exec();
}

// The attachment labels in slot order: lblFile01..03, then lblDesc01..03.
AttachmentHolder::Attachments TfrmStudenti::attachments() const
{
    Attachments values;
    for (int k = 0; k < 3; ++k) {
        values.files[k] = m_attachments[k]->text();
        values.descriptions[k] = m_attachments[3 + k]->text();
    }
    return values;
}

void TfrmStudenti::setAttachments(const Attachments &values)
{
    for (int k = 0; k < 3; ++k) {
        m_attachments[k]->setText(values.files[k]);
        m_attachments[3 + k]->setText(values.descriptions[k]);
    }
}

void TfrmStudenti::takePhoto(const QImage &photo)
{
    // A photo taken elsewhere is the operator's change, as one loaded here.
    replacePhoto(photo.isNull() ? m_imgBianco->image() : photo);
}

void TfrmStudenti::cmdFileClick()
{
    TfrmAllegaCartella dialog(m_context, this, this);
    Forms::setModeTag(&dialog, QStringLiteral("studenti"));
    dialog.showAttachments(attachments());
    dialog.exec();
}

void TfrmStudenti::btnWebcamClick()
{
    // The capture is framed once the webcam window has closed.
    struct Capture : PhotoTarget
    {
        std::optional<QImage> photo;
        void takePhoto(const QImage &taken) override { photo = taken; }
    } capture;
    {
        TfrmWebCam dialog(m_context, this, &capture);
        Forms::setModeTag(&dialog, QStringLiteral("euro_01"));
        dialog.exec();
    }
    if (!capture.photo)
        return;
    if (capture.photo->isNull()) {
        takePhoto(*capture.photo);
        return;
    }
    if (const auto chosen = TfrmInquadraFoto::choose(m_context, this, *capture.photo))
        takePhoto(*chosen);
}

void TfrmStudenti::btnZoomFotoClick()
{
    TfrmZoom dialog(m_context, this);
    dialog.setPhoto(photoAtOwnSize());
    dialog.exec();
}

void TfrmStudenti::cmdSlideshowClick()
{
    TfrmSlideshow_Studenti dialog(m_context, this);
    dialog.exec();
}

void TfrmStudenti::cmdGuidaClick()
{
    TfrmGuida::showHelp(m_context, this, HelpTexts::Topic::Students);
}
