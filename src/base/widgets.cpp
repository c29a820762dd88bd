#include "base/widgets.h"

#include <QEvent>
#include <QLinearGradient>
#include <QMouseEvent>
#include <QKeyEvent>
#include <QPainter>
#include <QPainterPath>

#include <vector>

ShapeRect::ShapeRect(const QString &name, const QRect &geometry, QWidget *parent)
    : QWidget(parent)
{
    setObjectName(name);
    setGeometry(geometry);
}

void ShapeRect::setHorizontalGradient(const QColor &left, const QColor &right)
{
    m_top = left;
    m_bottom = right;
    m_horizontal = true;
    update();
}

void ShapeRect::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const QRect r = rect();
    if (m_top == m_bottom) {
        painter.fillRect(r, m_top);
    } else {
        QLinearGradient gradient(0, 0, m_horizontal ? r.width() : 0, m_horizontal ? 0 : r.height());
        gradient.setColorAt(0, m_top);
        gradient.setColorAt(1, m_bottom);
        painter.fillRect(r, gradient);
    }
    if (m_border.alpha() > 0) {
        painter.setPen(m_border);
        for (int i = 0; i < m_borderWidth; ++i)
            painter.drawRect(r.adjusted(i, i, -1 - i, -1 - i));
    }
}

namespace {

// A picture far larger than where it is drawn (a 12-megapixel photo in the
// photo frame) is first sampled down to three times the target, reading only
// the pixels it keeps; the smooth pass that follows then works on a small
// image. Touching all 48 MB of such a photo would cost more than the rest of
// a browsing step.
QImage reduceForDisplay(const QImage &image, const QSize &target)
{
    const QSize mid = target * 3;
    const bool wide = image.format() == QImage::Format_RGB32 || image.format() == QImage::Format_ARGB32
        || image.format() == QImage::Format_ARGB32_Premultiplied;
    if (!wide || image.width() < 2 * mid.width() || image.height() < 2 * mid.height())
        return image;
    QImage reduced(mid, image.format());
    std::vector<int> columns(mid.width());
    for (int x = 0; x < mid.width(); ++x)
        columns[x] = int((2 * qint64(x) + 1) * image.width() / (2 * qint64(mid.width())));
    for (int y = 0; y < mid.height(); ++y) {
        const int sourceY = int((2 * qint64(y) + 1) * image.height() / (2 * qint64(mid.height())));
        const auto *in = reinterpret_cast<const QRgb *>(image.constScanLine(sourceY));
        auto *out = reinterpret_cast<QRgb *>(reduced.scanLine(y));
        for (int x = 0; x < mid.width(); ++x)
            out[x] = in[columns[x]];
    }
    return reduced;
}

} // namespace

PictureBox::PictureBox(const QString &name, const QRect &geometry, QWidget *parent)
    : QWidget(parent)
{
    setObjectName(name);
    setGeometry(geometry);
}

void PictureBox::setImage(const QImage &image)
{
    m_image = image;
    m_scaled = QPixmap();
    update();
}

void PictureBox::setClickable(bool on)
{
    setCursor(on ? Qt::PointingHandCursor : Qt::ArrowCursor);
}

void PictureBox::setKeyboardFocusable(bool on)
{
    setFocusPolicy(on ? Qt::StrongFocus : Qt::NoFocus);
}

void PictureBox::keyPressEvent(QKeyEvent *event)
{
    const int key = event->key();
    if ((key == Qt::Key_Space || key == Qt::Key_Return || key == Qt::Key_Enter) && !event->isAutoRepeat()) {
        emit clicked();
        return;
    }
    QWidget::keyPressEvent(event);
}

void PictureBox::focusInEvent(QFocusEvent *event)
{
    QWidget::focusInEvent(event);
    update();
}

void PictureBox::focusOutEvent(QFocusEvent *event)
{
    QWidget::focusOutEvent(event);
    update();
}

QRect PictureBox::pictureRect() const
{
    if (m_image.isNull())
        return {};
    QSize target = m_image.size();
    if (m_stretch)
        target = size();
    else if (m_enlarge || target.width() > width() || target.height() > height())
        target = target.scaled(size(), Qt::KeepAspectRatio);
    if (target.isEmpty())
        return {};
    return QRect(QPoint((width() - target.width()) / 2, (height() - target.height()) / 2), target);
}

void PictureBox::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const QRect shown = pictureRect();
    if (!shown.isEmpty()) {
        const QSize target = shown.size();
        if (m_scaled.isNull() || m_scaled.size() != target) {
            m_scaled = QPixmap::fromImage(
                reduceForDisplay(m_image, target).scaled(target, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
        }
        painter.drawPixmap(shown.topLeft(), m_scaled);
    }
    if (hasFocus()) {
        // The keyboard's place: a dotted frame just inside the picture.
        painter.setPen(QPen(palette().color(QPalette::Highlight), 2, Qt::DotLine));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(rect().adjusted(1, 1, -2, -2));
    }
}

void PictureBox::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit clicked();
    QWidget::mouseReleaseEvent(event);
}

FrameHighlight::FrameHighlight(const QString &name, QWidget *edit)
    : QWidget(edit->parentWidget())
{
    setObjectName(name);
    setGeometry(edit->geometry().adjusted(-4, -4, 4, 4));
    setAttribute(Qt::WA_TransparentForMouseEvents);
    stackUnder(edit);
    hide();
    edit->installEventFilter(this);
}

void FrameHighlight::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const QRect r = rect();
    // Border fading from yellow to white, then the yellow fill inside it.
    for (int i = 0; i < 3; ++i) {
        const int shade = 255 * (2 - i) / 2;
        painter.setPen(QColor(255, 255, 255 - shade));
        painter.drawRect(r.adjusted(i, i, -1 - i, -1 - i));
    }
    painter.fillRect(r.adjusted(3, 3, -3, -3), QColor(255, 255, 0));
}

bool FrameHighlight::eventFilter(QObject *, QEvent *event)
{
    if (event->type() == QEvent::FocusIn)
        show();
    else if (event->type() == QEvent::FocusOut)
        hide();
    return false;
}

QImage blankPicture()
{
    // Drawn once at the photo frame's proportions.
    static const QImage picture = [] {
        QImage image(307, 394, QImage::Format_RGB32);
        image.fill(QColor(0xEA, 0xF2, 0xFA));
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(0xB9, 0xD3, 0xEE));
        painter.drawEllipse(QRectF(98, 70, 111, 135));
        QPainterPath shoulders;
        shoulders.moveTo(24, 394);
        shoulders.cubicTo(24, 280, 90, 232, 153.5, 232);
        shoulders.cubicTo(217, 232, 283, 280, 283, 394);
        shoulders.closeSubpath();
        painter.drawPath(shoulders);
        return image;
    }();
    return picture;
}
