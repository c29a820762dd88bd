#include "tfrminfo.h"

#include "base/forms.h"

TfrmInfo::TfrmInfo(const AppContext &context, QWidget *parent)
    : QDialog(parent), m_context(context)
{
    setObjectName(QStringLiteral("frmInfo"));
    Forms::setupDialog(this, QStringLiteral(" Informazioni su Lumetra"), QSize(473, 579));
}
