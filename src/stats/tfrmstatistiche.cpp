#include "tfrmstatistiche.h"

#include "archive/recordfile.h"
#include "archive/studentfiles.h"
#include "base/forms.h"
#include "base/kit.h"
#include "base/platform.h"
#include "base/shortcuts.h"
#include "base/useraction.h"
#include "base/widgets.h"
#include "printing/reportoutput.h"
#include "report/statsreport.h"
#include "stats/statsworkbook.h"
#include "statsrunner.h"
#include "statssectionview.h"

#include <QComboBox>
#include <QDateEdit>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTabWidget>
#include <QThread>

namespace {

const QColor kGradientTop(0x42, 0x7A, 0xA8);
const QColor kBoxBorder(0xCD, 0xDF, 0xEE);

// The tabs' short names, in the order the breakdowns come.
QString tabName(const QString &id)
{
    static const QMap<QString, QString> names = {
        {QStringLiteral("corsi"), QStringLiteral("Corsi")},
        {QStringLiteral("classi"), QStringLiteral("Classi")},
        {QStringLiteral("sesso"), QStringLiteral("Sesso")},
        {QStringLiteral("eta"), QStringLiteral("Età")},
        {QStringLiteral("italiani"), QStringLiteral("Italiani e stranieri")},
        {QStringLiteral("cittadinanze"), QStringLiteral("Cittadinanze")},
        {QStringLiteral("studio"), QStringLiteral("Titolo di studio")},
        {QStringLiteral("prove"), QStringLiteral("Prove per corso")},
        {QStringLiteral("esiti"), QStringLiteral("Esiti delle prove")},
    };
    return names.value(id, id);
}

QString allCourses()
{
    return QStringLiteral("Tutti i corsi");
}

} // namespace

TfrmStatistiche::TfrmStatistiche(const AppContext &context, QWidget *parent)
    : QDialog(parent), m_context(context)
{
    setObjectName(QStringLiteral("frmStatistiche"));
    Forms::applyDataFormats();
    m_runner = new StatsRunner(this);
    connect(m_runner, &StatsRunner::progressed, this, &TfrmStatistiche::showProgress);
    connect(m_runner, &StatsRunner::finished, this, &TfrmStatistiche::countEnded);
    // Changes made one after the other (typing a date) start one count.
    m_recount.setSingleShot(true);
    m_recount.setInterval(300);
    connect(&m_recount, &QTimer::timeout, this, &TfrmStatistiche::btnCalcolaClick);
    buildLayout();
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                   | Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint);
    setWindowState(windowState() | Qt::WindowMaximized);

    Shortcuts::bind(this, QStringLiteral("btnCalcola"), QKeySequence(Qt::Key_F5));
    Shortcuts::bind(this, QStringLiteral("btnStampa"), QKeySequence(Qt::CTRL | Qt::Key_P));
    Shortcuts::bind(this, QStringLiteral("btnAnteprima"), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_P));
    Shortcuts::bind(this, QStringLiteral("btnEsporta"), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_E));
}

TfrmStatistiche::~TfrmStatistiche() = default;

QString TfrmStatistiche::countingText()
{
    return QStringLiteral("Conteggio in corso...");
}

QString TfrmStatistiche::doneText()
{
    return QStringLiteral("Conteggio completato.");
}

QString TfrmStatistiche::badPeriodText()
{
    return QStringLiteral("Periodo non valido: la data iniziale viene dopo quella finale.");
}

QString TfrmStatistiche::printFailedText()
{
    return QStringLiteral("Attenzione: si è verificato un errore durante la stampa delle statistiche.");
}

QString TfrmStatistiche::exportFailedText()
{
    return QStringLiteral("Attenzione: non è stato possibile scrivere il file delle statistiche.");
}

bool TfrmStatistiche::isCounting() const
{
    return m_runner->isRunning() || m_recount.isActive();
}

