#include "tfrmexpstudenti.h"

#include "base/forms.h"

TfrmExpStudenti::TfrmExpStudenti(const AppContext &context, QWidget *parent)
    : QDialog(parent), m_context(context)
{
    setObjectName(QStringLiteral("frmExpStudenti"));
    Forms::setupWorkingWindow(this, QStringLiteral(" Lumetra - Esportazione in Excel"), QSize(995, 692), QColor(0x46, 0x82, 0xB4));
}
