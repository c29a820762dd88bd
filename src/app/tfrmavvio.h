#pragma once

#include "base/appcontext.h"

#include <QWidget>

// The start menu: reaches the student archive, the ID cards, the export, the
// statistics and the about, credits and guide windows.
class TfrmAvvio : public QWidget
{
    Q_OBJECT
public:
    explicit TfrmAvvio(const AppContext &context, QWidget *parent = nullptr);

    // The maker's web site opened by imgSito.
    static QString webSite();

signals:
    // The student window / card window is to be shown (the menu then hides).
    void studentsRequested();
    void cardRequested();

public slots:
    void imgStaffClick();
    void imgBadgesClick();
    void imgExportClick();
    // The statistics window, modal (btnStatistiche, Ctrl+T).
    void imgStatisticheClick();
    void imgInfoClick();
    void imgCopyrightClick();
    void imgGuidaClick();
    void imgSitoClick();
    void imgEsciClick();

protected:
    void closeEvent(QCloseEvent *event) override;
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void enableKeyboard();
    AppContext m_context;
};
