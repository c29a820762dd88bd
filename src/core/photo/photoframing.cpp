#include "photoframing.h"

#include "facefinder.h"

#include "archive/studentfiles.h"

#include <QTransform>

#include <algorithm>
#include <climits>
#include <cmath>

namespace {

// Where the head lies around a face finder's box, in box heights from its
// top: the box runs from the forehead to the chin, so the crown is above it
// and the chin a little below its lower edge.
constexpr double kCrownAbove = 0.30;
constexpr double kChinBelow = 1.10;
// Of the frame's height left free by the head, the part above the crown (the
// rest, below the chin, shows the neck and shoulders).
constexpr double kSpareAbove = 0.40;

// The highest frame that fits a picture of `size`.
int maxHeight(const QSize &size)
{
    return std::min(size.height(), int(std::floor(double(size.width()) * PhotoFraming::kRatioHeight
                                                  / PhotoFraming::kRatioWidth)));
}

} // namespace

namespace PhotoFraming {

int widthFor(int height)
{
    return int(std::lround(double(height) * kRatioWidth / kRatioHeight));
}

QRect largestCentredFrame(const QSize &picture)
{
    if (picture.isEmpty())
        return {};
    const int height = maxHeight(picture);
    const int width = widthFor(height);
    return QRect((picture.width() - width) / 2, (picture.height() - height) / 2, width, height);
}

QRect fitted(const QRect &frame, const QSize &picture)
{
    if (picture.isEmpty())
        return {};
    const int largest = maxHeight(picture);
    const int height = std::clamp(frame.height(), std::min(kMinFrameHeight, largest), largest);
    const int width = widthFor(height);
    const double centreX = frame.x() + frame.width() / 2.0;
    const double centreY = frame.y() + frame.height() / 2.0;
    const int x = std::clamp(int(std::lround(centreX - width / 2.0)), 0, picture.width() - width);
    const int y = std::clamp(int(std::lround(centreY - height / 2.0)), 0, picture.height() - height);
    return QRect(x, y, width, height);
}

QRect frameAroundFace(const QRect &face, const QSize &picture)
{
    if (face.isEmpty())
        return largestCentredFrame(picture);
    const double crown = face.y() - kCrownAbove * face.height();
    const double head = (kCrownAbove + kChinBelow) * face.height();
    const double height = head / kHeadShare;
    const double top = crown - kSpareAbove * (height - head);
    const int rounded = int(std::lround(height));
    const int width = widthFor(rounded);
    const double centreX = face.x() + face.width() / 2.0;
    return fitted(QRect(int(std::lround(centreX - width / 2.0)), int(std::lround(top)), width, rounded), picture);
}

QRect scaled(const QRect &frame, double factor, const QSize &picture)
{
    const int height = std::max(1, int(std::lround(frame.height() * factor)));
    const int width = widthFor(height);
    const QPointF centre = QRectF(frame).center();
    return fitted(QRect(int(std::lround(centre.x() - width / 2.0)), int(std::lround(centre.y() - height / 2.0)),
                        width, height),
                  picture);
}

QImage turned(const QImage &picture, int quarterTurns)
{
    const int turns = ((quarterTurns % 4) + 4) % 4;
    if (turns == 0 || picture.isNull())
        return picture;
    // Quarter turns move whole pixels: nothing is resampled.
    return picture.transformed(QTransform().rotate(90.0 * turns));
}

QImage cut(const QImage &picture, const QRect &frame)
{
    if (picture.isNull())
        return {};
    const QRect part = fitted(frame, picture.size());
    QImage framed = picture.copy(part);
    if (framed.height() > kMaxStoredHeight)
        framed = FaceFinder::reduced(framed, QSize(INT_MAX / 2, kMaxStoredHeight));
    // Stored as JPEG: no transparency to keep.
    return framed.convertToFormat(QImage::Format_RGB32);
}

} // namespace PhotoFraming

PhotoFraming::Proposal PhotoFramer::propose(const QImage &picture) const
{
    PhotoFraming::Proposal proposal;
    if (picture.isNull())
        return proposal;
    proposal.face = FaceFinder::largestFace(picture);
    proposal.frame = proposal.hasFace() ? PhotoFraming::frameAroundFace(proposal.face, picture.size())
                                        : PhotoFraming::largestCentredFrame(picture.size());
    return proposal;
}

PhotoFramer::Framed PhotoFramer::frame(const QImage &picture) const
{
    Framed framed;
    framed.proposal = propose(picture);
    framed.photo = PhotoFraming::cut(picture, framed.proposal.frame);
    return framed;
}

PhotoFramer::Framed PhotoFramer::frameFile(const QString &path) const
{
    const QImage picture = StudentFiles::loadPicture(path);
    if (picture.isNull())
        return {};
    return frame(picture);
}

bool PhotoFramer::canFindFaces()
{
    return FaceFinder::available();
}
