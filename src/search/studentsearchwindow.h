#pragma once

#include "base/appcontext.h"
#include "base/windowinterfaces.h"
#include "search/studentsearch.h"

#include <QDialog>
#include <QList>

class QLabel;
class QLineEdit;
class QListView;
class QProgressBar;
class QPushButton;
class SearchRunner;
class StudentListModel;

// The search window shared by the student window's search and the ID card's
// import picker: ten filters, the result list, find in the list, the printed
// list. A double-click hands the student of the clicked line to the opener's
// StudentPickTarget, when the mode tag holds the opener's word.
//
// The archive is scanned on a thread of its own while the window goes on
// answering; a search that takes a while shows how far it has come and a
// button that stops it. btnCercaClick() returns once the search has ended,
// with the window as a search that blocked it would have left it.
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
    // Stops a search under way: the window stays on the filter panel.
    void btnInterrompiClick();
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

    // How long a search runs before its progress and stop button are shown
    // (300 ms): quick searches look as they always have.
    int progressDelayMs() const { return m_progressDelayMs; }
    void setProgressDelayMs(int ms) { m_progressDelayMs = ms; }

signals:
    // A search started by Cerca has ended, listed or not.
    void searchFinished();

private:
    void buildFilterPanel();
    void buildResultPanel();
    qsizetype selectedLine() const;
    void selectLine(qsizetype line);
    void showProgress(int permille, qint64 elapsedMs);
    void endProgress();

    AppContext m_context;
    StudentPickTarget *m_target = nullptr;
    QWidget *m_panAvvio = nullptr;
    QWidget *m_panContainer = nullptr;
    QList<QLineEdit *> m_filterEdits;
    QList<StudentRecord::Field> m_filterFields;
    QPushButton *m_btnCerca = nullptr;
    QLabel *m_lblAttendere = nullptr;
    QLabel *m_lblConta = nullptr;
    QProgressBar *m_prgRicerca = nullptr;
    QPushButton *m_btnInterrompi = nullptr;
    SearchRunner *m_runner = nullptr;
    int m_progressDelayMs = 300;
    QLineEdit *m_txtTrova = nullptr;
    QPushButton *m_btnTrova = nullptr;
    QListView *m_lstRecords = nullptr;
    QLabel *m_lblTrovate = nullptr;
    StudentListModel *m_model = nullptr;
    ListFinder m_finder; // holds the last text looked for
};
