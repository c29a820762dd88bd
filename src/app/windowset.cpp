#include "windowset.h"

#ifdef LUMETRA_HAVE_FONTCONFIG
#include <fontconfig/fontconfig.h>

#include <thread>
#endif

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
#include <QEvent>
#include <QTimer>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace {
// Working windows open maximised and take the keyboard.
void showWorking(QWidget *window)
{
    window->showMaximized();
    window->activateWindow();
}

template<typename T>
T *create(QList<QWidget *> &all, const AppContext &context)
{
    auto *window = new T(context);
    all.append(window);
    return window;
}
} // namespace

WindowSet::WindowSet(const AppContext &context) : m_context(context)
{
    // Every data file is kept inside the folder from now on, and what a
    // crash left half-written last time goes before anything is read.
    DataFolder::add(context.folder);
    removeInterruptedWrites(context.folder);

    m_login = create<TfrmPassword>(m_all, context);
    m_login->installEventFilter(this);

    // The long-lived windows hand the operator on by showing the next window
    // first and then hiding themselves.
    connect(m_login, &TfrmPassword::loginAccepted, this, [this] { showWorking(startMenu()); });
    connect(m_login, &TfrmPassword::changeRequested, this, [this] {
        QWidget *change = changePassword();
        Forms::centre(change);
        change->show();
        change->activateWindow();
    });
}

WindowSet *WindowSet::complete() const
{
    auto *self = const_cast<WindowSet *>(this);
    if (!isComplete())
        self->createRest();
    return self;
}

bool WindowSet::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_login && event->type() == QEvent::Paint && !m_restQueued) {
        m_restQueued = true;
        // After this paint reaches the screen, not before it.
        QTimer::singleShot(0, this, [this] { complete(); });
    }
    return QObject::eventFilter(watched, event);
}

void WindowSet::createRest()
{
    const AppContext &context = m_context;
    m_change = create<TfrmCambiaPassword>(m_all, context);
    create<TfrmGuida>(m_all, context);
    create<TfrmInfo>(m_all, context);
    create<TfrmSplash>(m_all, context);
    m_menu = create<TfrmAvvio>(m_all, context);
    m_students = create<TfrmStudenti>(m_all, context);
    create<TfrmZoom>(m_all, context);
    create<TfrmAllegaCartella>(m_all, context);
    create<TfrmWebCam>(m_all, context);
    create<TfrmCodFisc>(m_all, context);
    create<TfrmPartitaIva>(m_all, context);
    create<TfrmSlideshow_Studenti>(m_all, context);
    create<TfrmTrovaStudenti>(m_all, context);
    create<TfrmAnteprimaStudenti>(m_all, context);
    create<TfrmStampaStudenti>(m_all, context);
    create<TfrmProve_Sostenute>(m_all, context);
    create<TfrmExpStudenti>(m_all, context);
    m_card = create<TfrmTessera>(m_all, context);
    create<TfrmDatiEnte>(m_all, context);
    create<TfrmStampaTessera>(m_all, context);
    create<TfrmAnteprimaTessera>(m_all, context);
    create<TfrmImportaStudenti>(m_all, context);

    // The long-lived windows hand the operator on by showing the next window
    // first and then hiding themselves.
    connect(m_change, &TfrmCambiaPassword::closed, m_login, &TfrmPassword::showAfterChange);
    connect(m_menu, &TfrmAvvio::studentsRequested, m_students, [this] { showWorking(m_students); });
    connect(m_menu, &TfrmAvvio::cardRequested, m_card, [this] { showWorking(m_card); });
    connect(m_students, &TfrmStudenti::closedToMenu, m_menu, [this] { showWorking(m_menu); });
    connect(m_card, &TfrmTessera::closedToMenu, m_menu, [this] { showWorking(m_menu); });
}

void WindowSet::prepareProcess()
{
    // No dependence on graphics acceleration.
    QCoreApplication::setAttribute(Qt::AA_UseSoftwareOpenGL);
#ifdef LUMETRA_HAVE_FONTCONFIG
    // Reading the system font configuration takes several milliseconds; it
    // runs on the second core while Qt connects to the display, so the login
    // window's first text finds it ready. FcInit is safe to race: the loser's
    // copy is dropped.
    std::thread([] { FcInit(); }).detach();
#endif
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
}

void WindowSet::start()
{
    Forms::centre(m_login);
    m_login->show();
    m_login->activateWindow();
}

WindowSet::~WindowSet()
{
    for (auto it = m_all.crbegin(); it != m_all.crend(); ++it)
        delete *it;
    DataFolder::remove(m_context.folder);
}
