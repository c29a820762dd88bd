#include "checkwindowparts.h"

#include "base/forms.h"
#include "base/kit.h"
#include "base/widgets.h"

#include <QFontMetrics>
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
                                         const QString &editName, int length, const QColor &boxColour,
                                         const QColor &boxBorder)
{
    auto *lblTitolo = new QLabel(instruction, panel);
    lblTitolo->setTextFormat(Qt::PlainText);
    lblTitolo->setObjectName(QStringLiteral("lblTitolo"));
    // Arial 12 pt, or the largest size at which the whole line stays on the
    // panel, with the margin it has on the left.
    QFont instructionFont = Forms::pointFont(QStringLiteral("Arial"), 12);
    const int room = panel->width() - 2 * 16;
    while (instructionFont.pixelSize() > 10 && QFontMetrics(instructionFont).horizontalAdvance(instruction) > room)
        instructionFont.setPixelSize(instructionFont.pixelSize() - 1);
    lblTitolo->setFont(instructionFont);
    lblTitolo->move(16, instructionY);
    lblTitolo->adjustSize();

    auto *shpCodFisc = new ShapeRect(QStringLiteral("shpCodFisc"), QRect(16, 118, 421, 50), panel);
    shpCodFisc->setGradient(boxColour, Qt::white);
    shpCodFisc->setBorder(boxBorder);

    CheckWindowParts parts;
    parts.edit = new QLineEdit(panel);
    parts.edit->setObjectName(editName);
    parts.edit->setGeometry(26, 128, 233, 28);
    // Courier New 20 pt bold, unless a whole identifier would not fit the
    // field at that size: then the largest size at which it does.
    QFont font = Forms::pointFont(QStringLiteral("Courier New"), 20, true);
    parts.edit->setFont(font);
    const int fieldRoom = parts.edit->width() - 12; // frame and text margins
    while (font.pixelSize() > 10
           && QFontMetrics(font).horizontalAdvance(QString(length, QLatin1Char('W'))) > fieldRoom) {
        font.setPixelSize(font.pixelSize() - 1);
        parts.edit->setFont(font);
    }

    parts.btnControlla = button(QStringLiteral("btnControlla"), QStringLiteral("Controlla"),
                                QRect(268, 128, 160, 28), panel);
    parts.btnChiudi = button(QStringLiteral("btnChiudi"), QStringLiteral("Chiudi"),
                             QRect(170, 184, 116, 28), panel);

    QWidget::setTabOrder(parts.edit, parts.btnControlla);
    QWidget::setTabOrder(parts.btnControlla, parts.btnChiudi);
    return parts;
}
