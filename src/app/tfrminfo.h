#pragma once

#include "base/appcontext.h"

#include <QDialog>

class QPushButton;

// The about window: a heading, what the program is, and a link that starts
// an e-mail to the maker.
class TfrmInfo : public QDialog
{
    Q_OBJECT
public:
    explicit TfrmInfo(const AppContext &context, QWidget *parent = nullptr);

    // The mailto: link handed to the shell, quotes included.
    static QString mailLink();

public slots:
    void lnkWebClick();
    void btnChiudiClick();

protected:
    void showEvent(QShowEvent *event) override;

private:
    AppContext m_context;
    QPushButton *m_btnChiudi = nullptr;
};
