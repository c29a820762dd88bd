#pragma once

#include "studentsheetdialog.h"

// Prints the student sheet of the card shown in the student window.
class TfrmStampaStudenti : public StudentSheetDialog
{
    Q_OBJECT
public:
    explicit TfrmStampaStudenti(const AppContext &context, QWidget *parent = nullptr);

protected:
    void output() override;
};
