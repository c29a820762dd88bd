#include "photoimportdialog.h"

#include "archive/studentfiles.h"
#include "base/forms.h"
#include "base/kit.h"
#include "base/platform.h"
#include "base/useraction.h"
#include "photo/photoframing.h"

#include <QCoreApplication>
#include <algorithm>
#include <QDir>
#include <QHeaderView>
#include <QLabel>
#include <QPixmap>
#include <QProgressBar>
#include <QShortcut>
#include <QPushButton>
#include <QShowEvent>
#include <QTimer>
#include <QTreeWidget>

namespace {

const QColor kBackground(0x42, 0x7A, 0xA8);
const QString kCrLf = QStringLiteral("\r\n");
// The framed result in the list: a small ID photo.
const QSize kThumbnail(62, 80);
// Names listed in the closing message at most; the rest are counted.
constexpr int kNamesShown = 15;

enum Column { ColFoto, ColFile, ColScheda, ColRegola, ColEsito, ColIntera, ColumnCount };

QString ruleText(PhotoImport::Rule rule)
{
    switch (rule) {
    case PhotoImport::Rule::CodiceFiscale: return QStringLiteral("codice fiscale");
    case PhotoImport::Rule::Name: return QStringLiteral("cognome e nome");
    case PhotoImport::Rule::Number: return QStringLiteral("numero della scheda");
    case PhotoImport::Rule::None: break;
    }
    return {};
}

QString numbersText(const QList<qint64> &numbers)
{
    QStringList parts;
    for (qint64 n : numbers)
        parts << QString::number(n);
    return parts.join(QStringLiteral(", "));
}

// A list of file names for a message: one a line, the tail counted.
QString namesText(const QStringList &names)
{
    QStringList shown = names.mid(0, kNamesShown);
    if (names.size() > kNamesShown)
        shown << QStringLiteral("e altri %1 file").arg(names.size() - kNamesShown);
    return shown.join(kCrLf);
}

QString replaceQuestion(int cards)
{
    const QString first = cards == 1 ? QStringLiteral("Una delle schede scelte ha già una foto.")
                                     : QStringLiteral("%1 delle schede scelte hanno già una foto.").arg(cards);
    return first + kCrLf + kCrLf + QStringLiteral("Sostituire le foto attuali con quelle della cartella?") + kCrLf
           + kCrLf
           + QStringLiteral("Sì: le sostituisce. No: lascia le foto attuali e importa le altre. Annulla: non importa "
                            "nulla.");
}

} // namespace

QString TfrmImportaFoto::folderDialogTitle()
{
    return QStringLiteral("Selezionare la cartella che contiene le foto da importare.");
}

void TfrmImportaFoto::run(const AppContext &context, QWidget *parent)
{
    const QString folder = context.platform->folderName(parent, folderDialogTitle(), QDir::homePath());
    if (folder.isEmpty())
        return;
    TfrmImportaFoto dialog(context, folder, parent);
    dialog.exec();
}

TfrmImportaFoto::TfrmImportaFoto(const AppContext &context, const QString &sourceFolder, QWidget *parent)
    : QDialog(parent), m_context(context), m_sourceFolder(sourceFolder)
{
    setObjectName(QStringLiteral("frmImportaFoto"));
    Forms::applyDataFormats();
    Forms::setupDialog(this, QStringLiteral(" Lumetra - Importazione delle foto"), QSize(960, 660), QSize(),
                       kBackground, Qt::white);
    buildLayout();
}

TfrmImportaFoto::~TfrmImportaFoto() = default;

