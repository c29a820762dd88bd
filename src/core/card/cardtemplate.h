#pragma once

#include "card/idcard.h"
#include "report/report.h"

#include <QImage>
#include <QRectF>
#include <QSize>
#include <QStringList>

#include <memory>

// The ID card as a report template (`repTesserino`, "Tesserino"): a bank-card
// sized card (86 x 54 mm) drawn 10 mm from the printable area's corner of an
// A4 page. Building the template, filling it from one card's content and
// placing it on the paper are separate steps, so that a whole list of cards
// can be printed through the same functions.
//
// Drawing the design pictures needs a QGuiApplication.
namespace CardTemplate {

enum class Variant {
    // The printed card: A4 (size code 9), captions "Data rilascio:" and
    // "Data scadenza:", every caption and student text vertically centred.
    Print,
    // The on-screen twin: 210 x 297 mm custom paper (code 256), the card
    // window's captions "Data inizio:" and "Data fine:", the background named
    // `frxShapeView1`, texts at the top of their frames, the dates and the
    // notes a little higher.
    Preview
};

// The card on the template, in millimetres from the printable area's corner.
constexpr double CardLeftMm = 10.0;
constexpr double CardTopMm = 10.0;
constexpr double CardWidthMm = 86.0;
constexpr double CardHeightMm = 54.0;

// A fresh template, portrait, all four margins 0, showing its design texts and
// pictures. Its preview shows print, zoom, full screen and close, without
// editing.
std::unique_ptr<Report> create(Variant variant, QObject *parent = nullptr);

// The nine text objects that `fill` sets, in filling order.
QStringList textNames();

// Puts one card's content into the template: first the logo, then the photo,
// then the nine texts (trimmed of characters of code 32 or lower; printed
// literally, single-line, cut at their frame's edge). A null logo or photo
// leaves the design picture (the LOGO placeholder, the silhouette), as the
// card window shows them. Throws ReportError when an object is missing or a
// picture cannot be copied.
void fill(Report &report, const IdCardContent &content);

// Turns the page to `orientation` and then moves the printable area by the
// top and left margins in millimetres (either may be negative); the right and
// bottom margins are 0. The objects keep their places from the margin corner.
void place(Report &report, ReportPage::Orientation orientation, double topMm, double leftMm);

// Where the card lies on the paper of `page` as it stands (orientation and
// margins), in millimetres from the paper's top-left corner.
QRectF cardOnPaperMm(const ReportPage &page);
// Which margin puts the card wholly beside the paper: the top margin above or
// below it, the left margin to its left or right. The card reaches the paper
// when neither does.
struct OffPaper
{
    bool top = false;
    bool left = false;
    bool any() const { return top || left; }
};
OffPaper offPaper(const ReportPage &page);

// How many pixels a photo needs to print sharp in the card's photo frame:
// the frame at 300 dots per inch, the resolution card printers print at and
// the one photo prints are made at. Every printed card (one card, a list of
// cards) decodes its photo to cover this size.
QSize photoPrintSize();

// The design pictures: a head-and-shoulders silhouette on a light ground, and
// a blue sphere with the word LOGO.
QImage photoPlaceholder();
QImage logoPlaceholder();

} // namespace CardTemplate
