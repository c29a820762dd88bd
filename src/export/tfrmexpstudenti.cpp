#include "tfrmexpstudenti.h"

#include "archivetablemodel.h"
#include "exportart.h"
#include "exportgrid.h"
#include "photoimportdialog.h"
#include "spreadsheetexport.h"
#include "tfrmimportafoglio.h"

#include "archive/recordfile.h"
#include "base/forms.h"
#include "base/kit.h"
#include "base/platform.h"
#include "base/useraction.h"
#include "base/widgets.h"
#include "help/tfrmguida.h"

#include <QEvent>
#include <QGuiApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include "base/shortcuts.h"

namespace {

const QColor kGradientTop(0x42, 0x7A, 0xA8);
const QColor kGridBox(0xC8, 0xD6, 0xE3);
const QColor kBoxBorder(0xCD, 0xDF, 0xEE);
const QColor kInfoBar(0x30, 0x30, 0xDD);

const QString kCrLf = QStringLiteral("\r\n");

QString askExportText()
{
    return QStringLiteral("L'esportazione dei dati in Excel può richiedere diversi minuti a seconda del "
                          "numero di schede presenti in archivio.")
           + kCrLf + kCrLf + QStringLiteral("Si vuole esportare i dati adesso?");
}

QString askOpenText()
{
    return QStringLiteral("Le schede in archivio sono state esportate con successo.") + kCrLf + kCrLf
           + QStringLiteral("Si vuole aprire il file di Excel?");
}

QString failureText()
{
    return QStringLiteral("Attenzione: il sistema non permette di esportare i dati.") + QStringLiteral("\n\r\n\r")
           + QStringLiteral("Accertarsi che il file di Excel non sia già aperto.");
}

// The busy cursor for as long as the window works without answering.
struct BusyCursor
{
    BusyCursor() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
    ~BusyCursor() { QGuiApplication::restoreOverrideCursor(); }
};

} // namespace

TfrmExpStudenti::TfrmExpStudenti(const AppContext &context, QWidget *parent)
    : QDialog(parent), m_context(context)
{
    setObjectName(QStringLiteral("frmExpStudenti"));
    Forms::applyDataFormats();
    buildLayout();
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                   | Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint);
    setWindowState(windowState() | Qt::WindowMaximized);

    Shortcuts::bind(this, QStringLiteral("cmdGuida"), QKeySequence::HelpContents);
    Shortcuts::bind(this, QStringLiteral("cmdEsporta"), QKeySequence(Qt::CTRL | Qt::Key_E));
    Shortcuts::bind(this, QStringLiteral("cmdEsportaXlsx"), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_E));
    Shortcuts::bind(this, QStringLiteral("cmdImportaStudenti"), QKeySequence(Qt::CTRL | Qt::Key_I));
    Shortcuts::bind(this, QStringLiteral("cmdImportaFoto"), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_I));
}

TfrmExpStudenti::~TfrmExpStudenti() = default;

QString TfrmExpStudenti::idleHint()
{
    return QStringLiteral("Pronto per esportare l'archivio in Excel...");
}

QString TfrmExpStudenti::exportPath() const
{
    return m_context.path(SpreadsheetExport::fileName());
}

