#include "framingview.h"

#include "photo/facefinder.h"
#include "photo/photoframing.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>

namespace {

const QColor kBackdrop(0x1E, 0x2A, 0x36);
const QColor kDimmed(0, 0, 0, 150);
constexpr int kHandle = 10; // corner handles, in view pixels

} // namespace

FramingView::FramingView(const QString &name, const QRect &geometry, QWidget *parent) : QWidget(parent)
{
    setObjectName(name);
    setGeometry(geometry);
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    setAccessibleName(QStringLiteral("Foto da inquadrare"));
}

void FramingView::setPicture(const QImage &picture, const QRect &frame)
{
    m_picture = picture;
    m_frame = PhotoFraming::fitted(frame, picture.size());
    layoutPicture();
    update();
    emit frameChanged(m_frame);
}

void FramingView::setFrame(const QRect &frame)
{
    const QRect fitted = PhotoFraming::fitted(frame, m_picture.size());
    if (fitted == m_frame)
        return;
    m_frame = fitted;
    update();
    emit frameChanged(m_frame);
}

void FramingView::layoutPicture()
{
    m_shown = QRect();
    m_shownPicture = QImage();
    if (m_picture.isNull() || width() <= 0 || height() <= 0)
        return;
    // A small picture is enlarged to the view too: the frame must be large
    // enough to be seen and held.
    const QSize size = m_picture.size().scaled(this->size(), Qt::KeepAspectRatio);
    m_shown = QRect(QPoint((width() - size.width()) / 2, (height() - size.height()) / 2), size);
    // Drawn from a copy of the view's size: painting a 12-megapixel picture
    // reduced at every frame move would lag behind the mouse.
    m_shownPicture = size.width() < m_picture.width() ? FaceFinder::reduced(m_picture, size) : m_picture;
}

void FramingView::resizeEvent(QResizeEvent *)
{
    layoutPicture();
}

QPointF FramingView::toPicture(const QPointF &point) const
{
    if (m_shown.isEmpty())
        return {};
    const double scale = double(m_picture.width()) / m_shown.width();
    return (point - QPointF(m_shown.topLeft())) * scale;
}

QRect FramingView::frameOnScreen() const
{
    if (m_shown.isEmpty() || m_frame.isEmpty())
        return {};
    const double scale = double(m_shown.width()) / m_picture.width();
    const QRectF frame(m_frame);
    return QRectF(m_shown.x() + frame.x() * scale, m_shown.y() + frame.y() * scale, frame.width() * scale,
                  frame.height() * scale)
        .toRect();
}

int FramingView::cornerAt(const QPoint &point) const
{
    const QRect frame = frameOnScreen();
    if (frame.isEmpty())
        return -1;
    const QPoint corners[] = {frame.topLeft(), frame.topRight(), frame.bottomRight(), frame.bottomLeft()};
    for (int i = 0; i < 4; ++i)
        if ((point - corners[i]).manhattanLength() <= kHandle + 2)
            return i;
    return -1;
}

QRect FramingView::frameFrom(const QPointF &anchor, const QPointF &towards) const
{
    const double dx = towards.x() - anchor.x();
    const double dy = towards.y() - anchor.y();
    const bool right = dx >= 0;
    const bool down = dy >= 0;
    const double ratio = double(PhotoFraming::kRatioHeight) / PhotoFraming::kRatioWidth;
    const double roomX = right ? m_picture.width() - anchor.x() : anchor.x();
    const double roomY = down ? m_picture.height() - anchor.y() : anchor.y();
    const double largest = std::min(roomY, roomX * ratio);
    double height = std::max(std::abs(dy), std::abs(dx) * ratio);
    height = std::min(std::max(height, double(PhotoFraming::kMinFrameHeight)), largest);
    const int h = std::max(1, int(std::floor(height)));
    const int w = PhotoFraming::widthFor(h);
    const int x = int(std::lround(right ? anchor.x() : anchor.x() - w));
    const int y = int(std::lround(down ? anchor.y() : anchor.y() - h));
    return QRect(x, y, w, h);
}

