#include "tfrmanteprimatessera.h"

#include "base/forms.h"

TfrmAnteprimaTessera::TfrmAnteprimaTessera(const AppContext &context, QWidget *parent, const IdCardSource *)
    : QDialog(parent), m_context(context)
{
    setObjectName(QStringLiteral("frmAnteprimaTessera"));
    Forms::setupDialog(this, QStringLiteral(" Anteprima di stampa"), QSize(364, 287));
}
