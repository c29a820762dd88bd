#pragma once

#include "base/appcontext.h"

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
//
// Only the login window is built before it is shown; the other windows follow,
// in order, right after the login window first paints, so that the operator
// sees it at once. Asking for any window completes the set first.
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
    TfrmCambiaPassword *changePassword() const { return complete()->m_change; }
    TfrmAvvio *startMenu() const { return complete()->m_menu; }
    TfrmStudenti *students() const { return complete()->m_students; }
    TfrmTessera *card() const { return complete()->m_card; }
    // All windows in creation order.
    const QList<QWidget *> &all() const { return complete()->m_all; }

    // True once every window exists.
    bool isComplete() const { return m_all.size() > 1; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // Creates the windows after the login one, once.
    WindowSet *complete() const;
    void createRest();

    AppContext m_context;
    QList<QWidget *> m_all;
    TfrmPassword *m_login = nullptr;
    TfrmCambiaPassword *m_change = nullptr;
    TfrmAvvio *m_menu = nullptr;
    TfrmStudenti *m_students = nullptr;
    TfrmTessera *m_card = nullptr;
    bool m_restQueued = false;
};
