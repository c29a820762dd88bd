#pragma once

#include <QImage>
#include <QList>
#include <QRectF>
#include <QSize>
#include <QString>
#include <QStringList>

#include <functional>

class PhotoFramer;

// Photos brought in from a folder: each picture file matched to one card,
// framed as an ID photo without asking, and stored as the student window
// stores a photo (StudentFiles::saveStudentPhoto).
namespace PhotoImport {

// What a file is matched by: first a codice fiscale in its name, else the
// name "Cognome Nome" (accents, case and separators ignored), else a record
// number ("12.jpg", also "Scheda_Studente_12.jpg").
enum class Rule { CodiceFiscale, Name, Number, None };

enum class Status {
    Matched,      // one file, one card
    SameCard,     // another file of the folder matched the same card: neither is imported
    SeveralCards, // the name (or codice fiscale) is that of several cards
    Unmatched,    // no rule matched
};

// A card as the matching sees it.
struct Card
{
    qint64 number = 0;
    QString name;          // Studente, decoded
    QString codiceFiscale; // CodFisc, decoded
};

// The cards of the archive in `folder` (the data folder, trailing '/'), read
// in one pass. Throws FileAccessError.
QList<Card> readCards(const QString &folder);

// `text` without accents, case, blanks, apostrophes and other separators:
// "D'Angelo  Maria Lucia" and "dangelo_maria-lucia" give the same key.
QString nameKey(const QString &text);

// The picture files directly in `folder` (JPEG, Windows bitmap, PNG by their
// extension, case ignored), sorted by name; subfolders are not entered.
QStringList pictureFiles(const QString &folder);

// One picture file and the card it goes to.
struct Item
{
    QString path;
    QString fileName;
    Rule rule = Rule::None;
    Status status = Status::Unmatched;
    qint64 number = 0;       // the card, for Matched and SameCard
    QString cardName;        // its name, for Matched and SameCard
    QList<qint64> numbers;   // the cards a SeveralCards file could be
    bool hasPhoto = false;   // the card already has a photo file (Matched only)

    bool isMatched() const { return status == Status::Matched; }
};

// Matches each of `files` (full paths) to `cards`, in the order given.
// `dataFolder` is asked which matched cards already have a photo.
QList<Item> match(const QStringList &files, const QList<Card> &cards, const QString &dataFolder);

// A picture framed for the review: where the frame lies, as a share of the
// upright picture (so that it holds at any decoding size), and the framed
// part at a small size to show.
struct Framing
{
    bool decoded = false;   // false: the file is not a picture that can be loaded
    QRectF frame;           // relative to the picture's size, 0..1
    bool hasFace = false;
    QImage preview;         // the framed part, fitting previewSize
    QImage wholePreview;    // the whole picture, fitting previewSize
};

// Proposes the frame of the picture at `path`, decoded reduced to what the
// face finder needs.
Framing frame(const PhotoFramer &framer, const QString &path, const QSize &previewSize);

// The photo to store from the picture at `path`: the part inside `frame`
// (relative, as frame() gives it) at the picture's own resolution, reduced
// to PhotoFraming::kMaxStoredHeight when higher (the picture is decoded only
// as large as that needs), or with `whole` the whole picture as it is.
// Null when the picture cannot be loaded.
QImage photoToStore(const QString &path, const QRectF &frame, bool whole);

// One photo of the import, as the operator confirmed it.
struct Order
{
    QString path;
    QString fileName;
    qint64 number = 0;
    QRectF frame;
    bool whole = false;
};

struct Outcome
{
    int stored = 0;
    QStringList unreadable;  // file names that could not be decoded
    QStringList notWritten;  // file names whose photo could not be written
    bool stopped = false;    // the operator stopped the import
};

// Stores each order's photo under its card's photo name in `dataFolder`,
// in order. `progress(done, total)` is called before each photo and once at
// the end; it returns false to stop before the next photo (those already
// stored stay). A photo that cannot be decoded or written is named in the
// outcome and the import goes on.
Outcome store(const QString &dataFolder, const QList<Order> &orders,
              const std::function<bool(int, int)> &progress = {});

} // namespace PhotoImport
