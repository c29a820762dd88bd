#pragma once

#include "base/appcontext.h"
#include "base/windowinterfaces.h"

#include <QDialog>

#include <array>

class PictureBox;
class QLineEdit;
class QPushButton;

// The attachments of one card: three slots, each a file name (a copy kept in
// "Documenti_Allegati") and a description. Browsing copies the chosen file
// into that folder at once; "Applica e chiudi" hands the six values to the
// holder when the mode tag `lblMemory` reads "studenti"; "Annulla" hands
// nothing back (files already copied stay in the folder).
class TfrmAllegaCartella : public QDialog
{
    Q_OBJECT
public:
    TfrmAllegaCartella(const AppContext &context, QWidget *parent = nullptr,
                       AttachmentHolder *holder = nullptr);

    // The opener's values, each trimmed, into the six edits.
    void showAttachments(const AttachmentHolder::Attachments &values);
    // The six edits, each trimmed.
    AttachmentHolder::Attachments shownAttachments() const;

public slots:
    // Slot k is 0, 1 or 2 (the controls numbered 01, 02, 03).
    void browse(int k);
    void open(int k);
    void clear(int k);
    void btnApplicaClick();
    void btnAnnullaClick();

protected:
    void showEvent(QShowEvent *event) override;

private:
    struct Slot
    {
        QLineEdit *file = nullptr;
        QLineEdit *description = nullptr;
        QPushButton *browse = nullptr;
        QPushButton *open = nullptr;
        PictureBox *erase = nullptr;
    };
    void buildSlot(QWidget *panel, int k);
    QString fileName(int k) const;

    AppContext m_context;
    AttachmentHolder *m_holder;
    std::array<Slot, 3> m_slots{};
    QPushButton *m_btnApplica = nullptr;
    QPushButton *m_btnAnnulla = nullptr;
};
