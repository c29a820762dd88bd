#include "tfrmstampastudenti.h"

#include "reportoutput.h"

TfrmStampaStudenti::TfrmStampaStudenti(const AppContext &context, QWidget *parent)
    : StudentSheetDialog(context, parent, QStringLiteral("frmStampaStudenti"),
                         {QStringLiteral(" Stampa scheda"), QStringLiteral("Stampa"),
                          QStringLiteral("Attenzione: la stampa della scheda non è andata a buon fine.\n\r\n\r"
                                         "Si consiglia di ridurre le dimensioni della foto.")})
{
    addExplanation(StudentSheetArt::explanation(
                       QSize(318, 207), StudentSheetArt::Icon::Printer, QStringLiteral("Stampa documento"),
                       {QStringLiteral("Questa operazione provvederà a stampare su carta il documento con i dati "
                                       "immessi nei campi di testo."),
                        QStringLiteral("Premere il pulsante Stampa per dare avvio alla stampa su carta oppure "
                                       "premere Annulla per annullare l'operazione.")}),
                   QRect(22, 22, 318, 207), QStringLiteral("imgStampa"));
}

void TfrmStampaStudenti::output()
{
    if (ReportOutput::print(*m_report, *m_context.platform, this) == ReportOutput::PrintResult::Failed)
        throw ReportError("the sheet could not be printed");
}
