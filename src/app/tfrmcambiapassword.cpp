#include "tfrmcambiapassword.h"

#include "app/forms.h"

TfrmCambiaPassword::TfrmCambiaPassword(const AppContext &context, QWidget *parent)
    : QWidget(parent), m_context(context)
{
    setObjectName(QStringLiteral("frmCambiaPassword"));
    Forms::setupDialog(this, QStringLiteral(" Cambia password"), QSize(411, 418));
}
