#include "tfrmzoom.h"

#include "base/forms.h"

TfrmZoom::TfrmZoom(const AppContext &context, QWidget *parent)
    : QDialog(parent), m_context(context)
{
    setObjectName(QStringLiteral("frmZoom"));
    Forms::setupWorkingWindow(this, QStringLiteral(" Fai clic sulla foto per chiudere questa finestra"), QSize(995, 692), QColor(0x46, 0x82, 0xB4));
}
