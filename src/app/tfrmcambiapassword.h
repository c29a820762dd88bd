#pragma once

#include "base/appcontext.h"

#include <QWidget>

class QLineEdit;
class QPushButton;

// The password change window, reached from the login window.
class TfrmCambiaPassword : public QWidget
{
    Q_OBJECT
public:
    explicit TfrmCambiaPassword(const AppContext &context, QWidget *parent = nullptr);

signals:
    // The window closed in any way: the login window takes over again.
    void closed();

public slots:
    void cmdOKClick();
    void cmdEsciClick();

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void fieldsChange();

    AppContext m_context;
    QLineEdit *m_txtPasswordOld = nullptr;
    QLineEdit *m_txtPasswordNew = nullptr;
    QLineEdit *m_txtConferma = nullptr;
    QPushButton *m_cmdOK = nullptr;
};
