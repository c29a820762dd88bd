#include "tfrmprove_sostenute.h"

#include "base/forms.h"
#include "base/kit.h"
#include "base/platform.h"
#include "base/shortcuts.h"
#include "base/widgets.h"
#include "archive/codepage.h"
#include "archive/fieldcodec.h"
#include "archive/recordfile.h"
#include "archive/studentfiles.h"
#include "report/listreport.h"
#include "printing/reportoutput.h"
#include "base/art/registerart.h"
#include "register/testsfile.h"

#include <QFont>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QShowEvent>

namespace {

const QString ListNotApplicable = QStringLiteral("Ricerca non applicabile: la lista non contiene nessuna voce.");
const QString ModifyNotApplicable = QStringLiteral("Modifica non applicabile: la lista non contiene nessuna voce.");
const QString SelectFirst =
    QStringLiteral("Attenzione: selezionare una voce dall'elenco prima di premere il pulsante di modifica.");
const QString Updated = QStringLiteral("Le modifiche apportate alla scheda corrente sono state salvate in archivio.");
const QString Inserted = QStringLiteral("La scheda corrente è stata inserita in archivio.");

const char *const RequiredWarnings[TProva::FieldCount] = {
    "Attenzione: per salvare la scheda è necessario indicare la data di somministrazione della prova.",
    "Attenzione: per salvare la scheda è necessario indicare la tipologia di prova somministrata.",
    "Attenzione: per salvare la scheda è necessario indicare il nome del docente che ha somministrato la prova.",
    "Attenzione: per salvare la scheda è necessario indicare l'aula in cui è stata somministrata la prova.",
    "Attenzione: per salvare la scheda è necessario indicare l'esito conseguito dallo studente nella prova.",
};

constexpr int PositionRole = Qt::UserRole + 1;

// Enter on a focused button presses it, as Space does. The window has no
// default button, so Enter anywhere else presses nothing.
QPushButton *button(const QString &name, const QString &text, const QRect &geometry, QWidget *parent)
{
    QPushButton *b = Kit::button(name, text, geometry, parent);
    Kit::pressOnEnter(b);
    return b;
}

} // namespace

TfrmProve_Sostenute::TfrmProve_Sostenute(const AppContext &context, QWidget *parent)
    : QDialog(parent), m_context(context)
{
    setObjectName(QStringLiteral("frmProve_Sostenute"));
    m_panContainer = Forms::setupDialog(this, QStringLiteral(" Riepilogo prove sostenute"), QSize(863, 616),
                                        QSize(833, 585), QColor(0x42, 0x7A, 0xA8), Qt::white);
    Forms::applyDataFormats();

    m_panCosti = new QWidget(this);
    m_panCosti->setObjectName(QStringLiteral("panCosti"));
    m_panCosti->setGeometry(15, 15, 833, 585);
    m_panCosti->hide();

    buildListPanel(m_panContainer);
    buildEditPanel(m_panCosti);

    // Each panel's keys answer only while that panel is shown.
    Shortcuts::bind(this, QStringLiteral("btnTrova"), QKeySequence::Find);
    Shortcuts::bind(this, QStringLiteral("btnAggiungi"), QKeySequence::New);
    Shortcuts::bind(this, QStringLiteral("btnStampa"), QKeySequence::Print);
    Shortcuts::bind(this, QStringLiteral("btnSalva"), QKeySequence::Save);
}

