#include "base/kit.h"

#include "base/widgets.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

// Presses the watched button on Enter; other keys pass.
class EnterPresses : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() != QEvent::KeyPress)
            return false;
        const auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter)
            return false;
        if (!key->isAutoRepeat())
            static_cast<QPushButton *>(watched)->click();
        return true;
    }
};

} // namespace

namespace Kit {

QPushButton *button(const QString &name, const QString &text, const QRect &geometry, QWidget *parent,
                    const QFont &font)
{
    auto *b = new QPushButton(text, parent);
    b->setObjectName(name);
    b->setGeometry(geometry);
    b->setFont(font);
    b->setCursor(Qt::PointingHandCursor);
    return b;
}

void pressOnEnter(QPushButton *button)
{
    button->setAutoDefault(false);
    button->installEventFilter(new EnterPresses(button));
}

QLabel *label(const QString &name, const QString &text, const QPoint &at, QWidget *parent,
              const QFont &font, const QColor &colour)
{
    auto *l = new QLabel(text, parent);
    l->setObjectName(name);
    // Labels show stored text as it is: a name with "<s>" in it is not markup.
    l->setTextFormat(Qt::PlainText);
    l->setFont(font);
    QPalette palette = l->palette();
    palette.setColor(QPalette::WindowText, colour);
    l->setPalette(palette);
    l->move(at);
    l->adjustSize();
    return l;
}

QLineEdit *edit(const QString &name, const QRect &geometry, QWidget *parent, const QFont &font,
                int maxLength)
{
    auto *e = new QLineEdit(parent);
    e->setObjectName(name);
    e->setGeometry(geometry);
    e->setFont(font);
    if (maxLength > 0)
        e->setMaxLength(maxLength);
    return e;
}

PictureBox *picture(const QString &name, const QRect &geometry, QWidget *parent, const QImage &image)
{
    auto *p = new PictureBox(name, geometry, parent);
    if (!image.isNull())
        p->setImage(image);
    return p;
}

PictureBox *pictureButton(const QString &name, const QRect &geometry, QWidget *parent,
                          const QImage &art, QLabel *panInfo, const QString &hint)
{
    auto *b = new PictureBox(name, geometry, parent);
    b->setStretch(true);
    b->setImage(art);
    b->setClickable(true);
    b->setAccessibleName(hint);
    // The button's own hint must not be emptied again by the panel beneath.
    b->setAttribute(Qt::WA_NoMousePropagation);
    if (panInfo)
        Forms::bindHint(b, panInfo, hint);
    return b;
}

ShapeRect *box(const QString &name, const QRect &geometry, QWidget *parent, const QColor &top,
               const QColor &bottom, const QColor &border)
{
    auto *s = new ShapeRect(name, geometry, parent);
    s->setGradient(top, bottom);
    s->setBorder(border);
    s->setAttribute(Qt::WA_TransparentForMouseEvents);
    return s;
}

} // namespace Kit
