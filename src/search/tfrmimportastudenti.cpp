#include "tfrmimportastudenti.h"

TfrmImportaStudenti::TfrmImportaStudenti(const AppContext &context, QWidget *parent, StudentPickTarget *target)
    : StudentSearchWindow(context, QStringLiteral(" Importa dati studente da archivio anagrafico"), parent, target)
{
    setObjectName(QStringLiteral("frmImportaStudenti"));
}
