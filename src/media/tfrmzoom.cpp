#include "tfrmzoom.h"

#include "photowindow.h"

#include "base/forms.h"
#include "base/platform.h"
#include "base/widgets.h"


TfrmZoom::TfrmZoom(const AppContext &context, QWidget *parent)
    : QDialog(parent), m_context(context)
{
    setObjectName(QStringLiteral("frmZoom"));
    Forms::applyDataFormats();
    const PhotoWindow::Parts parts = PhotoWindow::setup(
        this, QStringLiteral(" Fai clic sulla foto per chiudere questa finestra"), QSize(995, 692), QSize(969, 669),
        m_context.platform->screenSize());
    m_panel = parts.panel;
    m_imgFoto = parts.photo;
}

void TfrmZoom::setPhoto(const QImage &photo)
{
    m_imgFoto->setImage(photo);
}
