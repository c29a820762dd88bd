#pragma once

#include "base/appcontext.h"

#include <QDialog>

class QPushButton;

// The credits window: the maker's credits picture and a link to its web site.
class TfrmSplash : public QDialog
{
    Q_OBJECT
public:
    explicit TfrmSplash(const AppContext &context, QWidget *parent = nullptr);

public slots:
    void lnkWebClick();
    void btnChiudiClick();

protected:
    void showEvent(QShowEvent *event) override;

private:
    AppContext m_context;
    QPushButton *m_btnChiudi = nullptr;
};
