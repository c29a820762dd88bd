#pragma once

#include "base/appcontext.h"
#include "stats/archivestats.h"

#include <QDialog>
#include <QMap>
#include <QTimer>

#include <optional>

class QComboBox;
class QDateEdit;
class QLabel;
class QProgressBar;
class QPushButton;
class QTabWidget;
class StatsRunner;
class StatsSectionView;

// "Statistiche": the archive at a glance for a period of course dates (the
// school year of today by default) and optionally one course. The count runs
// in the background as soon as the window opens and again whenever the
// period or the course changes, with its progress in `prgConteggio`; the
// window answers meanwhile. One tab per breakdown (`tabSezioni`), each with
// its chart beside its table. Stampa, Anteprima and Esporta XLSX use the
// last count.
// Controls: dtpDal, dtpAl, cmbCorso, btnCalcola (F5), btnStampa (Ctrl+P),
// btnAnteprima (Ctrl+Shift+P), btnEsporta (Ctrl+Shift+E), btnChiudi,
// prgConteggio, lblStato, lblRiepilogo, tabSezioni.
class TfrmStatistiche : public QDialog
{
    Q_OBJECT
public:
    explicit TfrmStatistiche(const AppContext &context, QWidget *parent = nullptr);
    ~TfrmStatistiche() override;

    // The last count, when there is one.
    const std::optional<ArchiveStats::Result> &result() const { return m_result; }
    bool isCounting() const;

    static QString countingText();  // "Conteggio in corso..."
    static QString doneText();      // "Conteggio completato."
    static QString badPeriodText(); // the period's start comes after its end
    static QString printFailedText();
    static QString exportFailedText();

public slots:
    void btnCalcolaClick();
    void btnStampaClick();
    void btnAnteprimaClick();
    void btnEsportaClick();
    void btnChiudiClick();

signals:
    // A count has ended and its result is shown (or its failure told).
    void counted();

protected:
    void showEvent(QShowEvent *event) override;

private:
    void buildLayout();
    void filtersChanged();
    void showProgress(int permille);
    void countEnded(bool ok);
    void fillCourses();
    void setBusy(bool busy);
    void printOrPreview(bool preview);

    AppContext m_context;
    StatsRunner *m_runner = nullptr;
    QDateEdit *m_from = nullptr;
    QDateEdit *m_to = nullptr;
    QComboBox *m_course = nullptr;
    QProgressBar *m_progress = nullptr;
    QLabel *m_state = nullptr;
    QLabel *m_summary = nullptr;
    QTabWidget *m_tabs = nullptr;
    QPushButton *m_print = nullptr;
    QPushButton *m_preview = nullptr;
    QPushButton *m_export = nullptr;
    QMap<QString, StatsSectionView *> m_views;
    QTimer m_recount;
    std::optional<ArchiveStats::Result> m_result;
    bool m_started = false;
    bool m_fillingCourses = false;
};
