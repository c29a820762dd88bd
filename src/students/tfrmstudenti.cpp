#include "tfrmstudenti.h"

#include "base/shortcuts.h"

#include "studentform.h"

#include "base/forms.h"
#include "base/platform.h"
#include "base/useraction.h"
#include "base/widgets.h"
#include "archive/archivebrowse.h"
#include "archive/fieldcodec.h"
#include "archive/studentarchive.h"
#include "archive/studentfiles.h"

#include <QCloseEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

// Replaces the edit's text by `normalise(text)` while typing, keeping the
// cursor where the operator expects it.
void normaliseWhileTyping(QLineEdit *edit, QString (*normalise)(const QString &))
{
    QObject::connect(edit, &QLineEdit::textChanged, edit, [edit, normalise](const QString &text) {
        const QString fixed = normalise(text);
        if (fixed == text)
            return;
        int leading = 0;
        while (leading < text.size() && text[leading].unicode() <= 32)
            ++leading;
        const int cursor = qBound(0, edit->cursorPosition() - leading, int(fixed.size()));
        edit->setText(fixed);
        edit->setCursorPosition(cursor);
    });
}

} // namespace

TfrmStudenti::TfrmStudenti(const AppContext &context, QWidget *parent)
    : QWidget(parent), m_context(context)
{
    setObjectName(QStringLiteral("frmStudenti"));
    Forms::applyDataFormats();
    buildLayout();
    // Every toolbar action has a key, so the card index works from the keyboard alone.
    Shortcuts::bindToolbar(this);

    normaliseWhileTyping(edit(StudentRecord::Sesso), &StudentForm::upperAsciiTrimmed);
    normaliseWhileTyping(edit(StudentRecord::CodFisc), &StudentForm::upperAsciiTrimmed);
    normaliseWhileTyping(edit(StudentRecord::Email), &FieldCodec::trimControls);
}

void TfrmStudenti::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (!event->spontaneous()) {
        m_panInfo->setText(idleHint());
        ClearStudentForm();
    }
}

void TfrmStudenti::closeEvent(QCloseEvent *event)
{
    if (!settleUnsavedCard()) {
        event->ignore();
        return;
    }
    // The start menu comes up first, then this window steps aside.
    emit closedToMenu();
    hide();
    event->accept();
}

void TfrmStudenti::cmdEsciClick()
{
    close();
}

QString TfrmStudenti::position() const
{
    return FieldCodec::trimControls(m_lblPosizione->text());
}

void TfrmStudenti::setPhoto(const QImage &picture, PhotoState state, const QString &stored, bool decodedForFrame)
{
    m_imgFoto->setImage(picture.isNull() ? m_imgBianco->image() : picture);
    m_photoState = state;
    m_photoKey = m_imgFoto->image().cacheKey();
    m_photoNumber = stored;
    m_photoForFrame = decodedForFrame && !picture.isNull();
}

QImage TfrmStudenti::fullPhoto() const
{
    if (photoState() == PhotoState::Loaded && m_photoForFrame)
        return StudentFiles::loadPicture(StudentFiles::photoPath(m_context.folder, m_photoNumber));
    return m_imgFoto->image();
}

QImage TfrmStudenti::photoAtOwnSize() const
{
    // A photo that can no longer be read again prints as it is shown.
    const QImage full = fullPhoto();
    return full.isNull() ? m_imgFoto->image() : full;
}

QSize TfrmStudenti::photoFrame() const
{
    return m_imgFoto->size();
}

TfrmStudenti::PhotoState TfrmStudenti::photoState() const
{
    if (m_imgFoto->image().cacheKey() != m_photoKey)
        return PhotoState::Changed;
    return m_photoState;
}

void TfrmStudenti::replacePhoto(const QImage &picture)
{
    setPhoto(picture, PhotoState::Changed);
}

bool TfrmStudenti::isModified() const
{
    return photoState() == PhotoState::Changed || currentCard() != m_shownCard;
}

bool TfrmStudenti::settleUnsavedCard()
{
    if (!isModified())
        return true;
    switch (m_context.platform->ask(
        this, QStringLiteral("La scheda corrente è stata modificata. Salvare le modifiche?"))) {
    case Platform::Answer::Yes:
        return saveCard();
    case Platform::Answer::No:
        return true;
    case Platform::Answer::Cancel:
        break;
    }
    return false;
}

void TfrmStudenti::ClearStudentForm()
{
    for (QLineEdit *e : m_edits)
        e->clear();
    for (QLabel *label : m_attachments)
        label->clear();
    m_lblPosizione->clear();
    setPhoto(QImage(), PhotoState::Blank);
    m_shownCard = currentCard();
    edit(StudentRecord::Studente)->setFocus();
}

