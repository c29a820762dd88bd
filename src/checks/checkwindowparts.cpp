#include "checkwindowparts.h"

#include "base/forms.h"
#include "base/kit.h"
#include "base/widgets.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

// Enter on the focused button presses it: the dialog's buttons are its
// auto-default buttons.
QPushButton *button(const QString &name, const QString &text, const QRect &geometry, QWidget *panel)
{
    QPushButton *b = Kit::button(name, text, geometry, panel);
    b->setAutoDefault(true);
    return b;
}

} // namespace

CheckWindowParts CheckWindowParts::build(QWidget *panel, const QString &instruction, int instructionY,
                                         const QString &editName, const QColor &boxColour,
                                         const QColor &boxBorder)
{
    auto *lblTitolo = new QLabel(instruction, panel);
    lblTitolo->setTextFormat(Qt::PlainText);
    lblTitolo->setObjectName(QStringLiteral("lblTitolo"));
    lblTitolo->setFont(Forms::pixelFont(QStringLiteral("Arial"), 12));
    lblTitolo->move(16, instructionY);
    lblTitolo->adjustSize();

    auto *shpCodFisc = new ShapeRect(QStringLiteral("shpCodFisc"), QRect(16, 118, 421, 50), panel);
    shpCodFisc->setGradient(boxColour, Qt::white);
    shpCodFisc->setBorder(boxBorder);

    CheckWindowParts parts;
    parts.edit = new QLineEdit(panel);
    parts.edit->setObjectName(editName);
    parts.edit->setGeometry(26, 128, 233, 28);
    parts.edit->setFont(Forms::pixelFont(QStringLiteral("Courier New"), 20, true));

    parts.btnControlla = button(QStringLiteral("btnControlla"), QStringLiteral("Controlla"),
                                QRect(268, 128, 160, 28), panel);
    parts.btnChiudi = button(QStringLiteral("btnChiudi"), QStringLiteral("Chiudi"),
                             QRect(170, 184, 116, 28), panel);

    QWidget::setTabOrder(parts.edit, parts.btnControlla);
    QWidget::setTabOrder(parts.btnControlla, parts.btnChiudi);
    return parts;
}
