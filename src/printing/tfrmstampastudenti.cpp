#include "tfrmstampastudenti.h"

#include "app/forms.h"

TfrmStampaStudenti::TfrmStampaStudenti(const AppContext &context, QWidget *parent)
    : QDialog(parent), m_context(context)
{
    setObjectName(QStringLiteral("frmStampaStudenti"));
    Forms::setupDialog(this, QStringLiteral(" Stampa scheda"), QSize(364, 287));
}
