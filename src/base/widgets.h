#pragma once

#include <QColor>
#include <QImage>
#include <QPixmap>
#include <QWidget>

// A rectangle (shp..., lin..., bkg...): solid or vertical-gradient fill and a
// 1-pixel border. Transparent for the mouse when asked.
class ShapeRect : public QWidget
{
    Q_OBJECT
public:
    ShapeRect(const QString &name, const QRect &geometry, QWidget *parent);
    void setFill(const QColor &colour) { m_top = m_bottom = colour; update(); }
    void setGradient(const QColor &top, const QColor &bottom) { m_top = top; m_bottom = bottom; update(); }
    void setHorizontalGradient(const QColor &left, const QColor &right);
    void setBorder(const QColor &colour) { m_border = colour; update(); }
    // The border's thickness, drawn inside the rectangle (1 unless told).
    void setBorderWidth(int width) { m_borderWidth = width; update(); }

protected:
    void paintEvent(QPaintEvent *) override;

private:
    QColor m_top = Qt::white;
    QColor m_bottom = Qt::white;
    QColor m_border = Qt::transparent;
    int m_borderWidth = 1;
    bool m_horizontal = false;
};

// A picture control (img...): holds a picture at its own size and draws it
// scaled to fit, proportions kept, centred. Emits clicked() on a left click.
// With setEnlarge(false) a picture smaller than the control keeps its own size.
class PictureBox : public QWidget
{
    Q_OBJECT
public:
    PictureBox(const QString &name, const QRect &geometry, QWidget *parent);
    const QImage &image() const { return m_image; }
    void setImage(const QImage &image);
    void setClickable(bool on); // hand cursor
    // Reachable with Tab: a focus frame while focused, Enter or Space click.
    void setKeyboardFocusable(bool on);
    // Stretch to fill instead of fitting (for drawn artwork of a fixed size).
    void setStretch(bool on) { m_stretch = on; m_scaled = QPixmap(); update(); }
    void setEnlarge(bool on) { m_enlarge = on; m_scaled = QPixmap(); update(); }
    // Where the picture is drawn, in the control's coordinates; empty when
    // there is none.
    QRect pictureRect() const;

signals:
    void clicked();

protected:
    void paintEvent(QPaintEvent *) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void resizeEvent(QResizeEvent *) override { m_scaled = QPixmap(); }

private:
    QImage m_image;
    QPixmap m_scaled;
    bool m_stretch = false;
    bool m_enlarge = true;
};

// The yellow frame behind an edit (eff...): 4 units wider on every side,
// border fading to white, shown only while its edit has the focus.
class FrameHighlight : public QWidget
{
    Q_OBJECT
public:
    // Placed behind `edit` in its parent; hidden until the edit gains the focus.
    FrameHighlight(const QString &name, QWidget *edit);

protected:
    void paintEvent(QPaintEvent *) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
};

// The light-blue head-and-shoulders silhouette shown where there is no photo.
QImage blankPicture();
