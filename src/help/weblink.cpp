#include "help/weblink.h"

#include "base/kit.h"

#include <QLabel>
#include <QMouseEvent>

WebLink::WebLink(QLabel *text, const QList<QWidget *> &pictures)
    : QObject(text), m_text(text), m_controls(pictures)
{
    m_controls.prepend(text);
    for (QWidget *control : std::as_const(m_controls)) {
        control->setCursor(Qt::PointingHandCursor);
        control->installEventFilter(this);
    }
    setColour(idleColour());
}

bool WebLink::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::MouseButtonPress:
        setColour(pressedColour());
        if (static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton)
            m_pressed = watched;
        return true;
    case QEvent::MouseButtonDblClick:
        // The second press of a double click opens nothing a second time.
        setColour(pressedColour());
        m_pressed = nullptr;
        return true;
    case QEvent::MouseButtonRelease: {
        setColour(idleColour());
        const auto *mouse = static_cast<QMouseEvent *>(event);
        const auto *control = static_cast<QWidget *>(watched);
        // A click is a left button released over the control it was pressed on.
        const bool click = mouse->button() == Qt::LeftButton && m_pressed == watched
            && control->rect().contains(mouse->position().toPoint());
        m_pressed = nullptr;
        if (click)
            emit activated();
        return true;
    }
    default:
        return false;
    }
}

void WebLink::setColour(const QColor &colour)
{
    QPalette palette = m_text->palette();
    palette.setColor(QPalette::WindowText, colour);
    m_text->setPalette(palette);
}

QLabel *linkText(const QString &name, const QString &text, const QPoint &at, QWidget *parent)
{
    // Tahoma 14 pt: 19 pixels on the 96-dpi design grid.
    QFont font = Forms::pointFont(QStringLiteral("Tahoma"), 14);
    font.setUnderline(true);
    return Kit::label(name, text, at, parent, font, WebLink::idleColour());
}
