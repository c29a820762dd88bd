#include "studentsearchwindow.h"

#include "base/forms.h"
#include "base/kit.h"
#include "base/platform.h"
#include "base/shortcuts.h"
#include "base/widgets.h"
#include "archive/recordfile.h"
#include "archive/studentarchive.h"
#include "archive/studentfiles.h"
#include "report/listreport.h"
#include "printing/reportoutput.h"
#include "base/art/searchart.h"
#include "searchrunner.h"
#include "studentlistmodel.h"

#include <QEvent>
#include <QHash>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>

#include <exception>
#include <functional>

namespace {

const QSize kClient(862, 560);
const QSize kPanel(833, 529);

// Drawn once and shared by every search window: two are built at start.
QImage art(const char *key, const std::function<QImage()> &draw)
{
    static QHash<QByteArray, QImage> cache;
    auto it = cache.find(key);
    if (it == cache.end())
        it = cache.insert(key, draw());
    return *it;
}

QImage filterInstructions()
{
    return SearchArt::instructions(
        QSize(815, 76),
        {QStringLiteral("Immettere nei campi prescelti una o più parole consecutive presenti nelle schede "
                        "da trovare e premere il pulsante Cerca."),
         QStringLiteral("Lasciare in bianco tutti gli altri campi."),
         QStringLiteral("Per ogni ricerca è possibile utilizzare uno o più campi contemporaneamente.")},
        true);
}

QImage resultInstructions()
{
    return SearchArt::instructions(
        QSize(817, 34),
        {QStringLiteral("Immettere una o più parole consecutive presenti nella scheda in elenco da cercare "
                        "e premere il pulsante Trova."),
         QStringLiteral("Per spostarsi sulla voce successiva contenente la stessa chiave di ricerca, fare "
                        "di nuovo clic su Trova.")},
        false);
}

struct FilterSpec
{
    const char *edit;
    const char *label;
    int x;
    int y;
    const char *highlight;
    StudentRecord::Field field;
};

// In Enter order.
const FilterSpec kFilters[] = {
    {"txtStudente", "Cognome e nome:", 144, 141, "effCampo01", StudentRecord::Studente},
    {"txtDataNasc", "Data di nascita (gg/mm/aaaa):", 488, 141, "effCampo02", StudentRecord::DataNasc},
    {"txtCittadinanza", "Cittadinanza:", 144, 211, "effCampo09", StudentRecord::Cittadinanza},
    {"txtLuogoNasc", "Luogo di nascita:", 488, 211, "effCampo10", StudentRecord::LuogoNasc},
    {"txtCodFisc", "Codice fiscale:", 144, 281, "effCampo05", StudentRecord::CodFisc},
    {"txtStudio", "Titolo di studio:", 488, 281, "effCampo06", StudentRecord::Studio},
    {"txtCorso", "Corso:", 144, 351, "effCampo07", StudentRecord::Corso},
    {"txtClasse", "Classe:", 488, 351, "effCampo08", StudentRecord::Classe},
    {"txtDataEsame", "Data esame:", 144, 421, "effCampo03", StudentRecord::DataEsame},
    {"txtNote", "Note:", 488, 421, "effCampo04", StudentRecord::Note},
};

} // namespace

StudentSearchWindow::StudentSearchWindow(const AppContext &context, const QString &caption,
                                         QWidget *parent, StudentPickTarget *target)
    : QDialog(parent), m_context(context), m_target(target)
{
    Forms::applyDataFormats();
    Forms::setupDialog(this, caption, kClient);
    Forms::addModeTag(this);
    buildFilterPanel();
    buildResultPanel();
    // Ctrl+F searches the archive on the filters and the list on the results:
    // each panel's keys answer only while that panel is shown.
    Shortcuts::bind(this, QStringLiteral("btnCerca"), QKeySequence::Find);
    Shortcuts::bind(this, QStringLiteral("btnTrova"), QKeySequence::Find);
    Shortcuts::bind(this, QStringLiteral("btnStampa"), QKeySequence::Print);
    Forms::centre(this);
}

