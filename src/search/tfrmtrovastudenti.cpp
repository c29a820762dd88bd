#include "tfrmtrovastudenti.h"

TfrmTrovaStudenti::TfrmTrovaStudenti(const AppContext &context, QWidget *parent, StudentPickTarget *target)
    : StudentSearchWindow(context, QStringLiteral(" Trova schede studenti in archivio"), parent, target)
{
    setObjectName(QStringLiteral("frmTrovaStudenti"));
}
