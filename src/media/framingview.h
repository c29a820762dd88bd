#pragma once

#include <QImage>
#include <QRect>
#include <QWidget>

// A picture with a frame of the ID photo's proportions over it: the picture
// is shown whole, reduced to fit; the part outside the frame is dimmed. The
// frame is moved by dragging it or with the arrow keys, resized by dragging a
// corner (the opposite corner stays), with the wheel (forward zooms in: the
// frame shrinks) or with + and -. It never leaves the picture and always
// keeps the proportions. Enter asks for the framing to be applied. The frame
// is given in the picture's own pixels.
class FramingView : public QWidget
{
    Q_OBJECT
public:
    explicit FramingView(const QString &name, const QRect &geometry, QWidget *parent);

    // `picture` at its own size, with the frame to start from.
    void setPicture(const QImage &picture, const QRect &frame);
    QRect frame() const { return m_frame; }
    void setFrame(const QRect &frame);
    // Where the picture is drawn, in the view's coordinates.
    QRect pictureRect() const { return m_shown; }
    // The frame in the view's coordinates.
    QRect frameOnScreen() const;

    // The steps of the keys and of one notch of the wheel.
    static constexpr double kZoomStep = 0.92; // frame height factor of zooming in once
    static constexpr int kMoveSteps = 40;     // arrow presses to cross the frame's height

signals:
    void frameChanged(const QRect &frame);
    void applyRequested();

protected:
    void paintEvent(QPaintEvent *) override;
    void resizeEvent(QResizeEvent *) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    enum class Drag { None, Move, Resize };
    void layoutPicture();
    QPointF toPicture(const QPointF &point) const;
    // The corner handle under `point` (0 top left, 1 top right, 2 bottom
    // right, 3 bottom left), -1 when none.
    int cornerAt(const QPoint &point) const;
    // The frame with one corner at `anchor` reaching towards `towards`, the
    // largest of the proportions the picture leaves room for.
    QRect frameFrom(const QPointF &anchor, const QPointF &towards) const;

    QImage m_picture;
    QImage m_shownPicture; // reduced to the view
    QRect m_shown;
    QRect m_frame;
    Drag m_drag = Drag::None;
    QPointF m_grab;        // in picture pixels
    QRect m_grabFrame;
    QPointF m_anchor;      // the fixed corner while resizing
};
