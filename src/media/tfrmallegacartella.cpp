#include "tfrmallegacartella.h"

#include "app/forms.h"

TfrmAllegaCartella::TfrmAllegaCartella(const AppContext &context, QWidget *parent)
    : QDialog(parent), m_context(context)
{
    setObjectName(QStringLiteral("frmAllegaCartella"));
    Forms::setupDialog(this, QStringLiteral(" Allega file"), QSize(634, 534));
}
