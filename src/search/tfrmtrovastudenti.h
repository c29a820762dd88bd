#pragma once

#include "studentsearchwindow.h"

// The search opened by the student window (mode "studenti"): a double-click
// loads the chosen student into it.
class TfrmTrovaStudenti : public StudentSearchWindow
{
    Q_OBJECT
public:
    explicit TfrmTrovaStudenti(const AppContext &context, QWidget *parent = nullptr,
                               StudentPickTarget *target = nullptr);

protected:
    QString modeWord() const override { return QStringLiteral("studenti"); }
};
