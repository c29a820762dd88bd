#pragma once

#include <QImage>
#include <QSize>
#include <QString>

// The school's logo on the ID card: "Logo.bmp" in the photo folder
// "Anagrafica", a Windows bitmap of exactly 119 x 118 pixels.
namespace CardLogo {

constexpr int Width = 119;
constexpr int Height = 118;

// `folder` is the data folder with its trailing '/'.
QString path(const QString &folder);

// A new width x height picture holding the whole source, smoothly scaled to
// fill it: the source's proportions are not kept. Transparent where the
// source is. Null for a null source or an empty size.
QImage stretchBitmap(const QImage &source, int width, int height);

// The logo file (creating "Anagrafica" first); null when it is missing,
// unreadable, not an image or too large to decode safely.
QImage load(const QString &folder);

// Writes `logo` stretched to 119 x 118 as the logo file, replacing the old
// file only once the new one is complete (creating "Anagrafica" first).
// False on any failure.
bool save(const QString &folder, const QImage &logo);

} // namespace CardLogo
