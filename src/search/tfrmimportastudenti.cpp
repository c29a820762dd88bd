#include "tfrmimportastudenti.h"

TfrmImportaStudenti::TfrmImportaStudenti(const AppContext &context, QWidget *parent)
    : StudentSearchWindow(context, QStringLiteral(" Importa dati studente da archivio anagrafico"), parent)
{
    setObjectName(QStringLiteral("frmImportaStudenti"));
}
