#pragma once

#include "base/appcontext.h"

#include <QWidget>

class QLineEdit;
class QPushButton;

// The login window: the program's main window and the first one created.
class TfrmPassword : public QWidget
{
    Q_OBJECT
public:
    explicit TfrmPassword(const AppContext &context, QWidget *parent = nullptr);

    // Back from the password change: empty field, shown, focused.
    void showAfterChange();

signals:
    // The right password was typed: the start menu is to be shown.
    void loginAccepted();
    // The operator asked for the password change window.
    void changeRequested();

public slots:
    void cmdOKClick();
    void cmdEsciClick();
    void btnCambiaPasswordClick();

protected:
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void txtPasswordChange();

    AppContext m_context;
    QLineEdit *m_txtPassword = nullptr;
    QPushButton *m_cmdOK = nullptr;
};

class QImage;
class QSize;

// The padlock picture at the top of the login and change windows: a padlock
// on the left, a heading and the given lines on the right.
QImage drawPadlockPicture(const QSize &size, const QString &heading, const QStringList &lines);
