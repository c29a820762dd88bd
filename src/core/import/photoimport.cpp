#include "photoimport.h"

#include "archive/datafolder.h"
#include "archive/studentarchive.h"
#include "archive/studentfiles.h"
#include "import/importmapping.h"
#include "photo/facefinder.h"
#include "photo/photoframing.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QImageReader>
#include <QSet>

#include <algorithm>
#include <cmath>

namespace {

// Cards decoded per read while scanning the archive.
constexpr qint64 kScanBlock = 1024;
constexpr int kCodiceFiscaleLength = 16;

using Index = QHash<QString, QList<qint64>>;

// The codici fiscali of the index that occur in `base`: every run of 16
// letters and digits, wherever it stands ("foto_RSSMRA80A01H501U", "RSSMRA80A01H501U-2").
QList<qint64> byCodiceFiscale(const QString &base, const Index &index)
{
    const QString upper = base.toUpper();
    QSet<qint64> found;
    int runStart = 0;
    for (int i = 0; i <= upper.size(); ++i) {
        const bool inRun = i < upper.size() && upper.at(i).isLetterOrNumber() && upper.at(i).unicode() < 128;
        if (inRun)
            continue;
        for (int at = runStart; at + kCodiceFiscaleLength <= i; ++at) {
            const auto hit = index.constFind(upper.mid(at, kCodiceFiscaleLength));
            if (hit != index.constEnd())
                for (qint64 number : *hit)
                    found.insert(number);
        }
        runStart = i + 1;
    }
    QList<qint64> numbers(found.begin(), found.end());
    std::sort(numbers.begin(), numbers.end());
    return numbers;
}

// The record number a file name gives: "12", "012", "Scheda_Studente_12".
qint64 byNumber(const QString &key)
{
    static const QString kPhotoName = PhotoImport::nameKey(QStringLiteral("Scheda_Studente_"));
    const QString digits = key.startsWith(kPhotoName) ? key.mid(kPhotoName.size()) : key;
    if (digits.isEmpty() || digits.size() > 18)
        return 0;
    for (const QChar c : digits)
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return 0;
    return digits.toLongLong();
}

// The size of the picture at `path` once turned upright; invalid when it
// cannot be read.
QSize uprightSize(const QString &path)
{
    QFile file;
    if (!DataFolder::open(file, path, QIODevice::ReadOnly))
        return {};
    QImageReader reader(&file);
    reader.setDecideFormatFromContent(true);
    reader.setAutoTransform(true);
    QSize size = reader.size();
    if (size.isValid() && (reader.transformation() & QImageIOHandler::TransformationRotate90))
        size.transpose();
    return size;
}

QRect absolute(const QRectF &relative, const QSize &picture)
{
    return QRect(int(std::lround(relative.x() * picture.width())), int(std::lround(relative.y() * picture.height())),
                 int(std::lround(relative.width() * picture.width())),
                 int(std::lround(relative.height() * picture.height())));
}

QImage fitting(const QImage &picture, const QSize &size)
{
    if (picture.isNull() || !size.isValid())
        return {};
    return FaceFinder::reduced(picture, size);
}

} // namespace

