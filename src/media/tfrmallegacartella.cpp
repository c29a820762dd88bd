#include "tfrmallegacartella.h"

#include "mediaart.h"

#include "base/forms.h"
#include "base/kit.h"
#include "base/platform.h"
#include "base/widgets.h"
#include "archive/attachmentfiles.h"
#include "archive/fieldcodec.h"

#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>

namespace {

const QColor kBackground(0xEB, 0xE9, 0xE9);
const QColor kSlotTop(0xA8, 0xCA, 0xE5);

QString overwriteQuestion()
{
    return QStringLiteral("Attenzione: nella cartella dei documenti allegati è presente un file con lo stesso nome.")
        + QStringLiteral("\r\n\r\n") + QStringLiteral("Si vuole sovrascrivere il file esistente?");
}

QString unusableChosenName()
{
    return QStringLiteral("Attenzione: il nome del file scelto non può essere registrato nella scheda.")
        + QStringLiteral("\r\n\r\n")
        + QStringLiteral("Il nome non deve superare i 250 caratteri, non deve contenere i caratteri \\ / : "
                         "né lettere estranee all'alfabeto latino. Rinominare il file e riprovare.");
}

QString unsafeStoredName()
{
    return QStringLiteral("Attenzione: il file allegato non può essere aperto perché il suo nome non è valido.")
        + QStringLiteral("\r\n\r\n")
        + QStringLiteral("Il nome di un file allegato non può indicare cartelle o unità: "
                         "sceglierlo di nuovo con il pulsante Sfoglia.");
}

QString copyFailed(const QString &name)
{
    return QStringLiteral("Attenzione: non è stato possibile copiare il file \"") + name
        + QStringLiteral("\" nella cartella dei documenti allegati.") + QStringLiteral("\r\n\r\n")
        + QStringLiteral("Il file non è stato allegato.");
}

QString missingFile(const QString &name)
{
    return QStringLiteral("Attenzione: il file \"") + name
        + QStringLiteral("\" non è presente nella cartella dei documenti allegati.");
}

QString twoDigits(int k)
{
    return QStringLiteral("%1").arg(k, 2, 10, QLatin1Char('0'));
}

} // namespace

TfrmAllegaCartella::TfrmAllegaCartella(const AppContext &context, QWidget *parent, AttachmentHolder *holder)
    : QDialog(parent), m_context(context), m_holder(holder)
{
    setObjectName(QStringLiteral("frmAllegaCartella"));
    Forms::applyDataFormats();
    QWidget *panel = Forms::setupDialog(this, QStringLiteral(" Allega file"), QSize(634, 534), QSize(609, 503),
                                        kBackground, Qt::white);
    Forms::addModeTag(this);

    Kit::box(QStringLiteral("shpSfondo"), QRect(8, 8, 593, 433), panel, Qt::white, Qt::white);
    Kit::picture(QStringLiteral("imgLogo"), QRect(20, 20, 543, 49), panel,
                 MediaArt::attachInstructions(
                     QSize(543, 49),
                     {QStringLiteral("Selezionare i file da allegare alla scheda corrente servendosi del pulsante Sfoglia."),
                      QStringLiteral("Quindi fare clic su Applica e chiudi e poi sul pulsante Salva per salvare le modifiche."),
                      QStringLiteral("Per aprire un file è sufficiente premere il pulsante Apri.")}));
    for (int k = 0; k < 3; ++k)
        buildSlot(panel, k);

    m_btnAnnulla = Kit::button(QStringLiteral("btnAnnulla"), QStringLiteral("Annulla"), QRect(312, 456, 126, 32),
                               panel, Forms::verdana(12));
    m_btnApplica = Kit::button(QStringLiteral("btnApplica"), QStringLiteral("Applica e chiudi"),
                               QRect(447, 456, 154, 32), panel, Forms::verdana(12));
    Kit::pressOnEnter(m_btnAnnulla);
    Kit::pressOnEnter(m_btnApplica);
    connect(m_btnApplica, &QPushButton::clicked, this, &TfrmAllegaCartella::btnApplicaClick);
    connect(m_btnAnnulla, &QPushButton::clicked, this, &TfrmAllegaCartella::btnAnnullaClick);

    QList<QWidget *> order;
    for (const Slot &slot : m_slots)
        order << slot.file << slot.browse << slot.open << slot.description;
    order << m_btnApplica << m_btnAnnulla;
    for (int i = 1; i < order.size(); ++i)
        setTabOrder(order[i - 1], order[i]);
}

