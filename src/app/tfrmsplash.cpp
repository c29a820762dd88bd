#include "tfrmsplash.h"

#include "base/forms.h"

TfrmSplash::TfrmSplash(const AppContext &context, QWidget *parent)
    : QDialog(parent), m_context(context)
{
    setObjectName(QStringLiteral("frmSplash"));
    Forms::setupDialog(this, QStringLiteral(" Lumetra - Crediti"), QSize(661, 467));
}
