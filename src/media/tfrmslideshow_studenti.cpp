#include "tfrmslideshow_studenti.h"

#include "base/forms.h"

TfrmSlideshow_Studenti::TfrmSlideshow_Studenti(const AppContext &context, QWidget *parent)
    : QDialog(parent), m_context(context)
{
    setObjectName(QStringLiteral("frmSlideshow_Studenti"));
    Forms::setupWorkingWindow(this, QStringLiteral(" Slide show foto studenti"), QSize(995, 692), QColor(0x46, 0x82, 0xB4));
}
