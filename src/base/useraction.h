#pragma once

#include "base/platform.h"

#include <functional>

class QWidget;

// Runs one user action. A file failure anywhere in it (FileAccessError,
// thrown by the file layer) ends the action and shows that action's one
// message, of the given kind, over `window`. Returns true when the action
// ran to its end.
bool runUserAction(Platform &platform, QWidget *window, Platform::MessageKind kind,
                   const QString &message, const std::function<void()> &action);