void StudentSearchWindow::buildFilterPanel()
{
    const QPoint origin((kClient.width() - kPanel.width()) / 2, (kClient.height() - kPanel.height()) / 2);
    m_panAvvio = new QWidget(this);
    m_panAvvio->setObjectName(QStringLiteral("panAvvio"));
    m_panAvvio->setGeometry(QRect(origin, kPanel));
    QWidget *panel = m_panAvvio;

    auto *top = new ShapeRect(QStringLiteral("shpIstruzioni"), QRect(8, 8, 817, 78), panel);
    top->setFill(Qt::white);
    top->setBorder(QColor(0xCD, 0xDF, 0xEE));
    Kit::picture(QStringLiteral("imgIstruzioni"), QRect(9, 9, 815, 76), panel, art("filters", filterInstructions));

    auto *box = new ShapeRect(QStringLiteral("shpCampi"), QRect(8, 96, 817, 382), panel);
    box->setGradient(QColor(0x96, 0xBA, 0xD7), Qt::white);
    box->setBorder(QColor(0xCD, 0xDF, 0xEE));
    Kit::picture(QStringLiteral("imgStudente"), QRect(24, 112, 98, 350), panel,
                 art("student", [] { return SearchArt::student(QSize(98, 350)); }));

    QList<QWidget *> chain;
    int number = 1;
    for (const FilterSpec &item : kFilters) {
        Kit::label(QStringLiteral("lblCampo%1").arg(number++, 2, 10, QLatin1Char('0')),
                 QString::fromUtf8(item.label), QPoint(item.x, item.y - 21), panel, Forms::verdanaPt(12),
                 Qt::black);
        QLineEdit *edit = Kit::edit(QString::fromLatin1(item.edit), QRect(item.x, item.y, 320, 22), panel,
                                    Forms::verdanaPt(12, true));
        new FrameHighlight(QString::fromLatin1(item.highlight), edit);
        m_filterEdits.append(edit);
        m_filterFields.append(item.field);
        chain.append(edit);
    }
    Forms::setEnterChain(chain, chain.first());
    // Tab follows the same order as Enter.
    for (int i = 0; i + 1 < m_filterEdits.size(); ++i)
        setTabOrder(m_filterEdits[i], m_filterEdits[i + 1]);

    auto *annulla = Kit::button(QStringLiteral("btnAnnulla"), QStringLiteral("Chiudi"),
                              QRect(8, 488, 150, 30), panel);
    m_btnCerca = Kit::button(QStringLiteral("btnCerca"), QStringLiteral("Cerca"), QRect(675, 488, 150, 30),
                           panel);
    setTabOrder(m_filterEdits.last(), m_btnCerca);
    setTabOrder(m_btnCerca, annulla);
    connect(annulla, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_btnCerca, &QPushButton::clicked, this, &StudentSearchWindow::btnCercaClick);
    m_btnCerca->installEventFilter(this);

    m_lblAttendere = Kit::label(QStringLiteral("lblAttendere"), QStringLiteral("Ricerca schede in corso. Attendere..."),
                              QPoint(177, 494), panel, Forms::verdana(12, true), QColor(0x00, 0x8B, 0x8B));
    m_lblAttendere->hide();
    m_lblConta = Kit::label(QStringLiteral("lblConta"), QStringLiteral("0"), QPoint(400, 494), panel,
                          Forms::verdana(10), Qt::black);
    m_lblConta->hide();

    // Shown only while a long search runs: how far it has come, and the stop
    // button in the place of Cerca.
    m_prgRicerca = new QProgressBar(panel);
    m_prgRicerca->setObjectName(QStringLiteral("prgRicerca"));
    m_prgRicerca->setGeometry(515, 494, 150, 20);
    m_prgRicerca->setRange(0, 1000);
    m_prgRicerca->setTextVisible(false);
    m_prgRicerca->hide();
    m_btnInterrompi = Kit::button(QStringLiteral("btnInterrompi"), QStringLiteral("Annulla"),
                                  QRect(675, 488, 150, 30), panel);
    Kit::pressOnEnter(m_btnInterrompi);
    m_btnInterrompi->hide();
    connect(m_btnInterrompi, &QPushButton::clicked, this, &StudentSearchWindow::btnInterrompiClick);

    m_runner = new SearchRunner(this);
    connect(m_runner, &SearchRunner::progressed, this, &StudentSearchWindow::showProgress);
}

