#pragma once

#include <QString>

#include <optional>

// The card print settings "Tesserini.ini" in the data folder: the top and
// left margins in millimetres, as text ("0", "-3"), and the orientation.
//
//   [Margini Stampa]    Superiore=<top>  Sinistro=<left>
//   [Stampa Tesserino]  Orientamento=Verticale | Orizzontale
namespace CardPrintSettings {

QString fileName(); // "Tesserini.ini"

struct Values
{
    QString top = QStringLiteral("0");
    QString left = QStringLiteral("0");
    bool landscape = false;
};

// The stored values. A missing file or key, or a margin that is empty once
// trimmed, reads as "0"; an orientation other than "Verticale" or
// "Orizzontale" (trimmed) reads as portrait. Margins come back as stored,
// whatever they hold: checking them is the caller's business.
Values load(const QString &path);

// Writes the top margin (trimmed) and the orientation; then the left margin
// and the orientation again. The file is created when missing and every other
// line is kept. False when the file could not be written.
bool saveTop(const QString &path, const QString &top, bool landscape);
bool saveLeft(const QString &path, const QString &left, bool landscape);

} // namespace CardPrintSettings

// A margin's text as the operator sees it: millimetres, written with the
// decimal comma.
namespace CardMargin {

// The millimetres of a margin text: an optional sign, digits and an optional
// decimal comma with more digits ("-3", "2,5", " 4 "); nothing else counts
// as a number ("abc", "", "2.5", "1e3").
std::optional<double> parse(const QString &text);

// The text one click of the - or + button gives: the value moved by `delta`
// millimetres, keeping the decimals it had ("2,5" - 1 = "1,5"). Nothing when
// the text is not a number or is too long to count on exactly.
std::optional<QString> step(const QString &text, int delta);

} // namespace CardMargin