void TfrmProve_Sostenute::buildListPanel(QWidget *panel)
{
    const QColor lightBlue(0xDC, 0xE9, 0xF5);

    Kit::box(QStringLiteral("sfoTitolo"), QRect(8, 8, 817, 34), panel, Qt::black, Qt::black);
    m_lblTitolo = new QLabel(QStringLiteral("Prove sostenute da studente"), panel);
    m_lblTitolo->setTextFormat(Qt::PlainText);
    m_lblTitolo->setObjectName(QStringLiteral("lblTitolo"));
    m_lblTitolo->setGeometry(10, 10, 813, 30);
    m_lblTitolo->setFont(Forms::verdanaPt(18));
    m_lblTitolo->setAlignment(Qt::AlignCenter);
    m_lblTitolo->setStyleSheet(QStringLiteral("color: white;"));

    Kit::label(QStringLiteral("lblRigo01"),
          QStringLiteral("Immettere una o più parole consecutive presenti nella scheda in elenco da cercare e "
                         "premere il pulsante Trova."),
          QPoint(8, 52), panel);

    Kit::box(QStringLiteral("shpLente"), QRect(8, 72, 81, 57), panel, Qt::white, Qt::white, QColor(0x87, 0xCE, 0xEB));
    Kit::picture(QStringLiteral("imgLente"), QRect(16, 80, 64, 41), panel, RegisterArt::magnifier(QSize(64, 41)));
    Kit::box(QStringLiteral("shpSfondo"), QRect(96, 72, 729, 57), panel, lightBlue, Qt::white, QColor(0x87, 0xCE, 0xEB));

    m_txtTrova = new QLineEdit(panel);
    m_txtTrova->setObjectName(QStringLiteral("txtTrova"));
    m_txtTrova->setFont(Forms::verdanaPt(12, true));
    m_txtTrova->move(112, 90);
    m_txtTrova->resize(593, m_txtTrova->sizeHint().height());
    m_btnTrova = button(QStringLiteral("btnTrova"), QStringLiteral("Trova"), QRect(710, 85, 105, 30), panel);

    Kit::box(QStringLiteral("shpLista"), QRect(8, 136, 817, 369), panel, lightBlue, Qt::white, QColor(0x87, 0xCE, 0xEB));
    m_lstRecords = new QListWidget(panel);
    m_lstRecords->setObjectName(QStringLiteral("lstRecords"));
    m_lstRecords->setGeometry(16, 144, 801, 329);
    m_lstRecords->setSelectionMode(QAbstractItemView::SingleSelection);
    m_lstRecords->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_lstRecords->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_lstRecords->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);

    Kit::label(QStringLiteral("lblRigo03"),
          QStringLiteral("Per modificare una voce in elenco, selezionarla con un clic e premere il pulsante "
                         "Modifica prova."),
          QPoint(16, 480), panel, Forms::verdana(11), QColor(0xDC, 0x14, 0x3C));

    Kit::box(QStringLiteral("bakBottom"), QRect(8, 511, 817, 26), panel, Qt::black, Qt::black);
    Kit::label(QStringLiteral("titValoreTotale"), QStringLiteral("TOTALE PROVE:"), QPoint(16, 515), panel, Forms::verdana(13),
          Qt::white);
    m_lblTotale = new QLabel(QStringLiteral("0"), panel);
    m_lblTotale->setTextFormat(Qt::PlainText);
    m_lblTotale->setObjectName(QStringLiteral("lblTotale"));
    m_lblTotale->setGeometry(632, 514, 188, 20);
    m_lblTotale->setFont(Forms::verdana(13, true));
    m_lblTotale->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    m_lblTotale->setStyleSheet(QStringLiteral("color: white;"));

    auto *btnChiudi = button(QStringLiteral("btnChiudi"), QStringLiteral("Chiudi"), QRect(8, 544, 160, 30), panel);
    Kit::box(QStringLiteral("sfoMano01"), QRect(208, 544, 47, 30), panel, Qt::white, Qt::white);
    Kit::picture(QStringLiteral("icoMano01"), QRect(208, 544, 47, 30), panel, RegisterArt::hand(QSize(47, 30), true));
    auto *btnAggiungi =
        button(QStringLiteral("btnAggiungi"), QStringLiteral("Aggiungi prova"), QRect(261, 544, 150, 30), panel);
    auto *btnModifica =
        button(QStringLiteral("btnModifica"), QStringLiteral("Modifica prova"), QRect(424, 544, 150, 30), panel);
    Kit::box(QStringLiteral("sfoMano02"), QRect(580, 544, 47, 30), panel, Qt::white, Qt::white);
    Kit::picture(QStringLiteral("icoMano02"), QRect(580, 544, 47, 30), panel, RegisterArt::hand(QSize(47, 30), false));
    auto *btnStampa =
        button(QStringLiteral("btnStampa"), QStringLiteral("Stampa riepilogo"), QRect(665, 544, 160, 30), panel);

    setTabOrder(m_txtTrova, m_btnTrova);
    setTabOrder(m_btnTrova, m_lstRecords);
    setTabOrder(m_lstRecords, btnChiudi);
    setTabOrder(btnChiudi, btnAggiungi);
    setTabOrder(btnAggiungi, btnModifica);
    setTabOrder(btnModifica, btnStampa);
    Forms::setEnterNext(m_txtTrova, m_btnTrova);

    connect(m_btnTrova, &QPushButton::clicked, this, &TfrmProve_Sostenute::btnTrovaClick);
    connect(btnChiudi, &QPushButton::clicked, this, &QDialog::close);
    connect(btnAggiungi, &QPushButton::clicked, this, &TfrmProve_Sostenute::btnAggiungiClick);
    connect(btnModifica, &QPushButton::clicked, this, &TfrmProve_Sostenute::btnModificaClick);
    connect(btnStampa, &QPushButton::clicked, this, &TfrmProve_Sostenute::btnStampaClick);
}

