#include "photowindow.h"

#include "base/forms.h"
#include "base/kit.h"
#include "base/widgets.h"

#include <QDialog>
#include <QEvent>
#include <QMouseEvent>

namespace {

const QColor kSteelBlue(0x46, 0x82, 0xB4);

// Closes the window on a left click released over the watched widget.
class CloseOnClick : public QObject
{
public:
    CloseOnClick(QDialog *window, QObject *parent) : QObject(parent), m_window(window) {}

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::MouseButtonRelease
            && static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton)
            m_window->close();
        return false;
    }

private:
    QDialog *m_window;
};

// Panel and photo sized to the area the photo gets on a screen of that size.
void fitToScreen(QWidget *panel, PictureBox *photo, const QSize &screen)
{
    const QSize area(qMax(1, screen.width() - 60), qMax(1, screen.height() - 90));
    panel->setFixedSize(area);
    photo->setGeometry(QRect(QPoint(0, 0), area));
}

} // namespace

namespace PhotoWindow {

Parts setup(QDialog *window, const QString &caption, const QSize &panelSize, const QSize &photoSize,
            const QSize &screen)
{
    Parts parts;
    parts.panel = Forms::setupWorkingWindow(window, caption, panelSize, kSteelBlue);
    window->setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                           | Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint);
    window->setWindowState(window->windowState() | Qt::WindowMaximized);
    const QPoint at((panelSize.width() - photoSize.width()) / 2, (panelSize.height() - photoSize.height()) / 2);
    parts.photo = Kit::picture(QStringLiteral("imgFoto"), QRect(at, photoSize), parts.panel);
    parts.photo->setEnlarge(false);
    parts.photo->setClickable(true);
    QObject::connect(parts.photo, &PictureBox::clicked, window, &QDialog::close);
    parts.panel->installEventFilter(new CloseOnClick(window, parts.panel));
    fitToScreen(parts.panel, parts.photo, screen);
    return parts;
}

} // namespace PhotoWindow
