#include "tfrmimportastudenti.h"

#include "cardbatchdialog.h"

#include "archive/studentarchive.h"
#include "archive/studentfiles.h"
#include "base/kit.h"
#include "base/platform.h"
#include "base/useraction.h"
#include "base/widgets.h"
#include "base/windowinterfaces.h"
#include "card/cardbatch.h"
#include "card/cardprintsettings.h"
#include "card/cardtemplate.h"
#include "printing/reportoutput.h"

#include <QPushButton>

namespace {
QString emptyListText()
{
    return QStringLiteral("Nessuno studente in elenco: non ci sono tesserini da stampare.");
}

QString failureText()
{
    return QStringLiteral("Attenzione: la stampa non è andata a buon fine.\n\r\n\r"
                          "Accertarsi che la stampante sia configurata correttamente.");
}
} // namespace

TfrmImportaStudenti::TfrmImportaStudenti(const AppContext &context, QWidget *parent, StudentPickTarget *target)
    : StudentSearchWindow(context, QStringLiteral(" Importa dati studente da archivio anagrafico"), parent, target)
{
    setObjectName(QStringLiteral("frmImportaStudenti"));
    // Only a picker opened by the card window knows the school part of a card.
    if (dynamic_cast<IdCardSource *>(target)) {
        auto *button = Kit::button(QStringLiteral("btnStampaTesserini"), QStringLiteral("Stampa tesserini"),
                                   QRect(665, 19, 150, 30), resultPanel());
        connect(button, &QPushButton::clicked, this, &TfrmImportaStudenti::btnStampaTesseriniClick);
    }
}

void TfrmImportaStudenti::btnStampaTesseriniClick()
{
    Platform &platform = *context().platform;
    // The archive's failures as this window reports them: a plain box.
    runUserAction(platform, this, Platform::MessageKind::Notice, ArchiveMessages::accessError(), [&] {
        try {
            printCards();
        } catch (const ReportError &) {
            platform.warning(this, failureText());
        }
    });
}

bool TfrmImportaStudenti::cardsReachPaper(const CardBatch &batch)
{
    Platform &platform = *context().platform;
    switch (batch.placement()) {
    case CardBatch::Placement::OnPaper:
        return true;
    case CardBatch::Placement::PartlyOff:
        return platform.confirm(
            this, QStringLiteral("Attenzione: con i margini impostati per la stampante per tessere una parte di ogni "
                                 "tesserino cadrebbe fuori dal foglio e non verrebbe stampata.\n\r\n\r"
                                 "Stampare comunque?"));
    case CardBatch::Placement::Off:
        platform.warning(
            this, QStringLiteral("Attenzione: con i margini impostati per la stampante per tessere i tesserini "
                                 "cadrebbero interamente fuori dal foglio e la stampa risulterebbe vuota.\n\r\n\r"
                                 "Correggere i margini nella finestra di stampa del tesserino."));
        return false;
    }
    return false;
}

void TfrmImportaStudenti::printCards()
{
    Platform &platform = *context().platform;
    const auto *source = dynamic_cast<IdCardSource *>(pickTarget());
    const SearchResults &lines = results();
    if (!source)
        return;
    if (lines.size() == 0) {
        platform.information(this, emptyListText());
        return;
    }
    CardBatchDialog ask(int(lines.size()), this);
    if (ask.exec() != QDialog::Accepted)
        return;

    // Records are small: all of them are read before anything is printed, so
    // that an archive failure leaves no half-printed job. Each photo is
    // decoded only when its card is painted, at the size the card prints it.
    const QString folder = context().folder;
    QList<StudentRecord> records;
    QList<qint64> numbers;
    records.reserve(lines.size());
    numbers.reserve(lines.size());
    StudentArchive archive(folder);
    for (qsizetype i = 0; i < lines.size(); ++i) {
        numbers.append(lines.recordNumber(i));
        records.append(archive.read(numbers.constLast()));
    }
    archive.close();
    const CardPrintSettings::Values stored =
        CardPrintSettings::load(context().path(CardPrintSettings::fileName()));
    // A margin the card print window would refuse prints at the template's place.
    const double top = CardMargin::parse(stored.top).value_or(0.0);
    const double left = CardMargin::parse(stored.left).value_or(0.0);
    const CardBatch batch(
        source->cardContent(), records,
        [folder, numbers](int i) {
            const QImage photo = StudentFiles::loadStudentPhoto(folder, QString::number(numbers.at(i)),
                                                                CardTemplate::photoPrintSize());
            // What the card window shows for a student without a usable photo.
            return photo.isNull() ? blankPicture() : photo;
        },
        ask.mode(), stored.landscape ? ReportPage::Orientation::Landscape : ReportPage::Orientation::Portrait, top,
        left);
    if (!cardsReachPaper(batch))
        return;
    if (ReportOutput::printCardBatch(batch, platform, this) == ReportOutput::PrintResult::Failed)
        throw ReportError("the cards could not be printed");
}
