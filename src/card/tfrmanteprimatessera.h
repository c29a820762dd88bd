#pragma once

#include "base/appcontext.h"
#include "report/report.h"

#include <QDialog>

#include <memory>

class IdCardSource;
class QLabel;
class QPushButton;

// Shows the card that `source` shows in the report preview window: always
// portrait, without the stored margins, with the card window's date captions.
// Reads and writes no file. Without a source the template's design card is
// shown.
class TfrmAnteprimaTessera : public QDialog
{
    Q_OBJECT
public:
    TfrmAnteprimaTessera(const AppContext &context, QWidget *parent = nullptr, const IdCardSource *source = nullptr);
    ~TfrmAnteprimaTessera() override;

    Report &report() { return *m_report; }

    // What the operator is told when the preview cannot be prepared or shown.
    static QString failureText();

public slots:
    void btnStampaClick();
    void btnAnnullaClick();

protected:
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void showWaiting(bool on);

    AppContext m_context;
    const IdCardSource *m_source;
    std::unique_ptr<Report> m_report;
    QLabel *m_lblAttendere = nullptr;
    QPushButton *m_btnStampa = nullptr;
    bool m_shown = false;
};