void TfrmStudenti::ShowRecord(const StudentRecord &record)
{
    for (int f = 0; f < StudentForm::EditCount; ++f) {
        m_edits[f]->setText(record[StudentRecord::Field(f)]);
        // A text longer than its edit shows its beginning, not its end.
        m_edits[f]->setCursorPosition(0);
    }
    for (int i = 0; i < 6; ++i)
        m_attachments[i]->setText(record[StudentRecord::Field(StudentRecord::File01 + i)]);
    // As the controls hold it, after the typing rules have had their say.
    m_shownCard = currentCard();
}

StudentRecord TfrmStudenti::currentCard() const
{
    StudentRecord card;
    for (int f = 0; f < StudentForm::EditCount; ++f)
        card[StudentRecord::Field(f)] = m_edits[f]->text();
    for (int i = 0; i < 6; ++i)
        card[StudentRecord::Field(StudentRecord::File01 + i)] = m_attachments[i]->text();
    return card;
}

void TfrmStudenti::takeStudent(const StudentRecord &record, qint64 number, const QImage &photo)
{
    ShowRecord(record);
    m_lblPosizione->setText(QString::number(number));
    if (!photo.isNull())
        setPhoto(photo, PhotoState::Loaded, QString::number(number), true);
    else if (StudentFiles::hasPhotoFile(m_context.folder, QString::number(number)))
        setPhoto(QImage(), PhotoState::Fallback);
    else
        setPhoto(QImage(), PhotoState::Blank);
}

void TfrmStudenti::LoadStudentPhoto()
{
    // Decoded for the frame: a fraction of the full decode when browsing.
    const QImage photo = StudentFiles::loadStudentPhoto(m_context.folder, position(), photoFrame());
    if (!photo.isNull())
        setPhoto(photo, PhotoState::Loaded, position(), true);
    else if (StudentFiles::hasPhotoFile(m_context.folder, position()))
        setPhoto(QImage(), PhotoState::Fallback);
    else
        setPhoto(QImage(), PhotoState::Blank);
}

void TfrmStudenti::SaveStudentPhoto()
{
    const PhotoState state = photoState();
    // A photo that could not be shown is still the student's: the blank
    // picture standing in for it must never replace it.
    if (state == PhotoState::Fallback)
        return;
    // The stored photo, unchanged since it was read or written, stays exactly
    // as it is: what the frame shows may be a reduced copy, and even the
    // full picture would lose detail to a new JPEG encoding at every save.
    if (state == PhotoState::Loaded && m_photoNumber == position())
        return;
    QImage picture;
    if (state == PhotoState::Blank || m_imgFoto->image().isNull())
        picture = m_imgBianco->image();
    else
        picture = fullPhoto(); // null: a stored photo gone from under the window
    if (picture.isNull() || !StudentFiles::saveStudentPhoto(m_context.folder, position(), picture)) {
        setPhoto(QImage(), PhotoState::Fallback);
        return;
    }
    if (state == PhotoState::Blank)
        setPhoto(picture, PhotoState::Blank);
    else
        setPhoto(picture, PhotoState::Loaded, position());
}

bool TfrmStudenti::withArchive(const std::function<void(StudentArchive &)> &action)
{
    return runUserAction(*m_context.platform, this, Platform::MessageKind::Error, ArchiveMessages::accessError(),
                         [&] {
                             StudentArchive archive(m_context.folder);
                             action(archive);
                             archive.close();
                         });
}

// Browsing: a modified card is settled first; after a successful read the
// file is closed, then the photo of the record shown is loaded.

void TfrmStudenti::cmdPrimoClick()
{
    browse(ArchiveBrowse::Move::First);
}

void TfrmStudenti::cmdIndietroClick()
{
    browse(ArchiveBrowse::Move::Previous);
}

void TfrmStudenti::cmdAvantiClick()
{
    browse(ArchiveBrowse::Move::Next);
}

void TfrmStudenti::cmdUltimoClick()
{
    browse(ArchiveBrowse::Move::Last);
}

void TfrmStudenti::browse(ArchiveBrowse::Move move)
{
    // A modified card is settled first: saved, dropped or kept as the
    // operator answers.
    if (!settleUnsavedCard())
        return;
    ArchiveBrowse::Step step;
    const bool ok = withArchive([&](StudentArchive &archive) {
        step = ArchiveBrowse::step(archive, move, m_lblPosizione->text());
    });
    if (!ok)
        return;
    if (step.outcome == ArchiveBrowse::Step::Shown) {
        ShowRecord(step.record);
        m_lblPosizione->setText(QString::number(step.number));
        LoadStudentPhoto();
    } else if (step.outcome == ArchiveBrowse::Step::Empty) {
        if (step.clearPosition)
            m_lblPosizione->clear();
        m_context.platform->information(this, ArchiveMessages::emptyArchive());
    }
}