void TfrmProve_Sostenute::buildEditPanel(QWidget *panel)
{
    Kit::box(QStringLiteral("bkgSez04"), QRect(10, 10, 813, 565), panel, QColor(0x42, 0x7A, 0xA8), Qt::white);
    Kit::box(QStringLiteral("bkgSez01"), QRect(20, 20, 793, 60), panel, Qt::white, Qt::white);
    Kit::picture(QStringLiteral("imgTitolo"), QRect(176, 30, 487, 48), panel, RegisterArt::heading(QSize(487, 48)));
    Kit::box(QStringLiteral("bkgSez05"), QRect(20, 90, 793, 263), panel, Qt::white, Qt::white);
    Kit::picture(QStringLiteral("imgGestioneCosti"), QRect(25, 95, 783, 253), panel, RegisterArt::desk(QSize(783, 253)));
    Kit::box(QStringLiteral("bkgSez06"), QRect(20, 364, 629, 200), panel, Qt::white, Qt::white);
    Kit::box(QStringLiteral("bkgSez03"), QRect(616, 364, 197, 109), panel, Qt::white, Qt::white);
    Kit::picture(QStringLiteral("icoDecoro"), QRect(711, 406, 32, 32), panel, RegisterArt::pen(QSize(32, 32)));
    Kit::box(QStringLiteral("bakIstruzioni"), QRect(24, 367, 785, 26), panel, Qt::black, Qt::black);
    auto *titIstruzioni = Kit::label(QStringLiteral("titIstruzioni"),
                                QStringLiteral("Immettere i dati nei campi sottostanti e premere Salva."),
                                QPoint(30, 372), panel, Forms::verdana(13), Qt::white);
    titIstruzioni->setFixedWidth(773);

    static const char *const Captions[TProva::FieldCount] = {"Data:", "Tipo prova:", "Docente:", "Aula:",
                                                             "Esito:"};
    static const int Widths[TProva::FieldCount] = {122, 492, 250, 250, 150};
    for (const TProva::FieldLayout &f : TProva::layout()) {
        const int y = 410 + 32 * f.field;
        auto *caption = Kit::label(QStringLiteral("lblCampo%1").arg(f.field + 1, 2, 10, QLatin1Char('0')),
                              QString::fromUtf8(Captions[f.field]), QPoint(32, y + 4), panel, Forms::verdana(11));
        caption->setFixedWidth(100);
        caption->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        auto *edit = new QLineEdit(panel);
        edit->setObjectName(QString::fromLatin1(f.control));
        edit->setFont(Forms::verdanaPt(12, true));
        edit->setMaxLength(f.capacity);
        edit->move(144, y);
        edit->resize(Widths[f.field], edit->sizeHint().height());
        m_edits[f.field] = edit;
    }
    auto *impOggi = Kit::picture(QStringLiteral("impOggi"), QRect(272, 410, 22, 22), panel, RegisterArt::arrow(QSize(22, 22)));
    impOggi->setClickable(true);

    auto *btnSalva = button(QStringLiteral("btnSalva"), QStringLiteral("Salva"), QRect(663, 488, 150, 30), panel);
    auto *cmdClose = button(QStringLiteral("cmdClose"), QStringLiteral("Chiudi"), QRect(663, 534, 150, 30), panel);

    m_lblPosizione = new QLabel(panel);
    m_lblPosizione->setTextFormat(Qt::PlainText);
    m_lblPosizione->setObjectName(QStringLiteral("lblPosizione"));
    m_lblPosizione->hide();
    m_lblFile = new QLabel(panel);
    m_lblFile->setTextFormat(Qt::PlainText);
    m_lblFile->setObjectName(QStringLiteral("lblFile"));
    m_lblFile->hide();

    for (int i = 0; i + 1 < TProva::FieldCount; ++i)
        setTabOrder(m_edits[i], m_edits[i + 1]);
    setTabOrder(m_edits[TProva::Esito], btnSalva);
    setTabOrder(btnSalva, cmdClose);
    Forms::setEnterChain({m_edits[0], m_edits[1], m_edits[2], m_edits[3], m_edits[4]}, m_edits[0]);
    Forms::installStyleHighlight(panel);

    connect(impOggi, &PictureBox::clicked, this, &TfrmProve_Sostenute::impOggiClick);
    connect(btnSalva, &QPushButton::clicked, this, &TfrmProve_Sostenute::btnSalvaClick);
    connect(cmdClose, &QPushButton::clicked, this, &QDialog::close);
}

