#include "tfrmallegacartella.h"

#include "base/forms.h"

TfrmAllegaCartella::TfrmAllegaCartella(const AppContext &context, QWidget *parent)
    : QDialog(parent), m_context(context)
{
    setObjectName(QStringLiteral("frmAllegaCartella"));
    Forms::setupDialog(this, QStringLiteral(" Allega file"), QSize(634, 534));
}
