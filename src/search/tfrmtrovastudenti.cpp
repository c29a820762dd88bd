#include "tfrmtrovastudenti.h"

#include "app/forms.h"

TfrmTrovaStudenti::TfrmTrovaStudenti(const AppContext &context, QWidget *parent)
    : QDialog(parent), m_context(context)
{
    setObjectName(QStringLiteral("frmTrovaStudenti"));
    Forms::setupDialog(this, QStringLiteral(" Trova schede studenti in archivio"), QSize(862, 560));
}
