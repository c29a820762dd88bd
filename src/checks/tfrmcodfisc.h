#pragma once

#include "base/appcontext.h"

#include <QDialog>

class QLineEdit;
class QPushButton;

// Tells whether a codice fiscale is well formed by its check character.
class TfrmCodFisc : public QDialog
{
    Q_OBJECT
public:
    explicit TfrmCodFisc(const AppContext &context, QWidget *parent = nullptr);

private slots:
    void txtCodFiscTyping();
    void btnControllaClick();
    void btnChiudiClick();

protected:
    void showEvent(QShowEvent *event) override;

private:
    AppContext m_context;
    QLineEdit *m_txtCodFisc = nullptr;
    QPushButton *m_btnControlla = nullptr;
};
