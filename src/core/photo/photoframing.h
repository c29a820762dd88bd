#pragma once

#include <QImage>
#include <QRect>
#include <QSize>
#include <QString>

// Framing a picture as an ID photo: a frame of the student photo's
// proportions (307 x 394, the 35 x 45 mm of an ID photo), proposed around the
// largest face the face finder sees, and the framed part cut out for storing.
// Pictures here are upright: the EXIF orientation is applied on loading
// (StudentFiles::loadPicture) before anything is framed. Frames are in the
// picture's own pixels.
namespace PhotoFraming {

// The frame's proportions, width : height.
constexpr int kRatioWidth = 307;
constexpr int kRatioHeight = 394;
// A framed part higher than this is reduced to it when stored (about 680 dpi
// over the 45 mm of an ID photo, more than any card printer resolves); a
// smaller one is stored at its own size, never enlarged.
constexpr int kMaxStoredHeight = 1200;
// The smallest frame, in picture pixels: below it a frame could not be seen
// or held with the mouse.
constexpr int kMinFrameHeight = 24;
// The share of the frame's height the head takes, chin to crown, in a
// proposal around a face (ID photos ask for 70-80 %).
constexpr double kHeadShare = 0.75;

// The frame width for `height`, rounded to the nearest pixel.
int widthFor(int height);

// The largest frame that fits `picture`, centred.
QRect largestCentredFrame(const QSize &picture);

// The frame of the proportions around `face` (a face finder's box) so that
// the head takes kHeadShare of its height, kept inside `picture`: shrunk
// around the face's centre when it does not fit, then moved inside.
QRect frameAroundFace(const QRect &face, const QSize &picture);

// `frame` given the proportions again and kept inside `picture`: a frame
// larger than the picture is shrunk about its centre (no smaller than
// kMinFrameHeight, nor larger than the largest centred frame), then moved
// inside. The height is kept; the width follows it.
QRect fitted(const QRect &frame, const QSize &picture);

// `frame` scaled by `factor` about its centre, then fitted.
QRect scaled(const QRect &frame, double factor, const QSize &picture);

// `picture` turned by `quarterTurns` quarter turns clockwise (negative:
// anticlockwise).
QImage turned(const QImage &picture, int quarterTurns);

// The part of `picture` inside `frame` (fitted first), at the picture's own
// resolution, reduced to kMaxStoredHeight when higher. Null for a null picture.
QImage cut(const QImage &picture, const QRect &frame);

// What the framing proposes for a picture.
struct Proposal
{
    QRect frame;   // in the picture's pixels; the largest centred frame without a face
    QRect face;    // the face the frame was placed around; null when none was found
    bool hasFace() const { return !face.isNull(); }
};

} // namespace PhotoFraming

// Proposes frames and cuts framed photos without asking anyone: the framing
// dialog starts from its proposal, and an import of many photos frames each
// one with it. Stateless apart from the face finder, which loads its models
// once per process; safe to use from several threads.
class PhotoFramer
{
public:
    // The frame around the largest face in `picture`, or the largest centred
    // frame when the picture shows none.
    PhotoFraming::Proposal propose(const QImage &picture) const;

    struct Framed
    {
        QImage photo; // the framed part as it is stored; null when the picture could not be loaded
        PhotoFraming::Proposal proposal;
    };
    // The proposal, cut out of the picture.
    Framed frame(const QImage &picture) const;
    // The picture file at `path`, loaded by the photo rules (an unloadable or
    // oversized picture gives a null photo), framed as frame() does.
    Framed frameFile(const QString &path) const;

    // True when the face finder's models were found: without them every
    // proposal is the centred frame.
    static bool canFindFaces();
};
