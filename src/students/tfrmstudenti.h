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
class TfrmStudenti : public QWidget, public StudentPickTarget, public AttachmentHolder, public PhotoTarget
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

    // A student picked in the search window: every field, the position and
    // the photo (the blank picture when there is none).
    void takeStudent(const StudentRecord &record, qint64 number, const QImage &photo) override;

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
    static QString idleHint();
    void buildLayout();
    void bindKeys();
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
    void showBlankPicture();
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
};
