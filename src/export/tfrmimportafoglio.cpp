#include "tfrmimportafoglio.h"

#include "importpreviewmodel.h"

#include "archive/atomicfile.h"
#include "archive/studentfiles.h"
#include "base/forms.h"
#include "base/kit.h"
#include "base/platform.h"
#include "base/shortcuts.h"
#include "base/widgets.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QCoreApplication>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QProgressDialog>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTableView>
#include <QTableWidget>
#include <QTextDocument>

namespace {

const QColor kGradientTop(0x42, 0x7A, 0xA8);
const QColor kGridBox(0xC8, 0xD6, 0xE3);
const QColor kBoxBorder(0xCD, 0xDF, 0xEE);

struct BusyCursor
{
    BusyCursor() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
    ~BusyCursor() { QGuiApplication::restoreOverrideCursor(); }
};

QString failedStoreText()
{
    return ArchiveMessages::accessError() + QStringLiteral("\n\r\n\r")
           + QStringLiteral("Nessuna scheda è stata inserita o aggiornata.");
}

} // namespace

TfrmImportaFoglio::TfrmImportaFoglio(const AppContext &context, QWidget *parent)
    : QDialog(parent), m_context(context)
{
    setObjectName(QStringLiteral("frmImportaFoglio"));
    Forms::applyDataFormats();
    buildLayout();
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinMaxButtonsHint
                   | Qt::WindowCloseButtonHint);
    setWindowState(windowState() | Qt::WindowMaximized);
    Shortcuts::bind(this, QStringLiteral("cmdImporta"), QKeySequence(Qt::CTRL | Qt::Key_S));
}

TfrmImportaFoglio::~TfrmImportaFoglio() = default;

void TfrmImportaFoglio::buildLayout()
{
    QWidget *panel = Forms::setupWorkingWindow(this, QStringLiteral(" Lumetra - Importazione studenti"),
                                               QSize(994, 692), kGradientTop);
    Kit::box(QStringLiteral("shpContainer"), QRect(8, 8, 978, 675), panel, kGradientTop, Qt::white, kBoxBorder);
    Kit::box(QStringLiteral("shpComandi"), QRect(16, 16, 962, 86), panel, Qt::white, Qt::white, kBoxBorder);
    Kit::box(QStringLiteral("shpGriglia"), QRect(16, 108, 962, 526), panel, kGridBox, kGridBox, kBoxBorder);

    Kit::label(QStringLiteral("lblTitolo"), QStringLiteral("Importazione studenti da un foglio di calcolo"),
               QPoint(26, 22), panel, Forms::verdanaPt(11, true), QColor(0x1F, 0x4E, 0x79));
    m_lblFile = Kit::label(QStringLiteral("lblFile"), QString(), QPoint(26, 46), panel, Forms::verdanaPt(8));
    m_lblFile->setFixedWidth(600);
    m_lblConteggi = Kit::label(QStringLiteral("lblConteggi"), QString(), QPoint(26, 72), panel,
                               Forms::verdanaPt(8, true));
    m_lblConteggi->setFixedWidth(600);

    m_skip = new QRadioButton(QStringLiteral("Salta le righe già in archivio"), panel);
    m_skip->setObjectName(QStringLiteral("optSalta"));
    m_skip->setFont(Forms::verdanaPt(8));
    m_skip->setGeometry(640, 22, 330, 20);
    m_skip->setChecked(true);
    m_update = new QRadioButton(QStringLiteral("Aggiorna le schede già in archivio"), panel);
    m_update->setObjectName(QStringLiteral("optAggiorna"));
    m_update->setFont(Forms::verdanaPt(8));
    m_update->setGeometry(640, 44, 330, 20);
    m_update->setToolTip(QStringLiteral("Le righe con un codice fiscale già in archivio aggiornano quella scheda; "
                                        "le celle vuote lasciano i valori che ha."));
    auto *group = new QButtonGroup(this);
    group->addButton(m_skip);
    group->addButton(m_update);
    connect(m_update, &QRadioButton::toggled, this, [this](bool on) {
        m_model->setUpdatesDuplicates(on);
    });

    m_cmdImporta = Kit::button(QStringLiteral("cmdImporta"), QStringLiteral("Importa"), QRect(780, 68, 90, 26),
                               panel, Forms::verdanaPt(8, true));
    auto *chiudi = Kit::button(QStringLiteral("cmdChiudi"), QStringLiteral("Chiudi"), QRect(878, 68, 90, 26), panel,
                               Forms::verdanaPt(8));
    Kit::pressOnEnter(m_cmdImporta);
    Kit::pressOnEnter(chiudi);
    connect(m_cmdImporta, &QPushButton::clicked, this, &TfrmImportaFoglio::cmdImportaClick);
    connect(chiudi, &QPushButton::clicked, this, &TfrmImportaFoglio::cmdChiudiClick);

    m_mapping = new QTableWidget(1, 0, panel);
    m_mapping->setObjectName(QStringLiteral("grdMappa"));
    m_mapping->setGeometry(24, 116, 946, 30);
    m_mapping->setFont(Forms::verdanaPt(8));
    m_mapping->horizontalHeader()->hide();
    m_mapping->setVerticalHeaderLabels({QString()});
    m_mapping->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_mapping->verticalHeader()->setDefaultSectionSize(26);
    m_mapping->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_mapping->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_mapping->setToolTip(QStringLiteral("Il campo della scheda che ogni colonna del foglio riempie."));

    m_model = new ImportPreviewModel(this);
    m_preview = new QTableView(panel);
    m_preview->setObjectName(QStringLiteral("grdAnteprima"));
    m_preview->setGeometry(24, 148, 946, 478);
    m_preview->setFont(Forms::verdanaPt(8));
    m_preview->setModel(m_model);
    m_preview->verticalHeader()->setDefaultSectionSize(21);
    m_preview->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_preview->horizontalHeader()->setDefaultSectionSize(150);
    m_preview->horizontalHeader()->setFont(Forms::verdanaPt(8, true));
    m_preview->setAlternatingRowColors(true);
    m_preview->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed
                               | QAbstractItemView::AnyKeyPressed);
    // The mapping row follows the grid's columns.
    connect(m_preview->horizontalScrollBar(), &QScrollBar::valueChanged, m_mapping->horizontalScrollBar(),
            &QScrollBar::setValue);
    connect(m_preview->horizontalHeader(), &QHeaderView::sectionResized, this,
            [this](int column, int, int size) { m_mapping->setColumnWidth(column, size); });
    connect(m_model, &ImportPreviewModel::planChanged, this, &TfrmImportaFoglio::updateCounts);

    auto *info = Kit::box(QStringLiteral("shpInfo"), QRect(16, 642, 962, 32), panel, QColor(0x30, 0x30, 0xDD),
                          QColor(0x30, 0x30, 0xDD));
    info->setAttribute(Qt::WA_TransparentForMouseEvents);
    auto *hint = new QLabel(QStringLiteral("Controllare i campi scelti per ogni colonna e correggere le celle "
                                           "in rosso (il motivo appare sostando con il mouse): le righe con "
                                           "errori non vengono importate."),
                            panel);
    hint->setObjectName(QStringLiteral("panInfo"));
    hint->setTextFormat(Qt::PlainText);
    hint->setGeometry(22, 650, 950, 18);
    hint->setFont(Forms::verdanaPt(8));
    hint->setStyleSheet(QStringLiteral("color: white; background: transparent;"));
}

