// The face search proper, in a module of its own: OpenCV and the libraries
// it needs (tens of them) load only when a photo is first framed, not at
// every start of the program. FaceFinder loads it.
#include "facefinder.h"
#include "facemodule.h"

#include <opencv2/core.hpp>
#include <opencv2/imgproc.hpp>
#include <opencv2/objdetect.hpp>

#include <QFile>
#include <QString>

#include <algorithm>
#include <cmath>
#include <mutex>

#ifndef LUMETRA_FACE_MODELS
#define LUMETRA_FACE_MODELS "/usr/share/opencv4"
#endif

namespace {

// The frontal face model: of those Debian ships, the one with the fewest
// false faces on the sample photos, and its boxes are what the framing's
// head proportions are measured on.
const char *const kModel = "/haarcascades/haarcascade_frontalface_alt2.xml";

struct Detector
{
    std::mutex mutex; // a cascade keeps working buffers of its own
    cv::CascadeClassifier cascade;
    bool loaded = false;
};

Detector &detector()
{
    static Detector instance;
    static std::once_flag loaded;
    std::call_once(loaded, [] {
        const QString path = QStringLiteral(LUMETRA_FACE_MODELS) + QLatin1String(kModel);
        if (!QFile::exists(path))
            return;
        try {
            instance.loaded = instance.cascade.load(path.toStdString());
        } catch (const cv::Exception &) {
            // A damaged model file finds nothing, as a missing one.
        }
    });
    return instance;
}

// The picture's pixels as OpenCV sees them, without a copy where the format
// allows: four channels (B, G, R, A in memory) or one grey channel.
cv::Mat wrap(const QImage &picture, QImage *holder)
{
    switch (picture.format()) {
    case QImage::Format_RGB32:
    case QImage::Format_ARGB32:
    case QImage::Format_ARGB32_Premultiplied:
        *holder = picture;
        break;
    case QImage::Format_Grayscale8:
        *holder = picture;
        return cv::Mat(holder->height(), holder->width(), CV_8UC1, const_cast<uchar *>(holder->constBits()),
                       size_t(holder->bytesPerLine()));
    default:
        *holder = picture.convertToFormat(QImage::Format_RGB32);
        break;
    }
    return cv::Mat(holder->height(), holder->width(), CV_8UC4, const_cast<uchar *>(holder->constBits()),
                   size_t(holder->bytesPerLine()));
}

// The size that fits `bound` with the proportions of `size`; `size` itself
// when it already fits.
cv::Size fitting(const cv::Size &size, const QSize &bound)
{
    if (size.width <= bound.width() && size.height <= bound.height())
        return size;
    const double factor = std::min(double(bound.width()) / size.width, double(bound.height()) / size.height);
    return cv::Size(std::max(1, int(std::lround(size.width * factor))),
                    std::max(1, int(std::lround(size.height * factor))));
}

// Skin, as the chroma of YCrCb sees it whatever the complexion; a face box
// whose middle shows little of it is a pattern of the background or of
// clothes that the cascade took for a face.
const cv::Scalar kSkinLow(0, 133, 77);
const cv::Scalar kSkinHigh(255, 173, 127);
constexpr double kLeastSkin = 0.25;

// True when the picture has colour at all: in a black-and-white photo no box
// can show skin, and the cascade's word stands alone.
bool hasColour(const cv::Mat &ycrcb)
{
    std::vector<cv::Mat> planes;
    cv::split(ycrcb, planes);
    cv::Mat chroma = cv::abs(planes[1] - 128) + cv::abs(planes[2] - 128);
    return size_t(cv::countNonZero(chroma > 6)) > chroma.total() / 20;
}

// The share of skin in the middle half of `box`.
double skinShare(const cv::Mat &skin, const cv::Rect &box)
{
    const cv::Rect middle = cv::Rect(box.x + box.width / 4, box.y + box.height / 4, box.width / 2, box.height / 2)
                            & cv::Rect(0, 0, skin.cols, skin.rows);
    return middle.area() > 0 ? double(cv::countNonZero(skin(middle))) / middle.area() : 0;
}

} // namespace

