#pragma once

#include "base/appcontext.h"
#include "base/windowinterfaces.h"
#include "archive/archivebrowse.h"

#include <QWidget>

class PictureBox;
class QLabel;

// The ID card window: a full-size mock-up of one card with the school's four
// texts and logo (kept in "Lumetra.ini" and "Anagrafica/Logo.bmp", read at
// every showing and written at every closing) and one student of the archive,
// brought on by browsing or by the import picker. The control names are fixed
// for tests; other windows reach the card through the interfaces below.
class TfrmTessera : public QWidget, public StudentPickTarget, public IdCardSource, public SchoolTextsTarget
{
    Q_OBJECT
public:
    explicit TfrmTessera(const AppContext &context, QWidget *parent = nullptr);

    // The student part back to its design texts, the photo placeholder and no
    // record number; the school's part stays.
    void ClearCard();
    // The photo of the record number shown, or the placeholder.
    void LoadCardPhoto();
    // Writes the logo shown, stretched to 119 x 118, as the logo file and
    // shows it as read back; the placeholder when any step fails.
    void SaveCardLogo();

    // The school's texts as the card shows them, trimmed.
    SchoolTexts schoolTexts() const;

    // A student picked in the import picker: name, course, class, start and
    // end dates, record number and photo (the placeholder when null), the
    // student's stored photo decoded to cover photoFrame().
    void takeStudent(const StudentRecord &record, qint64 number, const QImage &photo) override;
    QSize photoFrame() const override;
    // The card for the print and preview windows. A stored photo the card
    // shows is decoded again as large as the card prints it.
    IdCardContent cardContent() const override;
    // The texts confirmed in the school data dialog, shown as given.
    void takeSchoolTexts(const SchoolTexts &texts) override;

signals:
    // Closing in any way hands the operator back to the start menu.
    void closedToMenu();

public slots:
    void cmdNuovoClick();
    void cmdTrovaClick();
    void cmdAnteprimaClick();
    void cmdStampaClick();
    void cmdPrimoClick();
    void cmdIndietroClick();
    void cmdAvantiClick();
    void cmdUltimoClick();
    void titAssociazioneClick();
    void imgLogoClick();
    void btnCancLogoClick();
    void btnCancFotoClick();
    void imgGuidaClick();
    void imgEsciClick();

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    static QString idleHint();
    void buildLayout();
    void buildDecoration(QWidget *panel);
    void buildCard(QWidget *panel);
    void buildToolbar();
    void buildShortcuts();
    PictureBox *addButton(const QString &name, const QRect &geometry, const QImage &art, const QString &hint,
                          void (TfrmTessera::*handler)());
    QLabel *addLabel(const QString &name, const QRect &geometry, const QFont &font, const QColor &colour,
                     Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignVCenter);

    void browse(ArchiveBrowse::Move move);
    void showSchoolTexts(const SchoolTexts &texts);
    void showLogoOrPlaceholder(const QImage &logo);
    // `stored`: the record number whose stored photo `photo` is.
    void showPhotoOrPlaceholder(const QImage &photo, const QString &stored = QString());
    QString position() const;

    AppContext m_context;
    QWidget *m_panel = nullptr;
    QLabel *m_panInfo = nullptr;
    QLabel *m_lblPosizione = nullptr;
    QLabel *m_titAssociazione = nullptr;
    QLabel *m_titSottotitolo01 = nullptr;
    QLabel *m_titSottotitolo02 = nullptr;
    QLabel *m_titAnnotazioni = nullptr;
    QLabel *m_txtTesserato = nullptr;
    QLabel *m_txtCarica = nullptr;
    QLabel *m_txtNumTessera = nullptr;
    QLabel *m_txtDataRil = nullptr;
    QLabel *m_txtDataScade = nullptr;
    PictureBox *m_imgFoto = nullptr;
    PictureBox *m_imgLogo = nullptr;
    PictureBox *m_imgBianco = nullptr;
    PictureBox *m_imgBlank = nullptr;
    PictureBox *m_imgPuntino = nullptr;
    QString m_photoNumber; // whose stored photo imgFoto shows, decoded for the frame
    qint64 m_photoKey = 0; // the cacheKey of that picture
};