void TfrmImportaFoglio::buildMappingRow()
{
    const ImportPlan *plan = m_model->plan();
    const int columns = plan ? plan->columnCount() + 1 : 0;
    m_fieldBoxes.clear();
    m_mapping->clearContents();
    m_mapping->setColumnCount(columns);
    if (!plan)
        return;
    // The status column has no field.
    auto *none = new QTableWidgetItem(QStringLiteral("Campo della scheda:"));
    none->setFlags(Qt::ItemIsEnabled);
    m_mapping->setItem(0, 0, none);
    const auto &choices = ImportMapping::choices();
    for (int c = 0; c < plan->columnCount(); ++c) {
        auto *box = new QComboBox(m_mapping);
        box->setObjectName(QStringLiteral("cboCampo%1").arg(c + 1));
        box->setFont(Forms::verdanaPt(8));
        for (const ImportMapping::Choice &choice : choices)
            box->addItem(choice.caption, choice.target);
        box->setCurrentIndex(qMax(0, box->findData(plan->mapping().value(c, ImportMapping::Ignore))));
        box->setToolTip(QStringLiteral("La colonna «%1» del foglio va nel campo scelto qui.")
                            .arg(plan->header().value(c)));
        connect(box, &QComboBox::currentIndexChanged, this, &TfrmImportaFoglio::mappingChosen);
        m_mapping->setCellWidget(0, c + 1, box);
        m_fieldBoxes << box;
    }
    syncColumnWidths();
}

void TfrmImportaFoglio::syncColumnWidths()
{
    m_preview->resizeColumnToContents(0);
    m_preview->setColumnWidth(0, qMax(150, m_preview->columnWidth(0)));
    for (int c = 1; c < m_model->columnCount(); ++c)
        m_preview->setColumnWidth(c, qBound(150, m_preview->horizontalHeader()->sectionSizeHint(c), 260));
    // The row numbers' width, the same in both so that the columns line up.
    const int numbers = qMax(40, m_preview->verticalHeader()->sizeHint().width());
    m_mapping->verticalHeader()->setFixedWidth(numbers);
    m_preview->verticalHeader()->setFixedWidth(numbers);
    for (int c = 0; c < m_model->columnCount(); ++c)
        m_mapping->setColumnWidth(c, m_preview->columnWidth(c));
}

