#include "tfrmstudenti.h"

#include "app/forms.h"

TfrmStudenti::TfrmStudenti(const AppContext &context, QWidget *parent)
    : QWidget(parent), m_context(context)
{
    setObjectName(QStringLiteral("frmStudenti"));
    Forms::setupWorkingWindow(this, QStringLiteral(" Lumetra - Archivio Studenti"), QSize(995, 692), QColor(0x46, 0x82, 0xB4));
}
