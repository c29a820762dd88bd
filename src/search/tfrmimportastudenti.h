#pragma once

#include "studentsearchwindow.h"

// The search opened by the ID card window (mode "tessera"): a double-click
// puts the chosen student on the card.
class TfrmImportaStudenti : public StudentSearchWindow
{
    Q_OBJECT
public:
    explicit TfrmImportaStudenti(const AppContext &context, QWidget *parent = nullptr,
                                 StudentPickTarget *target = nullptr);

protected:
    QString modeWord() const override { return QStringLiteral("tessera"); }
};
