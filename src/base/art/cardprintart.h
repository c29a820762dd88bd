#pragma once

#include <QImage>
#include <QSize>
#include <QString>

// The drawn pictures of the card print and card preview dialogs.
namespace CardPrintArt {

// A printer with a card coming out of it, and two paragraphs of
// instructions beside it; the second in red.
QImage marginInstructions(const QSize &size, const QString &first, const QString &second);

// A heading, two paragraphs, a person reading and a printer.
QImage previewInstructions(const QSize &size, const QString &heading, const QString &first,
                           const QString &second);

} // namespace CardPrintArt
