#include "tfrmimportastudenti.h"

#include "app/forms.h"

TfrmImportaStudenti::TfrmImportaStudenti(const AppContext &context, QWidget *parent)
    : QDialog(parent), m_context(context)
{
    setObjectName(QStringLiteral("frmImportaStudenti"));
    Forms::setupDialog(this, QStringLiteral(" Importa dati studente da archivio anagrafico"), QSize(862, 560));
}