namespace PhotoImport {

QList<Card> readCards(const QString &folder)
{
    StudentArchive archive(folder);
    const qint64 count = archive.count();
    QList<Card> cards;
    cards.reserve(count);
    for (qint64 first = 1; first <= count; first += kScanBlock) {
        const qint64 n = std::min(kScanBlock, count - first + 1);
        const char *block = archive.viewBlock(first, n);
        for (qint64 i = 0; i < n; ++i) {
            const char *record = block + i * StudentRecord::Size;
            cards.append({first + i, StudentRecord::decodeField(record, StudentRecord::Studente),
                          StudentRecord::decodeField(record, StudentRecord::CodFisc)});
        }
    }
    archive.close();
    return cards;
}

QString nameKey(const QString &text)
{
    return ImportMapping::normalise(text);
}

QStringList pictureFiles(const QString &folder)
{
    const QDir dir(folder);
    const QStringList names = dir.entryList({QStringLiteral("*.jpg"), QStringLiteral("*.jpeg"),
                                             QStringLiteral("*.jpe"), QStringLiteral("*.bmp"),
                                             QStringLiteral("*.png")},
                                            QDir::Files | QDir::Readable | QDir::Hidden,
                                            QDir::Name | QDir::IgnoreCase);
    QStringList paths;
    paths.reserve(names.size());
    for (const QString &name : names)
        paths << dir.filePath(name);
    return paths;
}

QList<Item> match(const QStringList &files, const QList<Card> &cards, const QString &dataFolder)
{
    Index byCode;
    Index byName;
    QHash<qint64, QString> names;
    for (const Card &card : cards) {
        names.insert(card.number, card.name);
        const QString code = card.codiceFiscale.trimmed().toUpper();
        if (code.size() == kCodiceFiscaleLength)
            byCode[code].append(card.number);
        const QString key = nameKey(card.name);
        if (!key.isEmpty())
            byName[key].append(card.number);
    }

    QList<Item> items;
    items.reserve(files.size());
    QHash<qint64, int> filesPerCard;
    for (const QString &path : files) {
        Item item;
        item.path = path;
        item.fileName = QFileInfo(path).fileName();
        const QString base = QFileInfo(path).completeBaseName();
        const QString key = nameKey(base);
        QList<qint64> candidates = byCodiceFiscale(base, byCode);
        if (!candidates.isEmpty()) {
            item.rule = Rule::CodiceFiscale;
        } else if (byName.contains(key)) {
            item.rule = Rule::Name;
            candidates = byName.value(key);
        } else if (const qint64 number = byNumber(key); names.contains(number)) {
            item.rule = Rule::Number;
            candidates = {number};
        }
        if (candidates.size() == 1) {
            item.status = Status::Matched;
            item.number = candidates.constFirst();
            item.cardName = names.value(item.number);
            ++filesPerCard[item.number];
        } else if (candidates.size() > 1) {
            item.status = Status::SeveralCards;
            item.numbers = candidates;
        }
        items.append(item);
    }
    for (Item &item : items) {
        if (!item.isMatched())
            continue;
        if (filesPerCard.value(item.number) > 1)
            item.status = Status::SameCard;
        else
            item.hasPhoto = StudentFiles::hasPhotoFile(dataFolder, QString::number(item.number));
    }
    return items;
}

Framing frame(const PhotoFramer &framer, const QString &path, const QSize &previewSize)
{
    Framing framing;
    // The face finder looks at a copy of this size anyway: the decoder makes
    // it at a fraction of the full decode's cost.
    const QImage picture = StudentFiles::loadPicture(path, QSize(FaceFinder::kSearchSide, FaceFinder::kSearchSide));
    if (picture.isNull())
        return framing;
    const PhotoFraming::Proposal proposal = framer.propose(picture);
    framing.decoded = true;
    framing.hasFace = proposal.hasFace();
    const QSizeF size = picture.size();
    framing.frame = QRectF(proposal.frame.x() / size.width(), proposal.frame.y() / size.height(),
                           proposal.frame.width() / size.width(), proposal.frame.height() / size.height());
    framing.preview = fitting(PhotoFraming::cut(picture, proposal.frame), previewSize);
    framing.wholePreview = fitting(picture, previewSize);
    return framing;
}

QImage photoToStore(const QString &path, const QRectF &frame, bool whole)
{
    if (whole)
        return StudentFiles::loadPicture(path);
    const QSize full = uprightSize(path);
    if (!full.isValid() || full.isEmpty() || frame.isEmpty())
        return {};
    // Decoded just large enough that the frame keeps the stored height: the
    // same photo as from the full picture, at a fraction of the cost.
    const double frameHeight = frame.height() * full.height();
    const double share = std::min(1.0, PhotoFraming::kMaxStoredHeight / frameHeight);
    QSize cover;
    if (share < 1.0)
        cover = QSize(int(std::ceil(full.width() * share)), int(std::ceil(full.height() * share)));
    const QImage picture = StudentFiles::loadPicture(path, cover);
    if (picture.isNull())
        return {};
    return PhotoFraming::cut(picture, absolute(frame, picture.size()));
}

Outcome store(const QString &dataFolder, const QList<Order> &orders, const std::function<bool(int, int)> &progress)
{
    Outcome outcome;
    const int total = int(orders.size());
    for (int i = 0; i < total; ++i) {
        if (progress && !progress(i, total)) {
            outcome.stopped = true;
            return outcome;
        }
        const Order &order = orders.at(i);
        const QImage photo = photoToStore(order.path, order.frame, order.whole);
        if (photo.isNull())
            outcome.unreadable << order.fileName;
        else if (StudentFiles::saveStudentPhoto(dataFolder, QString::number(order.number), photo))
            ++outcome.stored;
        else
            outcome.notWritten << order.fileName;
    }
    if (progress)
        progress(total, total);
    return outcome;
}

} // namespace PhotoImport
