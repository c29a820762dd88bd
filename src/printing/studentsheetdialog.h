#pragma once

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

namespace StudentSheetArt {
// The explanatory pictures: a white card with an icon, a heading and text.
enum class Icon { Printer, Screen, Note };
QImage explanation(const QSize &size, Icon icon, const QString &heading, const QStringList &paragraphs);
// The fallback photo: the silhouette on a light frame.
QImage fallbackPhoto();
} // namespace StudentSheetArt
