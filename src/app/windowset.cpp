#include "windowset.h"

#include "base/forms.h"
#include "archive/atomicfile.h"
#include "archive/datafolder.h"

#include "tfrmavvio.h"
#include "tfrmcambiapassword.h"
#include "help/tfrmguida.h"
#include "tfrminfo.h"
#include "tfrmpassword.h"
#include "tfrmsplash.h"
#include "card/tfrmanteprimatessera.h"
#include "card/tfrmdatiente.h"
#include "card/tfrmstampatessera.h"
#include "card/tfrmtessera.h"
#include "checks/tfrmcodfisc.h"
#include "checks/tfrmpartitaiva.h"
#include "export/tfrmexpstudenti.h"
#include "media/tfrmallegacartella.h"
#include "media/tfrmslideshow_studenti.h"
#include "media/tfrmwebcam.h"
#include "media/tfrmzoom.h"
#include "printing/tfrmanteprimastudenti.h"
#include "printing/tfrmstampastudenti.h"
#include "register/tfrmprove_sostenute.h"
#include "search/tfrmimportastudenti.h"
#include "search/tfrmtrovastudenti.h"
#include "students/tfrmstudenti.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QPixmapCache>
#include <QTranslator>

namespace {
// Working windows open maximised and take the keyboard.
void showWorking(QWidget *window)
{
    window->showMaximized();
    window->activateWindow();
}
} // namespace

WindowSet::WindowSet(const AppContext &context) : m_context(context)
{
    // Every data file is kept inside the folder from now on, and what a
    // crash left half-written last time goes before anything is read.
    DataFolder::add(context.folder);
    removeInterruptedWrites(context.folder);

    m_login = static_cast<TfrmPassword *>(window(Password));
}

TfrmCambiaPassword *WindowSet::changePassword()
{
    return static_cast<TfrmCambiaPassword *>(window(CambiaPassword));
}

TfrmAvvio *WindowSet::startMenu()
{
    return static_cast<TfrmAvvio *>(window(Avvio));
}

TfrmStudenti *WindowSet::students()
{
    return static_cast<TfrmStudenti *>(window(Studenti));
}

TfrmTessera *WindowSet::card()
{
    return static_cast<TfrmTessera *>(window(Tessera));
}

QList<QWidget *> WindowSet::all()
{
    QList<QWidget *> windows;
    for (int slot = 0; slot < SlotCount; ++slot)
        windows.append(window(Slot(slot)));
    return windows;
}

QList<QWidget *> WindowSet::created() const
{
    QList<QWidget *> windows;
    for (QWidget *w : m_windows)
        if (w)
            windows.append(w);
    return windows;
}

QWidget *WindowSet::window(Slot slot)
{
    if (!m_windows[slot])
        m_windows[slot] = create(slot);
    return m_windows[slot];
}

QWidget *WindowSet::create(Slot slot)
{
    const AppContext &context = m_context;
    // The long-lived windows hand the operator on by showing the next window
    // first and then hiding themselves; each is connected to the others as
    // it is created, and asks for the next one only when it is needed.
    switch (slot) {
    case Password: {
        auto *login = new TfrmPassword(context);
        connect(login, &TfrmPassword::loginAccepted, this, [this] { showWorking(startMenu()); });
        connect(login, &TfrmPassword::changeRequested, this, [this] {
            QWidget *change = changePassword();
            Forms::centre(change);
            change->show();
            change->activateWindow();
        });
        return login;
    }
    case CambiaPassword: {
        auto *change = new TfrmCambiaPassword(context);
        connect(change, &TfrmCambiaPassword::closed, m_login, &TfrmPassword::showAfterChange);
        return change;
    }
    case Avvio: {
        auto *menu = new TfrmAvvio(context);
        connect(menu, &TfrmAvvio::studentsRequested, this, [this] { showWorking(students()); });
        connect(menu, &TfrmAvvio::cardRequested, this, [this] { showWorking(card()); });
        return menu;
    }
    case Studenti: {
        auto *students = new TfrmStudenti(context);
        connect(students, &TfrmStudenti::closedToMenu, this, [this] { showWorking(startMenu()); });
        return students;
    }
    case Tessera: {
        auto *card = new TfrmTessera(context);
        connect(card, &TfrmTessera::closedToMenu, this, [this] { showWorking(startMenu()); });
        return card;
    }
    // The others are opened as new dialogs by the windows that use them;
    // these instances stay hidden.
    case Guida: return new TfrmGuida(context);
    case Info: return new TfrmInfo(context);
    case Splash: return new TfrmSplash(context);
    case Zoom: return new TfrmZoom(context);
    case AllegaCartella: return new TfrmAllegaCartella(context);
    case WebCam: return new TfrmWebCam(context);
    case CodFisc: return new TfrmCodFisc(context);
    case PartitaIva: return new TfrmPartitaIva(context);
    case Slideshow: return new TfrmSlideshow_Studenti(context);
    case TrovaStudenti: return new TfrmTrovaStudenti(context);
    case AnteprimaStudenti: return new TfrmAnteprimaStudenti(context);
    case StampaStudenti: return new TfrmStampaStudenti(context);
    case ProveSostenute: return new TfrmProve_Sostenute(context);
    case ExpStudenti: return new TfrmExpStudenti(context);
    case DatiEnte: return new TfrmDatiEnte(context);
    case StampaTessera: return new TfrmStampaTessera(context);
    case AnteprimaTessera: return new TfrmAnteprimaTessera(context);
    case ImportaStudenti: return new TfrmImportaStudenti(context);
    case SlotCount: break;
    }
    return nullptr;
}

void WindowSet::prepareProcess()
{
    // No dependence on graphics acceleration.
    QCoreApplication::setAttribute(Qt::AA_UseSoftwareOpenGL);
}


void WindowSet::setupApplication(QApplication &app)
{
    QApplication::setApplicationName(QStringLiteral("Lumetra"));
    // No display name: Qt would append it to every caption.
    // Standard buttons and dialogs speak Italian too.
    auto *translator = new QTranslator(&app);
    if (translator->load(QLocale(QLocale::Italian, QLocale::Italy), QStringLiteral("qtbase"),
                         QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(translator);
    else
        delete translator;
    // The style keeps the pictures of drawn buttons and frames; our controls
    // carry palettes of their own, so every new window adds pictures of its
    // own until the cache is full. A small cache caps what a session keeps.
    QPixmapCache::setCacheLimit(PixmapCacheKb);
}

void WindowSet::start()
{
    Forms::centre(m_login);
    m_login->show();
    m_login->activateWindow();
}

WindowSet::~WindowSet()
{
    for (auto it = m_windows.rbegin(); it != m_windows.rend(); ++it)
        delete *it;
    DataFolder::remove(m_context.folder);
}