void StudentSearchWindow::buildResultPanel()
{
    const QPoint origin((kClient.width() - kPanel.width()) / 2, (kClient.height() - kPanel.height()) / 2);
    m_panContainer = new QWidget(this);
    m_panContainer->setObjectName(QStringLiteral("panContainer"));
    m_panContainer->setGeometry(QRect(origin, kPanel));
    m_panContainer->hide();
    QWidget *panel = m_panContainer;

    Kit::picture(QStringLiteral("imgRisultati"), QRect(8, 8, 817, 53), panel,
                 art("banner", [] { return SearchArt::banner(QSize(817, 53), QStringLiteral("RISULTATI DI RICERCA")); }));
    Kit::picture(QStringLiteral("imgIstruzioni02"), QRect(8, 66, 817, 34), panel, art("results", resultInstructions));

    auto *lensBox = new ShapeRect(QStringLiteral("shpLente"), QRect(8, 104, 81, 57), panel);
    lensBox->setFill(Qt::white);
    lensBox->setBorder(QColor(0xCD, 0xDF, 0xEE));
    Kit::picture(QStringLiteral("imgLente"), QRect(20, 106, 57, 53), panel,
                 art("lens", [] { return SearchArt::magnifier(QSize(57, 53)); }));
    auto *row = new ShapeRect(QStringLiteral("shpTrova"), QRect(96, 104, 729, 57), panel);
    row->setGradient(QColor(0x96, 0xBA, 0xD7), Qt::white);
    row->setBorder(QColor(0xCD, 0xDF, 0xEE));

    m_txtTrova = Kit::edit(QStringLiteral("txtTrova"), QRect(112, 122, 593, 22), panel, Forms::verdanaPt(12, true));
    m_btnTrova = Kit::button(QStringLiteral("btnTrova"), QStringLiteral("Trova"), QRect(710, 117, 105, 30), panel);
    Forms::setEnterNext(m_txtTrova, m_btnTrova);
    connect(m_btnTrova, &QPushButton::clicked, this, &StudentSearchWindow::btnTrovaClick);

    m_model = new StudentListModel(this);
    m_lstRecords = new QListView(panel);
    m_lstRecords->setObjectName(QStringLiteral("lstRecords"));
    m_lstRecords->setGeometry(16, 176, 801, 273);
    m_lstRecords->setSelectionMode(QAbstractItemView::SingleSelection);
    m_lstRecords->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_lstRecords->setUniformItemSizes(true);
    m_lstRecords->setLayoutMode(QListView::Batched);
    m_lstRecords->setBatchSize(50000);
    m_lstRecords->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_lstRecords->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_lstRecords->setModel(m_model);
    m_lstRecords->viewport()->installEventFilter(this);

    auto *hint = Kit::label(QStringLiteral("lblRigo03"),
                          QStringLiteral("Fare doppio clic sulla voce in elenco per richiamare la scheda"),
                          QPoint(16, 454), panel, Forms::verdana(12, true), QColor(0xDC, 0x14, 0x3C));
    hint->setAlignment(Qt::AlignCenter);
    hint->setFixedWidth(801);
    m_lblTrovate = Kit::label(QStringLiteral("lblTrovate"), countLine(0), QPoint(168, 494), panel,
                            Forms::verdana(12, true), QColor(0x00, 0x8B, 0x8B));
    m_lblTrovate->setAlignment(Qt::AlignCenter);
    m_lblTrovate->setFixedSize(497, 22);

    auto *chiudi = Kit::button(QStringLiteral("btnChiudi"), QStringLiteral("Chiudi"), QRect(8, 488, 150, 30), panel);
    auto *stampa = Kit::button(QStringLiteral("btnStampa"), QStringLiteral("Stampa"), QRect(675, 488, 150, 30),
                             panel);
    connect(chiudi, &QPushButton::clicked, this, &QDialog::reject);
    connect(stampa, &QPushButton::clicked, this, &StudentSearchWindow::btnStampaClick);
}

QList<SearchFilter> StudentSearchWindow::filters() const
{
    QList<SearchFilter> list;
    for (int i = 0; i < m_filterEdits.size(); ++i)
        list.append({m_filterFields[i], m_filterEdits[i]->text()});
    return list;
}

const SearchResults &StudentSearchWindow::results() const
{
    return m_model->results();
}

void StudentSearchWindow::btnCercaClick()
{
    if (m_runner->isRunning())
        return;
    const QList<SearchFilter> all = filters();
    qsizetype filled = 0;
    for (const SearchFilter &filter : all)
        filled += SearchText::isFilled(filter.text) ? 1 : 0;
    m_lblConta->setText(QString::number(filled));

    m_model->clear();
    const SearchRunner::Outcome outcome = m_runner->run(StudentFiles::archivePath(m_context.folder), all);
    endProgress();
    // The please-wait line would otherwise stay up over a search that ended.
    m_lblAttendere->hide();
    switch (outcome) {
    case SearchRunner::Outcome::Failed:
        try {
            std::rethrow_exception(m_runner->failure());
        } catch (const FileAccessError &) {
            m_context.platform->notice(this, ArchiveMessages::accessError());
        }
        break;
    case SearchRunner::Outcome::Stopped:
        if (isVisible())
            m_btnCerca->setFocus();
        break;
    case SearchRunner::Outcome::Found:
        m_model->setResults(m_runner->takeResults());
        m_lblTrovate->setText(countLine(m_model->results().size()));
        m_panContainer->show();
        m_panAvvio->hide();
        m_txtTrova->clear();
        m_txtTrova->setFocus();
        break;
    }
    emit searchFinished();
}