void TfrmAllegaCartella::buildSlot(QWidget *panel, int k)
{
    static const char *const fileCaptions[] = {"Nome 1° file allegato:", "Nome 2° file allegato:",
                                               "Nome 3° file allegato:"};
    static const char *const descCaptions[] = {"Descrizione 1° file allegato:", "Descrizione 2° file allegato:",
                                               "Descrizione 3° file allegato:"};
    const int top = 80 + 120 * k;
    const QString n = twoDigits(k + 1);
    Kit::box(QStringLiteral("shpFile") + n, QRect(16, top, 577, 113), panel, kSlotTop, Qt::white);

    Slot &slot = m_slots[k];
    Kit::label(QStringLiteral("lblCampo") + twoDigits(2 * k + 1), QString::fromUtf8(fileCaptions[k]),
               QPoint(28, top + 10), panel, Forms::verdanaPt(12));
    slot.file = Kit::edit(QStringLiteral("txtFile") + n, QRect(28, top + 28, 338, 22), panel,
                          Forms::verdana(14, true));
    slot.file->setReadOnly(true);
    slot.file->setStyleSheet(QStringLiteral("QLineEdit { background: #E4E4E4; color: #505050; "
                                            "border: 1px solid #A0A0A0; }"));
    slot.erase = Kit::picture(QStringLiteral("imgCancella") + n, QRect(370, top + 28, 22, 22), panel,
                              MediaArt::eraser(QSize(22, 22)));
    slot.erase->setClickable(true);
    slot.erase->setToolTip(QStringLiteral("Togli il file dalla scheda"));
    slot.browse = Kit::button(QStringLiteral("btnSfoglia") + n, QStringLiteral("Sfoglia..."),
                              QRect(400, top + 24, 86, 28), panel, Forms::verdana(12));
    slot.open = Kit::button(QStringLiteral("btnApri") + n, QStringLiteral("Apri"), QRect(494, top + 24, 86, 28),
                            panel, Forms::verdana(12));
    slot.open->setEnabled(false);
    Kit::pressOnEnter(slot.browse);
    Kit::pressOnEnter(slot.open);
    Kit::label(QStringLiteral("lblCampo") + twoDigits(2 * k + 2), QString::fromUtf8(descCaptions[k]),
               QPoint(28, top + 60), panel, Forms::verdanaPt(12));
    slot.description = Kit::edit(QStringLiteral("txtDesc") + n, QRect(28, top + 78, 552, 22), panel,
                                 Forms::verdanaPt(12, true));

    connect(slot.browse, &QPushButton::clicked, this, [this, k] { browse(k); });
    connect(slot.open, &QPushButton::clicked, this, [this, k] { open(k); });
    connect(slot.erase, &PictureBox::clicked, this, [this, k] { clear(k); });
    // Apri follows every change of the name, the opener's filling included.
    QPushButton *openButton = slot.open;
    connect(slot.file, &QLineEdit::textChanged, openButton, [openButton](const QString &text) {
        openButton->setEnabled(!FieldCodec::trimControls(text).isEmpty());
    });
}

void TfrmAllegaCartella::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        Forms::centre(this);
}

void TfrmAllegaCartella::showAttachments(const AttachmentHolder::Attachments &values)
{
    for (int k = 0; k < 3; ++k) {
        m_slots[k].file->setText(FieldCodec::trimControls(values.files[k]));
        m_slots[k].description->setText(FieldCodec::trimControls(values.descriptions[k]));
    }
}

AttachmentHolder::Attachments TfrmAllegaCartella::shownAttachments() const
{
    AttachmentHolder::Attachments values;
    for (int k = 0; k < 3; ++k) {
        values.files[k] = fileName(k);
        values.descriptions[k] = FieldCodec::trimControls(m_slots[k].description->text());
    }
    return values;
}

QString TfrmAllegaCartella::fileName(int k) const
{
    return FieldCodec::trimControls(m_slots[k].file->text());
}

void TfrmAllegaCartella::browse(int k)
{
    const QString source = m_context.platform->openFileName(
        this, QStringLiteral("Selezionare il file da allegare:"), QStringLiteral("Tutti i file (*)"));
    if (source.isEmpty())
        return;
    const QString name = QFileInfo(source).fileName();
    // The card keeps the bare name only; one it cannot keep as it is would
    // later name another file, or none.
    if (!AttachmentFiles::isStorableName(name)) {
        m_context.platform->warning(this, unusableChosenName());
        return;
    }
    // The slot takes the name only with a file behind it: the stored copy
    // the operator chose to keep, or the new one.
    const bool keepStored = AttachmentFiles::exists(m_context.folder, name)
                            && !m_context.platform->confirm(this, overwriteQuestion());
    if (!keepStored
        && (!AttachmentFiles::ensureFolder(m_context.folder)
            || !AttachmentFiles::store(m_context.folder, source, name))) {
        m_context.platform->warning(this, copyFailed(name));
        return;
    }
    m_slots[k].file->setText(name);
}

void TfrmAllegaCartella::open(int k)
{
    const QString name = fileName(k);
    if (name.isEmpty())
        return;
    // A name read from the archive goes to the shell only when it cannot
    // reach outside the attachments folder.
    const QString path = AttachmentFiles::path(m_context.folder, name);
    if (path.isEmpty()) {
        m_context.platform->warning(this, unsafeStoredName());
        return;
    }
    if (!AttachmentFiles::exists(m_context.folder, name)) {
        m_context.platform->warning(this, missingFile(name));
        return;
    }
    m_context.platform->shellOpen(QLatin1Char('"') + path + QLatin1Char('"'));
}

void TfrmAllegaCartella::clear(int k)
{
    m_slots[k].file->clear();
}

void TfrmAllegaCartella::btnApplicaClick()
{
    if (!m_holder || !Forms::modeTagIs(this, QStringLiteral("studenti")))
        return;
    m_holder->setAttachments(shownAttachments());
    accept();
}

void TfrmAllegaCartella::btnAnnullaClick()
{
    reject();
}
