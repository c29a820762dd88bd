#pragma once

#include <QColor>
#include <QList>
#include <QObject>

class QLabel;
class QWidget;

// A link shown as underlined text with pictures beside it (lnkWeb and its
// icon), the same in the about, credits and guide windows. The text is dark
// blue; while a mouse button is held down on the text or on a picture it
// turns orange, and dark blue again on release. A left click completed on
// the control it began on turns the text dark blue and emits activated().
class WebLink : public QObject
{
    Q_OBJECT
public:
    // Watches `text` and `pictures` (all given the hand cursor); owned by text.
    WebLink(QLabel *text, const QList<QWidget *> &pictures);

    static QColor idleColour() { return QColor(0x00, 0x00, 0x8B); }    // dark blue
    static QColor pressedColour() { return QColor(0xFF, 0xA5, 0x00); } // orange

signals:
    void activated();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void setColour(const QColor &colour);

    QLabel *m_text;
    QList<QWidget *> m_controls;
    QObject *m_pressed = nullptr;
};

// The link text: `text` at `at` in Tahoma 14 underlined, dark blue, hand cursor.
QLabel *linkText(const QString &name, const QString &text, const QPoint &at, QWidget *parent);
