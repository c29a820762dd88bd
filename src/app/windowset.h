#pragma once

#include "base/appcontext.h"

#include <QList>
#include <QObject>

#include <array>

class QApplication;
class QWidget;
class TfrmPassword;
class TfrmCambiaPassword;
class TfrmAvvio;
class TfrmStudenti;
class TfrmTessera;

// The program's windows, each created once, in a fixed order; the first, the
// login window, is the main window. Owns them all.
//
// Only the login window is built before it is shown. Every other window is
// built the first time it is asked for (the start menu after a correct
// password, the student and card windows from the menu), so that nothing
// stands between the login window's first paint and the operator's first
// key. The windows that are only ever opened as new dialogs are built just
// when all() asks for the whole set.
class WindowSet : public QObject
{
    Q_OBJECT
public:
    explicit WindowSet(const AppContext &context);
    ~WindowSet() override;

    // Settings that must be made before the QApplication exists.
    static void prepareProcess();
    // Names, the Italian texts of Qt's own buttons and dialogs, and the
    // size of the style's picture cache (PixmapCacheKb).
    static void setupApplication(QApplication &app);
    static constexpr int PixmapCacheKb = 1024;

    // Shows the login window, centred: the only window visible at start.
    void start();

    TfrmPassword *login() const { return m_login; }
    TfrmCambiaPassword *changePassword();
    TfrmAvvio *startMenu();
    TfrmStudenti *students();
    TfrmTessera *card();
    // All 23 windows in the set's order, creating those not asked for yet.
    QList<QWidget *> all();
    // The windows created so far, in the set's order.
    QList<QWidget *> created() const;

private:
    // The set's order.
    enum Slot {
        Password, CambiaPassword, Guida, Info, Splash, Avvio, Studenti, Zoom, AllegaCartella, WebCam, CodFisc,
        PartitaIva, Slideshow, TrovaStudenti, AnteprimaStudenti, StampaStudenti, ProveSostenute, ExpStudenti,
        Tessera, DatiEnte, StampaTessera, AnteprimaTessera, ImportaStudenti, SlotCount
    };
    // The window of `slot`, created (and connected to the others) when missing.
    QWidget *window(Slot slot);
    QWidget *create(Slot slot);

    AppContext m_context;
    std::array<QWidget *, SlotCount> m_windows{};
    TfrmPassword *m_login = nullptr;
};