void StudentSearchWindow::btnInterrompiClick()
{
    m_runner->stop();
}

void StudentSearchWindow::showProgress(int permille, qint64 elapsedMs)
{
    if (elapsedMs < m_progressDelayMs)
        return;
    if (!m_prgRicerca->isVisible()) {
        const bool cercaHadFocus = m_btnCerca->hasFocus();
        m_lblAttendere->show();
        m_prgRicerca->show();
        m_btnInterrompi->show();
        m_btnCerca->hide();
        if (cercaHadFocus)
            m_btnInterrompi->setFocus();
    }
    m_prgRicerca->setValue(permille);
}

void StudentSearchWindow::endProgress()
{
    const bool stopHadFocus = m_btnInterrompi->hasFocus();
    m_prgRicerca->hide();
    m_prgRicerca->setValue(0);
    m_btnInterrompi->hide();
    m_btnCerca->show();
    if (stopHadFocus)
        m_btnCerca->setFocus();
}

qsizetype StudentSearchWindow::selectedLine() const
{
    const QModelIndexList rows = m_lstRecords->selectionModel()->selectedIndexes();
    return rows.isEmpty() ? -1 : rows.first().row();
}

void StudentSearchWindow::selectLine(qsizetype line)
{
    const QModelIndex index = m_model->index(int(line));
    m_lstRecords->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
    m_lstRecords->scrollTo(index);
}

void StudentSearchWindow::btnTrovaClick()
{
    const SearchResults &lines = m_model->results();
    if (lines.isEmpty()) {
        m_context.platform->notice(this, QStringLiteral("Ricerca non applicabile: la lista non contiene nessuna voce."));
        return;
    }
    qsizetype selected = selectedLine();
    if (selected < 0) {
        selected = 0;
        selectLine(0);
    }
    const qsizetype found = m_finder.find(lines, selected, m_txtTrova->text());
    if (found >= 0)
        selectLine(found);
}

void StudentSearchWindow::lstRecordsDblClick()
{
    // The line keeps the number of its record, so the student clicked is the
    // one loaded even when another student's line reads the same.
    try {
        const qsizetype line = selectedLine();
        if (line >= 0 && m_target && Forms::modeTagIs(this, modeWord())) {
            const qint64 number = m_model->results().recordNumber(line);
            const StudentRecord record = StudentArchive::readOne(m_context.folder, number);
            const QImage photo =
                StudentFiles::loadStudentPhoto(m_context.folder, QString::number(number), m_target->photoFrame());
            m_target->takeStudent(record, number, photo);
        }
    } catch (const FileAccessError &) {
        // Closing without a word is all a failed pick does.
    }
    accept();
}

void StudentSearchWindow::btnStampaClick()
{
    const SearchResults &results = m_model->results();
    QStringList lines;
    lines.reserve(results.size());
    for (qsizetype i = 0; i < results.size(); ++i)
        lines.append(results.line(i));
    try {
        const std::unique_ptr<Report> report = ListReport::create();
        ListReport::fill(*report, QStringLiteral("Riepilogo schede studenti in archivio"), lines);
        // The lines are what students' cards hold: a name typed with brackets
        // is printed as typed, never read as an expression.
        report->text(QStringLiteral("txtRiepilogo"))->allowExpressions = false;
        ReportOutput::prepareReport(*report, *m_context.platform);
        ReportOutput::print(*report, *m_context.platform, this);
    } catch (const ReportError &) {
        // The engine has said what it had to; the window adds nothing.
    }
}

void StudentSearchWindow::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    // A window brought back by the system keeps its state; only an opening resets it.
    if (event->spontaneous())
        return;
    m_finder.reset();
    if (!m_model->results().isEmpty())
        selectLine(0);
    m_txtTrova->clear();
    m_filterEdits.first()->setFocus();
}

void StudentSearchWindow::done(int result)
{
    // A window closed during a search takes nothing from it.
    m_runner->stop();
    m_model->clear();
    m_lblAttendere->hide();
    QDialog::done(result);
}

bool StudentSearchWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_btnCerca && event->type() == QEvent::MouseButtonPress) {
        // On screen before the scan blocks the window.
        m_lblAttendere->show();
        m_lblAttendere->repaint();
    } else if (watched == m_btnCerca && event->type() == QEvent::MouseButtonRelease) {
        // A press let go outside the button searches nothing: take the line
        // down once the release is handled (a search has hidden it already,
        // or still runs and hides it when it ends).
        QTimer::singleShot(0, this, [this] {
            if (!m_runner->isRunning())
                m_lblAttendere->hide();
        });
    } else if (watched == m_lstRecords->viewport() && event->type() == QEvent::MouseButtonDblClick) {
        lstRecordsDblClick();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}
