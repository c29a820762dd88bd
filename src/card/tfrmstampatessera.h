#pragma once

#include "base/appcontext.h"
#include "report/report.h"

#include <QDialog>

#include <memory>

class IdCardSource;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

// Prints the card that `source` shows, shifted on the paper by the top and
// left margins and turned as stored in "Tesserini.ini". The settings are
// loaded when the window is shown and saved at every print, before the card
// is prepared; `Annulla` leaves them as they were. Without a source the
// template's design card is printed.
class TfrmStampaTessera : public QDialog
{
    Q_OBJECT
public:
    TfrmStampaTessera(const AppContext &context, QWidget *parent = nullptr, const IdCardSource *source = nullptr);
    ~TfrmStampaTessera() override;

    Report &report() { return *m_report; }

    // The failure message of the print action.
    static QString failureText();

public slots:
    void FormShow();
    void btnTopMinusClick();
    void btnTopPlusClick();
    void btnLeftMinusClick();
    void btnLeftPlusClick();
    void btnStampaClick();
    void btnAnnullaClick();

protected:
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // The two save actions the print action runs; throw when the settings
    // file cannot be written.
    void btnApplicaTopClick();
    void btnApplicaLeftClick();
    void stepMargin(QLineEdit *edit, int delta, const QString &which);
    // True when the card would reach the paper, or when the operator chose
    // to bring the margins that push it off back to 0 (nothing is printed
    // then either).
    bool cardReachesPaper();
    void printCard();
    void showWaiting(bool on);
    QString settingsPath() const;

    AppContext m_context;
    const IdCardSource *m_source;
    std::unique_ptr<Report> m_report;
    QLineEdit *m_txtTop = nullptr;
    QLineEdit *m_txtLeft = nullptr;
    QRadioButton *m_optVerticale = nullptr;
    QRadioButton *m_optOrizzontale = nullptr;
    QLabel *m_lblAttendere = nullptr;
    QPushButton *m_btnStampa = nullptr;
    bool m_shown = false;
};