void FramingView::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), kBackdrop);
    if (m_shown.isEmpty())
        return;
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(m_shown, m_shownPicture);

    const QRect frame = frameOnScreen();
    // The picture outside the frame, dimmed: above, below, left and right.
    painter.fillRect(QRect(m_shown.left(), m_shown.top(), m_shown.width(), frame.top() - m_shown.top()), kDimmed);
    painter.fillRect(QRect(m_shown.left(), frame.bottom() + 1, m_shown.width(), m_shown.bottom() - frame.bottom()),
                     kDimmed);
    painter.fillRect(QRect(m_shown.left(), frame.top(), frame.left() - m_shown.left(), frame.height()), kDimmed);
    painter.fillRect(QRect(frame.right() + 1, frame.top(), m_shown.right() - frame.right(), frame.height()),
                     kDimmed);

    painter.setPen(QPen(QColor(0, 0, 0, 160), 1));
    painter.drawRect(frame.adjusted(-2, -2, 1, 1));
    painter.setPen(QPen(Qt::white, 2));
    painter.drawRect(frame.adjusted(0, 0, -1, -1));
    // Where the head belongs: guides at the thirds help to level the eyes.
    painter.setPen(QPen(QColor(255, 255, 255, 90), 1, Qt::DashLine));
    for (int i = 1; i < 3; ++i) {
        const int y = frame.top() + frame.height() * i / 3;
        painter.drawLine(frame.left() + 2, y, frame.right() - 2, y);
    }
    painter.setPen(QPen(QColor(0x2E, 0x4A, 0x66), 1));
    painter.setBrush(Qt::white);
    for (const QPoint &corner : {frame.topLeft(), frame.topRight(), frame.bottomRight(), frame.bottomLeft()})
        painter.drawRect(QRect(corner - QPoint(kHandle / 2, kHandle / 2), QSize(kHandle, kHandle)));

    if (hasFocus()) {
        painter.setBrush(Qt::NoBrush);
        painter.setPen(QPen(QColor(0x87, 0xCE, 0xEB), 1, Qt::DotLine));
        painter.drawRect(rect().adjusted(0, 0, -1, -1));
    }
}

void FramingView::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton || m_shown.isEmpty())
        return;
    setFocus(Qt::MouseFocusReason);
    const QPoint at = event->position().toPoint();
    const int corner = cornerAt(at);
    if (corner >= 0) {
        const QRectF frame(m_frame);
        const QPointF opposite[] = {frame.bottomRight(), frame.bottomLeft(), frame.topLeft(), frame.topRight()};
        m_anchor = opposite[corner];
        m_drag = Drag::Resize;
        return;
    }
    if (!frameOnScreen().contains(at)) {
        // A click beside the frame brings the frame there.
        const QPointF centre = toPicture(at);
        setFrame(m_frame.translated((centre - QRectF(m_frame).center()).toPoint()));
    }
    m_drag = Drag::Move;
    m_grab = toPicture(at);
    m_grabFrame = m_frame;
}

void FramingView::mouseMoveEvent(QMouseEvent *event)
{
    const QPoint at = event->position().toPoint();
    switch (m_drag) {
    case Drag::Move:
        setFrame(m_grabFrame.translated((toPicture(at) - m_grab).toPoint()));
        return;
    case Drag::Resize:
        setFrame(frameFrom(m_anchor, toPicture(at)));
        return;
    case Drag::None:
        break;
    }
    const int corner = cornerAt(at);
    if (corner == 0 || corner == 2)
        setCursor(Qt::SizeFDiagCursor);
    else if (corner == 1 || corner == 3)
        setCursor(Qt::SizeBDiagCursor);
    else if (frameOnScreen().contains(at))
        setCursor(Qt::SizeAllCursor);
    else
        setCursor(Qt::PointingHandCursor);
}

void FramingView::mouseReleaseEvent(QMouseEvent *)
{
    m_drag = Drag::None;
}

void FramingView::wheelEvent(QWheelEvent *event)
{
    const double notches = event->angleDelta().y() / 120.0;
    if (notches == 0 || m_shown.isEmpty())
        return;
    setFrame(PhotoFraming::scaled(m_frame, std::pow(kZoomStep, notches), m_picture.size()));
    event->accept();
}

void FramingView::keyPressEvent(QKeyEvent *event)
{
    const int step = std::max(1, int(std::lround(double(m_frame.height()) / kMoveSteps)));
    switch (event->key()) {
    case Qt::Key_Left:
        setFrame(m_frame.translated(-step, 0));
        break;
    case Qt::Key_Right:
        setFrame(m_frame.translated(step, 0));
        break;
    case Qt::Key_Up:
        setFrame(m_frame.translated(0, -step));
        break;
    case Qt::Key_Down:
        setFrame(m_frame.translated(0, step));
        break;
    case Qt::Key_Plus:
    case Qt::Key_Equal: // + without Shift on many keyboards
        setFrame(PhotoFraming::scaled(m_frame, 1 / kZoomStep, m_picture.size()));
        break;
    case Qt::Key_Minus:
        setFrame(PhotoFraming::scaled(m_frame, kZoomStep, m_picture.size()));
        break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (!event->isAutoRepeat())
            emit applyRequested();
        break;
    default:
        QWidget::keyPressEvent(event);
        return;
    }
    event->accept();
}
