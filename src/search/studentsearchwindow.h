#pragma once

#include "base/appcontext.h"
#include "base/windowinterfaces.h"
#include "search/studentsearch.h"

#include <QDialog>
#include <QList>

class QLabel;
class QLineEdit;
class QListView;
class QPushButton;
class StudentListModel;

// The search window shared by the student window's search and the ID card's
// import picker: ten filters, the result list, find in the list, the printed
// list. A double-click hands the student of the clicked line to the opener's
// StudentPickTarget, when the mode tag holds the opener's word.
class StudentSearchWindow : public QDialog
{
    Q_OBJECT
public:
    // `target` receives the picked student; null: a pick only closes.
    StudentSearchWindow(const AppContext &context, const QString &caption, QWidget *parent,
                        StudentPickTarget *target);

    // The ten filter fields, in their Enter order, with their record fields.
    QList<SearchFilter> filters() const;
    const SearchResults &results() const;

public slots:
    void btnCercaClick();
    void btnTrovaClick();
    void lstRecordsDblClick();
    void btnStampaClick();

protected:
    // The word the opener writes into lblMemory when the pick is for it.
    virtual QString modeWord() const = 0;

    const AppContext &context() const { return m_context; }
    StudentPickTarget *pickTarget() const { return m_target; }
    // The panel the search results are listed on.
    QWidget *resultPanel() const { return m_panContainer; }

    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

public:
    void done(int result) override;

private:
    void buildFilterPanel();
    void buildResultPanel();
    qsizetype selectedLine() const;
    void selectLine(qsizetype line);

    AppContext m_context;
    StudentPickTarget *m_target = nullptr;
    QWidget *m_panAvvio = nullptr;
    QWidget *m_panContainer = nullptr;
    QList<QLineEdit *> m_filterEdits;
    QList<StudentRecord::Field> m_filterFields;
    QPushButton *m_btnCerca = nullptr;
    QLabel *m_lblAttendere = nullptr;
    QLabel *m_lblConta = nullptr;
    QLineEdit *m_txtTrova = nullptr;
    QPushButton *m_btnTrova = nullptr;
    QListView *m_lstRecords = nullptr;
    QLabel *m_lblTrovate = nullptr;
    StudentListModel *m_model = nullptr;
    ListFinder m_finder; // holds the last text looked for
};
