#include "base/useraction.h"

#include "archive/recordfile.h"

bool runUserAction(Platform &platform, QWidget *window, Platform::MessageKind kind,
                   const QString &message, const std::function<void()> &action)
{
    try {
        action();
        return true;
    } catch (const FileAccessError &) {
        platform.message(window, kind, message);
        return false;
    }
}