void TfrmImportaFoglio::mappingChosen()
{
    QList<int> mapping;
    for (QComboBox *box : m_fieldBoxes)
        mapping << box->currentData().toInt();
    // A field filled by one column: the other column naming it lets go.
    auto *changed = qobject_cast<QComboBox *>(sender());
    if (changed) {
        const int target = changed->currentData().toInt();
        for (int c = 0; c < m_fieldBoxes.size(); ++c) {
            QComboBox *other = m_fieldBoxes.at(c);
            if (other != changed && target != ImportMapping::Ignore && mapping.at(c) == target) {
                const QSignalBlocker quiet(other);
                other->setCurrentIndex(other->findData(ImportMapping::Ignore));
                mapping[c] = ImportMapping::Ignore;
            }
        }
    }
    BusyCursor busy;
    m_model->setMapping(mapping);
}

void TfrmImportaFoglio::updateCounts()
{
    const ImportPlan *plan = m_model->plan();
    if (!plan) {
        m_lblConteggi->clear();
        return;
    }
    const int update = plan->count(ImportPlan::Status::Update);
    QString text = QStringLiteral("Righe: %1   Nuove schede: %2")
                       .arg(plan->rows().size())
                       .arg(plan->count(ImportPlan::Status::New));
    if (update > 0)
        text += QStringLiteral("   Aggiornamenti: %1").arg(update);
    text += QStringLiteral("   Doppioni: %1   Con errori: %2")
                .arg(plan->count(ImportPlan::Status::Duplicate))
                .arg(plan->count(ImportPlan::Status::Invalid));
    m_lblConteggi->setText(text);
    m_lblConteggi->adjustSize();
    m_cmdImporta->setEnabled(plan->count(ImportPlan::Status::New) + update > 0);
}

bool TfrmImportaFoglio::load(const QString &path)
{
    m_path = path;
    std::unique_ptr<ImportPlan> plan;
    BusyCursor busy;
    try {
        ImportSheet sheet = SheetReader::read(path);
        plan = std::make_unique<ImportPlan>(std::move(sheet), ImportPlan::readArchiveCodes(m_context.folder));
    } catch (const SheetReadError &refused) {
        m_context.platform->warning(this, refused.message());
        return false;
    } catch (const FileAccessError &) {
        m_context.platform->error(this, ArchiveMessages::accessError());
        return false;
    }
    plan->setUpdatesDuplicates(m_update->isChecked());
    m_model->setPlan(std::move(plan));
    m_lblFile->setText(QStringLiteral("File: %1").arg(QFileInfo(path).fileName()));
    buildMappingRow();
    updateCounts();
    return true;
}

void TfrmImportaFoglio::cmdImportaClick()
{
    // A cell being typed counts.
    m_preview->setFocus();
    const ImportPlan *plan = m_model->plan();
    if (!plan)
        return;
    const int accepted = plan->count(ImportPlan::Status::New) + plan->count(ImportPlan::Status::Update);
    const int skipped = int(plan->rows().size()) - accepted;
    QString question = accepted == 1 ? QStringLiteral("Importare nell'archivio 1 riga del foglio?")
                                     : QStringLiteral("Importare nell'archivio %1 righe del foglio?").arg(accepted);
    if (skipped == 1)
        question += QStringLiteral("\r\n\r\n1 riga con errori o doppioni verrà saltata.");
    else if (skipped > 1)
        question += QStringLiteral("\r\n\r\n%1 righe con errori o doppioni verranno saltate.").arg(skipped);
    if (!m_context.platform->confirm(this, question))
        return;

    QProgressDialog progress(QStringLiteral("Importazione degli studenti in corso..."), QStringLiteral("Annulla"), 0,
                             accepted, this);
    progress.setObjectName(QStringLiteral("dlgProgresso"));
    progress.setWindowTitle(QStringLiteral(" Lumetra - Importazione studenti"));
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(300);
    try {
        BusyCursor busy;
        m_summary = ImportStore::store(m_context.folder, *plan, [&progress](qint64 done, qint64 total) {
            progress.setMaximum(int(total));
            progress.setValue(int(done));
            QCoreApplication::processEvents();
            return !progress.wasCanceled();
        });
    } catch (const FileAccessError &) {
        progress.close();
        m_context.platform->error(this, failedStoreText());
        return;
    }
    progress.close();
    if (m_summary.cancelled) {
        m_context.platform->information(
            this, QStringLiteral("Importazione annullata: nessuna scheda è stata inserita o aggiornata."));
        return;
    }
    m_stored = m_stored || !m_summary.stored.isEmpty() || !m_summary.updated.isEmpty();
    showSummary();
    // What is stored is in the archive now: a second press must not store it again.
    m_cmdImporta->setEnabled(false);
    m_preview->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_mapping->setEnabled(false);
    m_skip->setEnabled(false);
    m_update->setEnabled(false);
}

