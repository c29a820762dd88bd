#include "tfrmprove_sostenute.h"

#include "app/forms.h"

TfrmProve_Sostenute::TfrmProve_Sostenute(const AppContext &context, QWidget *parent)
    : QDialog(parent), m_context(context)
{
    setObjectName(QStringLiteral("frmProve_Sostenute"));
    Forms::setupDialog(this, QStringLiteral(" Riepilogo prove sostenute"), QSize(863, 616));
}
