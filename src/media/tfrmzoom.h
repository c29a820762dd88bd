#pragma once

#include "base/appcontext.h"

#include <QDialog>

class PictureBox;
class QWidget;

// The card's photo nearly full screen: at its own size, reduced only when it
// does not fit the screen. A click closes it.
class TfrmZoom : public QDialog
{
    Q_OBJECT
public:
    explicit TfrmZoom(const AppContext &context, QWidget *parent = nullptr);

    // The picture to show (the opener's copy of its photo).
    void setPhoto(const QImage &photo);

private:
    AppContext m_context;
    QWidget *m_panel = nullptr;
    PictureBox *m_imgFoto = nullptr;
};