void TfrmImportaFoglio::showSummary()
{
    TfrmRiepilogoImport summary(m_context, m_summary.text(QFileInfo(m_path).fileName()), this);
    summary.exec();
}

void TfrmImportaFoglio::cmdChiudiClick()
{
    close();
}

bool TfrmImportaFoglio::run(const AppContext &context, QWidget *parent)
{
    const QString path = context.platform->openFileName(
        parent, QStringLiteral("Importa studenti da un foglio di calcolo"),
        QStringLiteral("Fogli di calcolo (*.csv *.xlsx *.ods);;Testo CSV (*.csv);;Cartella di lavoro di Excel "
                       "(*.xlsx);;Foglio di calcolo OpenDocument (*.ods)"));
    if (path.isEmpty())
        return false;
    TfrmImportaFoglio window(context, parent);
    if (!window.load(path))
        return false;
    window.exec();
    return window.stored();
}

TfrmRiepilogoImport::TfrmRiepilogoImport(const AppContext &context, const QString &text, QWidget *parent)
    : QDialog(parent), m_context(context), m_text(text)
{
    setObjectName(QStringLiteral("frmRiepilogoImport"));
    QWidget *panel = Forms::setupDialog(this, QStringLiteral(" Lumetra - Riepilogo dell'importazione"),
                                        QSize(620, 460), QSize(620, 460));
    auto *memo = new QPlainTextEdit(panel);
    memo->setObjectName(QStringLiteral("txtRiepilogo"));
    memo->setGeometry(12, 12, 596, 396);
    memo->setFont(Forms::verdanaPt(8));
    memo->setReadOnly(true);
    memo->setPlainText(text);
    auto *stampa = Kit::button(QStringLiteral("cmdStampa"), QStringLiteral("Stampa"), QRect(312, 420, 90, 26), panel,
                               Forms::verdanaPt(8));
    auto *salva = Kit::button(QStringLiteral("cmdSalva"), QStringLiteral("Salva..."), QRect(412, 420, 90, 26), panel,
                              Forms::verdanaPt(8));
    auto *chiudi = Kit::button(QStringLiteral("cmdChiudi"), QStringLiteral("Chiudi"), QRect(512, 420, 90, 26), panel,
                               Forms::verdanaPt(8, true));
    for (QPushButton *b : {stampa, salva, chiudi})
        Kit::pressOnEnter(b);
    connect(stampa, &QPushButton::clicked, this, &TfrmRiepilogoImport::cmdStampaClick);
    connect(salva, &QPushButton::clicked, this, &TfrmRiepilogoImport::cmdSalvaClick);
    connect(chiudi, &QPushButton::clicked, this, &QDialog::accept);
    Shortcuts::bind(this, QStringLiteral("cmdStampa"), QKeySequence(Qt::CTRL | Qt::Key_P));
    chiudi->setFocus();
}

void TfrmRiepilogoImport::cmdStampaClick()
{
    Platform &platform = *m_context.platform;
    const std::unique_ptr<QPrinter> printer = platform.openDefaultPrinter();
    if (!printer) {
        platform.notice(this, QStringLiteral("Nessuna stampante installata."));
        return;
    }
    if (!platform.printDialog(this, printer.get()))
        return;
    QTextDocument document;
    document.setDefaultFont(Forms::verdanaPt(9));
    document.setPlainText(m_text);
    document.print(printer.get());
}

void TfrmRiepilogoImport::cmdSalvaClick()
{
    Platform &platform = *m_context.platform;
    const QString path = platform.saveFileName(this, QStringLiteral("Salva il riepilogo dell'importazione"),
                                               QStringLiteral("Testo (*.txt)"),
                                               m_context.path(QStringLiteral("Riepilogo_Importazione.txt")),
                                               QStringLiteral("txt"));
    if (path.isEmpty())
        return;
    // UTF-8 with its mark and Windows line ends: Notepad and every editor read it.
    QString text = m_text;
    text.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    if (!writeFileAtomically(path, QByteArrayLiteral("\xEF\xBB\xBF") + text.toUtf8()))
        platform.notice(this, QStringLiteral("Attenzione: il sistema non permette di salvare il riepilogo nel file "
                                             "%1.")
                                  .arg(QFileInfo(path).fileName()));
}