QString TfrmProve_Sostenute::ownerText(const QString &name) const
{
    const QWidget *owner = parentWidget();
    if (!owner)
        return QString();
    // The owner's control, not this window's hidden one of the same name.
    const QList<QWidget *> found = owner->findChildren<QWidget *>(name);
    for (QWidget *w : found) {
        if (isAncestorOf(w))
            continue;
        if (auto *edit = qobject_cast<QLineEdit *>(w))
            return edit->text();
        if (auto *lbl = qobject_cast<QLabel *>(w))
            return lbl->text();
    }
    Forms::requireChild(owner, name, "QLineEdit or QLabel");
    return QString();
}

QString TfrmProve_Sostenute::studentName() const
{
    return FieldCodec::trimControls(ownerText(QStringLiteral("txtStudente")));
}

void TfrmProve_Sostenute::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (event->spontaneous())
        return;
    Forms::centre(this);
    m_finder.reset();
    m_txtTrova->clear();
    m_lblTotale->setText(QStringLiteral("0"));
    m_lblTitolo->setText(QStringLiteral("Prove sostenute da ") + studentName());
    m_number = FieldCodec::trimControls(ownerText(QStringLiteral("lblPosizione")));
    fillList();
    m_txtTrova->setFocus(Qt::OtherFocusReason);
}

void TfrmProve_Sostenute::fillList()
{
    m_lstRecords->clear();
    m_lblFile->clear();
    const QFont font = Forms::pointFont(QStringLiteral("Courier New"), 12);
    const int rowHeight = QFontMetrics(font).height() + 2;
    try {
        const QString path = TestsFile::prepare(m_context.folder, m_number);
        m_lblFile->setText(path);
        TestsFile::forEach(path, [&](qint64 position, const TProva &test) {
            if (FieldCodec::trimControls(test[TProva::Prova]).isEmpty())
                return;
            auto *item = new QListWidgetItem(TestList::line(test), m_lstRecords);
            item->setFont(font);
            item->setForeground(Qt::black);
            item->setSizeHint(QSize(1600, rowHeight));
            item->setData(PositionRole, position);
            m_lblTotale->setText(QString::number(m_lstRecords->count()));
        });
    } catch (const FileAccessError &) {
        // The list shows what could be read; nothing is said.
    }
    m_lstRecords->clearSelection();
    m_lstRecords->setCurrentRow(-1, QItemSelectionModel::NoUpdate);
}

int TfrmProve_Sostenute::selectedEntry() const
{
    const QList<QListWidgetItem *> selected = m_lstRecords->selectedItems();
    return selected.isEmpty() ? -1 : m_lstRecords->row(selected.first());
}

void TfrmProve_Sostenute::btnTrovaClick()
{
    const int count = m_lstRecords->count();
    if (count == 0) {
        m_context.platform->notice(this, ListNotApplicable);
        return;
    }
    int selected = selectedEntry();
    if (selected < 0) {
        selected = 0;
        m_lstRecords->setCurrentRow(0);
    }
    QStringList entries;
    entries.reserve(count);
    for (int i = 0; i < count; ++i)
        entries.append(m_lstRecords->item(i)->text());
    const int found = m_finder.find(entries, selected, m_txtTrova->text());
    if (found >= 0) {
        m_lstRecords->setCurrentRow(found);
        m_lstRecords->scrollToItem(m_lstRecords->item(found));
    }
}

