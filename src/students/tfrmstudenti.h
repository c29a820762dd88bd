#pragma once

#include "base/appcontext.h"
#include "base/windowinterfaces.h"
#include "archive/archivebrowse.h"
#include "archive/studentrecord.h"

#include <QWidget>

#include <array>
#include <functional>

class PictureBox;
class StudentArchive;
class QLabel;
class QLineEdit;
class QPushButton;

// The card index of the archive: one student card at a time in 26 edits, six
// hidden attachment labels, the record number in lblPosizione and the photo.
// The control names are fixed for tests and printouts; other windows reach
// the card through the typed interfaces it implements.
class TfrmStudenti : public QWidget,
                     public StudentPickTarget,
                     public AttachmentHolder,
                     public PhotoTarget,
                     public PhotoSource
{
    Q_OBJECT
public:
    explicit TfrmStudenti(const AppContext &context, QWidget *parent = nullptr);

    // Operations other windows of the program rely on.
    void ClearStudentForm();
    void ShowRecord(const StudentRecord &record);
    void LoadStudentPhoto();
    void SaveStudentPhoto();
    // The card as the controls hold it (fields 1-32).
    StudentRecord currentCard() const;
    // A picture the operator loaded or captured: shown, and stored by the
    // next save.
    void replacePhoto(const QImage &picture);
    // True when the card shown differs from what was last shown or saved:
    // typed text, attachment data or a photo loaded, captured or cleared.
    bool isModified() const;

    // A student picked in the search window: every field, the position and
    // the photo (the blank picture when there is none). The photo is the
    // student's stored photo, decoded to cover photoFrame().
    void takeStudent(const StudentRecord &record, qint64 number, const QImage &photo) override;
    QSize photoFrame() const override;

    // The photo as imgFoto shows it, at the full size of the stored photo
    // where imgFoto holds a copy decoded for the frame (as shown when that
    // file can no longer be read).
    QImage photoAtOwnSize() const override;

    // The attachment fields, held in the hidden labels lblFile01 ... lblDesc03.
    Attachments attachments() const override;
    void setAttachments(const Attachments &attachments) override;

    // A photo from the webcam window, shown in imgFoto (the blank picture
    // when null); stored with the card's next save.
    void takePhoto(const QImage &photo) override;

signals:
    // Closing in any way hands the operator back to the start menu.
    void closedToMenu();

public slots:
    void cmdNuovoClick();
    void cmdDuplicaClick();
    void cmdSalvaClick();
    void cmdTrovaClick();
    void cmdFileClick();
    void cmdStampaClick();
    void cmdAnteprimaClick();
    void cmdPrimoClick();
    void cmdIndietroClick();
    void cmdAvantiClick();
    void cmdUltimoClick();
    void cmdSlideshowClick();
    void cmdGuidaClick();
    void cmdEsciClick();
    void btnCaricaFotoClick();
    void btnWebcamClick();
    void btnSalvaFotoClick();
    void btnCancFotoClick();
    void btnZoomFotoClick();
    void btnCodFiscClick();
    void btnEmailClick();
    void btnProveClick();
    void btnFocusClick();

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    // What the picture in imgFoto stands for; it decides what a save does
    // with the photo file.
    enum class PhotoState {
        Loaded,   // the student's photo file as read (or as last saved)
        Fallback, // the blank picture standing in for a photo that could not
                  // be loaded: a save leaves the photo file exactly as it is
        Blank,    // no photo at all: a save stores the blank picture
        Changed,  // loaded, captured or cleared by the operator: a save stores it
    };

    static QString idleHint();
    void buildLayout();
    void buildEdits();
    void buildButtons();
    PictureBox *addButton(const QString &name, const QRect &geometry, const QImage &art,
                          const QString &hint, void (TfrmStudenti::*handler)());
    // Runs one archive action: opens the archive, hands it to `action`, closes
    // it; any file failure shows the archive error.
    bool withArchive(const std::function<void(StudentArchive &)> &action);
    // One browsing click: the card the move reaches, or the empty-archive
    // message.
    void browse(ArchiveBrowse::Move move);
    // `stored`: the picture is the stored photo of that record number, as
    // read (and decoded for the frame) or as just written.
    void setPhoto(const QImage &picture, PhotoState state, const QString &stored = QString(),
                  bool decodedForFrame = false);
    // The photo shown at its full size; null when it is a stored photo that
    // can no longer be read.
    QImage fullPhoto() const;
    // The state of the picture shown; one put in by another window since
    // counts as the operator's change.
    PhotoState photoState() const;
    // Before the card shown is replaced or left: when it was modified, asks
    // whether to save it. False when the operator chose to stay (or the save
    // asked for failed).
    bool settleUnsavedCard();
    // Checks and stores the card shown; true when it was stored.
    bool saveCard();
    QString position() const;
    QLineEdit *edit(StudentRecord::Field field) const { return m_edits[field]; }

    AppContext m_context;
    QWidget *m_panel = nullptr;
    std::array<QLineEdit *, 26> m_edits{};
    std::array<QLabel *, 6> m_attachments{};
    QLabel *m_lblPosizione = nullptr;
    QLabel *m_panInfo = nullptr;
    PictureBox *m_imgFoto = nullptr;
    PictureBox *m_imgBianco = nullptr;
    QPushButton *m_btnFocus = nullptr;
    StudentRecord m_shownCard; // as last shown or saved
    PhotoState m_photoState = PhotoState::Blank;
    qint64 m_photoKey = 0;     // cacheKey of the picture m_photoState describes
    QString m_photoNumber;     // whose stored photo it is, when Loaded
    bool m_photoForFrame = false; // decoded for the frame: smaller than the file's
};