void TfrmExpStudenti::buildLayout()
{
    QWidget *panel = Forms::setupWorkingWindow(this, QStringLiteral(" Lumetra - Esportazione in Excel"),
                                               QSize(994, 692), kGradientTop);

    Kit::box(QStringLiteral("shpContainer"), QRect(8, 8, 978, 675), panel, kGradientTop, Qt::white, kBoxBorder);
    Kit::box(QStringLiteral("shpLibri"), QRect(16, 16, 138, 65), panel, Qt::white, Qt::white, kBoxBorder);
    Kit::box(QStringLiteral("shpComandi"), QRect(160, 16, 818, 65), panel, Qt::white, Qt::white, kBoxBorder);
    Kit::box(QStringLiteral("shpGriglia"), QRect(16, 88, 962, 546), panel, kGridBox, kGridBox, kBoxBorder);
    QList<QWidget *> quiet{this, panel};
    quiet << Kit::picture(QStringLiteral("imgLibri"), QRect(17, 17, 136, 63), panel,
                          ExportArt::books(QSize(136, 63)))
          << Kit::picture(QStringLiteral("imgBanner"), QRect(165, 21, 505, 55), panel,
                          ExportArt::banner(QSize(505, 55)))
          << Kit::picture(QStringLiteral("imgMano"), QRect(674, 30, 34, 30), panel,
                          ExportArt::pointingHand(QSize(34, 30)));

    // Hint line.
    auto *info = Kit::box(QStringLiteral("shpInfo"), QRect(16, 642, 962, 32), panel, kInfoBar, kInfoBar);
    info->setAttribute(Qt::WA_TransparentForMouseEvents);
    m_panInfo = new QLabel(idleHint(), panel);
    m_panInfo->setTextFormat(Qt::PlainText);
    m_panInfo->setObjectName(QStringLiteral("panInfo"));
    m_panInfo->setGeometry(22, 650, 950, 18);
    m_panInfo->setAttribute(Qt::WA_TransparentForMouseEvents);
    m_panInfo->setFont(Forms::pointFont(QStringLiteral("Tahoma"), 12));
    m_panInfo->setStyleSheet(QStringLiteral("color: white; background: transparent;"));

    auto *esporta = Kit::pictureButton(QStringLiteral("cmdEsporta"), QRect(714, 23, 49, 50), panel,
                                       ExportArt::exportButton(QSize(49, 50)), m_panInfo,
                                       QStringLiteral("Esporta l'archivio in formato Microsoft Excel."));
    auto *guida = Kit::pictureButton(QStringLiteral("cmdGuida"), QRect(820, 21, 50, 55), panel,
                                     ExportArt::guideButton(QSize(50, 55)), m_panInfo,
                                     QStringLiteral("Visualizza la pagina della guida sensibile al contesto."));
    auto *esci = Kit::pictureButton(QStringLiteral("cmdEsci"), QRect(926, 23, 40, 50), panel,
                                    ExportArt::exitButton(QSize(40, 50)), m_panInfo,
                                    QStringLiteral("Esci da questo ambiente di lavoro."));
    auto *esportaXlsx = Kit::pictureButton(
        QStringLiteral("cmdEsportaXlsx"), QRect(766, 23, 46, 50), panel, ExportArt::workbookButton(QSize(46, 50)),
        m_panInfo,
        QStringLiteral("Esporta l'archivio in .xlsx (Excel) o .ods (OpenDocument): ogni valore resta com'è "
                       "scritto."));
    auto *importaFoto = Kit::pictureButton(
        QStringLiteral("cmdImportaFoto"), QRect(572, 23, 46, 50), panel, ExportArt::photoImportButton(QSize(46, 50)),
        m_panInfo,
        QStringLiteral("Importa le foto di una cartella nelle schede: il nome di ogni file dice a quale scheda va."));
    connect(importaFoto, &PictureBox::clicked, this, &TfrmExpStudenti::cmdImportaFotoClick);
    auto *importaStudenti = Kit::pictureButton(
        QStringLiteral("cmdImportaStudenti"), QRect(622, 23, 46, 50), panel,
        ExportArt::studentImportButton(QSize(46, 50)), m_panInfo,
        QStringLiteral("Importa gli studenti da un foglio di calcolo (.csv, .xlsx, .ods)."));
    connect(importaStudenti, &PictureBox::clicked, this, &TfrmExpStudenti::cmdImportaStudentiClick);
    connect(esporta, &PictureBox::clicked, this, &TfrmExpStudenti::cmdEsportaClick);
    connect(esportaXlsx, &PictureBox::clicked, this, &TfrmExpStudenti::cmdEsportaXlsxClick);
    connect(guida, &PictureBox::clicked, this, &TfrmExpStudenti::cmdGuidaClick);
    connect(esci, &PictureBox::clicked, this, &TfrmExpStudenti::cmdEsciClick);

    m_model = new ArchiveTableModel(this);
    m_grid = new ExportGrid(panel);
    m_grid->setObjectName(QStringLiteral("grdRecords"));
    m_grid->setGeometry(24, 96, 946, 529);
    m_grid->setModel(m_model);
    m_grid->applyColumnWidths();
    quiet << m_grid << m_grid->viewport() << m_grid->horizontalHeader();

    for (QWidget *w : quiet) {
        w->setMouseTracking(true);
        Forms::quietHint(w, m_panInfo);
    }
}

void TfrmExpStudenti::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!m_filled) {
        m_filled = true;
        fillGrid();
    }
}

void TfrmExpStudenti::keyPressEvent(QKeyEvent *event)
{
    // Escape would close the window and drop what was typed into the grid;
    // the window closes through its exit picture or its title bar.
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void TfrmExpStudenti::fillGrid(bool keepEdits)
{
    BusyCursor busy;
    try {
        m_model->load(m_context.folder, keepEdits);
    } catch (const FileAccessError &) {
        // Not reported: the grid keeps the rows read so far.
    }
}

void TfrmExpStudenti::cmdEsportaClick()
{
    m_grid->commitPendingEdit();
    Platform &platform = *m_context.platform;
    if (!platform.confirm(this, askExportText()))
        return;
    const QString path = exportPath();
    const bool written = runUserAction(platform, this, Platform::MessageKind::Notice, failureText(), [&] {
        BusyCursor busy;
        SpreadsheetExport::write(path, *m_model);
    });
    if (!written)
        return;
    if (platform.confirm(this, askOpenText()))
        platform.shellOpen(path);
}

void TfrmExpStudenti::cmdEsportaXlsxClick()
{
    m_grid->commitPendingEdit();
    Platform &platform = *m_context.platform;
    // The save dialog is the question: cancelling it writes nothing.
    const QString path = platform.saveFileName(
        this, QStringLiteral("Esporta l'archivio in un foglio di calcolo"),
        QStringLiteral("Cartella di lavoro di Excel (*.xlsx);;Foglio di calcolo OpenDocument (*.ods)"),
        m_context.path(SpreadsheetExport::workbookFileName()), QStringLiteral("xlsx"));
    if (path.isEmpty())
        return;
    const bool written = runUserAction(platform, this, Platform::MessageKind::Notice, failureText(), [&] {
        BusyCursor busy;
        SpreadsheetExport::writeWorkbook(path, *m_model);
    });
    if (!written)
        return;
    if (platform.confirm(this, askOpenText()))
        platform.shellOpen(path);
}

void TfrmExpStudenti::cmdImportaFotoClick()
{
    m_grid->commitPendingEdit();
    TfrmImportaFoto::run(m_context, this);
}

void TfrmExpStudenti::cmdImportaStudentiClick()
{
    m_grid->commitPendingEdit();
    // The new cards shown, what was typed into the grid kept.
    if (TfrmImportaFoglio::run(m_context, this))
        fillGrid(true);
}

void TfrmExpStudenti::cmdGuidaClick()
{
    TfrmGuida::showHelp(m_context, this, HelpTexts::Topic::Export);
}

void TfrmExpStudenti::cmdEsciClick()
{
    close();
}
