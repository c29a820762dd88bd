#pragma once

#include "studentsheetdialog.h"

// Shows the student sheet of the card in the student window in the preview.
class TfrmAnteprimaStudenti : public StudentSheetDialog
{
    Q_OBJECT
public:
    explicit TfrmAnteprimaStudenti(const AppContext &context, QWidget *parent = nullptr);

protected:
    void output() override;
};
