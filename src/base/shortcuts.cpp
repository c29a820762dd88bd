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

void bindToolbar(QWidget *window)
{
    const struct { const char *control; QKeySequence keys; } keys[] = {
        {"cmdNuovo", QKeySequence::New},
        {"cmdDuplica", QKeySequence(Qt::CTRL | Qt::Key_D)},
        {"cmdSalva", QKeySequence::Save},
        {"cmdTrova", QKeySequence::Find},
        {"cmdPrimo", QKeySequence(Qt::ALT | Qt::Key_Home)},
        {"cmdIndietro", QKeySequence(Qt::ALT | Qt::Key_PageUp)},
        {"cmdAvanti", QKeySequence(Qt::ALT | Qt::Key_PageDown)},
        {"cmdUltimo", QKeySequence(Qt::ALT | Qt::Key_End)},
        {"cmdStampa", QKeySequence::Print},
        {"cmdAnteprima", QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_P)},
        {"cmdGuida", QKeySequence::HelpContents},
        {"imgGuida", QKeySequence::HelpContents},
    };
    for (const auto &key : keys) {
        const QString name = QString::fromLatin1(key.control);
        if (window->findChild<QWidget *>(name))
            bind(window, name, key.keys);
    }
}

} // namespace Shortcuts
