#pragma once

#include <QColor>
#include <QString>

class QLineEdit;
class QPushButton;
class QWidget;

// The lower half both check windows share: the instruction line, the coloured
// box with the code field, Controlla and Chiudi, in tab order.
struct CheckWindowParts
{
    QLineEdit *edit = nullptr;
    QPushButton *btnControlla = nullptr;
    QPushButton *btnChiudi = nullptr;

    // `length`: the code's characters, which the field shows whole.
    static CheckWindowParts build(QWidget *panel, const QString &instruction, int instructionY,
                                  const QString &editName, int length, const QColor &boxColour,
                                  const QColor &boxBorder);
};