void TfrmStatistiche::buildLayout()
{
    QWidget *panel = Forms::setupWorkingWindow(this, QStringLiteral(" Lumetra - Statistiche"), QSize(994, 692),
                                               kGradientTop);
    Kit::box(QStringLiteral("shpContainer"), QRect(8, 8, 978, 675), panel, kGradientTop, Qt::white, kBoxBorder);
    Kit::box(QStringLiteral("shpComandi"), QRect(16, 16, 962, 92), panel, Qt::white, Qt::white, kBoxBorder);

    const QFont font = Forms::verdana(12);
    const QFont bold = Forms::verdana(12, true);
    Kit::label(QStringLiteral("lblTitolo"), QStringLiteral("Statistiche dell'archivio"), QPoint(28, 24), panel,
               Forms::verdana(17, true), QColor(0x00, 0x00, 0x80));

    const ArchiveStats::Period period = ArchiveStats::Period::schoolYear(m_context.platform->today());
    Kit::label(QStringLiteral("lblDal"), QStringLiteral("Corsi dal:"), QPoint(28, 66), panel, bold);
    m_from = new QDateEdit(period.from, panel);
    m_from->setObjectName(QStringLiteral("dtpDal"));
    m_from->setGeometry(112, 60, 120, 28);
    Kit::label(QStringLiteral("lblAl"), QStringLiteral("al:"), QPoint(244, 66), panel, bold);
    m_to = new QDateEdit(period.to, panel);
    m_to->setObjectName(QStringLiteral("dtpAl"));
    m_to->setGeometry(272, 60, 120, 28);
    for (QDateEdit *edit : {m_from, m_to}) {
        edit->setDisplayFormat(QStringLiteral("dd/MM/yyyy"));
        edit->setCalendarPopup(true);
        edit->setFont(font);
        connect(edit, &QDateEdit::dateChanged, this, &TfrmStatistiche::filtersChanged);
    }
    Kit::label(QStringLiteral("lblCorso"), QStringLiteral("Corso:"), QPoint(408, 66), panel, bold);
    m_course = new QComboBox(panel);
    m_course->setObjectName(QStringLiteral("cmbCorso"));
    m_course->setGeometry(470, 60, 250, 28);
    m_course->setFont(font);
    m_course->addItem(allCourses());
    connect(m_course, &QComboBox::currentIndexChanged, this, [this] {
        if (!m_fillingCourses)
            filtersChanged();
    });

    struct Command
    {
        const char *name, *text;
        QRect geometry;
        void (TfrmStatistiche::*handler)();
    };
    const Command buttons[] = {
        {"btnCalcola", "Calcola", QRect(732, 22, 116, 30), &TfrmStatistiche::btnCalcolaClick},
        {"btnStampa", "Stampa", QRect(732, 60, 116, 30), &TfrmStatistiche::btnStampaClick},
        {"btnAnteprima", "Anteprima", QRect(854, 22, 116, 30), &TfrmStatistiche::btnAnteprimaClick},
        {"btnEsporta", "Esporta XLSX", QRect(854, 60, 116, 30), &TfrmStatistiche::btnEsportaClick},
    };
    QList<QWidget *> order{m_from, m_to, m_course};
    for (const Command &command : buttons) {
        QPushButton *button = Kit::button(QLatin1String(command.name), QString::fromUtf8(command.text),
                                          command.geometry, panel, font);
        Kit::pressOnEnter(button);
        connect(button, &QPushButton::clicked, this, command.handler);
        order << button;
    }
    m_print = panel->findChild<QPushButton *>(QStringLiteral("btnStampa"));
    m_preview = panel->findChild<QPushButton *>(QStringLiteral("btnAnteprima"));
    m_export = panel->findChild<QPushButton *>(QStringLiteral("btnEsporta"));

    m_progress = new QProgressBar(panel);
    m_progress->setObjectName(QStringLiteral("prgConteggio"));
    m_progress->setGeometry(16, 116, 300, 22);
    m_progress->setRange(0, 1000);
    m_progress->setTextVisible(false);
    m_state = new QLabel(panel);
    m_state->setObjectName(QStringLiteral("lblStato"));
    m_state->setGeometry(326, 116, 652, 22);
    m_state->setFont(bold);
    m_state->setTextFormat(Qt::PlainText);
    m_state->setStyleSheet(QStringLiteral("color: white; background: transparent;"));
    m_summary = new QLabel(panel);
    m_summary->setObjectName(QStringLiteral("lblRiepilogo"));
    m_summary->setGeometry(16, 142, 962, 40);
    m_summary->setFont(Forms::verdana(11));
    m_summary->setTextFormat(Qt::PlainText);
    m_summary->setWordWrap(true);
    m_summary->setStyleSheet(QStringLiteral("color: white; background: transparent;"));

    m_tabs = new QTabWidget(panel);
    m_tabs->setObjectName(QStringLiteral("tabSezioni"));
    m_tabs->setGeometry(16, 186, 962, 448);
    m_tabs->setFont(font);
    for (const char *id : {"corsi", "classi", "sesso", "eta", "italiani", "cittadinanze", "studio", "prove", "esiti"}) {
        auto *view = new StatsSectionView(QLatin1String(id), m_tabs);
        m_views.insert(QLatin1String(id), view);
        m_tabs->addTab(view, tabName(QLatin1String(id)));
    }
    order << m_tabs;

    QPushButton *close = Kit::button(QStringLiteral("btnChiudi"), QStringLiteral("Chiudi"), QRect(854, 644, 116, 30),
                                     panel, font);
    Kit::pressOnEnter(close);
    connect(close, &QPushButton::clicked, this, &TfrmStatistiche::btnChiudiClick);
    order << close;
    for (qsizetype i = 1; i < order.size(); ++i)
        QWidget::setTabOrder(order.at(i - 1), order.at(i));
    setBusy(false);
}

