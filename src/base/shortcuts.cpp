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
    // Parented to the control: Qt then offers the key only while the control
    // is visible and enabled, and never calls two panels' keys ambiguous.
    auto *shortcut = new QShortcut(keys, control);
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
    QString name = control->accessibleName().isEmpty() ? control->toolTip() : control->accessibleName();
    if (const auto *button = qobject_cast<QAbstractButton *>(control); button && name.isEmpty())
        name = button->text().remove(QLatin1Char('&'));
    control->setToolTip(name.isEmpty() ? keyText : QStringLiteral("%1 (%2)").arg(name, keyText));
    control->setAccessibleDescription(keyText);
}

} // namespace Shortcuts