void TfrmImportaFoto::buildLayout()
{
    QLabel *cartella = Kit::label(QStringLiteral("lblCartella"),
                                  QStringLiteral("Cartella: ") + QDir::toNativeSeparators(m_sourceFolder),
                                  QPoint(16, 12), this, Forms::verdanaPt(10, true), Qt::white);
    cartella->setGeometry(16, 12, 928, 20);
    QLabel *istruzioni = Kit::label(
        QStringLiteral("lblIstruzioni"),
        QStringLiteral("Ogni foto è abbinata a una scheda dal codice fiscale nel nome del file, altrimenti da "
                       "cognome e nome, altrimenti dal numero della scheda, e inquadrata come si vede qui. "
                       "Togliere la spunta (Spazio) per non importare una foto; scegliere \"Foto intera\" "
                       "(tasto I) per non ritagliarla."),
        QPoint(16, 38), this, Forms::verdanaPt(9), Qt::white);
    istruzioni->setWordWrap(true);
    istruzioni->setGeometry(16, 38, 928, 36);

    m_list = new QTreeWidget(this);
    m_list->setObjectName(QStringLiteral("lstFoto"));
    m_list->setGeometry(16, 82, 928, 486);
    m_list->setFont(Forms::verdanaPt(9));
    m_list->setRootIsDecorated(false);
    m_list->setUniformRowHeights(true);
    m_list->setIconSize(kThumbnail);
    m_list->setColumnCount(ColumnCount);
    m_list->setHeaderLabels({QStringLiteral("Foto"), QStringLiteral("File"), QStringLiteral("Scheda"),
                             QStringLiteral("Abbinata per"), QStringLiteral("Esito"), QStringLiteral("Foto intera")});
    m_list->header()->setFont(Forms::verdanaPt(9, true));
    m_list->header()->setStretchLastSection(false);
    const int widths[ColumnCount] = {86, 180, 160, 150, 250, 84};
    for (int c = 0; c < ColumnCount; ++c)
        m_list->setColumnWidth(c, widths[c]);
    // The list's own keys tick the first column only; I ticks "Foto intera".
    auto *wholeKey = new QShortcut(QKeySequence(Qt::Key_I), m_list);
    wholeKey->setContext(Qt::WidgetShortcut);
    connect(wholeKey, &QShortcut::activated, this, [this] {
        QTreeWidgetItem *row = m_list->currentItem();
        if (row && (row->flags() & Qt::ItemIsUserCheckable))
            row->setCheckState(ColIntera, row->checkState(ColIntera) == Qt::Checked ? Qt::Unchecked : Qt::Checked);
    });
    connect(m_list, &QTreeWidget::itemChanged, this, [this](QTreeWidgetItem *row, int column) {
        if (column != ColIntera)
            return;
        const int index = row->data(ColFoto, Qt::UserRole).toInt();
        const bool whole = row->checkState(ColIntera) == Qt::Checked;
        const PhotoImport::Framing &framing = m_framings.at(index);
        row->setIcon(ColFoto, QPixmap::fromImage(whole ? framing.wholePreview : framing.preview));
    });

    m_summary = Kit::label(QStringLiteral("lblRiepilogo"), QString(), QPoint(16, 576), this,
                           Forms::verdanaPt(9, true), Qt::black);
    m_summary->setGeometry(16, 576, 928, 20);

    m_progress = new QProgressBar(this);
    m_progress->setObjectName(QStringLiteral("prgFoto"));
    m_progress->setGeometry(16, 614, 440, 28);
    m_progress->setFont(Forms::verdanaPt(9));
    m_progress->setFormat(QStringLiteral("%v di %m"));

    const QFont buttonFont = Forms::verdanaPt(10, true);
    m_annulla = Kit::button(QStringLiteral("btnAnnulla"), QStringLiteral("Annulla"), QRect(472, 611, 150, 34), this,
                            buttonFont);
    m_importa = Kit::button(QStringLiteral("btnImporta"), QStringLiteral("Importa"), QRect(632, 611, 150, 34), this,
                            buttonFont);
    m_chiudi = Kit::button(QStringLiteral("btnChiudi"), QStringLiteral("Chiudi"), QRect(792, 611, 152, 34), this,
                           buttonFont);
    m_annulla->setToolTip(QStringLiteral("Interrompe il lavoro in corso."));
    m_importa->setToolTip(QStringLiteral("Salva nelle schede le foto spuntate."));
    m_chiudi->setToolTip(QStringLiteral("Chiude la finestra senza importare."));
    for (QPushButton *button : {m_annulla, m_importa, m_chiudi})
        Kit::pressOnEnter(button);
    connect(m_annulla, &QPushButton::clicked, this, &TfrmImportaFoto::btnAnnullaClick);
    connect(m_importa, &QPushButton::clicked, this, &TfrmImportaFoto::btnImportaClick);
    connect(m_chiudi, &QPushButton::clicked, this, &TfrmImportaFoto::btnChiudiClick);
    setWorking(true);
}

