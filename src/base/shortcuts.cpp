#include "base/shortcuts.h"

#include "base/widgets.h"

#include <QAbstractButton>
#include <QShortcut>

namespace Shortcuts {

void bind(QWidget *window, const QString &controlName, const QKeySequence &keys)
{
    QWidget *control = window->findChild<QWidget *>(controlName);
    Q_ASSERT_X(control, "Shortcuts::bind", qPrintable(controlName));
    if (!control)
        return;
    auto *shortcut = new QShortcut(keys, window);
    shortcut->setContext(Qt::WindowShortcut);
    QObject::connect(shortcut, &QShortcut::activated, control, [control] {
        if (!control->isVisible() || !control->isEnabled())
            return;
        if (auto *button = qobject_cast<QAbstractButton *>(control))
            button->click();
        else if (auto *picture = qobject_cast<PictureBox *>(control))
            emit picture->clicked();
    });
    const QString keyText = keys.toString(QKeySequence::NativeText);
    const QString name = control->accessibleName().isEmpty() ? control->toolTip() : control->accessibleName();
    control->setToolTip(name.isEmpty() ? keyText : QStringLiteral("%1 (%2)").arg(name, keyText));
    control->setAccessibleDescription(keyText);
}

} // namespace Shortcuts
