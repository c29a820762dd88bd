#pragma once

#include "appcontext.h"

#include <QList>
#include <QObject>

class QApplication;
class QWidget;
class TfrmPassword;
class TfrmCambiaPassword;
class TfrmAvvio;
class TfrmStudenti;
class TfrmTessera;

// The program's windows, created once at start in a fixed order; the first,
// the login window, is the main window. Owns them all.
class WindowSet : public QObject
{
    Q_OBJECT
public:
    explicit WindowSet(const AppContext &context);
    ~WindowSet() override;

    // Settings that must be made before the QApplication exists.
    static void prepareProcess();
    // Names and the Italian texts of Qt's own buttons and dialogs.
    static void setupApplication(QApplication &app);

    // Shows the login window, centred: the only window visible at start.
    void start();

    TfrmPassword *login() const { return m_login; }
    TfrmCambiaPassword *changePassword() const { return m_change; }
    TfrmAvvio *startMenu() const { return m_menu; }
    TfrmStudenti *students() const { return m_students; }
    TfrmTessera *card() const { return m_card; }
    // All windows in creation order.
    const QList<QWidget *> &all() const { return m_all; }

private:
    QList<QWidget *> m_all;
    TfrmPassword *m_login = nullptr;
    TfrmCambiaPassword *m_change = nullptr;
    TfrmAvvio *m_menu = nullptr;
    TfrmStudenti *m_students = nullptr;
    TfrmTessera *m_card = nullptr;
};
