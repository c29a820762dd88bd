#include "tfrmdatiente.h"

#include "base/forms.h"

TfrmDatiEnte::TfrmDatiEnte(const AppContext &context, QWidget *parent)
    : QDialog(parent), m_context(context)
{
    setObjectName(QStringLiteral("frmDatiEnte"));
    Forms::setupDialog(this, QStringLiteral(" Dati Scuola"), QSize(737, 363));
}