void TfrmStatistiche::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!m_started) {
        m_started = true;
        m_from->setFocus(Qt::OtherFocusReason);
        btnCalcolaClick();
    }
}

void TfrmStatistiche::filtersChanged()
{
    m_recount.start();
}

void TfrmStatistiche::btnCalcolaClick()
{
    m_recount.stop();
    ArchiveStats::Options options;
    options.period = {m_from->date(), m_to->date()};
    if (!options.period.isValid()) {
        m_runner->stop();
        m_state->setText(badPeriodText());
        setBusy(false);
        return;
    }
    options.course = m_course->currentIndex() > 0 ? m_course->currentText() : QString();
    options.threads = QThread::idealThreadCount() > 1 ? 2 : 1;
    m_state->setText(countingText());
    setBusy(true);
    m_runner->start(m_context.folder, options);
}

void TfrmStatistiche::showProgress(int permille)
{
    m_progress->setValue(permille);
}

void TfrmStatistiche::setBusy(bool busy)
{
    const bool printable = !busy && m_result.has_value();
    m_print->setEnabled(printable);
    m_preview->setEnabled(printable);
    m_export->setEnabled(printable);
    if (!busy && !m_result)
        m_progress->setValue(0);
}

void TfrmStatistiche::countEnded(bool ok)
{
    if (!ok) {
        m_state->setText(QString());
        setBusy(false);
        m_context.platform->error(this, ArchiveMessages::accessError());
        emit counted();
        return;
    }
    m_result = m_runner->result();
    for (const ArchiveStats::Section &section : m_result->sections)
        if (StatsSectionView *view = m_views.value(section.id))
            view->setSection(section);
    m_summary->setText(StatsReport::summaryLines(*m_result).join(QStringLiteral("   ·   ")));
    m_state->setText(doneText() + QStringLiteral(" Corsi ") + m_result->period.text() + QLatin1Char('.'));
    fillCourses();
    setBusy(false);
    emit counted();
}

// The courses on offer are those of the period, whatever course is chosen.
void TfrmStatistiche::fillCourses()
{
    const QString chosen = m_course->currentIndex() > 0 ? m_course->currentText() : QString();
    m_fillingCourses = true;
    m_course->clear();
    m_course->addItem(allCourses());
    for (const ArchiveStats::Row &row : m_result->courses)
        if (row.label != ArchiveStats::notGiven())
            m_course->addItem(row.label);
    if (!chosen.isEmpty()) {
        int at = m_course->findText(chosen);
        if (at < 0) {
            m_course->addItem(chosen);
            at = m_course->count() - 1;
        }
        m_course->setCurrentIndex(at);
    }
    m_fillingCourses = false;
}

void TfrmStatistiche::printOrPreview(bool preview)
{
    if (!m_result)
        return;
    try {
        auto report = StatsReport::create(*m_result, this);
        if (preview) {
            ReportOutput::showReport(*report, *m_context.platform, this);
            return;
        }
        ReportOutput::prepareReport(*report, *m_context.platform);
        if (ReportOutput::print(*report, *m_context.platform, this) == ReportOutput::PrintResult::Failed)
            m_context.platform->error(this, printFailedText());
    } catch (const ReportError &) {
        m_context.platform->error(this, printFailedText());
    }
}

void TfrmStatistiche::btnStampaClick()
{
    printOrPreview(false);
}

void TfrmStatistiche::btnAnteprimaClick()
{
    printOrPreview(true);
}

void TfrmStatistiche::btnEsportaClick()
{
    if (!m_result)
        return;
    const QString path = m_context.platform->saveFileName(
        this, QStringLiteral("Esporta le statistiche"),
        QStringLiteral("Cartella di lavoro Excel (*.xlsx);;Foglio di calcolo OpenDocument (*.ods)"),
        m_context.path(StatsWorkbook::fileName()), QStringLiteral("xlsx"));
    if (path.isEmpty())
        return;
    const ArchiveStats::Result result = *m_result;
    if (runUserAction(*m_context.platform, this, Platform::MessageKind::Error, exportFailedText(),
                      [&path, &result] { StatsWorkbook::write(path, result); }))
        m_context.platform->notice(this, QStringLiteral("Statistiche esportate nel file ") + path);
}

void TfrmStatistiche::btnChiudiClick()
{
    m_runner->stop();
    accept();
}
