#include "tfrmavvio.h"

#include "app/forms.h"

TfrmAvvio::TfrmAvvio(const AppContext &context, QWidget *parent)
    : QWidget(parent), m_context(context)
{
    setObjectName(QStringLiteral("frmAvvio"));
    Forms::setupWorkingWindow(this, QStringLiteral(" Lumetra"), QSize(995, 692), QColor(0x46, 0x82, 0xB4));
}
