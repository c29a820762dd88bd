#include "tfrmtessera.h"

#include "tfrmanteprimatessera.h"
#include "tfrmdatiente.h"
#include "tfrmstampatessera.h"

#include "base/forms.h"
#include "base/platform.h"
#include "base/useraction.h"
#include "base/widgets.h"
#include "archive/fieldcodec.h"
#include "archive/studentarchive.h"
#include "archive/studentfiles.h"
#include "card/cardlogo.h"
#include "card/cardtemplate.h"
#include "help/tfrmguida.h"
#include "search/tfrmimportastudenti.h"
#include "settings/schooldata.h"

#include <QCloseEvent>
#include <QLabel>
#include <QShowEvent>

namespace {

QString trimmedText(const QLabel *label)
{
    return FieldCodec::trimControls(label->text());
}

QString settingsNotSaved()
{
    return QStringLiteral("Attenzione: non è stato possibile salvare i dati della Scuola nel file Lumetra.ini.")
        + QStringLiteral("\n\r\n\r")
        + QStringLiteral("Accertarsi di possedere i privilegi di scrittura nella cartella di installazione del programma.");
}

} // namespace

TfrmTessera::TfrmTessera(const AppContext &context, QWidget *parent)
    : QWidget(parent), m_context(context)
{
    setObjectName(QStringLiteral("frmTessera"));
    Forms::applyDataFormats();
    buildLayout();
    buildShortcuts();
    ClearCard();
}

QString TfrmTessera::idleHint()
{
    return QStringLiteral("Pronto per stampare una nuova tessera...");
}

void TfrmTessera::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    // A window brought back by the system keeps its card; only an opening
    // starts afresh from the disk.
    if (event->spontaneous())
        return;
    m_panInfo->setText(idleHint());
    ClearCard();
    showSchoolTexts(SchoolData::load(m_context.folder));
    showLogoOrPlaceholder(CardLogo::load(m_context.folder));
}

void TfrmTessera::closeEvent(QCloseEvent *event)
{
    event->accept();
    // A hidden window asked to close (the program ending) has nothing to keep.
    if (!isVisible())
        return;
    if (!SchoolData::save(m_context.folder, schoolTexts()))
        m_context.platform->warning(this, settingsNotSaved());
    SaveCardLogo();
    // The start menu comes up first, then this window steps aside.
    emit closedToMenu();
    hide();
}

void TfrmTessera::imgEsciClick()
{
    close();
}

QString TfrmTessera::position() const
{
    return trimmedText(m_lblPosizione);
}

void TfrmTessera::showPhotoOrPlaceholder(const QImage &photo, const QString &stored)
{
    m_imgFoto->setImage(photo.isNull() ? m_imgBianco->image() : photo);
    m_photoNumber = photo.isNull() ? QString() : stored;
    m_photoKey = m_imgFoto->image().cacheKey();
}

QSize TfrmTessera::photoFrame() const
{
    return m_imgFoto->size();
}

void TfrmTessera::showLogoOrPlaceholder(const QImage &logo)
{
    m_imgLogo->setImage(logo.isNull() ? m_imgBlank->image() : logo);
}

void TfrmTessera::ClearCard()
{
    m_txtTesserato->setText(QStringLiteral("Cognome e nome"));
    m_txtCarica->setText(QStringLiteral("Corso frequentato"));
    m_txtNumTessera->setText(QStringLiteral("Classe"));
    m_txtDataRil->setText(QStringLiteral("GG/MM/AAAA"));
    m_txtDataScade->setText(QStringLiteral("GG/MM/AAAA"));
    m_imgFoto->setImage(m_imgBianco->image());
    m_lblPosizione->clear();
}

void TfrmTessera::LoadCardPhoto()
{
    // Decoded for the frame: a fraction of the full decode when browsing.
    showPhotoOrPlaceholder(StudentFiles::loadStudentPhoto(m_context.folder, position(), photoFrame()), position());
}

void TfrmTessera::SaveCardLogo()
{
    if (!CardLogo::save(m_context.folder, m_imgLogo->image())) {
        m_imgLogo->setImage(m_imgBlank->image());
        return;
    }
    // From now on the card, the preview and the print use the stored picture.
    showLogoOrPlaceholder(CardLogo::load(m_context.folder));
}

SchoolTexts TfrmTessera::schoolTexts() const
{
    return SchoolData::trimmed({m_titAssociazione->text(), m_titSottotitolo01->text(), m_titSottotitolo02->text(),
                                m_titAnnotazioni->text()});
}

void TfrmTessera::showSchoolTexts(const SchoolTexts &texts)
{
    m_titAssociazione->setText(texts.denominazione);
    m_titSottotitolo01->setText(texts.indirizzo);
    m_titSottotitolo02->setText(texts.recapiti);
    m_titAnnotazioni->setText(texts.note);
}

void TfrmTessera::takeSchoolTexts(const SchoolTexts &texts)
{
    showSchoolTexts(texts);
}

