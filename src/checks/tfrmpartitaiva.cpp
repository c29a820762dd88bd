#include "tfrmpartitaiva.h"

#include "app/forms.h"

TfrmPartitaIva::TfrmPartitaIva(const AppContext &context, QWidget *parent)
    : QDialog(parent), m_context(context)
{
    setObjectName(QStringLiteral("frmPartitaIva"));
    Forms::setupDialog(this, QStringLiteral(" Controllo partita IVA"), QSize(480, 254));
}