void TfrmImportaFoto::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!m_started) {
        m_started = true;
        Forms::centre(this, parentWidget());
        // Examined once the window is on screen, so that its progress shows.
        QTimer::singleShot(0, this, &TfrmImportaFoto::examine);
    }
}

void TfrmImportaFoto::setWorking(bool working)
{
    m_list->setEnabled(!working);
    m_importa->setEnabled(!working);
    m_chiudi->setEnabled(!working);
    m_annulla->setEnabled(working);
    m_progress->setVisible(working);
    m_stopRequested = false;
}

bool TfrmImportaFoto::step(int done, int total)
{
    m_progress->setMaximum(std::max(total, 1));
    m_progress->setValue(done);
    QCoreApplication::processEvents();
    return !m_stopRequested;
}

void TfrmImportaFoto::examine()
{
    Platform &platform = *m_context.platform;
    QList<PhotoImport::Card> cards;
    if (!runUserAction(platform, this, Platform::MessageKind::Error, ArchiveMessages::accessError(),
                       [&] { cards = PhotoImport::readCards(m_context.folder); })) {
        reject();
        return;
    }
    m_items = PhotoImport::match(PhotoImport::pictureFiles(m_sourceFolder), cards, m_context.folder);
    if (m_items.isEmpty()) {
        platform.notice(this, QStringLiteral("La cartella scelta non contiene immagini (JPEG, Bitmap o PNG)."));
        reject();
        return;
    }
    m_framings = QList<PhotoImport::Framing>(m_items.size());
    const int total = int(std::count_if(m_items.cbegin(), m_items.cend(),
                                        [](const PhotoImport::Item &item) { return item.isMatched(); }));
    const PhotoFramer framer;
    int done = 0;
    for (int i = 0; i < m_items.size(); ++i) {
        if (!m_items.at(i).isMatched())
            continue;
        if (!step(done++, total)) {
            reject();
            return;
        }
        m_framings[i] = PhotoImport::frame(framer, m_items.at(i).path, kThumbnail);
    }
    for (int i = 0; i < m_items.size(); ++i)
        addRow(i);
    m_list->scrollToTop();
    showSummary();
    setWorking(false);
    m_ready = true;
    m_importa->setFocus();
}

void TfrmImportaFoto::addRow(int index)
{
    const PhotoImport::Item &item = m_items.at(index);
    const PhotoImport::Framing &framing = m_framings.at(index);
    auto *row = new QTreeWidgetItem;
    row->setData(ColFoto, Qt::UserRole, index);
    row->setText(ColFile, item.fileName);
    row->setToolTip(ColFile, QDir::toNativeSeparators(item.path));
    row->setText(ColRegola, ruleText(item.rule));
    if (item.status == PhotoImport::Status::Matched || item.status == PhotoImport::Status::SameCard)
        row->setText(ColScheda, QStringLiteral("%1 - %2").arg(item.number).arg(item.cardName));
    else if (item.status == PhotoImport::Status::SeveralCards)
        row->setText(ColScheda, QStringLiteral("schede %1").arg(numbersText(item.numbers)));

    QString outcome;
    bool importable = false;
    switch (item.status) {
    case PhotoImport::Status::Matched:
        if (!framing.decoded) {
            outcome = QStringLiteral("Immagine non leggibile");
        } else {
            importable = true;
            outcome = item.hasPhoto ? QStringLiteral("Sostituisce la foto attuale") : QStringLiteral("Da importare");
            if (!framing.hasFace)
                outcome += QStringLiteral("; nessun volto, riquadro centrale");
        }
        break;
    case PhotoImport::Status::SameCard:
        outcome = QStringLiteral("Conflitto: più file per la stessa scheda");
        break;
    case PhotoImport::Status::SeveralCards:
        outcome = QStringLiteral("Conflitto: corrisponde a più schede");
        break;
    case PhotoImport::Status::Unmatched:
        outcome = QStringLiteral("Nessuna scheda corrispondente");
        break;
    }
    row->setText(ColEsito, outcome);
    row->setToolTip(ColEsito, outcome);
    if (importable) {
        row->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
        row->setCheckState(ColFoto, Qt::Checked);
        row->setCheckState(ColIntera, Qt::Unchecked);
        row->setIcon(ColFoto, QPixmap::fromImage(framing.preview));
    } else {
        // Listed so that the operator sees it, but nothing to tick.
        row->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
        row->setForeground(ColEsito, QColor(0xB0, 0x20, 0x20));
    }
    m_list->addTopLevelItem(row);
}

