#pragma once

#include <QString>

class Platform;

// What every window is handed at creation: the folder holding all data
// (with a trailing '/') and the platform seam.
struct AppContext
{
    QString folder;
    Platform *platform = nullptr;

    QString path(const QString &relative) const { return folder + relative; }
};