void TfrmTessera::takeStudent(const StudentRecord &record, qint64 number, const QImage &photo)
{
    m_txtTesserato->setText(FieldCodec::trimControls(record[StudentRecord::Studente]));
    m_txtCarica->setText(FieldCodec::trimControls(record[StudentRecord::Corso]));
    m_txtNumTessera->setText(FieldCodec::trimControls(record[StudentRecord::Classe]));
    m_txtDataRil->setText(FieldCodec::trimControls(record[StudentRecord::Inizio]));
    m_txtDataScade->setText(FieldCodec::trimControls(record[StudentRecord::Fine]));
    m_lblPosizione->setText(QString::number(number));
    showPhotoOrPlaceholder(photo, QString::number(number));
}

IdCardContent TfrmTessera::cardContent() const
{
    IdCardContent card;
    const SchoolTexts school = schoolTexts();
    card.associazione = school.denominazione;
    card.sottotitolo01 = school.indirizzo;
    card.sottotitolo02 = school.recapiti;
    card.annotazioni = school.note;
    card.logo = m_imgLogo->image();
    card.tesserato = trimmedText(m_txtTesserato);
    card.carica = trimmedText(m_txtCarica);
    card.numTessera = trimmedText(m_txtNumTessera);
    card.dataRil = trimmedText(m_txtDataRil);
    card.dataScade = trimmedText(m_txtDataScade);
    card.photo = m_imgFoto->image();
    if (!m_photoNumber.isEmpty() && m_imgFoto->image().cacheKey() == m_photoKey) {
        // A file that can no longer be read prints as the card shows it.
        const QImage sharp = StudentFiles::loadPicture(StudentFiles::photoPath(m_context.folder, m_photoNumber),
                                                       CardTemplate::photoPrintSize());
        if (!sharp.isNull())
            card.photo = sharp;
    }
    return card;
}

void TfrmTessera::cmdNuovoClick()
{
    ClearCard();
}

void TfrmTessera::cmdTrovaClick()
{
    TfrmImportaStudenti picker(m_context, this, this);
    Forms::setModeTag(&picker, QStringLiteral("tessera"));
    picker.exec();
}

void TfrmTessera::cmdAnteprimaClick()
{
    SaveCardLogo();
    TfrmAnteprimaTessera dlg(m_context, this, this);
    dlg.exec();
}

void TfrmTessera::cmdStampaClick()
{
    SaveCardLogo();
    TfrmStampaTessera dlg(m_context, this, this);
    dlg.exec();
}

void TfrmTessera::titAssociazioneClick()
{
    TfrmDatiEnte dlg(m_context, this, this);
    Forms::setModeTag(&dlg, QStringLiteral("tessera"));
    dlg.setSchoolTexts(schoolTexts());
    dlg.exec();
}

void TfrmTessera::imgLogoClick()
{
    const QString path = m_context.platform->openFileName(
        this, QStringLiteral("Selezionare un file di immagine in formato Jpeg o Bitmap."),
        QStringLiteral("Immagine JPEG (*.jpg *.jpeg);;Immagine Bitmap (*.bmp)"));
    if (path.isEmpty())
        return;
    // At its own size: the next save brings it to the card's 119 x 118.
    showLogoOrPlaceholder(StudentFiles::loadPicture(path));
}

void TfrmTessera::btnCancLogoClick()
{
    m_imgLogo->setImage(m_imgPuntino->image());
}

void TfrmTessera::btnCancFotoClick()
{
    // Only the card: the student's photo file stays as it is.
    m_imgFoto->setImage(m_imgPuntino->image());
}

void TfrmTessera::imgGuidaClick()
{
    TfrmGuida::showHelp(m_context, this, HelpTexts::Topic::Card);
}

// Browsing goes as in the student window; the card shows five fields of the
// card read and, once the file is closed, its photo.

void TfrmTessera::cmdPrimoClick()
{
    browse(ArchiveBrowse::Move::First);
}

void TfrmTessera::cmdIndietroClick()
{
    browse(ArchiveBrowse::Move::Previous);
}

void TfrmTessera::cmdAvantiClick()
{
    browse(ArchiveBrowse::Move::Next);
}

void TfrmTessera::cmdUltimoClick()
{
    browse(ArchiveBrowse::Move::Last);
}

void TfrmTessera::browse(ArchiveBrowse::Move move)
{
    ArchiveBrowse::Step step;
    const bool ok = runUserAction(*m_context.platform, this, Platform::MessageKind::Error,
                                  ArchiveMessages::accessError(), [&] {
                                      StudentArchive archive(m_context.folder);
                                      step = ArchiveBrowse::step(archive, move, m_lblPosizione->text());
                                      archive.close();
                                  });
    if (!ok)
        return;
    if (step.outcome == ArchiveBrowse::Step::Shown) {
        takeStudent(step.record, step.number, QImage());
        LoadCardPhoto();
    } else if (step.outcome == ArchiveBrowse::Step::Empty) {
        if (step.clearPosition)
            m_lblPosizione->clear();
        m_context.platform->information(this, ArchiveMessages::emptyArchive());
    }
}