void TfrmProve_Sostenute::showEditPanel()
{
    m_panContainer->hide();
    m_panCosti->show();
    m_edits[TProva::Data]->setFocus(Qt::OtherFocusReason);
}

void TfrmProve_Sostenute::btnAggiungiClick()
{
    for (QLineEdit *edit : m_edits)
        edit->clear();
    m_lblPosizione->clear();
    showEditPanel();
}

void TfrmProve_Sostenute::btnModificaClick()
{
    if (m_lstRecords->count() == 0) {
        m_context.platform->information(this, ModifyNotApplicable);
        return;
    }
    const int selected = selectedEntry();
    if (selected < 0) {
        m_context.platform->warning(this, SelectFirst);
        return;
    }
    // The entry keeps the position of its own record, so the test edited is
    // the one selected even when another test gives the same line.
    const qint64 position = m_lstRecords->item(selected)->data(PositionRole).toLongLong();
    try {
        const TProva test = TestsFile::read(m_lblFile->text(), position);
        for (const TProva::FieldLayout &f : TProva::layout())
            m_edits[f.field]->setText(test[f.field]);
        m_lblPosizione->setText(QString::number(position));
    } catch (const FileAccessError &) {
        close();
        return;
    }
    showEditPanel();
}

void TfrmProve_Sostenute::btnSalvaClick()
{
    TProva test;
    for (const TProva::FieldLayout &f : TProva::layout()) {
        test[f.field] = FieldCodec::trimControls(m_edits[f.field]->text());
        if (test[f.field].isEmpty()) {
            m_context.platform->warning(this, QString::fromUtf8(RequiredWarnings[f.field]));
            m_edits[f.field]->setFocus(Qt::OtherFocusReason);
            return;
        }
    }
    QString allText;
    for (const TProva::FieldLayout &f : TProva::layout())
        allText += test[f.field];
    if (!Forms::confirmStorable(*m_context.platform, this, allText)) {
        for (const TProva::FieldLayout &f : TProva::layout())
            if (!CodePage::unstorable(test[f.field]).isEmpty()) {
                m_edits[f.field]->setFocus(Qt::OtherFocusReason);
                break;
            }
        return;
    }
    try {
        // The folder is made again should it have gone since the window opened.
        const QString path = TestsFile::prepare(m_context.folder, m_number);
        const QString editing = m_lblPosizione->text();
        if (!editing.isEmpty()) {
            TestsFile::write(path, editing.toLongLong(), test);
            m_context.platform->information(this, Updated);
        } else {
            const qint64 position = TestsFile::append(path, test);
            m_lblPosizione->setText(QString::number(position));
            m_context.platform->information(this, Inserted);
        }
    } catch (const FileAccessError &) {
        m_context.platform->warning(this, ArchiveMessages::accessError());
    }
}

void TfrmProve_Sostenute::impOggiClick()
{
    m_edits[TProva::Data]->setText(Forms::formatDate(m_context.platform->today()));
}

void TfrmProve_Sostenute::btnStampaClick()
{
    QStringList lines;
    for (int i = 0; i < m_lstRecords->count(); ++i)
        lines.append(m_lstRecords->item(i)->text());
    lines.append(QStringLiteral("--------------------------"));
    lines.append(QStringLiteral("TOTALE PROVE:      ") + m_lblTotale->text());
    try {
        const std::unique_ptr<Report> report = ListReport::create();
        ListReport::fill(*report, QStringLiteral("Prove sostenute da ") + studentName(), lines);
        // Names and tests are printed as typed; brackets in them are not
        // expressions for the report to evaluate.
        report->text(QStringLiteral("txtTitolo"))->allowExpressions = false;
        report->text(QStringLiteral("txtRiepilogo"))->allowExpressions = false;
        ReportOutput::prepareReport(*report, *m_context.platform);
        ReportOutput::print(*report, *m_context.platform, this);
    } catch (const ReportError &) {
        // The engine has reported what went wrong.
    }
}

void TfrmProve_Sostenute::done(int result)
{
    m_lstRecords->clear();
    QDialog::done(result);
}
