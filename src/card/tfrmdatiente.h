#pragma once

#include "base/appcontext.h"
#include "base/windowinterfaces.h"

#include <QDialog>

class QLineEdit;

// The school data dialog: edits the four school texts of the ID card. In
// mode "tessera" (written into lblMemory by the opener), "Applica e chiudi"
// hands the trimmed texts to the opener's SchoolTextsTarget; in any other
// mode, and with "Annulla", nothing goes back. It reads and writes no file.
class TfrmDatiEnte : public QDialog
{
    Q_OBJECT
public:
    // `target` receives the confirmed texts; null: confirming only closes.
    explicit TfrmDatiEnte(const AppContext &context, QWidget *parent = nullptr,
                          SchoolTextsTarget *target = nullptr);

    // Fills the four edits: the texts the card shows when the dialog opens.
    void setSchoolTexts(const SchoolTexts &texts);
    // The four edits' texts, trimmed.
    SchoolTexts schoolTexts() const;

public slots:
    void btnAnnullaClick();
    void btnApplicaClick();

protected:
    void showEvent(QShowEvent *event) override;

private:
    AppContext m_context;
    SchoolTextsTarget *m_target = nullptr;
    QLineEdit *m_txtAssociazione = nullptr;
    QLineEdit *m_txtSottotitolo01 = nullptr;
    QLineEdit *m_txtSottotitolo02 = nullptr;
    QLineEdit *m_txtAnnotazioni = nullptr;
    QWidget *m_effAssociazione = nullptr;
};
