#include "tfrmwebcam.h"

#include "base/forms.h"

TfrmWebCam::TfrmWebCam(const AppContext &context, QWidget *parent)
    : QDialog(parent), m_context(context)
{
    setObjectName(QStringLiteral("frmWebCam"));
    Forms::setupDialog(this, QStringLiteral(" Cattura foto con webcam"), QSize(807, 405));
}
