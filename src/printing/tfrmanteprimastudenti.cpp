#include "tfrmanteprimastudenti.h"

#include "reportoutput.h"

TfrmAnteprimaStudenti::TfrmAnteprimaStudenti(const AppContext &context, QWidget *parent)
    : StudentSheetDialog(context, parent, QStringLiteral("frmAnteprimaStudenti"),
                         {QStringLiteral(" Anteprima di stampa"), QStringLiteral("Mostra anteprima"),
                          QStringLiteral("Attenzione: la visualizzazione dell'anteprima di stampa non è andata "
                                         "a buon fine.\n\r\n\rSi consiglia di ridurre le dimensioni della foto.")})
{
    addExplanation(StudentSheetArt::explanation(
                       QSize(318, 136), StudentSheetArt::Icon::Screen, QStringLiteral("Anteprima di stampa"),
                       {QStringLiteral("Questa operazione consente di visualizzare in anteprima i dati che "
                                       "appariranno in stampa.")}),
                   QRect(22, 22, 318, 136), QStringLiteral("imgAnteprima"));
    addExplanation(StudentSheetArt::explanation(
                       QSize(318, 66), StudentSheetArt::Icon::Note, QString(),
                       {QStringLiteral("Fare clic su Mostra anteprima per visualizzare il documento sullo schermo "
                                       "prima di eseguire la stampa su carta.")}),
                   QRect(22, 162, 318, 66), QStringLiteral("imgNota"));
}

void TfrmAnteprimaStudenti::output()
{
    ReportOutput::showReport(*m_report, *m_context.platform, this);
}