namespace {

bool available()
{
    return detector().loaded;
}

QImage reduced(const QImage &picture, const QSize &bound)
{
    if (picture.isNull() || bound.isEmpty())
        return picture;
    QImage holder;
    const cv::Mat source = wrap(picture, &holder);
    const cv::Size target = fitting(source.size(), bound);
    if (target == source.size())
        return picture;
    const QImage::Format format = source.channels() == 1 ? QImage::Format_Grayscale8 : holder.format();
    QImage result(target.width, target.height, format);
    if (result.isNull())
        return {};
    cv::Mat out(result.height(), result.width(), source.type(), result.bits(), size_t(result.bytesPerLine()));
    try {
        // Averaging whole blocks of k x k pixels first is several times faster
        // than one uneven step; the few edge pixels a block leaves out (fewer
        // than k) are lost in the reduction anyway.
        const int k = std::min(source.cols / target.width, source.rows / target.height);
        if (k >= 2) {
            cv::Mat blocks;
            cv::resize(source(cv::Rect(0, 0, source.cols / k * k, source.rows / k * k)), blocks,
                       cv::Size(source.cols / k, source.rows / k), 0, 0, cv::INTER_AREA);
            cv::resize(blocks, out, target, 0, 0, cv::INTER_AREA);
        } else {
            cv::resize(source, out, target, 0, 0, cv::INTER_AREA);
        }
    } catch (const cv::Exception &) {
        return picture.scaled(target.width, target.height, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    }
    return result;
}

QList<QRect> faces(const QImage &picture)
{
    if (picture.isNull())
        return {};
    Detector &d = detector();
    if (!d.loaded)
        return {};

    const QImage small = reduced(picture, QSize(FaceFinder::kSearchSide, FaceFinder::kSearchSide));
    QImage holder;
    const cv::Mat pixels = wrap(small, &holder);
    cv::Mat grey;
    std::vector<cv::Rect> found;
    try {
        if (pixels.channels() == 1)
            grey = pixels.clone();
        else
            cv::cvtColor(pixels, grey, cv::COLOR_BGRA2GRAY);
        cv::equalizeHist(grey, grey);
        // Faces smaller than a tenth of the shorter side are crowds in the
        // background, not the person photographed.
        const int smallest = std::max(20, std::min(grey.cols, grey.rows) / 10);
        {
            const std::lock_guard<std::mutex> lock(d.mutex);
            d.cascade.detectMultiScale(grey, found, 1.1, 3, cv::CASCADE_SCALE_IMAGE,
                                       cv::Size(smallest, smallest));
        }
        if (!found.empty() && pixels.channels() == 4) {
            cv::Mat colour, ycrcb, skin;
            cv::cvtColor(pixels, colour, cv::COLOR_BGRA2BGR);
            cv::cvtColor(colour, ycrcb, cv::COLOR_BGR2YCrCb);
            if (hasColour(ycrcb)) {
                cv::inRange(ycrcb, kSkinLow, kSkinHigh, skin);
                found.erase(std::remove_if(found.begin(), found.end(),
                                           [&](const cv::Rect &box) { return skinShare(skin, box) < kLeastSkin; }),
                            found.end());
            }
        }
    } catch (const cv::Exception &) {
        return {};
    }

    const double toPicture = double(picture.width()) / small.width();
    QList<QRect> result;
    for (const cv::Rect &box : found) {
        const QRect face(int(std::lround(box.x * toPicture)), int(std::lround(box.y * toPicture)),
                         int(std::lround(box.width * toPicture)), int(std::lround(box.height * toPicture)));
        result.append(face.intersected(picture.rect()));
    }
    std::stable_sort(result.begin(), result.end(), [](const QRect &a, const QRect &b) {
        return qint64(a.width()) * a.height() > qint64(b.width()) * b.height();
    });
    return result;
}

const FaceModuleEntry kEntry{FaceModuleEntry::Version, &available, &faces, &reduced};

} // namespace

extern "C" Q_DECL_EXPORT const FaceModuleEntry *lumetraFaceModule()
{
    return &kEntry;
}
