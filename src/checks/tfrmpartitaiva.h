#pragma once

#include "base/appcontext.h"

#include <QDialog>

class QLineEdit;
class QPushButton;

// Tells whether a partita IVA is well formed by its check digit and, when it
// is, names the VAT office that issued it.
class TfrmPartitaIva : public QDialog
{
    Q_OBJECT
public:
    explicit TfrmPartitaIva(const AppContext &context, QWidget *parent = nullptr);

private slots:
    void btnControllaClick();
    void btnChiudiClick();

protected:
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // True when the key goes on to the edit.
    bool txtPartitaIvaKeyDown(QKeyEvent *event);

    AppContext m_context;
    QLineEdit *m_txtPartitaIva = nullptr;
    QPushButton *m_btnControlla = nullptr;
};
