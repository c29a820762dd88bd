#include "tfrmpassword.h"

#include "app/forms.h"

TfrmPassword::TfrmPassword(const AppContext &context, QWidget *parent)
    : QWidget(parent), m_context(context)
{
    setObjectName(QStringLiteral("frmPassword"));
    Forms::setupDialog(this, QStringLiteral(" Lumetra - Autenticazione"), QSize(388, 405));
}
