#include "tfrmtessera.h"

#include "base/forms.h"

TfrmTessera::TfrmTessera(const AppContext &context, QWidget *parent)
    : QWidget(parent), m_context(context)
{
    setObjectName(QStringLiteral("frmTessera"));
    Forms::setupWorkingWindow(this, QStringLiteral(" Lumetra - Stampa Tesserini"), QSize(995, 692), QColor(0x46, 0x82, 0xB4));
}
