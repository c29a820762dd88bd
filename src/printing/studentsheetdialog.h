#pragma once

#include "base/art/sheetart.h"

#include "base/appcontext.h"
#include "report/report.h"

#include <QDialog>

#include <memory>

class PictureBox;
class QPushButton;

// What the sheet print and sheet preview dialogs share: the layout, the
// template `repDocumento` and the steps that fill it from the student window
// that opened the dialog. They differ in texts, pictures and the last step.
class StudentSheetDialog : public QDialog
{
    Q_OBJECT
public:
    Report &report() { return *m_report; }

public slots:
    void FormShow();
    void btnStampaClick();
    void btnAnnullaClick();

protected:
    struct Texts
    {
        QString caption;
        QString action;
        QString failure;
    };
    StudentSheetDialog(const AppContext &context, QWidget *parent, const QString &objectName, const Texts &texts);

    // The last step: print or preview the prepared sheet.
    virtual void output() = 0;
    // Puts the explanatory pictures on the white box.
    void addExplanation(const QImage &picture, const QRect &geometry, const QString &name);

    void showEvent(QShowEvent *event) override;

    AppContext m_context;
    std::unique_ptr<Report> m_report;

private:
    void fillSheet();

    Texts m_texts;
    PictureBox *m_logo = nullptr;
    PictureBox *m_temp = nullptr;
    QPushButton *m_action = nullptr;
    bool m_shown = false;
};

