#include "tfrmanteprimastudenti.h"

#include "app/forms.h"

TfrmAnteprimaStudenti::TfrmAnteprimaStudenti(const AppContext &context, QWidget *parent)
    : QDialog(parent), m_context(context)
{
    setObjectName(QStringLiteral("frmAnteprimaStudenti"));
    Forms::setupDialog(this, QStringLiteral(" Anteprima di stampa"), QSize(364, 287));
}
