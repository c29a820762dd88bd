#pragma once

#include "base/appcontext.h"
#include "register/testlist.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

// The register of one student's tests: the list with find, add and modify on
// the edit panel, and the printed summary. The student is the one shown in
// the window that opens it.
class TfrmProve_Sostenute : public QDialog
{
    Q_OBJECT
public:
    explicit TfrmProve_Sostenute(const AppContext &context, QWidget *parent = nullptr);

private slots:
    void btnTrovaClick();
    void btnAggiungiClick();
    void btnModificaClick();
    void btnSalvaClick();
    void btnStampaClick();
    void impOggiClick();

protected:
    void showEvent(QShowEvent *event) override;
    void done(int result) override;

private:
    void buildListPanel(QWidget *panel);
    void buildEditPanel(QWidget *panel);
    void fillList();
    void showEditPanel();
    // A control of the opening window; the empty text when there is none.
    QString ownerText(const QString &name) const;
    QString studentName() const;
    int selectedEntry() const;

    AppContext m_context;
    QWidget *m_panContainer = nullptr;
    QWidget *m_panCosti = nullptr;
    QLabel *m_lblTitolo = nullptr;
    QLineEdit *m_txtTrova = nullptr;
    QPushButton *m_btnTrova = nullptr;
    QListWidget *m_lstRecords = nullptr;
    QLabel *m_lblTotale = nullptr;
    QLineEdit *m_edits[5] = {};
    QLabel *m_lblPosizione = nullptr; // record being edited, empty for a new test
    QLabel *m_lblFile = nullptr;      // the tests file
    QString m_number; // the student's record number, read when shown
    TestListFinder m_finder;
};