void TfrmImportaFoto::showSummary()
{
    int matched = 0, conflicts = 0, unmatched = 0, unreadable = 0;
    for (int i = 0; i < m_items.size(); ++i) {
        switch (m_items.at(i).status) {
        case PhotoImport::Status::Matched:
            ++(m_framings.at(i).decoded ? matched : unreadable);
            break;
        case PhotoImport::Status::SameCard:
        case PhotoImport::Status::SeveralCards:
            ++conflicts;
            break;
        case PhotoImport::Status::Unmatched:
            ++unmatched;
            break;
        }
    }
    m_summary->setText(QStringLiteral("Foto abbinate: %1   Conflitti: %2   Senza scheda: %3   Non leggibili: %4")
                           .arg(matched)
                           .arg(conflicts)
                           .arg(unmatched)
                           .arg(unreadable));
}

void TfrmImportaFoto::btnImportaClick()
{
    if (!m_ready)
        return;
    Platform &platform = *m_context.platform;
    QList<PhotoImport::Order> orders;
    QList<bool> replacing;
    for (int r = 0; r < m_list->topLevelItemCount(); ++r) {
        const QTreeWidgetItem *row = m_list->topLevelItem(r);
        if (!(row->flags() & Qt::ItemIsUserCheckable) || row->checkState(ColFoto) != Qt::Checked)
            continue;
        const int index = row->data(ColFoto, Qt::UserRole).toInt();
        const PhotoImport::Item &item = m_items.at(index);
        orders.append({item.path, item.fileName, item.number, m_framings.at(index).frame,
                       row->checkState(ColIntera) == Qt::Checked});
        replacing.append(item.hasPhoto);
    }
    if (orders.isEmpty()) {
        platform.notice(this, QStringLiteral("Nessuna foto è spuntata: non c'è nulla da importare."));
        return;
    }
    int kept = 0;
    if (const int cards = int(replacing.count(true))) {
        const Platform::Answer answer = platform.ask(this, replaceQuestion(cards));
        if (answer == Platform::Answer::Cancel)
            return;
        if (answer == Platform::Answer::No) {
            for (int i = int(orders.size()) - 1; i >= 0; --i)
                if (replacing.at(i))
                    orders.removeAt(i);
            kept = cards;
        }
    }

    setWorking(true);
    const PhotoImport::Outcome outcome =
        PhotoImport::store(m_context.folder, orders, [this](int done, int total) { return step(done, total); });
    setWorking(false);

    QStringList unreadable;
    for (int i = 0; i < m_items.size(); ++i)
        if (m_items.at(i).isMatched() && !m_framings.at(i).decoded)
            unreadable << m_items.at(i).fileName;
    unreadable << outcome.unreadable;

    QString text = outcome.stopped
                       ? QStringLiteral("Importazione interrotta. Foto importate fin qui: %1.").arg(outcome.stored)
                       : QStringLiteral("Foto importate: %1.").arg(outcome.stored);
    if (kept)
        text += kCrLf + QStringLiteral("Foto attuali lasciate come erano: %1.").arg(kept);
    if (!unreadable.isEmpty())
        text += kCrLf + kCrLf + QStringLiteral("Immagini che non è stato possibile leggere:") + kCrLf
                + namesText(unreadable);
    if (!outcome.notWritten.isEmpty())
        text += kCrLf + kCrLf + QStringLiteral("Foto che non è stato possibile salvare nella cartella Anagrafica:")
                + kCrLf + namesText(outcome.notWritten);
    platform.notice(this, text);
    accept();
}

void TfrmImportaFoto::btnAnnullaClick()
{
    m_stopRequested = true;
}

void TfrmImportaFoto::btnChiudiClick()
{
    reject();
}
