#include "tfrmcodfisc.h"

#include "app/forms.h"

TfrmCodFisc::TfrmCodFisc(const AppContext &context, QWidget *parent)
    : QDialog(parent), m_context(context)
{
    setObjectName(QStringLiteral("frmCodFisc"));
    Forms::setupDialog(this, QStringLiteral(" Controllo codice fiscale"), QSize(478, 254));
}
