#pragma once

#include <QSize>

// The screen the user guide's pictures are taken on: a common 1024 x 768
// monitor, drawn at twice its pixels so that the pictures print sharp.
// Windows that open maximised fill it, dialogs keep their own size; either
// way a picture is the whole window, at kScale times its size.
namespace GuideScreen {

constexpr int kWidth = 1024;
constexpr int kHeight = 768;
constexpr int kScale = 2;

constexpr QSize size()
{
    return QSize(kWidth, kHeight);
}

} // namespace GuideScreen
