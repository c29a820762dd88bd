#include "tfrmstampatessera.h"

#include "base/forms.h"

TfrmStampaTessera::TfrmStampaTessera(const AppContext &context, QWidget *parent, const IdCardSource *)
    : QDialog(parent), m_context(context)
{
    setObjectName(QStringLiteral("frmStampaTessera"));
    Forms::setupDialog(this, QStringLiteral(" Stampa tesserino"), QSize(498, 462));
}
